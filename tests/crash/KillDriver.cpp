// The game's writes, over and over, for kill_test.py to kill at random moments.
//
//   pavilore_kill_driver setup <folder>
//       A data folder the game starts on: a single game on a puzzle, logging on.
//   pavilore_kill_driver start <folder>
//       The game's start-up on the folder, nothing more: "started" when it went
//       through without a message box.
//   pavilore_kill_driver run <kind> <folder> <progress file>
//       The start-up, then one kind of write in a loop until the process is killed:
//         config     the configuration, as the game writes it at exit
//         records    the puzzle file with its records, as after a solved puzzle
//         savedgame  one saved game, always under the same name
//         log        the player's log, three lines more at each write
//
// The settings store is found through XDG_CONFIG_HOME, which the caller points at
// <folder>/config. On stdout, before the loop begins:
//   file <path of the written file, relative to the folder>
//   A <hex> / B <hex>   the two contents the loop writes in turn (not for the log)
//   ready
// The progress file holds two 64-bit counters: the number of the write begun and of
// the write finished. Write n puts content A when n is even, B when it is odd; a log
// write n puts the batch of lines number n. Before the loop both counters hold the
// number of the last whole write. Any message box ends the driver with status 3, a
// start-up that does not go through with status 2.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTime>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "flow/GameEnd.h"
#include "flow/SavedGames.h"
#include "gui/TempInstallation.h"
#include "platform/qt/MessageBox.h"

namespace {

using namespace pav;

constexpr const char* BoardName = "Kill Board";
constexpr const char* PuzzleName = "Kill Puzzle";
// Lines of the log added by one write.
constexpr int LogBatchLines = 3;
// The log starts again from its header past this many writes, so that a write stays short.
constexpr std::uint64_t LogBatchesKept = 400;

[[noreturn]] void Fail(const std::string& why, int status) {
  std::fprintf(stderr, "pavilore_kill_driver: %s\n", why.c_str());
  std::fflush(stderr);
  std::_Exit(status);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path, 1);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto u = static_cast<unsigned char>(ch);
    out += digits[u >> 4];
    out += digits[u & 15];
  }
  return out;
}

