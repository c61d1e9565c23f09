// Start-up and exit on a temporary installation: the configuration file, the
// repairs of stale choices, the loading of the configured files and the writing
// of the configuration at exit.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <QCloseEvent>
#include <QApplication>
#include <QDir>
#include <QSet>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "app/UnitSplash.h"
#include "files/GameFiles.h"
#include "gui/TempInstallation.h"
#include "platform/InstanceLock.h"
#include "platform/Installation.h"

namespace pav::test {
namespace {

class StartupTest : public ::testing::Test {
 protected:
  TConfig& Cfg() { return App().Config; }
  TGame& Game() { return App().Game(); }
  TempInstallation Inst;
  MessageCatcher Messages;
};

// ---- The configuration file ------------------------------------------------------

TEST_F(StartupTest, MissingConfigurationEndsTheStartUpWithItsMessage) {
  Inst.AddBoard("Alpha", "Alpha");
  EXPECT_FALSE(RunStartup());
  EXPECT_TRUE(TerminationRequested());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_EQ(Messages.Text(), "The configuration file : '..\\System\\Pavilore.CFG' is missing.");
  EXPECT_EQ(Messages.Icon(), TMessageIcon::Stop);
  // Nothing else was done: no board loaded, no file written.
  EXPECT_EQ(Game().Board.Width, 0);
  EXPECT_FALSE(Inst.Exists("System/Pavilore.CFG"));
  EXPECT_FALSE(Inst.Exists(InstanceLockName));
}

// A first start: the image installed beside the program becomes the player's data
// folder, and the folder is stored. An AppFolder that is stored is taken as it is,
// even when it has no configuration. A build without the image has nothing to
// install: the configuration is missing then.
TEST_F(StartupTest, NoAppFolderInTheSettingsStoreInstallsTheDefaultDataForThePlayer) {
  const std::string data = Inst.Folder() + "/xdg-data";
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  struct TRestore {
    ~TRestore() { unsetenv("XDG_DATA_HOME"); }
  } restore;
  Inst.ForgetAppFolder();
  EXPECT_EQ(ReadAppFolder(), "");
#ifdef PAVILORE_TEST_SHARE
  ASSERT_EQ(InstallationImageFolder(), std::filesystem::path(PAVILORE_TEST_SHARE).lexically_normal().string());
  // A file the player already has there is kept.
  std::filesystem::create_directories(data + "/Pavilore/Players");
  { std::ofstream(data + "/Pavilore/Players/Ann.TXT") << "Ann's log\n"; }
  EXPECT_TRUE(RunStartup()) << Messages.Text();
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_EQ(App().AppFolder, data + "/Pavilore");
  EXPECT_EQ(ReadAppFolder(), data + "/Pavilore");
  EXPECT_TRUE(std::filesystem::is_regular_file(data + "/Pavilore/System/Pavilore.CFG"));
  EXPECT_GT(Game().Board.Width, 0);
  std::ifstream kept(data + "/Pavilore/Players/Ann.TXT");
  std::string line;
  std::getline(kept, line);
  EXPECT_EQ(line, "Ann's log");

  // The next start finds the stored folder; one without a configuration is refused.
  ResetApp();
  std::filesystem::remove(data + "/Pavilore/System/Pavilore.CFG");
  EXPECT_FALSE(RunStartup());
  EXPECT_FALSE(std::filesystem::exists(data + "/Pavilore/System/Pavilore.CFG"));
#else
  ASSERT_FALSE(std::filesystem::is_directory(InstallationImageFolder()));
  EXPECT_FALSE(RunStartup());
  EXPECT_FALSE(std::filesystem::exists(data));
#endif
  EXPECT_EQ(Messages.Text(), "The configuration file : '..\\System\\Pavilore.CFG' is missing.");
}

TEST_F(StartupTest, SettingsStoreFollowsXdgConfigHome) {
  EXPECT_EQ(SettingsFilePath(), Inst.Folder() + "/config/Pavilore.conf");
  EXPECT_EQ(ReadAppFolder(), Inst.Folder());
}

TEST_F(StartupTest, ShortOrDamagedConfigurationIsNamedAndEndsTheStartUp) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.WriteBytes("System/Pavilore.CFG", std::string(700, '\1'));
  EXPECT_FALSE(RunStartup());
  EXPECT_TRUE(TerminationRequested());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_NE(Messages.Text().find(Inst.File("System/Pavilore.CFG")), std::string::npos) << Messages.Text();
  EXPECT_NE(Messages.Text().find("shorter than one record"), std::string::npos) << Messages.Text();
  EXPECT_EQ(Messages.Icon(), TMessageIcon::Stop);

