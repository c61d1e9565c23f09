// The game's music, heard through a recording output: the next piece in the three
// selection modes, the 250 ms follow-on after a piece ends, the pause window keeping
// the position, the music window silencing the game, the M key, every end of a game,
// and the check of the music file at start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Startup.h"
#include "flow/GameClock.h"
#include "flow/GameEnd.h"
#include "flow/GameStart.h"
#include "gui/RecordingMusic.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "media/Music.h"
#include "media/UnitMusic.h"
#include "ui/UnitMain.h"
#include "ui/UnitStop.h"

#include <QTimer>

namespace pav::test {
namespace {

class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    TConfig& c = App().Config;
    c.SoundsOn = 1;
    for (TName50* n : {&c.ClickSound, &c.MoveSound, &c.SolvedSound, &c.GameOverSound}) n->Assign("Beep");
    Inst.WriteBytes("Sounds/Beep.WAV", "RIFF");
    for (const char* name : {"A", "B", "C"}) Inst.WriteBytes(std::string("Music/") + name + ".MID", "MThd");
    c.MusicFile.Assign("A");
    c.MusicOn = 1;
    c.MusicMode = 3;
    App().MusicAlphaPosition = 0;
    SetMusicOutput(&Out);
    SetWavePlayer([this](TEffect e, const std::string&) { Out.Heard.push_back(std::string("effect ") + EffectWord(e)); });
    auto board = MakeBoard(6, 5, "Alpha");
    Inst.AddBoard("Alpha", *board);
    App().Game().Board = *board;
    App().Game().Current = board->Pattern;
    App().Game().OP = board->Pattern;
    Form = std::make_unique<TFormMain>(false);
    Stop = new TFormStop(Form.get());
    Music = new TFormMusic(Form.get());
  }
  void TearDown() override {
    CloseMusicPlayers();
    SetMusicOutput(nullptr);
    SetWavePlayer(nullptr);
    Form.reset();
  }
  // A game runs with its music started.
  void RunningWithMusic() {
    App().State.GameRunning = true;
    App().State.HumanTurn = true;
    PlayNextMusic();
    Out.Heard.clear();
  }

  TempInstallation Inst;
  TRecordingOutput Out;
  std::unique_ptr<TFormMain> Form;
  TFormStop* Stop = nullptr;
  TFormMusic* Music = nullptr;
};

