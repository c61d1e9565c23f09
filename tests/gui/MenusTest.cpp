// The configuration and information menus (their keys, buttons and what they
// open, the switch between them, what closes them, the game entry during a game),
// the shortcut list, the about window with its links, and opening the help page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "gui/FlatSkin.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "platform/qt/Shell.h"
#include "render/Graphics.h"
#include "render/Skin.h"
#include "render/UnitAbout.h"
#include "render/UnitCfgMenu.h"
#include "render/UnitInfoMenu.h"
#include "render/UnitShortCut.h"
#include "render/WindowTargets.h"

namespace pav::test {
namespace {

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QCoreApplication::sendEvent(target, &release);
}

// A key as the player gives it: to the control with the keyboard focus.
void SendKeyToFocus(QWidget* window, int key) {
  SendKey(window->focusWidget() != nullptr ? window->focusWidget() : window, key);
}

void SendWheel(QWidget* target) {
  QWheelEvent wheel(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}

void PressAndRelease(QWidget* w) {
  SendPress(w, w->width() / 2, w->height() / 2);
  SendRelease(w, w->width() / 2, w->height() / 2);
}

const char* TargetName(TWindowTarget t) {
  switch (t) {
    case TWindowTarget::Help: return "Help";
    case TWindowTarget::Game: return "Game";
    case TWindowTarget::Options: return "Options";
    case TWindowTarget::Graphics: return "Graphics";
    case TWindowTarget::Sounds: return "Sounds";
    case TWindowTarget::Music: return "Music";
    case TWindowTarget::ShortCuts: return "ShortCuts";
    case TWindowTarget::Records: return "Records";
    case TWindowTarget::About: return "About";
    case TWindowTarget::CustomPicture: return "CustomPicture";
  }
  return "?";
}

constexpr TWindowTarget AllTargets[] = {TWindowTarget::Help,     TWindowTarget::Game,     TWindowTarget::Options,
                                        TWindowTarget::Graphics, TWindowTarget::Sounds,   TWindowTarget::Music,
                                        TWindowTarget::ShortCuts, TWindowTarget::Records, TWindowTarget::About,
                                        TWindowTarget::CustomPicture};

// Both menus, every role opening a stand-in that writes down what happened: the
// click sound as "click", an opened role by its name, with " over a menu" when a
// menu was still up as it opened.
class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    SetMainWindow(nullptr);
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    App().Config.SoundsOn = 1;
    App().Config.ClickSound.Assign("Click");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    SetWavePlayer([this](TEffect effect, const std::string&) {
      Events.push_back(effect == TEffect::Click ? "click" : "other sound");
    });
    ClearWindowOpeners();
    for (TWindowTarget t : AllTargets)
      SetWindowOpener(t, [this, t] {
        const bool menuUp = Cfg->isVisible() || Info->isVisible();
        Events.push_back(std::string(TargetName(t)) + (menuUp ? " over a menu" : ""));
      });
    Cfg = std::make_unique<TFormCfgMenu>();
    Info = std::make_unique<TFormInfoMenu>();
  }
  void TearDown() override {
    Cfg.reset();
    Info.reset();
    ClearWindowOpeners();
    SetWavePlayer(nullptr);
    App().State.GameRunning = false;
  }