  // Values the game cannot use.
  struct Case {
    void (*Spoil)(TConfig&);
    const char* Why;
  } cases[] = {
      {[](TConfig& c) { c.GameMode = 0; }, "game mode"},
      {[](TConfig& c) { c.GameMode = 4; }, "game mode"},
      {[](TConfig& c) { c.ComputerSpeed = 3; }, "speed"},
      {[](TConfig& c) { c.ComputerAccuracy = 200; }, "accuracy"},
  };
  for (const auto& k : cases) {
    Messages.Messages.clear();
    ClearTerminationRequest();
    TConfig c = MakeConfig("Alpha");
    k.Spoil(c);
    Inst.WriteConfig(c);
    EXPECT_FALSE(RunStartup()) << k.Why;
    EXPECT_TRUE(TerminationRequested());
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_NE(Messages.Text().find("is damaged"), std::string::npos) << Messages.Text();
    EXPECT_NE(Messages.Text().find(k.Why), std::string::npos) << Messages.Text();
  }
}

TEST_F(StartupTest, AGoodInstallationStartsQuietly) {
  Inst.AddBoard("Alpha", "Alpha Board");
  TConfig c = MakeConfig("Alpha");
  Inst.WriteConfig(c);
  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_FALSE(TerminationRequested());
  EXPECT_EQ(App().AppFolder, Inst.Folder());
  EXPECT_EQ(Game().Board.Title.Str(), "Alpha Board");
  EXPECT_EQ(Game().Current.Tiles[2][2], 1);
  EXPECT_EQ(Cfg().BoardName.Str(), "Alpha");
  // The process-wide state of a fresh run.
  EXPECT_TRUE(App().SidePanelShown);
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_FALSE(App().CheatsEnabled);
  EXPECT_TRUE(App().OPPlacementPending);
  EXPECT_EQ(LogBufferCount(), 0);
}

// ---- Repairs of stale choices ------------------------------------------------------

TEST_F(StartupTest, DeletedBoardFallsBackToASingleGameOnTheFirstBoard) {
  Inst.AddBoard("beta", "Beta");
  Inst.AddBoard("Alpha", "Alpha");
  Inst.AddBoard("Gone", "Gone");
  Inst.AddPuzzle("Puzzles", "P1", *MakePuzzle("Gone", "Puzzle One"));
  Inst.AddCampaign("C1", {"P1"}, "Camp");
  TConfig c = MakeConfig("Gone");
  c.GameMode = 3;
  c.PuzzleName.Assign("P1");
  c.CampaignName.Assign("C1");
  c.IPFromPuzzle = c.OPFromPuzzle = c.TLFromPuzzle = c.MLFromPuzzle = 1;
  Inst.WriteConfig(c);
  Inst.Remove("Boards/Gone.BRD");

  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_EQ(Cfg().BoardName.Str(), "Alpha");
  EXPECT_EQ(Cfg().GameMode, 1);
  EXPECT_TRUE(Cfg().PuzzleName.Empty());
  EXPECT_TRUE(Cfg().CampaignName.Empty());
  EXPECT_FALSE(Cfg().IPFromPuzzle || Cfg().OPFromPuzzle || Cfg().TLFromPuzzle || Cfg().MLFromPuzzle);
  EXPECT_EQ(Game().Board.Title.Str(), "Alpha");
}

TEST_F(StartupTest, StalePuzzleOrCampaignAlsoFallsBack) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.AddBoard("Zulu", "Zulu");
  // A puzzle laid on another board than the configured one is as stale as a missing one.
  Inst.AddPuzzle("Puzzles", "Elsewhere", *MakePuzzle("Alpha", "Elsewhere"));
  // Names that would lead out of their folders to files that are there.
  Inst.AddPuzzle("Campaigns", "Sneaky", *MakePuzzle("Zulu", "Sneaky"));
  Inst.AddBoard("../Puzzles/Zulu", "Zulu");
  for (int which = 0; which < 5; ++which) {
    ClearTerminationRequest();
    TConfig c = MakeConfig("Zulu");
    if (which == 0) c.PuzzleName.Assign("Missing");
    if (which == 1) c.CampaignName.Assign("Missing");
    if (which == 2) {
      c.PuzzleName.Assign("Elsewhere");
      c.IPFromPuzzle = c.OPFromPuzzle = 1;
    }
    if (which == 3) c.PuzzleName.Assign("../Campaigns/Sneaky");
    if (which == 4) c.BoardName.Assign("../Puzzles/Zulu");
    Inst.WriteConfig(c);
    ASSERT_TRUE(RunStartup());
    EXPECT_EQ(Cfg().BoardName.Str(), "Alpha") << which;
    EXPECT_TRUE(Cfg().PuzzleName.Empty());
    EXPECT_TRUE(Cfg().CampaignName.Empty());
  }
}

