// The general options window: the run's first log lines, what it shows, the names
// it refuses, the switches it stores, the log switch and the player changes with
// their lines and files, and the keys and the button that close it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/UnitOptions.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"

namespace pav::test {
namespace {

std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < LogBufferCount(); ++i) lines.push_back(LogBufferLine(i));
  return lines;
}

// A stamped line of `text`: a space, the date and time, " : " and the text.
bool IsStamped(const std::string& line, const std::string& text) {
  const std::string tail = " : " + text;
  return line.size() > tail.size() + 1 && line[0] == ' ' && line[1] != ' ' &&
         line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

// " -", a space and 24 hyphens, " -", the stamped text, " -".
void ExpectFramed(const std::vector<std::string>& lines, std::size_t at, const std::string& text) {
  ASSERT_GE(lines.size(), at + 5);
  EXPECT_EQ(lines[at], " -");
  EXPECT_EQ(lines[at + 1], " ------------------------");
  EXPECT_EQ(lines[at + 2], " -");
  EXPECT_TRUE(IsStamped(lines[at + 3], text)) << lines[at + 3];
  EXPECT_EQ(lines[at + 4], " -");
}

void SendKey(QWidget* target, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
}

std::vector<std::string> Items(const QComboBox* box) {
  std::vector<std::string> items;
  for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
  return items;
}

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    SetMainWindow(nullptr);
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    App().Config.SoundsOn = 1;
    App().Config.ClickSound.Assign("Click");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    SetWavePlayer([this](TEffect e, const std::string&) { Played.push_back(e); });
    ResetLogBuffer();
    Inst.WriteBytes("Players/Tester.TXT", "tester's old line\n");
    Inst.WriteBytes("Players/Bob.TXT", "bob's old line\n");
    Form = std::make_unique<TFormOptions>();
  }
  void TearDown() override {
    Form.reset();
    SetWavePlayer(nullptr);
  }
  // Shows the window (which loads its controls), types the name and asks it to close.
  bool TryName(const std::string& typed) {
    Form->show();
    Form->ComboBoxPlayer->setEditText(QString::fromStdString(typed));
    const bool closed = Form->FormCloseQuery();
    Form->hide();
    return closed;
  }
  std::vector<std::string> PlayersFolder() const {
    std::vector<std::string> names;
    for (const auto& n : QDir(QString::fromStdString(Inst.File("Players"))).entryList(QDir::Files | QDir::Hidden))
      names.push_back(n.toStdString());
    return names;
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Played;
  std::unique_ptr<TFormOptions> Form;
};

TEST_F(OptionsTest, WindowHasTheGamesTextsAndItsCreationStartsTheRunsLog) {
  EXPECT_EQ(FormOptions(), Form.get());
  EXPECT_EQ(Form->windowTitle(), "General Options");
  EXPECT_EQ(Form->Title(), "GENERAL OPTIONS");
  EXPECT_EQ(Form->LabelPlayer->text(), "Player Name :");
  EXPECT_EQ(Form->ButtonOK->text(), "OK");
  EXPECT_TRUE(Form->ComboBoxPlayer->isEditable());
  const std::pair<QCheckBox*, const char*> boxes[] = {
      {Form->CheckBoxLog, "Write Player's Log File"},
      {Form->CheckBoxAutoSkin, "Auto-Load Board's Recomm. Tile Set"},
      {Form->CheckBoxWheel, "Move Tiles Using Mouse Wheel"},
      {Form->CheckBoxElem, "Highlight Used Flow Elements"},
      {Form->CheckBoxInvalid, "Show Invalidations"},
  };
  for (const auto& [box, caption] : boxes) EXPECT_EQ(box->text().toStdString(), caption);

  // Whole cells; every control inside the panel at its full size, none over another.
  Form->show();
  EXPECT_EQ(Form->width() % 48, 0);
  EXPECT_EQ(Form->height() % 48, 0);
  std::vector<QWidget*> controls = {Form->LabelPlayer, Form->ComboBoxPlayer, Form->ButtonOK};
  for (const auto& b : boxes) controls.push_back(b.first);
  const QRect panel(QPoint(0, 0), Form->Panel()->size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const QRect r = controls[i]->geometry();
    EXPECT_TRUE(panel.contains(r)) << controls[i]->objectName().toStdString();
    EXPECT_GE(r.width(), controls[i]->minimumSizeHint().width()) << controls[i]->objectName().toStdString();
    for (std::size_t k = i + 1; k < controls.size(); ++k)
      EXPECT_FALSE(r.intersects(controls[k]->geometry()))
          << controls[i]->objectName().toStdString() << " / " << controls[k]->objectName().toStdString();
  }
  Form->hide();

  // The first lines of the run, written by the creation, in this order.
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 5u);
  ExpectFramed(lines, 0, "Application Started.");
}