void SavePicture(const std::string& path, int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  QPainter p(&img);
  for (int y = 0; y < height; y += 8)
    for (int x = 0; x < width; x += 8) p.fillRect(x, y, 8, 8, QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
  p.end();
  if (!img.save(QString::fromStdString(path), "BMP")) Fail("cannot write " + path, 1);
}

void Setup(const std::string& folder) {
  QDir root(QString::fromStdString(folder));
  for (const char* sub : {"config", "System", "Boards", "Puzzles/Campaign Levels", "Campaigns", "Graphics",
                          "Players", "Music", "Sounds", "Saved Games"})
    if (!root.mkpath(QString::fromUtf8(sub))) Fail("cannot make the folders in " + folder, 1);
  {
    QSettings store(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    store.setValue(QStringLiteral("AppFolder"), QString::fromStdString(folder));
  }
  SavePicture(folder + "/Graphics/GB - Default.BMP", 480, 192);
  SavePicture(folder + "/Graphics/TS - Default.BMP", 480, 240);
  StoreBoard(folder + "/Boards/" + BoardName + ".BRD", *test::MakeBoard(6, 5, "Board of the kill test"));
  StorePuzzle(folder + "/Puzzles/" + PuzzleName + ".PZZ", *test::MakePuzzle(BoardName, "Puzzle of the kill test"));
  TConfig c = test::MakeConfig(BoardName);
  c.PuzzleName.Assign(PuzzleName);
  c.IPFromPuzzle = 1;
  StoreConfig(folder + "/System/Pavilore.CFG", c);
}

// The two counters, in a file that outlives the process.
class TProgress {
 public:
  explicit TProgress(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::ftruncate(fd, 2 * sizeof(std::uint64_t)) != 0) Fail("cannot make " + path, 1);
    void* map = ::mmap(nullptr, 2 * sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) Fail("cannot map " + path, 1);
    Counters = static_cast<volatile std::uint64_t*>(map);
  }
  void Begin(std::uint64_t n) { Counters[0] = n; }
  void End(std::uint64_t n) { Counters[1] = n; }
  void Settle(std::uint64_t n) {
    Begin(n);
    End(n);
  }

 private:
  volatile std::uint64_t* Counters = nullptr;
};

void Announce(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

// A path of the game's, as the game maps it to the disk, relative to the data folder.
std::string Relative(const std::string& path) {
  const std::string prefix = App().AppFolder + "/";
  if (path.compare(0, prefix.size(), prefix) != 0) Fail(path + " is outside the data folder", 1);
  return path.substr(prefix.size());
}

// Content A and B in turn through `write`, which puts version 0 or 1 in the file.
[[noreturn]] void Alternate(const std::string& path, TProgress& progress, const std::function<void(int)>& write) {
  const std::string relative = Relative(path);
  write(0);
  const std::string a = ReadAll(path);
  write(1);
  const std::string b = ReadAll(path);
  if (a == b) Fail("the two contents of " + relative + " are the same", 1);
  progress.Settle(1);
  Announce("file " + relative);
  Announce("A " + Hex(a));
  Announce("B " + Hex(b));
  Announce("ready");
  for (std::uint64_t n = 2;; ++n) {
    progress.Begin(n);
    write(static_cast<int>(n % 2));
    progress.End(n);
  }
}

[[noreturn]] void WriteLogForever(TProgress& progress) {
  TConfig& c = App().Config;
  c.WriteLog = 1;
  const std::string name = c.PlayerName.Str();
  // The player is "Tester": the file's name is the player's name as it is.
  const std::string path = App().Path("\\Players\\" + name + ".TXT");
  const std::string relative = Relative(path);
  // The file's batches so far: the lines after the six of its header.
  std::uint64_t lines = 0;
  {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) ++lines;
  }
  std::uint64_t batches = lines > 6 ? (lines - 6) / LogBatchLines : 0;
  if (lines < 6 || batches >= LogBatchesKept) {
    ::unlink(path.c_str());
    FlushPlayerLog(name);
    batches = 0;
  }
  progress.Settle(batches);
  Announce("file " + relative);
  Announce("ready");
  for (std::uint64_t n = batches + 1;; ++n) {
    for (int i = 1; i <= LogBatchLines; ++i)
      LogLine("Batch " + std::to_string(n) + ", line " + std::to_string(i) + " of " + std::to_string(LogBatchLines) + ".",
              false);
    progress.Begin(n);
    FlushPlayerLog(name);
    progress.End(n);
  }
}

void Start() {
  SetMessageHook([](const std::string& text, TMessageIcon) { Fail("message box: " + text, 3); });
  if (!RunStartup()) Fail("the start-up did not go through", 2);
}

[[noreturn]] void Run(const std::string& kind, const std::string& folder, const std::string& progressPath) {
  // The loop never ends by itself: it goes with the harness that started it.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() == 1) Fail("the harness is gone", 1);
  Start();
  if (App().AppFolder != folder) Fail("the settings store names " + App().AppFolder + ", not " + folder, 1);
  TProgress progress(progressPath);
  TApp& app = App();
  // Only the log's own writes touch the log.
  if (kind != "log") app.Config.WriteLog = 0;
  if (kind == "config") {
    Alternate(app.Path(ConfigRelativePath), progress, [&](int v) {
      app.Config.ComputerSpeed = static_cast<std::uint8_t>(v ? 2 : 1);
      app.Config.ComputerAccuracy = static_cast<std::uint8_t>(v ? 0 : 2);
      if (!SaveConfiguration()) Fail("the configuration was not written", 1);
    });
  }
  if (kind == "records") {
    // Each solve is the first on an empty table, so the two solves give two tables.
    Alternate(app.Path(std::string("\\Puzzles\\") + PuzzleName + ".PZZ"), progress, [&](int v) {
      TGame& g = app.Game();
      ClearRecordTable(g.Puzzle.Records, TRecordOrder::Ascending);
      g.Seconds = v ? 95 : 40;
      g.Moves = v ? 31 : 17;
      SingleGameRecords();
    });
  }
  if (kind == "savedgame") {
    const QDateTime when(QDate(2026, 12, 9), QTime(12, 0, 0));
    const std::string name = SavedGameName(when, SavedGameDescription(app.Config));
    Alternate(app.Path("\\Saved Games\\" + name + ".SGM"), progress, [&](int v) {
      TGame& g = app.Game();
      g.Seconds = v ? 95 : 40;
      g.Moves = v ? 31 : 17;
      const auto saved = SaveGame(when);
      if (!saved || *saved != name) Fail("the game was not saved under its name", 1);
    });
  }
  if (kind == "log") WriteLogForever(progress);
  Fail("no such kind of write: " + kind, 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (!((mode == "setup" && argc == 3) || (mode == "start" && argc == 3) || (mode == "run" && argc == 5))) {
    std::fprintf(stderr,
                 "usage: pavilore_kill_driver setup|start <folder>\n"
                 "       pavilore_kill_driver run config|records|savedgame|log <folder> <progress file>\n");
    return 1;
  }
  QApplication qapp(argc, argv);
  const std::string folder = mode == "run" ? argv[3] : argv[2];
  if (mode == "setup") {
    Setup(folder);
    return 0;
  }
  if (mode == "start") {
    Start();
    Announce("started");
    return 0;
  }
  Run(argv[2], folder, argv[4]);
}