TEST_F(StartupTest, HandEditedValuesAreRepaired) {
  Inst.AddBoard("Alpha", "Alpha");
  struct TCase {
    int W, H, X, Y;
    std::string Name;
    int NameLength;  // the length byte as stored
    int WantW, WantH, WantX, WantY;
    std::string WantName;
  };
  const TCase cases[] = {
      {5, 5, 1, 1, "Tester", 6, 5, 5, 1, 1, "Tester"},         // as the window writes them
      {20, 1, -18, 5, "Tester", 6, 20, 1, -18, 5, "Tester"},   // the limits
      {0, 0, 1, 1, "Tester", 6, 5, 5, 1, 1, "Tester"},         // as shipped once
      {21, 255, -19, 6, "Tester", 6, 5, 5, 1, 1, "Tester"},    // beyond them
      {5, 5, 1, 1, "../../etc", 9, 5, 5, 1, 1, ""},            // a path
      {5, 5, 1, 1, "Tab\there", 9, 5, 5, 1, 1, ""},           // a separator
      {5, 5, 1, 1, std::string("Ta\tb", 4), 4, 5, 5, 1, 1, ""},  // a control character
      {5, 5, 1, 1, "Tester", 200, 5, 5, 1, 1, ""},             // a length byte past the field
  };
  for (const TCase& t : cases) {
    SCOPED_TRACE(t.Name + " " + std::to_string(t.W));
    ClearTerminationRequest();
    TConfig c = MakeConfig("Alpha");
    c.PictureW = static_cast<std::uint8_t>(t.W);
    c.PictureH = static_cast<std::uint8_t>(t.H);
    c.PictureX = t.X;
    c.PictureY = t.Y;
    c.PlayerName.Assign(t.Name);
    c.PlayerName.Len = static_cast<std::uint8_t>(t.NameLength);
    c.ShowWelcome = 0;
    Inst.WriteConfig(c);
    ASSERT_TRUE(RunStartup());
    EXPECT_EQ(std::vector<int>({Cfg().PictureW, Cfg().PictureH, Cfg().PictureX, Cfg().PictureY}),
              std::vector<int>({t.WantW, t.WantH, t.WantX, t.WantY}));
    EXPECT_EQ(Cfg().PlayerName.Str(), t.WantName);
    // Without a usable name the welcome window asks for one.
    EXPECT_EQ(Cfg().ShowWelcome != 0, t.WantName.empty());
  }
}

