// The sounds and music windows: their lists with "[None]", the enabling rules of
// their check boxes and radio buttons, the preview's "Play", "Pause" and "Stop",
// the sounds of their buttons, and what every way of closing them stores.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "gui/RecordingMusic.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "media/Music.h"
#include "media/UnitMusic.h"
#include "media/UnitSounds.h"
#include "render/Graphics.h"

namespace pav::test {
namespace {

// A real press and release in the middle of a control.
void Press(QWidget* w) {
  const QPoint c = w->rect().center();
  SendPress(w, c.x(), c.y());
  SendRelease(w, c.x(), c.y());
}

Calls Items(const QComboBox* list) {
  Calls items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
  return items;
}

class MediaWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    TConfig& c = App().Config;
    c.SoundsOn = 1;
    c.ClickSound.Assign("Beep");
    c.MoveSound.Assign("Beep");
    c.SolvedSound.Assign("Beep");
    c.GameOverSound.Assign("Beep");
    c.MusicFile.Assign("B");
    c.MusicMode = 1;
    c.MusicOn = 1;
    for (const char* f : {"Sounds/Beep.WAV", "Sounds/click.wav", "Music/A.MID", "Music/B.MID"}) Inst.WriteBytes(f, "x");
    SetMusicOutput(&Out);
    SetWavePlayer([this](TEffect e, const std::string& path) {
      Heard.push_back(std::string("effect ") + EffectWord(e) + " " + Stem(path));
    });
    Sounds = std::make_unique<TFormSounds>();
    Music = std::make_unique<TFormMusic>();
  }
  void TearDown() override {
    CloseMusicPlayers();
    SetMusicOutput(nullptr);
    SetWavePlayer(nullptr);
  }
  // Shows `window` modally, runs `inside` on it, then closes it with `key`.
  void Run(QDialog* window, const std::function<void()>& inside, int key = Qt::Key_Escape) {
    ModalDriver driver;
    driver.Then(ModalDriver::Inspect([&](QWidget*) { inside(); }, ModalDriver::Key(key)));
    window->exec();
    EXPECT_TRUE(driver.Done());
  }
  // Enabled states of the music window: radios, label, list, Play, Pause, Stop.
  std::string MusicEnabling() const {
    std::string s;
    for (QWidget* w : std::initializer_list<QWidget*>{Music->RadioButtonSelected, Music->RadioButtonRandom,
                                                      Music->RadioButtonAlphabetic, Music->LabelMusicFile,
                                                      Music->ComboBoxMusic, Music->ButtonPlay, Music->ButtonPause,
                                                      Music->ButtonStop})
      s += w->isEnabled() ? 'E' : '-';
    return s;
  }

  TempInstallation Inst;
  TRecordingOutput Out;
  Calls& Heard = Out.Heard;
  std::unique_ptr<TFormSounds> Sounds;
  std::unique_ptr<TFormMusic> Music;
};

// ---- Music window ----------------------------------------------------------------