  TMenuDialog* Menu(bool cfg) const {
    return cfg ? static_cast<TMenuDialog*>(Cfg.get()) : static_cast<TMenuDialog*>(Info.get());
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<std::string> Events;
  std::unique_ptr<TFormCfgMenu> Cfg;
  std::unique_ptr<TFormInfoMenu> Info;
};

using Strings = std::vector<std::string>;

struct EntryCase {
  bool InCfg;
  const char* Caption;
  const char* KeyText;
  int Key;
  const char* Opens;
};

const EntryCase Entries[] = {
    {true, "   Game", "F2", Qt::Key_F2, "Game"},
    {true, "  Options", "F3", Qt::Key_F3, "Options"},
    {true, " Graphics        ", "F4", Qt::Key_F4, "Graphics"},
    {true, "  Sounds", "F5", Qt::Key_F5, "Sounds"},
    {true, "   Music", "F6", Qt::Key_F6, "Music"},
    {false, "     Help", "F1", Qt::Key_F1, "Help"},
    {false, " ShortCuts       ", "F7", Qt::Key_F7, "ShortCuts"},
    {false, "  Records", "F8", Qt::Key_F8, "Records"},
    {false, "   About ..", "F9", Qt::Key_F9, "About"},
};

TEST_F(MenusTest, EachMenuListsItsEntriesWithTheirKeysBesideThem) {
  EXPECT_EQ(Cfg->EntryCount(), 5);
  EXPECT_EQ(Info->EntryCount(), 4);
  int index[2] = {0, 0};
  for (const EntryCase& c : Entries) {
    SCOPED_TRACE(c.Caption);
    TMenuDialog* menu = Menu(c.InCfg);
    const int i = index[c.InCfg ? 1 : 0]++;
    const QPushButton* button = menu->EntryButton(i);
    const QLabel* key = menu->EntryKeyLabel(i);
    EXPECT_EQ(button->text().toStdString(), c.Caption);
    EXPECT_EQ(key->text().toStdString(), c.KeyText);
    // The key on the button's line, to its right, both inside the panel.
    EXPECT_EQ(key->geometry().center().y(), button->geometry().center().y());
    EXPECT_GT(key->x(), button->geometry().right());
    EXPECT_TRUE(menu->Panel()->rect().contains(button->geometry()));
    EXPECT_TRUE(menu->Panel()->rect().contains(key->geometry()));
    EXPECT_GE(key->width(), key->fontMetrics().horizontalAdvance(key->text()));
    if (i > 0) {
      EXPECT_GT(button->y(), menu->EntryButton(i - 1)->geometry().bottom());
    }
  }
  EXPECT_EQ(Cfg->ButtonGame, Cfg->EntryButton(0));
  EXPECT_EQ(Cfg->LabelF2, Cfg->EntryKeyLabel(0));
  EXPECT_EQ(Info->ButtonAbout, Info->EntryButton(3));
  EXPECT_EQ(FormCfgMenu(), Cfg.get());
  EXPECT_EQ(FormInfoMenu(), Info.get());
}

TEST_F(MenusTest, AKeyHidesTheMenuThenOpensItsWindowWithoutAClick) {
  for (const EntryCase& c : Entries) {
    SCOPED_TRACE(c.KeyText);
    Events.clear();
    TMenuDialog* menu = Menu(c.InCfg);
    menu->ShowMenu();
    ASSERT_TRUE(menu->isVisible());
    SendKeyToFocus(menu, c.Key);
    EXPECT_EQ(Events, Strings{c.Opens});
    EXPECT_FALSE(menu->isVisible());
  }
  // The keys reach the menu the same way when no button has the focus.
  Events.clear();
  Cfg->ShowMenu();
  SendKey(Cfg.get(), Qt::Key_F4);
  EXPECT_EQ(Events, Strings{"Graphics"});
}

TEST_F(MenusTest, AButtonClicksOnThePressAndOpensItsWindowOnTheRelease) {
  int index[2] = {0, 0};
  for (const EntryCase& c : Entries) {
    SCOPED_TRACE(c.Caption);
    Events.clear();
    TMenuDialog* menu = Menu(c.InCfg);
    QPushButton* button = menu->EntryButton(index[c.InCfg ? 1 : 0]++);
    menu->ShowMenu();
    SendPress(button, 10, 10);
    EXPECT_EQ(Events, Strings{"click"});
    EXPECT_TRUE(menu->isVisible());
    SendRelease(button, 10, 10);
    EXPECT_EQ(Events, (Strings{"click", c.Opens}));
    EXPECT_FALSE(menu->isVisible());
  }
  // A press dragged off the button has clicked, and chooses nothing.
  Events.clear();
  Info->ShowMenu();
  SendPress(Info->ButtonRecords, 10, 10);
  SendMove(Info->ButtonRecords, -40, 10, Qt::LeftButton);
  SendRelease(Info->ButtonRecords, -40, 10);
  EXPECT_EQ(Events, Strings{"click"});
  EXPECT_TRUE(Info->isVisible());
}

TEST_F(MenusTest, AnEntryWithoutAWindowJustClosesTheMenu) {
  SetWindowOpener(TWindowTarget::Sounds, nullptr);
  SetWindowOpener(TWindowTarget::Music, nullptr);
  for (int key : {Qt::Key_F5, Qt::Key_F6}) {
    Cfg->ShowMenu();
    SendKeyToFocus(Cfg.get(), key);
    EXPECT_FALSE(Cfg->isVisible());
  }
  Cfg->ShowMenu();
  PressAndRelease(Cfg->ButtonMusic);
  EXPECT_FALSE(Cfg->isVisible());
  EXPECT_EQ(Events, Strings{"click"});
  EXPECT_TRUE(Messages.Empty());
}

TEST_F(MenusTest, F11AndF12GoOverToTheOtherMenuOnlyFromTheOtherOne) {
  struct Case {
    bool FromCfg;
    int Key;
    bool CfgAfter, InfoAfter;
  };
  for (const Case c : {Case{true, Qt::Key_F12, false, true}, Case{false, Qt::Key_F11, true, false},
                       Case{true, Qt::Key_F11, false, false}, Case{false, Qt::Key_F12, false, false}}) {
    SCOPED_TRACE(std::string(c.FromCfg ? "cfg " : "info ") + std::to_string(c.Key - Qt::Key_F1 + 1));
    Cfg->hide();
    Info->hide();
    Menu(c.FromCfg)->ShowMenu();
    SendKeyToFocus(Menu(c.FromCfg), c.Key);
    EXPECT_EQ(Cfg->isVisible(), c.CfgAfter);
    EXPECT_EQ(Info->isVisible(), c.InfoAfter);
    // The other menu is shown beside the main window, not modally.
    EXPECT_FALSE(Cfg->isModal());
    EXPECT_FALSE(Info->isModal());
  }
  EXPECT_TRUE(Events.empty());
}

TEST_F(MenusTest, AnyOtherKeyClosesTheMenuAModifierAloneDoesNot) {
  struct Case {
    int Key;
    bool Closes;
  };
  const Case cases[] = {{Qt::Key_Escape, true}, {Qt::Key_Return, true}, {Qt::Key_Space, true},
                        {Qt::Key_Tab, true},    {Qt::Key_Down, true},   {Qt::Key_A, true},
                        {Qt::Key_F10, true},    {Qt::Key_Shift, false}, {Qt::Key_Control, false},
                        {Qt::Key_Alt, false}};
  for (bool cfg : {true, false})
    for (const Case c : cases)
      for (bool toFocus : {true, false}) {
        SCOPED_TRACE(std::string(cfg ? "cfg " : "info ") + std::to_string(c.Key) + (toFocus ? " focus" : " window"));
        TMenuDialog* menu = Menu(cfg);
        menu->ShowMenu();
        if (toFocus)
          SendKeyToFocus(menu, c.Key);
        else
          SendKey(menu, c.Key);
        EXPECT_EQ(menu->isVisible(), !c.Closes);
        menu->hide();
      }
  EXPECT_TRUE(Events.empty());
}

TEST_F(MenusTest, AWheelTurnOrARightPressOnTheSkinClosesTheMenu) {
  enum class Act { WheelOnSkin, WheelOnButton, RightOnSkin, LeftOnSkin, RightOnPanel, RightOnButton };
  struct Case {
    Act What;
    const char* Name;
    bool Closes;
  };
  for (bool cfg : {true, false})
    for (const Case c : {Case{Act::WheelOnSkin, "wheel on the skin", true},
                         Case{Act::WheelOnButton, "wheel on a button", true},
                         Case{Act::RightOnSkin, "right press on the skin", true},
                         Case{Act::LeftOnSkin, "left press on the skin (a drag)", false},
                         Case{Act::RightOnPanel, "right press on the panel", false},
                         Case{Act::RightOnButton, "right press on a button", false}}) {
      SCOPED_TRACE(std::string(cfg ? "cfg: " : "info: ") + c.Name);
      TMenuDialog* menu = Menu(cfg);
      menu->ShowMenu();
      QWidget* button = menu->EntryButton(1);
      // The title row, below the panel.
      const int skinY = menu->height() - 20;
      switch (c.What) {
        case Act::WheelOnSkin: SendWheel(menu); break;
        case Act::WheelOnButton: SendWheel(button); break;
        case Act::RightOnSkin: SendPress(menu, 30, skinY, Qt::RightButton); break;
        case Act::LeftOnSkin:
          SendPress(menu, 30, skinY);
          SendRelease(menu, 30, skinY);
          break;
        case Act::RightOnPanel: SendPress(menu->Panel(), 2, 2, Qt::RightButton); break;
        case Act::RightOnButton: SendPress(button, 5, 5, Qt::RightButton); break;
      }
      EXPECT_EQ(menu->isVisible(), !c.Closes);
      menu->hide();
    }
  EXPECT_TRUE(Events.empty());
}

TEST_F(MenusTest, TheGameEntryIsUnavailableWhileAGameRuns) {
  App().State.GameRunning = true;
  Cfg->ShowMenu();
  EXPECT_FALSE(Cfg->ButtonGame->isEnabled());
  EXPECT_FALSE(Cfg->LabelF2->isEnabled());
  for (QWidget* other : {static_cast<QWidget*>(Cfg->ButtonOptions), static_cast<QWidget*>(Cfg->LabelF3)})
    EXPECT_TRUE(other->isEnabled());
  // F2 does nothing at all: the menu stays; a press on the button neither clicks nor opens.
  SendKeyToFocus(Cfg.get(), Qt::Key_F2);
  EXPECT_TRUE(Cfg->isVisible());
  PressAndRelease(Cfg->ButtonGame);
  EXPECT_TRUE(Cfg->isVisible());
  EXPECT_TRUE(Events.empty());
  // The keyboard starts on the first entry that can be chosen.
  EXPECT_EQ(Cfg->focusWidget(), Cfg->ButtonOptions);
  SendKeyToFocus(Cfg.get(), Qt::Key_F3);
  EXPECT_EQ(Events, Strings{"Options"});

  // Once the game is over, the next showing offers the entry again.
  App().State.GameRunning = false;
  Events.clear();
  Cfg->ShowMenu();
  EXPECT_TRUE(Cfg->ButtonGame->isEnabled());
  EXPECT_TRUE(Cfg->LabelF2->isEnabled());
  SendKeyToFocus(Cfg.get(), Qt::Key_F2);
  EXPECT_EQ(Events, Strings{"Game"});

  // A game started while the menu is up (the side panel stays usable): F2 still does nothing.
  Events.clear();
  Cfg->ShowMenu();
  App().State.GameRunning = true;
  SendKeyToFocus(Cfg.get(), Qt::Key_F2);
  EXPECT_TRUE(Cfg->isVisible());
  EXPECT_FALSE(Cfg->ButtonGame->isEnabled());
  EXPECT_TRUE(Events.empty());
}

TEST_F(MenusTest, PointerOverTheMenusControlsIsTheNormalOne) {
  for (bool cfg : {true, false}) {
    TMenuDialog* menu = Menu(cfg);
    menu->ShowMenu();
    std::vector<QWidget*> controls{menu->Panel()};
    for (int i = 0; i < menu->EntryCount(); ++i) {
      controls.push_back(menu->EntryButton(i));
      controls.push_back(menu->EntryKeyLabel(i));
    }
    for (QWidget* w : controls) {
      SCOPED_TRACE(w->objectName().toStdString());
      QGuiApplication::setOverrideCursor(Qt::WaitCursor);
      SendMove(w, 3, 3, Qt::NoButton);
      EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
      RestoreNormalPointer();
    }
    menu->hide();
  }
}

// ---- Shortcut list and about window --------------------------------------------

class MenuWindowsTest : public MenusTest {};

TEST_F(MenuWindowsTest, TheWindowsHaveTheirSizesAndTitles) {
  TFormShortCut shortcuts;
  TFormAbout about;
  struct Case {
    TSkinnedDialog* Window;
    int Width, Height;
    const char* Title;
    bool Modal;
  };
  for (const Case c : {Case{Cfg.get(), 192, 192, "CONFIGURATION", false},
                       Case{Info.get(), 192, 192, "INFORMATION", false},
                       Case{&shortcuts, 432, 192, "SHORTCUT LIST", true}, Case{&about, 288, 240, "ABOUT ..", true}}) {
    SCOPED_TRACE(c.Title);
    EXPECT_EQ(c.Window->size(), QSize(c.Width, c.Height));
    EXPECT_EQ(c.Window->Title(), c.Title);
    EXPECT_EQ(c.Window->isModal(), c.Modal);
  }
  EXPECT_EQ(FormShortCut(), &shortcuts);
  EXPECT_EQ(FormAbout(), &about);
}

TEST_F(MenuWindowsTest, TheShortcutListShowsEveryKeyInItsColumnAndOrder) {
  struct Line {
    const char *Key, *Text;
    int Column;
  };
  const Line lines[] = {
      {"F1", "Help Index", 0},           {"F2", "Game Cfg.", 0},
      {"F3", "General Options", 0},      {"F4", "Graphics Cfg.", 0},
      {"F5", "Sounds Cfg.", 0},          {"F6", "Music Cfg.", 0},
      {"F7", "ShortCut List", 0},        {"F8", "Top 10 Scores", 1},
      {"F9", "About Pavilore", 1},       {"F10", "Play / Stop Game", 1},
      {"F11", "Cfg. Menu", 1},           {"F12", "Info Menu", 1},
      {"Esc", "Show / Hide Menu Bar", 1}, {"Spc", "Show / Hide Objective", 1},
      {"M", "Music On / Off", 2},        {"S", "Sounds On / Off", 2},
      {"W", "Mouse Wheel On / Off", 2},  {"P", "Custom Picture Setup", 2},
  };
  TFormShortCut list;
  list.show();
  const std::size_t count = std::size(lines);
  ASSERT_EQ(list.LabelKeys.size(), count);
  ASSERT_EQ(list.LabelTexts.size(), count);
  const QRect panel = list.Panel()->rect();
  int columnLeft[3] = {-1, -1, -1};
  int columnRight[3] = {-1, -1, -1};
  for (std::size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(lines[i].Key);
    const QLabel* key = list.LabelKeys[i];
    const QLabel* text = list.LabelTexts[i];
    EXPECT_EQ(key->text().toStdString(), lines[i].Key);
    EXPECT_EQ(text->text().toStdString(), lines[i].Text);
    // Readable: whole, inside the panel, the description on its key's line.
    for (const QLabel* l : {key, text}) {
      EXPECT_TRUE(panel.contains(l->geometry()));
      EXPECT_GE(l->width(), l->fontMetrics().horizontalAdvance(l->text()));
      EXPECT_GE(l->height(), l->fontMetrics().height());
      EXPECT_FALSE(l->geometry().intersects(list.ButtonOK->geometry()));
    }
    EXPECT_EQ(text->y(), key->y());
    EXPECT_GT(text->x(), key->geometry().right());
    const int c = lines[i].Column;
    if (columnLeft[c] < 0) {
      columnLeft[c] = key->x();
    } else {
      EXPECT_EQ(key->x(), columnLeft[c]);
      EXPECT_GT(key->y(), list.LabelKeys[i - 1]->geometry().bottom() - 1);
    }
    columnRight[c] = std::max(columnRight[c], text->geometry().right());
  }
  // The columns side by side, left to right, apart.
  EXPECT_GT(columnLeft[1], columnRight[0]);
  EXPECT_GT(columnLeft[2], columnRight[1]);
  EXPECT_TRUE(panel.contains(list.ButtonOK->geometry()));
  EXPECT_EQ(list.ButtonOK->text(), "&OK");
}

TEST_F(MenuWindowsTest, OKEnterAndEscCloseTheShortcutListAndTheAboutWindow) {
  TFormShortCut shortcuts;
  TFormAbout about;
  enum class Way { Return, Enter, Escape, OK };
  for (TSkinnedDialog* window : {static_cast<TSkinnedDialog*>(&shortcuts), static_cast<TSkinnedDialog*>(&about)})
    for (Way way : {Way::Return, Way::Enter, Way::Escape, Way::OK}) {
      SCOPED_TRACE(window->Title() + " " + std::to_string(static_cast<int>(way)));
      Events.clear();
      window->show();
      auto* ok = window->findChild<QPushButton*>(QStringLiteral("ButtonOK"));
      ASSERT_NE(ok, nullptr);
      EXPECT_EQ(window->focusWidget(), ok);
      switch (way) {
        case Way::Return: SendKeyToFocus(window, Qt::Key_Return); break;
        case Way::Enter: SendKeyToFocus(window, Qt::Key_Enter); break;
        case Way::Escape: SendKeyToFocus(window, Qt::Key_Escape); break;
        case Way::OK:
          SendPress(ok, 5, 5);
          // Heard on the press, while the window is still up.
          EXPECT_EQ(Events, Strings{"click"});
          EXPECT_TRUE(window->isVisible());
          SendRelease(ok, 5, 5);
          break;
      }
      EXPECT_FALSE(window->isVisible());
      EXPECT_EQ(Events, way == Way::OK ? Strings{"click"} : Strings{});
    }
  // Other keys leave them open.
  for (TSkinnedDialog* window : {static_cast<TSkinnedDialog*>(&shortcuts), static_cast<TSkinnedDialog*>(&about)}) {
    window->show();
    SendKeyToFocus(window, Qt::Key_F5);
    SendKeyToFocus(window, Qt::Key_A);
    EXPECT_TRUE(window->isVisible());
    window->hide();
  }
}

// ---- Links and the help page -----------------------------------------------------

class ShellTest : public MenusTest {
 protected:
  void SetUp() override {
    MenusTest::SetUp();
    SetUrlOpener([this](const QUrl& url) {
      Opened.push_back(url);
      return HandlerAnswer;
    });
  }
  void TearDown() override {
    SetUrlOpener(nullptr);
    MenusTest::TearDown();
  }
  std::vector<QUrl> Opened;
  bool HandlerAnswer = true;
};

TEST_F(ShellTest, TheHelpPageOpensWhenInstalledWhateverTheCaseOfItsName) {
  struct Case {
    const char* Installed;  // nullptr: no help page
    bool Handler;
  };
  for (const Case c : {Case{"Pavilore Help.HTML", true}, Case{"pavilore help.html", true},
                       Case{"Pavilore Help.HTML", false}, Case{nullptr, true}}) {
    SCOPED_TRACE(c.Installed != nullptr ? c.Installed : "none");
    TempInstallation inst;
    App().AppFolder = inst.Folder();
    if (c.Installed != nullptr) inst.WriteBytes(c.Installed, "<html></html>");
    Opened.clear();
    HandlerAnswer = c.Handler;
    OpenHelpFile();
    if (c.Installed == nullptr) {
      EXPECT_TRUE(Opened.empty());
    } else {
      ASSERT_EQ(Opened.size(), 1u);
      EXPECT_TRUE(Opened[0].isLocalFile());
      EXPECT_EQ(Opened[0].toLocalFile().toStdString(), inst.File(c.Installed));
    }
    // No handler, no page: nothing is said.
    EXPECT_TRUE(Messages.Empty());
  }
}

TEST_F(ShellTest, TheAboutLinksOpenTheHelpPageAndAMailOnAClickOverThem) {
  Inst.WriteBytes("Pavilore Help.HTML", "<html></html>");
  TFormAbout about;
  about.show();
  EXPECT_EQ(about.LabelWebSite->text(), "Game's Web Site :");
  EXPECT_EQ(about.LabelEMail->text(), "Author's E-Mail :");

  PressAndRelease(about.LabelWebSite);
  PressAndRelease(about.LabelEMail);
  ASSERT_EQ(Opened.size(), 2u);
  EXPECT_EQ(Opened[0].toLocalFile().toStdString(), Inst.File("Pavilore Help.HTML"));
  EXPECT_EQ(Opened[0].fragment(), "about");
  EXPECT_EQ(Opened[1].scheme(), "mailto");
  // A mail to nobody in particular: the game names no address of its own.
  EXPECT_TRUE(Opened[1].path().isEmpty());

  // Released off the link, or with the right button: nothing opens.
  Opened.clear();
  SendPress(about.LabelWebSite, 3, 3);
  SendRelease(about.LabelWebSite, -30, 3);
  SendPress(about.LabelEMail, 3, 3, Qt::RightButton);
  SendRelease(about.LabelEMail, 3, 3, Qt::RightButton);
  EXPECT_TRUE(Opened.empty());
  EXPECT_TRUE(about.isVisible());
  EXPECT_TRUE(Events.empty());
}

TEST_F(ShellTest, TheAboutWindowTellsTheVersionOfTheBuild) {
  TFormAbout about;
  const std::string version = ProgramVersion();
  ASSERT_FALSE(version.empty());
  EXPECT_TRUE(QString::fromStdString(version).contains(QRegularExpression(QStringLiteral("^\\d+(\\.\\d+)+$"))))
      << version;
  EXPECT_EQ(about.LabelVersion->text().toStdString(), "Version " + version);
  for (const QLabel* line : {about.LabelName, about.LabelCredit, about.LabelVersion, about.LabelFreeware,
                             static_cast<QLabel*>(about.LabelWebSite), static_cast<QLabel*>(about.LabelEMail),
                             about.LabelWebSiteTarget, about.LabelEMailTarget}) {
    SCOPED_TRACE(line->text().toStdString());
    EXPECT_TRUE(about.Panel()->rect().contains(line->geometry()));
    EXPECT_GE(line->width(), line->fontMetrics().horizontalAdvance(line->text()));
    EXPECT_FALSE(line->geometry().intersects(about.ButtonOK->geometry()));
  }
}

// ---- Pictures of the windows ------------------------------------------------------

TEST(MenusPictures, SaveEachWindowInBothBoardGraphics) {
  const char* share = std::getenv("PAVILORE_SHARE_DIR");
  const char* out = std::getenv("PAVILORE_RENDER_DIR");
  if (!share || !out) GTEST_SKIP() << "set PAVILORE_SHARE_DIR and PAVILORE_RENDER_DIR to save the windows";
  QTemporaryDir dir;  // a copy of the pictures: a JPEG load writes its working file beside them
  QDir(dir.path()).mkdir("Graphics");
  const QDir graphics(QString(share) + "/Graphics");
  for (const QString& f : graphics.entryList(QDir::Files))
    QFile::copy(graphics.filePath(f), dir.path() + "/Graphics/" + f);
  MessageCatcher messages;
  for (const char* set : {"GB - Default", "GB - Slate"}) {
    ResetApp();
    TApp& app = App();
    app.AppFolder = dir.path().toStdString();
    app.Config = MakeConfig("Alpha");
    app.Config.BoardGraphics.Assign(set);
    CreateSkinBitmaps();
    LoadBackgroundPicture();
    ASSERT_TRUE(LoadGraphicsSet());
    const QString name = QString(out) + "/" + QString(set).mid(5).toLower() + " ";
    TFormCfgMenu cfg;
    TFormInfoMenu info;
    TFormShortCut shortcuts;
    TFormAbout about;
    for (bool running : {false, true}) {
      app.State.GameRunning = running;
      cfg.ShowMenu();
      EXPECT_TRUE(cfg.grab().save(name + (running ? "configuration menu in a game.png" : "configuration menu.png")));
      cfg.hide();
    }
    app.State.GameRunning = false;
    struct Shot {
      TSkinnedDialog* Window;
      const char* Name;
    };
    for (const Shot s : {Shot{&info, "information menu"}, Shot{&shortcuts, "shortcut list"}, Shot{&about, "about"}}) {
      s.Window->show();
      EXPECT_TRUE(s.Window->grab().save(name + s.Name + ".png"));
      s.Window->hide();
    }
  }
  EXPECT_TRUE(messages.Empty());
}

}  // namespace
}  // namespace pav::test