TEST_F(StartupTest, BoardNamesLongerThanTheFieldAreNotChosen) {
  Inst.AddBoard(std::string(51, 'A'), "Long");
  Inst.AddBoard("Short", "Short");
  Inst.WriteConfig(MakeConfig("Gone"));
  ASSERT_TRUE(RunStartup());
  EXPECT_EQ(Cfg().BoardName.Str(), "Short");
}

TEST_F(StartupTest, NoBoardsAtAllEndsTheStartUpWithItsMessage) {
  Inst.WriteConfig(MakeConfig("Gone"));
  EXPECT_FALSE(RunStartup());
  EXPECT_TRUE(TerminationRequested());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_EQ(Messages.Text(), "There aren't any boards in the 'Boards' folder.");
  EXPECT_EQ(Messages.Icon(), TMessageIcon::Stop);
}

TEST_F(StartupTest, DeletedTileSetGoesBackToTheDefaultAndDropsTheCustomPicture) {
  Inst.AddBoard("Alpha", "Alpha");
  TConfig c = MakeConfig("Alpha");
  c.TileSet.Assign("TS - Gone");
  c.UserTileSet.Assign("TS - Gone");
  c.PicturePath.Assign("/somewhere/picture.JPG");
  c.PictureOn = 1;
  c.UserPictureOn = 1;
  Inst.WriteConfig(c);
  App().AppFolder = Inst.Folder();
  Cfg() = c;
  RepairGraphicsChoice();
  EXPECT_EQ(Cfg().TileSet.Str(), "TS - Default");
  EXPECT_EQ(Cfg().UserTileSet.Str(), "TS - Default");
  EXPECT_TRUE(Cfg().PicturePath.Empty());
  EXPECT_EQ(Cfg().PictureOn, 0);
  EXPECT_EQ(Cfg().UserPictureOn, 0);
  EXPECT_EQ(Cfg().BoardGraphics.Str(), "GB - Default");
}

TEST_F(StartupTest, GraphicsRepairsLookForBitmapsAndJpegs) {
  Inst.WriteBytes("Graphics/GB - Marble.JPG", "x");
  Inst.WriteBytes("Graphics/TS - Stone.BMP", "x");
  App().AppFolder = Inst.Folder();
  Cfg() = MakeConfig("Alpha");
  Cfg().BoardGraphics.Assign("GB - Marble");
  Cfg().TileSet.Assign("TS - Stone");
  Cfg().UserTileSet.Assign("TS - Mine");
  Cfg().PictureOn = 1;
  RepairGraphicsChoice();
  // Both present: nothing changes, the user's choice included.
  EXPECT_EQ(Cfg().BoardGraphics.Str(), "GB - Marble");
  EXPECT_EQ(Cfg().TileSet.Str(), "TS - Stone");
  EXPECT_EQ(Cfg().UserTileSet.Str(), "TS - Mine");
  EXPECT_EQ(Cfg().PictureOn, 1);

  Cfg().BoardGraphics.Assign("GB - Gone");
  RepairGraphicsChoice();
  EXPECT_EQ(Cfg().BoardGraphics.Str(), "GB - Default");
  EXPECT_EQ(Cfg().TileSet.Str(), "TS - Stone");
}

TEST_F(StartupTest, BackgroundNameComesFromTheBoardGraphicsName) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.AddPicture("GB - Marble.BMP", 480, 192);
  TConfig c = MakeConfig("Alpha");
  c.BoardGraphics.Assign("GB - Marble");
  Inst.WriteConfig(c);

  ASSERT_TRUE(RunStartup());
  EXPECT_FALSE(App().BackgroundLoaded);

  Inst.AddPicture("BK - Marble.BMP", 240, 240);
  ResetApp();
  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(App().BackgroundLoaded);
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();

  // A background of another set is not taken.
  Inst.Remove("Graphics/BK - Marble.BMP");
  Inst.AddPicture("BK - Default.BMP", 240, 240);
  ResetApp();
  ASSERT_TRUE(RunStartup());
  EXPECT_FALSE(App().BackgroundLoaded);
}