TEST_F(OptionsTest, ActivationShowsThePlayersAndTheSwitches) {
  Inst.WriteBytes("Players/carl.txt", "");
  Inst.WriteBytes("Players/.hidden.TXT", "");
  Inst.WriteBytes("Players/" + std::string(50, 'Z') + ".TXT", "");
  Inst.WriteBytes("Players/" + std::string(51, 'Y') + ".TXT", "");
  Inst.WriteBytes("Players/Notes.DAT", "");
  Inst.WriteBytes("Players/\xE5\x90\x8D.TXT", "");  // no 8-bit name
  ASSERT_TRUE(QDir(QString::fromStdString(Inst.Folder())).mkpath(QStringLiteral("Players/Dir.TXT")));

  // Two rounds with every switch flipped: each box shows its own field.
  for (const std::uint8_t on : {1, 0}) {
    TConfig& c = App().Config;
    c.PlayerName.Assign("BOB");  // listed as "Bob"
    c.WriteLog = on;
    c.AutoTileSet = !on;
    c.WheelMoves = on;
    c.HighlightElements = !on;
    c.ShowInvalid = on;
    Form->show();
    EXPECT_EQ(Items(Form->ComboBoxPlayer), (std::vector<std::string>{"Bob", "carl", "Tester", std::string(50, 'Z')}));
    // The matching entry is chosen, and the field still shows the player as he is.
    EXPECT_EQ(Form->ComboBoxPlayer->currentIndex(), 0);
    EXPECT_EQ(Form->ComboBoxPlayer->currentText(), "BOB");
    EXPECT_EQ(Form->CheckBoxLog->isChecked(), on == 1);
    EXPECT_EQ(Form->CheckBoxAutoSkin->isChecked(), on == 0);
    EXPECT_EQ(Form->CheckBoxWheel->isChecked(), on == 1);
    EXPECT_EQ(Form->CheckBoxElem->isChecked(), on == 0);
    EXPECT_EQ(Form->CheckBoxInvalid->isChecked(), on == 1);
    EXPECT_TRUE(Form->ComboBoxPlayer->isEnabled());
    EXPECT_TRUE(Form->LabelPlayer->isEnabled());
    Form->hide();
  }
  // Closing keeps the player as typed: "BOB", never the entry's spelling.
  App().Config.WriteLog = 1;
  ResetLogBuffer();
  EXPECT_TRUE(TryName("BOB"));
  EXPECT_EQ(App().Config.PlayerName.Str(), "BOB");
}

TEST_F(OptionsTest, DuringAGameOnlyThePlayerCannotChange) {
  App().State.GameRunning = true;
  Form->show();
  EXPECT_FALSE(Form->ComboBoxPlayer->isEnabled());
  EXPECT_FALSE(Form->LabelPlayer->isEnabled());
  for (QCheckBox* box : {Form->CheckBoxLog, Form->CheckBoxAutoSkin, Form->CheckBoxWheel, Form->CheckBoxElem,
                         Form->CheckBoxInvalid})
    EXPECT_TRUE(box->isEnabled());
  Form->CheckBoxWheel->setChecked(true);
  EXPECT_TRUE(Form->FormCloseQuery());
  Form->hide();
  EXPECT_EQ(App().Config.WheelMoves, 1);
  EXPECT_EQ(App().Config.PlayerName.Str(), "Tester");

  App().State.GameRunning = false;
  Form->show();
  EXPECT_TRUE(Form->ComboBoxPlayer->isEnabled());
  EXPECT_TRUE(Form->LabelPlayer->isEnabled());
  Form->hide();
}