TEST_F(MusicTest, EachModeChoosesItsPieces) {
  struct Case {
    const char* Name;
    int Mode;
    std::vector<std::string> Files;
    const char* Configured;
    Calls Expected;
  };
  const std::vector<Case> cases = {
      {"alphabetic after start-up", 3, {"A", "B", "C"}, "A", {"B", "C", "A", "B", "C"}},
      {"alphabetic, folder order not file order", 3, {"c2", "B1", "a3"}, "a3", {"B1", "c2", "a3", "B1", "c2"}},
      {"selected file, configured in other letters", 1, {"A", "Beat"}, "beat", {"Beat", "Beat", "Beat", "Beat", "Beat"}},
      {"random with a single file", 2, {"Solo"}, "Solo", {"Solo", "Solo", "Solo", "Solo", "Solo"}},
      {"no such mode", 4, {"A"}, "A", {}},
      {"mode zero", 0, {"A"}, "A", {}},
      // The configured file was deleted and the folder is empty: nothing to draw from.
      {"random, empty folder", 2, {}, "A", {}},
      {"alphabetic, empty folder", 3, {}, "A", {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    for (const char* name : {"A", "B", "C"}) Inst.Remove(std::string("Music/") + name + ".MID");
    for (const auto& f : k.Files) Inst.WriteBytes("Music/" + f + ".MID", "MThd");
    TConfig& c = App().Config;
    c.MusicMode = static_cast<std::uint8_t>(k.Mode);
    c.MusicFile.Assign(k.Configured);
    InitialiseProcessState();
    Out.Heard.clear();
    for (int i = 0; i < 5; ++i) PlayNextMusic();
    EXPECT_EQ(Out.Loaded(), k.Expected);
    for (const auto& f : k.Files) Inst.Remove("Music/" + f + ".MID");
    for (const char* name : {"A", "B", "C"}) Inst.WriteBytes(std::string("Music/") + name + ".MID", "MThd");
  }
}

TEST_F(MusicTest, AlphabeticOrderStartsOverWhenTheFolderShrank) {
  for (int i = 0; i < 2; ++i) PlayNextMusic();  // B, C: the position is at the third piece
  Inst.Remove("Music/C.MID");
  Inst.Remove("Music/B.MID");
  Out.Heard.clear();
  for (int i = 0; i < 2; ++i) PlayNextMusic();
  EXPECT_EQ(Out.Loaded(), (Calls{"A", "A"}));
}

TEST_F(MusicTest, RandomModeDrawsFromTheWholeFolder) {
  App().Config.MusicMode = 2;
  for (int i = 0; i < 60; ++i) PlayNextMusic();
  Calls loaded = Out.Loaded();
  ASSERT_EQ(loaded.size(), 60u);
  std::sort(loaded.begin(), loaded.end());
  loaded.erase(std::unique(loaded.begin(), loaded.end()), loaded.end());
  EXPECT_EQ(loaded, (Calls{"A", "B", "C"}));
}

TEST_F(MusicTest, NothingPlaysWithMusicOffWithoutAFileOrWhileTheMusicWindowIsUp) {
  struct Case {
    const char* Name;
    int On;
    const char* File;
    bool WindowUp;
  };
  for (const Case& k : std::vector<Case>{{"music off", 0, "A", false},
                                         {"no file configured", 1, "", false},
                                         {"music window up", 1, "A", true}}) {
    SCOPED_TRACE(k.Name);
    App().Config.MusicOn = static_cast<std::uint8_t>(k.On);
    App().Config.MusicFile.Assign(k.File);
    for (int mode = 1; mode <= 3; ++mode) {
      App().Config.MusicMode = static_cast<std::uint8_t>(mode);
      if (k.WindowUp) Music->setVisible(true);
      PlayNextMusic();
      Music->setVisible(false);
    }
    // The window's own preview may load its file; the game plays nothing.
    EXPECT_EQ(std::count(Out.Heard.begin(), Out.Heard.end(), "play"), 0);
    EXPECT_FALSE(GameMusicPlayer().IsOpen());
    if (!k.WindowUp) {
      EXPECT_EQ(Out.Loaded(), Calls{});
    }
  }
}

TEST_F(MusicTest, APieceThatEndsIsFollowedByTheNextAQuarterSecondLaterOnlyDuringAGame) {
  RunningWithMusic();
  ASSERT_EQ(GameMusicPlayer().Mode(), TMediaPlayer::TMode::Playing);
  EXPECT_FALSE(Form->TimerMusic->isActive());
  MusicStreamEnded();
  EXPECT_TRUE(Form->TimerMusic->isActive());
  EXPECT_TRUE(Form->TimerMusic->isSingleShot());
  EXPECT_EQ(Form->TimerMusic->interval(), 250);
  EXPECT_EQ(Out.Loaded(), Calls{});
  Form->TimerMusicTimer();
  EXPECT_FALSE(Form->TimerMusic->isActive());
  EXPECT_EQ(Out.Heard, (Calls{"load C", "play"}));

  // A piece that ends after the game did is not followed.
  App().State.GameRunning = false;
  MusicStreamEnded();
  EXPECT_FALSE(Form->TimerMusic->isActive());
  // Nor one that was halted: there is nothing left to end.
  App().State.GameRunning = true;
  StopGameMusic();
  MusicStreamEnded();
  EXPECT_FALSE(Form->TimerMusic->isActive());
}

TEST_F(MusicTest, ThePauseWindowStopsTheMusicAtItsPositionAndBackToGamePlaysOn) {
  struct Case {
    const char* Name;
    int MusicOn;
    int Key;
    Calls Expected;
  };
  const std::vector<Case> cases = {
      {"back to the game", 1, Qt::Key_B, {"pause", "resume"}},
      {"aborted", 1, Qt::Key_A, {"pause", "effect game over", "halt"}},
      {"music off", 0, Qt::Key_B, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    RunningWithMusic();
    App().Config.MusicOn = static_cast<std::uint8_t>(k.MusicOn);
    bool timerWhilePaused = true;
    ModalDriver driver;
    driver.Then(ModalDriver::Inspect(
        [&](QWidget*) {
          // An end reported behind the pause window is not followed.
          Form->MediaPlayerMainNotify();
          timerWhilePaused = Form->TimerMusic->isActive();
        },
        ModalDriver::Key(k.Key)));
    PauseCommand();
    EXPECT_TRUE(driver.Done());
    EXPECT_FALSE(timerWhilePaused);
    Calls heard = Out.Heard;
    EXPECT_EQ(heard, k.Expected);
    StopGameMusic();
    App().Config.MusicOn = 1;
  }
}

TEST_F(MusicTest, TheMusicWindowSilencesTheGameAndTheNextPieceFollowsItsClosing) {
  RunningWithMusic();
  bool silentInside = false;
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect(
      [&](QWidget*) {
        // The timer fires while the window is up: nothing plays.
        Form->TimerMusicTimer();
        silentInside = !GameMusicPlayer().IsOpen() && Out.Loaded() == Calls{"A"};
      },
      ModalDriver::Key(Qt::Key_Escape)));
  Music->exec();
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(silentInside);
  // The game's piece was taken off, the window's preview loaded and closed.
  EXPECT_EQ(Out.Heard, (Calls{"free", "load A", "free"}));
  EXPECT_TRUE(Form->TimerMusic->isActive());
  Out.Heard.clear();
  Form->TimerMusicTimer();
  EXPECT_EQ(Out.Heard, (Calls{"load C", "play"}));

  // Outside a game, closing the window starts nothing.
  App().State.GameRunning = false;
  Form->TimerMusic->stop();
  ModalDriver again;
  again.Then(ModalDriver::Key(Qt::Key_Escape));
  Music->exec();
  EXPECT_FALSE(Form->TimerMusic->isActive());
}

TEST_F(MusicTest, TheMKeySwitchesTheMusicAndARunningGameFollows) {
  struct Case {
    const char* Name;
    bool Running;
    int On;
    int OnAfter;
    Calls Heard;
    bool Soon;
  };
  const std::vector<Case> cases = {
      {"off during a game", true, 1, 0, {"pause"}, false},
      {"on during a game", true, 0, 1, {}, true},
      {"off outside a game", false, 1, 0, {}, false},
      {"on outside a game", false, 0, 1, {}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    RunningWithMusic();
    Form->TimerMusic->stop();
    App().State.GameRunning = k.Running;
    App().Config.MusicOn = static_cast<std::uint8_t>(k.On);
    MusicOnOffCommand();
    EXPECT_EQ(App().Config.MusicOn, k.OnAfter);
    EXPECT_EQ(Out.Heard, k.Heard);
    EXPECT_EQ(Form->TimerMusic->isActive(), k.Soon);
    StopGameMusic();
  }
}

TEST_F(MusicTest, EveryEndOfAGameStopsTheMusicBeforeItsSound) {
  struct Case {
    const char* Name;
    std::function<void()> End;
    const char* Sound;
  };
  const std::vector<Case> cases = {
      {"solved", [] { PuzzleSolved(); }, "effect solved"},
      {"time limit",
       [] {
         App().Game().TimeLimit = App().Game().Seconds + 1;
         TimerGameTick();
       },
       "effect game over"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    RunningWithMusic();
    // A follow-on already on its way is called off as well.
    StartMusicSoon();
    k.End();
    EXPECT_FALSE(App().State.GameRunning);
    EXPECT_EQ(Out.Heard, (Calls{"halt", k.Sound}));
    EXPECT_FALSE(Form->TimerMusic->isActive());
  }
}

TEST_F(MusicTest, StartingAGameStartsTheMusicAQuarterSecondLater) {
  App().State.HumanTurn = true;
  BeginPlay();
  EXPECT_TRUE(Form->TimerMusic->isActive());
  EXPECT_EQ(Out.Loaded(), Calls{});
  Form->TimerMusicTimer();
  EXPECT_EQ(Out.Heard, (Calls{"load B", "play"}));
}

TEST_F(MusicTest, AtStartUpAMissingMusicFileSwitchesTheMusicOff) {
  struct Case {
    const char* Name;
    const char* File;
    int OnAfter;
    const char* FileAfter;
  };
  for (const Case& k : std::vector<Case>{{"there", "B", 1, "B"},
                                         {"there in other letters", "b", 1, "b"},
                                         {"deleted", "Gone", 0, ""},
                                         {"none configured", "", 0, ""}}) {
    SCOPED_TRACE(k.Name);
    App().Config.MusicOn = 1;
    App().Config.MusicFile.Assign(k.File);
    GameMusicPlayer().FileName.clear();
    InitialiseProcessState();
    EXPECT_EQ(App().Config.MusicOn, k.OnAfter);
    EXPECT_EQ(App().Config.MusicFile.Str(), k.FileAfter);
    EXPECT_EQ(Stem(GameMusicPlayer().FileName), k.OnAfter ? "B" : "");
  }
}

TEST_F(MusicTest, ThePlayersShareOneStreamAndOnlyItsHolderHearsTheEnd) {
  int gameEnds = 0, previewEnds = 0;
  GameMusicPlayer().OnNotify = [&] { ++gameEnds; };
  PreviewMusicPlayer().OnNotify = [&] { ++previewEnds; };
  GameMusicPlayer().FileName = Inst.File("Music/A.MID");
  PreviewMusicPlayer().FileName = Inst.File("Music/B.MID");
  ASSERT_TRUE(GameMusicPlayer().Open());
  GameMusicPlayer().Play();
  ASSERT_TRUE(PreviewMusicPlayer().Open());
  EXPECT_FALSE(GameMusicPlayer().IsOpen());
  // The game's player no longer holds the stream: it cannot move it.
  GameMusicPlayer().Play();
  GameMusicPlayer().Close();
  PreviewMusicPlayer().Play();
  MusicStreamEnded();
  EXPECT_EQ(gameEnds, 0);
  EXPECT_EQ(previewEnds, 1);
  EXPECT_EQ(Out.Heard, (Calls{"load A", "play", "load B", "play"}));
  // Ended, it plays again from the start.
  PreviewMusicPlayer().Play();
  EXPECT_EQ(Out.Heard.back(), "play");
}

}  // namespace
}  // namespace pav::test