// ---- Loading the configured files -----------------------------------------------

TEST_F(StartupTest, PuzzleOnlyInCampaignLevelsIsAcceptedAndLoaded) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.AddPuzzle("Puzzles/Campaign Levels", "Level", *MakePuzzle("Alpha", "Level One"));
  TConfig c = MakeConfig("Alpha");
  c.PuzzleName.Assign("Level");
  c.IPFromPuzzle = 1;
  c.OPFromPuzzle = 1;
  Inst.WriteConfig(c);

  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_EQ(Cfg().PuzzleName.Str(), "Level");
  EXPECT_EQ(Cfg().IPFromPuzzle, 1);
  EXPECT_EQ(Game().Puzzle.Title.Str(), "Level One");
  // Before a game the window shows the puzzle's objective.
  EXPECT_EQ(Game().Current.Tiles[3][3], 2);
  EXPECT_EQ(Game().Current.Tiles[2][2], 0);
}

TEST_F(StartupTest, PuzzleInThePuzzlesFolderComesFirst) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.AddPuzzle("Puzzles", "Twin", *MakePuzzle("Alpha", "Main"));
  Inst.AddPuzzle("Puzzles/Campaign Levels", "Twin", *MakePuzzle("Alpha", "Level"));
  TConfig c = MakeConfig("Alpha");
  c.PuzzleName.Assign("Twin");
  Inst.WriteConfig(c);
  ASSERT_TRUE(RunStartup());
  EXPECT_EQ(Game().Puzzle.Title.Str(), "Main");
  // Without IPFromPuzzle the board's own pattern is shown.
  EXPECT_EQ(Game().Current.Tiles[2][2], 1);
}

TEST_F(StartupTest, CampaignModeLoadsTheCampaignsFirstLevel) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.AddPuzzle("Puzzles/Campaign Levels", "L1", *MakePuzzle("Alpha", "First Level"));
  Inst.AddPuzzle("Puzzles/Campaign Levels", "L2", *MakePuzzle("Alpha", "Second Level"));
  Inst.AddCampaign("Tour", {"L1", "L2"}, "The Tour");
  TConfig c = MakeConfig("Alpha");
  c.GameMode = 3;
  c.CampaignName.Assign("Tour");
  c.PuzzleName.Assign("");
  Inst.WriteConfig(c);
  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_EQ(Game().Campaign.Title.Str(), "The Tour");
  EXPECT_EQ(Game().Puzzle.Title.Str(), "First Level");
}

TEST_F(StartupTest, DamagedFilesAreNamedAndFallBackToTheFirstBoardThatLoads) {
  auto bad = MakeBoard(6, 5, "Bad");
  bad->Width = 30;
  Inst.AddBoard("Aaa Bad", *bad);
  Inst.AddBoard("Bravo", "Bravo");
  Inst.AddBoard("Configured", *bad);
  Inst.WriteConfig(MakeConfig("Configured"));

  ASSERT_TRUE(RunStartup());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_NE(Messages.Text().find(Inst.File("Boards/Configured.BRD")), std::string::npos) << Messages.Text();
  EXPECT_NE(Messages.Text().find("width 30"), std::string::npos) << Messages.Text();
  // "Aaa Bad" comes first but cannot be loaded either.
  EXPECT_EQ(Cfg().BoardName.Str(), "Bravo");
  EXPECT_EQ(Cfg().GameMode, 1);
  EXPECT_EQ(Game().Board.Title.Str(), "Bravo");

  // A short puzzle file: named, and the game falls back the same way.
  Messages.Messages.clear();
  ResetApp();
  Inst.WriteBytes("Puzzles/Short.PZZ", std::string(100, '\0'));
  TConfig c = MakeConfig("Bravo");
  c.PuzzleName.Assign("Short");
  c.IPFromPuzzle = 1;
  Inst.WriteConfig(c);
  ASSERT_TRUE(RunStartup());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_NE(Messages.Text().find("Short.PZZ"), std::string::npos) << Messages.Text();
  EXPECT_TRUE(Cfg().PuzzleName.Empty());
  EXPECT_EQ(Cfg().IPFromPuzzle, 0);
  EXPECT_EQ(Game().Board.Title.Str(), "Bravo");
}