TEST_F(OptionsTest, TypedNamesAreCheckedOnClosing) {
  const struct {
    std::string Typed;
    std::string Message;
  } refused[] = {
      {"ABCDEFGHIJKLM", "Player's name can't be longer than 12 characters."},
      {"", "You must type a Player's name."},
      {"../x", "Player's name can't begin with a dot."},
      {"a/b", "Player's name can't contain '/' or '\\'."},
      {"..\\..\\x", "Player's name can't begin with a dot."},
      {"x..y", "Player's name can't contain '..'."},
      {" Ann", "Player's name can't begin or end with a space."},
      {"Ann ", "Player's name can't begin or end with a space."},
      {"tab\there", "Player's name can't contain control characters (such as a tab)."},
      {"\xE5\x90\x8D", "Player's name can't contain the character U+540D: it can't be stored."},
  };
  const auto before = LogLines();
  for (const auto& r : refused) {
    Messages.Messages.clear();
    Form->show();
    Form->CheckBoxWheel->setChecked(true);
    Form->ComboBoxPlayer->setEditText(QString::fromStdString(r.Typed));
    EXPECT_FALSE(Form->FormCloseQuery()) << r.Typed;
    ASSERT_EQ(Messages.Messages.size(), 1u) << r.Typed;
    EXPECT_EQ(Messages.Text(), r.Message);
    EXPECT_EQ(Messages.Icon(), TMessageIcon::Warning);
    // The typed text stays as it was, never cut; nothing is stored or written.
    EXPECT_EQ(Form->ComboBoxPlayer->currentText().toStdString(), r.Typed);
    EXPECT_EQ(App().Config.WheelMoves, 0);
    EXPECT_EQ(App().Config.PlayerName.Str(), "Tester");
    EXPECT_EQ(LogLines(), before);
    Form->hide();
  }
  EXPECT_EQ(PlayersFolder(), (std::vector<std::string>{"Bob.TXT", "Tester.TXT"}));
  EXPECT_FALSE(Inst.Exists("x.TXT"));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Inst.Folder() + "/../x.TXT")));

  // Twelve characters, and a character of the code page, are names.
  Messages.Messages.clear();
  EXPECT_TRUE(TryName("ABCDEFGHIJKL"));
  EXPECT_TRUE(TryName("Zo\xC3\xAB"));
  EXPECT_TRUE(Messages.Empty());
  EXPECT_EQ(App().Config.PlayerName.Str(), "Zo\xEB");
  EXPECT_TRUE(Inst.Exists("Players/ABCDEFGHIJKL.TXT"));
  // The file's name is written as the desktop writes names, and read back so.
  EXPECT_TRUE(Inst.Exists("Players/Zo\xC3\xAB.TXT"));
  Form->show();
  EXPECT_EQ(Form->ComboBoxPlayer->currentIndex(), Form->ComboBoxPlayer->findText(QStringLiteral("Zo\u00EB")));
  EXPECT_GE(Form->ComboBoxPlayer->currentIndex(), 0);
  Form->hide();
}

TEST_F(OptionsTest, EachSwitchIsStoredInItsOwnField) {
  using Box = QCheckBox* TFormOptions::*;
  using Field = std::uint8_t TConfig::*;
  const std::pair<Box, Field> pairs[] = {
      {&TFormOptions::CheckBoxAutoSkin, &TConfig::AutoTileSet},
      {&TFormOptions::CheckBoxWheel, &TConfig::WheelMoves},
      {&TFormOptions::CheckBoxElem, &TConfig::HighlightElements},
      {&TFormOptions::CheckBoxInvalid, &TConfig::ShowInvalid},
  };
  for (std::size_t i = 0; i < std::size(pairs); ++i) {
    const TConfig before = App().Config;
    Form->show();
    QCheckBox* box = Form.get()->*pairs[i].first;
    box->setChecked(!box->isChecked());
    EXPECT_TRUE(Form->FormCloseQuery());
    Form->hide();
    for (std::size_t k = 0; k < std::size(pairs); ++k) {
      const Field f = pairs[k].second;
      EXPECT_EQ(App().Config.*f, i == k ? !(before.*f) : before.*f) << "box " << i << ", field " << k;
    }
    EXPECT_EQ(App().Config.WriteLog, before.WriteLog);
  }
}