TEST_F(MediaWindowsTest, MusicWindowEnablingFollowsTheCheckBoxAndTheMode) {
  struct Case {
    int On;
    int Mode;
    const char* Shown;             // as the window opens
    const char* AfterCheckBox;     // after one press of the check box
  };
  // Radios x3, label, list, Play, Pause, Stop.
  const std::vector<Case> cases = {
      {1, 1, "EEEEEE--", "--------"},
      {1, 2, "EEE-----", "--------"},
      {1, 3, "EEE-----", "--------"},
      {0, 1, "--------", "EEEEEE--"},
      {0, 2, "--------", "EEE-----"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE("on " + std::to_string(k.On) + " mode " + std::to_string(k.Mode));
    App().Config.MusicOn = static_cast<std::uint8_t>(k.On);
    App().Config.MusicMode = static_cast<std::uint8_t>(k.Mode);
    std::string shown, after;
    Run(Music.get(), [&] {
      shown = MusicEnabling();
      Press(Music->CheckBoxMusic);
      after = MusicEnabling();
    });
    EXPECT_EQ(shown, k.Shown);
    EXPECT_EQ(after, k.AfterCheckBox);
  }
}

TEST_F(MediaWindowsTest, MusicWindowPreviewPlaysPausesAndStopsWithTheRightButtonsLeft) {
  struct Step {
    const char* Button;
    const char* Enabling;  // Play, Pause, Stop afterwards
    Calls Heard;           // what the press played
  };
  const std::vector<Step> steps = {
      {"Play", "-EE", {"effect click Beep", "play"}},
      {"Pause", "E-E", {"effect click Beep", "pause"}},
      {"Play", "-EE", {"effect click Beep", "resume"}},
      {"Stop", "E--", {"effect click Beep", "halt"}},
      {"Play", "-EE", {"effect click Beep", "play"}},
  };
  Run(Music.get(), [&] {
    EXPECT_EQ(Heard, (Calls{"load B"}));
    EXPECT_EQ(Music->ComboBoxMusic->currentText().toStdString(), "B");
    for (const Step& s : steps) {
      SCOPED_TRACE(s.Button);
      Heard.clear();
      QPushButton* b = s.Button == std::string("Play")    ? Music->ButtonPlay
                       : s.Button == std::string("Pause") ? Music->ButtonPause
                                                          : Music->ButtonStop;
      Press(b);
      EXPECT_EQ(Heard, s.Heard);
      EXPECT_EQ(MusicEnabling().substr(5), s.Enabling);
    }
    // The piece comes to its end: Play again, the other two off.
    MusicStreamEnded();
    EXPECT_EQ(MusicEnabling().substr(5), "E--");
    Press(Music->ButtonPlay);
    // Another mode rewinds the preview and leaves nothing to press.
    Heard.clear();
    Press(Music->RadioButtonRandom);
    EXPECT_EQ(Heard, (Calls{"halt"}));
    EXPECT_EQ(MusicEnabling(), "EEE-----");
  });
  // Closing closes the preview.
  EXPECT_EQ(Heard.back(), "free");
}

TEST_F(MediaWindowsTest, MusicWindowStoresItsChoicesHoweverItCloses) {
  struct Case {
    const char* Name;
    int Key;        // 0: the OK button
    Calls Heard;    // what the closing played
  };
  for (const Case& k : std::vector<Case>{{"Escape", Qt::Key_Escape, {"free"}},
                                         {"Enter", Qt::Key_Return, {"free"}},
                                         {"OK", 0, {"effect click Beep", "free"}}}) {
    SCOPED_TRACE(k.Name);
    App().Config.MusicFile.Assign("B");
    App().Config.MusicMode = 1;
    App().Config.MusicOn = 1;
    ModalDriver driver;
    driver.Then(ModalDriver::Inspect(
        [&](QWidget*) {
          Music->ComboBoxMusic->setCurrentIndex(0);
          Music->ComboBoxMusicChange();
          Press(Music->RadioButtonAlphabetic);
          Press(Music->CheckBoxMusic);
          Heard.clear();
          if (k.Key == 0) Press(Music->ButtonOK);
        },
        k.Key == 0 ? ModalDriver::Answer([](QWidget*) {}) : ModalDriver::Key(k.Key)));
    Music->exec();
    EXPECT_FALSE(Music->isVisible());
    EXPECT_EQ(App().Config.MusicFile.Str(), "A");
    EXPECT_EQ(App().Config.MusicMode, 3);
    EXPECT_EQ(App().Config.MusicOn, 0);
    EXPECT_EQ(Heard, k.Heard);
  }
}

TEST_F(MediaWindowsTest, MusicWindowWithAStaleFileSelectsTheFirstAndPlaysAllRandomly) {
  App().Config.MusicFile.Assign("Gone");
  App().Config.MusicMode = 3;
  Run(Music.get(), [&] {
    EXPECT_EQ(Items(Music->ComboBoxMusic), (Calls{"A", "B"}));
    EXPECT_EQ(Music->ComboBoxMusic->currentText().toStdString(), "A");
    EXPECT_TRUE(Music->RadioButtonRandom->isChecked());
    EXPECT_EQ(App().Config.MusicFile.Str(), "A");
    EXPECT_EQ(App().Config.MusicMode, 2);
    EXPECT_EQ(Stem(GameMusicPlayer().FileName), "A");
  });
}

TEST_F(MediaWindowsTest, MusicWindowWithAnEmptyFolderWarnsAndClosesItself) {
  Inst.Remove("Music/A.MID");
  Inst.Remove("Music/B.MID");
  const TConfig before = App().Config;
  MessageCatcher messages;
  ModalDriver guard(30, 3000);  // closes the window should it stay up
  Music->exec();
  EXPECT_FALSE(guard.TimedOut());
  ASSERT_EQ(messages.Messages.size(), 1u);
  EXPECT_EQ(messages.Text(), "There aren't any music files in the 'Music' folder.");
  EXPECT_EQ(messages.Icon(), TMessageIcon::Warning);
  EXPECT_EQ(App().Config.MusicFile.Str(), before.MusicFile.Str());
  EXPECT_EQ(App().Config.MusicMode, before.MusicMode);
  EXPECT_EQ(App().Config.MusicOn, before.MusicOn);
}

// ---- Sounds window -----------------------------------------------------------------

TEST_F(MediaWindowsTest, SoundsWindowListsTheFolderWithNoneAndSelectsWithoutRegardToCase) {
  Inst.WriteBytes("Sounds/.hidden.WAV", "x");
  Inst.WriteBytes("Sounds/Readme.TXT", "x");
  const std::string longest(46, 'L');  // 50 characters with ".WAV"
  Inst.WriteBytes("Sounds/" + longest + ".WAV", "x");
  Inst.WriteBytes("Sounds/" + longest + "M.WAV", "x");  // 51: too long
  TConfig& c = App().Config;
  c.ClickSound.Assign("beep");
  c.MoveSound.Assign("[None]");
  c.SolvedSound.Assign("Gone");
  c.GameOverSound.Assign("CLICK");
  Run(Sounds.get(), [&] {
    EXPECT_EQ(Items(Sounds->ComboBoxClick), (Calls{"[None]", "Beep", "click", longest}));
    EXPECT_EQ(Sounds->ComboBoxClick->currentText().toStdString(), "Beep");
    EXPECT_EQ(Sounds->ComboBoxMove->currentText().toStdString(), "[None]");
    EXPECT_EQ(Sounds->ComboBoxSolved->currentIndex(), -1);
    EXPECT_EQ(Sounds->ComboBoxGameOver->currentText().toStdString(), "click");
  });
  // Stored as the lists show them; nothing selected stores an empty name.
  EXPECT_EQ(c.ClickSound.Str(), "Beep");
  EXPECT_EQ(c.MoveSound.Str(), "[None]");
  EXPECT_EQ(c.SolvedSound.Str(), "");
  EXPECT_EQ(c.GameOverSound.Str(), "click");

  for (const char* f : {"Sounds/Beep.WAV", "Sounds/click.wav", "Sounds/.hidden.WAV"}) Inst.Remove(f);
  Inst.Remove("Sounds/" + longest + ".WAV");
  Inst.Remove("Sounds/" + longest + "M.WAV");
  Run(Sounds.get(), [&] {
    for (TEffect e : {TEffect::Click, TEffect::Move, TEffect::Solved, TEffect::GameOver})
      EXPECT_EQ(Items(Sounds->List(e)), Calls{"[None]"});
  });
}

TEST_F(MediaWindowsTest, SoundsWindowEnablingFollowsTheCheckBoxAndIsStored) {
  const auto enabling = [this] {
    std::string s;
    for (QWidget* w : std::initializer_list<QWidget*>{Sounds->LabelClick, Sounds->LabelMove, Sounds->LabelSolved,
                                                      Sounds->LabelGameOver})
      s += w->isEnabled() ? 'E' : '-';
    for (TEffect e : {TEffect::Click, TEffect::Move, TEffect::Solved, TEffect::GameOver})
      s += std::string(Sounds->List(e)->isEnabled() ? "E" : "-") + (Sounds->PlayButton(e)->isEnabled() ? "E" : "-");
    return s;
  };
  for (int on : {1, 0}) {
    SCOPED_TRACE(on);
    App().Config.SoundsOn = static_cast<std::uint8_t>(on);
    std::string shown, after;
    Run(Sounds.get(), [&] {
      shown = enabling();
      Press(Sounds->CheckBoxSounds);
      after = enabling();
    });
    EXPECT_EQ(shown, on ? "EEEEEEEEEEEE" : "------------");
    EXPECT_EQ(after, on ? "------------" : "EEEEEEEEEEEE");
    EXPECT_EQ(App().Config.SoundsOn, on ? 0 : 1);
  }
}

TEST_F(MediaWindowsTest, SoundsWindowButtonsPlayTheirListsEntries) {
  struct Case {
    const char* Name;
    std::function<void()> Act;
    Calls Expected;
  };
  TFormSounds* s = Sounds.get();
  const auto choose = [](QComboBox* list, const char* text) {
    list->setCurrentIndex(list->findText(QString::fromLatin1(text)));
  };
  const std::vector<Case> cases = {
      {"Play of a row: the press clicks, the row's file follows",
       [&] {
         choose(s->ComboBoxMove, "click");
         Press(s->ButtonPlayMove);
       },
       {"effect click Beep", "effect move click"}},
      {"Play of a row with [None]",
       [&] {
         choose(s->ComboBoxGameOver, "[None]");
         Press(s->ButtonPlayGameOver);
       },
       {"effect click Beep"}},
      {"OK clicks with the click list's entry as chosen now",
       [&] {
         choose(s->ComboBoxClick, "click");
         Press(s->ButtonOK);
       },
       {"effect click click"}},
      {"OK with the sounds switched off",
       [&] {
         Press(s->CheckBoxSounds);
         Press(s->ButtonOK);
       },
       {}},
      {"OK with [None] for the click",
       [&] {
         choose(s->ComboBoxClick, "[None]");
         Press(s->ButtonOK);
       },
       {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    App().Config.SoundsOn = 1;
    App().Config.ClickSound.Assign("Beep");
    ModalDriver driver;
    driver.Then(ModalDriver::Inspect(
        [&](QWidget*) {
          Heard.clear();
          k.Act();
        },
        [](QWidget* w) {
          if (w->isVisible()) ModalDriver::Key(Qt::Key_Escape)(w);
        }));
    s->exec();
    EXPECT_EQ(Heard, k.Expected);
  }
}

}  // namespace
}  // namespace pav::test

namespace pav::test {
namespace {

// With PAVILORE_SHARE_DIR naming an installation image (build/share/pavilore) and
// PAVILORE_RENDER_DIR a folder, both windows are drawn in both shipped board
// graphics, filled from the shipped sounds and music, and saved as PNG files.
TEST(MediaWindowsPictures, SaveBothWindowsInBothBoardGraphics) {
  const char* share = std::getenv("PAVILORE_SHARE_DIR");
  const char* out = std::getenv("PAVILORE_RENDER_DIR");
  if (!share || !out) GTEST_SKIP() << "set PAVILORE_SHARE_DIR and PAVILORE_RENDER_DIR to save the windows";
  QTemporaryDir dir;
  for (const char* sub : {"Graphics", "Sounds", "Music"}) {
    QDir(dir.path()).mkdir(sub);
    const QDir from(QString(share) + "/" + sub);
    for (const QString& f : from.entryList(QDir::Files))
      QFile::copy(from.filePath(f), dir.path() + "/" + sub + "/" + f);
  }
  MessageCatcher messages;
  ResetApp();
  TApp& app = App();
  app.AppFolder = dir.path().toStdString();
  app.Config = MakeConfig("Classic 4 x 4");
  TConfig& c = app.Config;
  c.SoundsOn = 1;
  c.ClickSound.Assign("Click");
  c.MoveSound.Assign("Tile Move");
  c.SolvedSound.Assign("Puzzle Solved");
  c.GameOverSound.Assign("[None]");
  c.MusicFile.Assign("Morning Tiles");
  c.MusicMode = 1;
  c.MusicOn = 1;
  TRecordingOutput output;
  SetMusicOutput(&output);
  SetWavePlayer([](TEffect, const std::string&) {});
  for (const char* graphics : {"GB - Default", "GB - Slate"}) {
    c.BoardGraphics.Assign(graphics);
    CreateSkinBitmaps();
    LoadBackgroundPicture();
    ASSERT_TRUE(LoadGraphicsSet());
    TFormSounds sounds;
    TFormMusic music;
    for (QDialog* w : std::initializer_list<QDialog*>{&sounds, &music}) {
      ModalDriver driver;
      driver.Then(ModalDriver::Inspect(
          [&](QWidget*) {
            const std::string name = w == &sounds ? "sounds" : "music";
            EXPECT_TRUE(w->grab().save(QString(out) + "/" + QString::fromStdString(name) + " " + graphics + ".png"));
          },
          ModalDriver::Key(Qt::Key_Escape)));
      w->exec();
    }
  }
  CloseMusicPlayers();
  SetMusicOutput(nullptr);
  SetWavePlayer(nullptr);
}

}  // namespace
}  // namespace pav::test