TEST_F(StartupTest, NoBoardThatLoadsEndsTheStartUp) {
  auto bad = MakeBoard(6, 5, "Bad");
  bad->StepsPerMove = 0;
  Inst.AddBoard("One", *bad);
  Inst.AddBoard("Two", *bad);
  Inst.WriteConfig(MakeConfig("One"));
  EXPECT_FALSE(RunStartup());
  EXPECT_TRUE(TerminationRequested());
  ASSERT_EQ(Messages.Messages.size(), 2u);
  EXPECT_NE(Messages.Text(0).find("One.BRD"), std::string::npos);
  EXPECT_EQ(Messages.Text(1), "There aren't any usable boards in the 'Boards' folder.");
  EXPECT_EQ(Messages.Icon(1), TMessageIcon::Stop);
}

TEST_F(StartupTest, MissingMusicFileSwitchesTheMusicOff) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.WriteBytes("Music/Tune.MID", "MThd");
  TConfig c = MakeConfig("Alpha");
  c.MusicFile.Assign("Tune");
  c.MusicOn = 1;
  Inst.WriteConfig(c);
  ASSERT_TRUE(RunStartup());
  EXPECT_EQ(Cfg().MusicOn, 1);
  EXPECT_EQ(Cfg().MusicFile.Str(), "Tune");

  Inst.Remove("Music/Tune.MID");
  ResetApp();
  ASSERT_TRUE(RunStartup());
  EXPECT_EQ(Cfg().MusicOn, 0);
  EXPECT_TRUE(Cfg().MusicFile.Empty());
}

// ---- Exit -------------------------------------------------------------------------

TEST_F(StartupTest, LoadSaveCycleKeepsEveryByteIncludingTheReservedOnes) {
  Inst.AddBoard("Alpha", "Alpha");
  TConfig c = MakeConfig("Alpha");
  for (int i = 0; i < 51; ++i) c.Reserved[i] = static_cast<std::uint8_t>(0xA0 + i);
  // Bytes past a string's length and padding bytes are kept too.
  std::memset(c.PuzzleName.Chars, 'p', sizeof c.PuzzleName.Chars);
  c.Pad1[0] = 7;
  c.Pad2[2] = 9;
  Inst.WriteConfig(c);
  const std::string before = Inst.ReadBytes("System/Pavilore.CFG");
  ASSERT_EQ(before.size(), 772u);

  ASSERT_TRUE(RunStartup());
  RunExitSteps();
  const std::string after = Inst.ReadBytes("System/Pavilore.CFG");
  ASSERT_EQ(after.size(), 772u);
  EXPECT_EQ(after.substr(161, 51), before.substr(161, 51));
  EXPECT_EQ(after, before);
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
}

TEST_F(StartupTest, ExitWritesSettingsAndTheLog) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.WriteConfig(MakeConfig("Alpha"));
  ASSERT_TRUE(RunStartup());
  LogApplicationStarted();
  Cfg().WheelMoves = 1;  // a setting changed during the run
  RunExitSteps();

  EXPECT_EQ(Inst.ReadConfig().WheelMoves, 1);
  const auto lines = Inst.ReadLines("Players/Tester.TXT");
  ASSERT_EQ(lines.size(), 6u + 6u);
  EXPECT_EQ(lines[6], " -");
  EXPECT_EQ(lines[7], " " + std::string(24, '-'));
  EXPECT_EQ(lines[8], " -");
  EXPECT_NE(lines[9].find(" : Application Started."), std::string::npos);
  EXPECT_EQ(lines[10], " -");
  EXPECT_NE(lines[11].find(" : Application Terminated."), std::string::npos);
  EXPECT_EQ(LogBufferCount(), 0);
}