TEST_F(OptionsTest, SwitchingTheLogOffAndOn) {
  // Off: the last line of the player's file is the switch, the buffer is empty.
  Form->show();
  Form->CheckBoxLog->setChecked(false);
  EXPECT_TRUE(Form->FormCloseQuery());
  Form->hide();
  EXPECT_EQ(App().Config.WriteLog, 0);
  EXPECT_EQ(LogBufferCount(), 0);
  auto lines = Inst.ReadLines("Players/Tester.TXT");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "tester's old line");
  ExpectFramed(lines, 1, "Application Started.");
  EXPECT_TRUE(IsStamped(lines[6], "Log File Disabled.")) << lines[6];
  LogLine("not written", false);
  EXPECT_EQ(LogBufferCount(), 0);

  // On: the buffer starts with the separator block and the switch; the file waits.
  Form->show();
  EXPECT_FALSE(Form->CheckBoxLog->isChecked());
  Form->CheckBoxLog->setChecked(true);
  EXPECT_TRUE(Form->FormCloseQuery());
  Form->hide();
  EXPECT_EQ(App().Config.WriteLog, 1);
  const auto buffered = LogLines();
  ASSERT_EQ(buffered.size(), 5u);
  ExpectFramed(buffered, 0, "Log File Enabled.");
  EXPECT_EQ(Inst.ReadLines("Players/Tester.TXT"), lines);
}