TEST_F(StartupTest, AFailedConfigurationWriteSaysSoAndLosesNothingOnDisk) {
  Inst.AddBoard("Alpha", "Alpha");
  Inst.WriteConfig(MakeConfig("Alpha"));
  ASSERT_TRUE(RunStartup());
  const std::string before = Inst.ReadBytes("System/Pavilore.CFG");
  Cfg().WheelMoves = 1;

  // Files may not grow past 100 bytes: the write of the record fails half way.
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldSignal = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = SaveConfiguration();
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldSignal);

  EXPECT_FALSE(saved);
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_NE(Messages.Text().find("could not be written"), std::string::npos) << Messages.Text();
  EXPECT_NE(Messages.Text().find(Inst.File("System/Pavilore.CFG")), std::string::npos);
  EXPECT_EQ(Inst.ReadBytes("System/Pavilore.CFG"), before);
  // No temporary file is left beside it.
  EXPECT_EQ(QDir(QString::fromStdString(Inst.File("System"))).entryList(QDir::Files).size(), 1);
}

// ---- The splash ------------------------------------------------------------------

TEST(Splash, AgreesToCloseOnlyOnceItsTimerFired) {
  TFormSplash splash;
  EXPECT_EQ(splash.size(), QSize(384, 144));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  ASSERT_TRUE(splash.TimerSplash()->isActive());
  EXPECT_EQ(splash.TimerSplash()->interval(), 3000);
  EXPECT_EQ(splash.TimerSplash()->timerType(), Qt::PreciseTimer);
  EXPECT_FALSE(splash.FormCloseQuery());
  QCloseEvent early;
  QApplication::sendEvent(&splash, &early);
  EXPECT_FALSE(early.isAccepted());

  splash.TimerSplashTimer();
  EXPECT_FALSE(splash.TimerSplash()->isActive());
  EXPECT_TRUE(splash.FormCloseQuery());
  QCloseEvent late;
  QApplication::sendEvent(&splash, &late);
  EXPECT_TRUE(late.isAccepted());
}

TEST(Splash, PictureIsDrawnWithSeveralColours) {
  const QImage picture = TFormSplash::DrawPicture();
  ASSERT_EQ(picture.size(), QSize(384, 144));
  QSet<QRgb> colours;
  for (int y = 0; y < picture.height(); y += 3)
    for (int x = 0; x < picture.width(); x += 3) colours.insert(picture.pixel(x, y));
  EXPECT_GT(colours.size(), 50);
}

// ---- Pointer shapes -------------------------------------------------------------

TEST_F(StartupTest, SevenPointerShapesAreRegistered) {
  RegisterPointerShapes();
  for (int n = ColoPoint; n <= ColoMove; ++n) {
    const QCursor shape = PointerShape(n);
    EXPECT_EQ(shape.shape(), Qt::BitmapCursor) << n;
    EXPECT_FALSE(shape.pixmap().isNull()) << n;
  }
  // The arrow points with its tip; the others act from their middle.
  EXPECT_EQ(PointerShape(ColoArrow).hotSpot(), QPoint(1, 1));
  EXPECT_EQ(PointerShape(ColoMove).hotSpot(), QPoint(16, 16));
  EXPECT_EQ(PointerShape(99).shape(), Qt::ArrowCursor);
  // Each shape is a picture of its own.
  for (int a = ColoPoint; a <= ColoMove; ++a)
    for (int b = a + 1; b <= ColoMove; ++b)
      EXPECT_NE(PointerShape(a).pixmap().toImage(), PointerShape(b).pixmap().toImage()) << a << " " << b;
}

}  // namespace
}  // namespace pav::test