TEST_F(OptionsTest, PlayerChangesWriteTheirLinesAndFiles) {
  const std::vector<std::string> header = {" -", "", "", " -", "Player's log file created.", " -"};
  const struct {
    const char* Case;
    std::string Typed;
    bool LogBefore;
    bool LogAfter;
    // Lines added at the end of Tester.TXT: stamped texts ("" for none of them).
    std::vector<std::string> OldFileGets;
    // Whether Typed.TXT is a new file of the six header lines alone.
    bool NewFile;
    // The buffer after closing: "framed" for the "Player selected." block.
    bool Selected;
  } cases[] = {
      {"new player", "Newbie", true, true, {"Application Started.", "Player changed to 'Newbie'"}, true, false},
      {"new player, logging off", "Newbie", false, false, {}, true, false},
      {"new player, logging switched off", "Newbie", true, false,
       {"Application Started.", "Log File Disabled."}, true, false},
      {"listed player", "Bob", true, true, {"Application Started.", "Player changed to 'Bob'"}, false, true},
      {"listed player, logging off", "Bob", false, false, {}, false, false},
      {"same player", "Tester", true, true, {}, false, false},
      // Letter case counts: "bob" is not "Bob", so no "Player selected." block.
      {"listed name in other case", "bob", true, true, {"Application Started.", "Player changed to 'bob'"}, false,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    App().Config.PlayerName.Assign("Tester");
    App().Config.WriteLog = c.LogBefore;
    Inst.WriteBytes("Players/Tester.TXT", "tester's old line\n");
    Inst.WriteBytes("Players/Bob.TXT", "bob's old line\n");
    Inst.Remove("Players/Newbie.TXT");
    ResetLogBuffer();
    if (c.LogBefore) LogLine("Application Started.", true);

    Form->show();
    Form->CheckBoxLog->setChecked(c.LogAfter);
    Form->ComboBoxPlayer->setEditText(QString::fromStdString(c.Typed));
    EXPECT_TRUE(Form->FormCloseQuery());
    Form->hide();

    EXPECT_TRUE(Messages.Empty());
    EXPECT_EQ(App().Config.PlayerName.Str(), c.Typed);
    EXPECT_EQ(App().Config.WriteLog, c.LogAfter);
    const auto old = Inst.ReadLines("Players/Tester.TXT");
    ASSERT_EQ(old.size(), 1 + c.OldFileGets.size());
    EXPECT_EQ(old[0], "tester's old line");
    for (std::size_t i = 0; i < c.OldFileGets.size(); ++i)
      EXPECT_TRUE(IsStamped(old[1 + i], c.OldFileGets[i])) << old[1 + i];

    EXPECT_EQ(Inst.ReadLines("Players/Bob.TXT"), (std::vector<std::string>{"bob's old line"}));
    if (c.NewFile) {
      const auto lines = Inst.ReadLines("Players/" + c.Typed + ".TXT");
      ASSERT_EQ(lines.size(), header.size());
      EXPECT_EQ(lines[1], " Pavilore's log file for the player '" + c.Typed + "'");
      EXPECT_TRUE(IsStamped(lines[4], header[4]));
      // The new player is listed from then on.
      Form->show();
      EXPECT_EQ(Items(Form->ComboBoxPlayer), (std::vector<std::string>{"Bob", c.Typed, "Tester"}));
      Form->hide();
    } else {
      EXPECT_FALSE(Inst.Exists("Players/Newbie.TXT"));
    }
    const auto buffered = LogLines();
    if (c.Selected) {
      ASSERT_EQ(buffered.size(), 5u);
      ExpectFramed(buffered, 0, "Player selected.");
    } else if (c.Typed == "Tester") {
      ASSERT_EQ(buffered.size(), 1u);
    } else {
      EXPECT_TRUE(buffered.empty());
    }
  }
}

TEST_F(OptionsTest, EnterAndEscCloseFromEveryControlAndApply) {
  using Target = std::function<QWidget*(TFormOptions&)>;
  const std::pair<const char*, Target> targets[] = {
      {"window", [](TFormOptions& f) -> QWidget* { return &f; }},
      {"player field", [](TFormOptions& f) -> QWidget* { return f.ComboBoxPlayer->lineEdit(); }},
      {"check box", [](TFormOptions& f) -> QWidget* { return f.CheckBoxElem; }},
      {"button", [](TFormOptions& f) -> QWidget* { return f.ButtonOK; }},
  };
  const std::pair<int, QString> keys[] = {
      {Qt::Key_Return, QStringLiteral("\r")}, {Qt::Key_Enter, QStringLiteral("\r")}, {Qt::Key_Escape, QString()}};
  for (const auto& [where, target] : targets) {
    for (const auto& [key, text] : keys) {
      SCOPED_TRACE(std::string(where) + " key " + std::to_string(key));
      App().Config.PlayerName.Assign("Tester");
      App().Config.HighlightElements = 0;
      ModalDriver driver;
      driver.Then([&, target = target, key = key, text = text](QWidget* w) {
        auto* f = qobject_cast<TFormOptions*>(w);
        ASSERT_NE(f, nullptr);
        f->ComboBoxPlayer->setEditText(QStringLiteral("Bob"));
        f->CheckBoxElem->setChecked(true);
        SendKey(target(*f), key, text);
      });
      Form->exec();
      EXPECT_TRUE(driver.Done());
      EXPECT_FALSE(driver.TimedOut());
      EXPECT_FALSE(Form->isVisible());
      EXPECT_EQ(App().Config.PlayerName.Str(), "Bob");
      EXPECT_EQ(App().Config.HighlightElements, 1);
      // Enter in the field never adds the typed name to the list.
      EXPECT_EQ(Form->ComboBoxPlayer->count(), 2);
    }
  }
  EXPECT_TRUE(Messages.Empty());
  // Keys make no click.
  EXPECT_TRUE(Played.empty());
}

TEST_F(OptionsTest, TheButtonClicksOnItsPressAndARefusalKeepsTheWindowOpen) {
  ModalDriver driver;
  driver.Then([this](QWidget* w) {
    auto* f = qobject_cast<TFormOptions*>(w);
    ASSERT_NE(f, nullptr);
    QPushButton* ok = f->ButtonOK;
    const QPoint mid = ok->rect().center();
    f->ComboBoxPlayer->setEditText(QStringLiteral("ThirteenChars"));
    SendPress(ok, mid.x(), mid.y());
    EXPECT_EQ(Played, (std::vector<TEffect>{TEffect::Click}));
    EXPECT_TRUE(Messages.Empty());
    SendRelease(ok, mid.x(), mid.y());
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Text(), "Player's name can't be longer than 12 characters.");
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->ComboBoxPlayer->currentText(), "ThirteenChars");

    f->ComboBoxPlayer->setEditText(QStringLiteral("Bob"));
    SendPress(ok, mid.x(), mid.y());
    SendRelease(ok, mid.x(), mid.y());
  });
  Form->exec();
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(driver.TimedOut());
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Played, (std::vector<TEffect>{TEffect::Click, TEffect::Click}));
  EXPECT_EQ(App().Config.PlayerName.Str(), "Bob");
}

}  // namespace
}  // namespace pav::test
