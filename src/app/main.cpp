// Pavilore: the program's entry. It takes the data folder's lock, shows the splash,
// creates every window once, hidden, with the main window first (whose creation runs
// the start-up), keeps the splash up for at least three seconds, then runs the game
// with the main window shown.
// Of the arguments only --version and --help are read, before any window exists; they
// print and end the program. SIGTERM and SIGINT close the game as its close button does.
//
// PAVILORE_MEASURE=1 in the environment prints the moments of the start-up to stderr,
// for the measurement scripts only: "pavilore-measure <event> <microseconds since the
// epoch>" for start, splash-painted, main-prepared and main-painted.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/UnitOptions.h"
#include "files/UnitGame.h"
#include "media/UnitMusic.h"
#include "media/UnitSounds.h"
#include "platform/qt/EndSignals.h"
#include "platform/qt/Platform.h"
#include "platform/qt/Shell.h"
#include "render/UnitAbout.h"
#include "render/UnitCfgMenu.h"
#include "render/UnitInfoMenu.h"
#include "render/UnitLoadPic.h"
#include "render/UnitShortCut.h"
#include "render/UnitSkin.h"
#include "render/WindowTargets.h"
#include "app/UnitSplash.h"
#include "app/UnitWelcome.h"
#include "files/UnitInfoRecords.h"
#include "files/UnitRecords.h"
#include "files/UnitRecordsBot.h"
#include "flow/UnitInfoCamp.h"
#include "flow/UnitLoadGame.h"
#include "flow/UnitResultCamp.h"
#include "flow/UnitSavedGame.h"
#include "render/UnitOP.h"
#include "ui/UnitInfoBot.h"
#include "ui/UnitInfoSingle.h"
#include "ui/UnitResultBot.h"
#include "ui/UnitMain.h"
#include "ui/UnitSolved.h"
#include "ui/UnitStop.h"

// The splash picture, drawn when the game was built.
extern const unsigned char PaviloreSplashPixels[];

namespace {

// How the menus and the function keys open each window.
void RegisterWindowOpeners() {
  using pav::SetWindowOpener;
  using pav::TWindowTarget;
  SetWindowOpener(TWindowTarget::Help, [] { pav::OpenHelpFile(); });
  SetWindowOpener(TWindowTarget::Game, [] { pav::FormGame()->exec(); });
  SetWindowOpener(TWindowTarget::Options, [] { pav::FormOptions()->exec(); });
  SetWindowOpener(TWindowTarget::Graphics, [] { pav::FormSkin()->exec(); });
  SetWindowOpener(TWindowTarget::Sounds, [] { pav::FormSounds()->exec(); });
  SetWindowOpener(TWindowTarget::Music, [] { pav::FormMusic()->exec(); });
  SetWindowOpener(TWindowTarget::ShortCuts, [] { pav::FormShortCut()->exec(); });
  SetWindowOpener(TWindowTarget::Records, [] {
    // Against the computer the difference records, else those of single games and campaigns.
    if (pav::App().Config.GameMode == 2)
      pav::FormRecordsBot()->exec();
    else
      pav::FormRecords()->exec();
  });
  SetWindowOpener(TWindowTarget::About, [] { pav::FormAbout()->exec(); });
  SetWindowOpener(TWindowTarget::CustomPicture, [] { pav::FormLoadPic()->exec(); });
}

bool Measuring() {
  static const bool on = [] {
    const char* v = std::getenv("PAVILORE_MEASURE");
    return v != nullptr && std::strcmp(v, "1") == 0;
  }();
  return on;
}

void Mark(const char* event) {
  if (!Measuring()) return;
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  std::fprintf(stderr, "pavilore-measure %s %lld\n", event, static_cast<long long>(us));
  std::fflush(stderr);
}

// Marks the first paint of a window.
class TFirstPaint : public QObject {
 public:
  explicit TFirstPaint(const char* event) : Event(event) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && !Seen) {
      Seen = true;
      // After the paint handler ran: the window's face is on screen.
      QTimer::singleShot(0, [ev = Event] { Mark(ev); });
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  const char* Event;
  bool Seen = false;
};

// Runs the pending events until `done` holds or `limitMs` passed; waits for events
// instead of spinning.
template <class Done>
void ProcessEventsUntil(QApplication& app, Done done, int limitMs) {
  QElapsedTimer elapsed;
  elapsed.start();
  QTimer wake;
  wake.start(20);
  while (!done() && elapsed.elapsed() < limitMs) app.processEvents(QEventLoop::WaitForMoreEvents);
}

// --version and --help: printed on standard output, without a display. Returns the exit
// status, or -1 when the game is to start.
int PrintInformation(int argc, char** argv) {
  if (argc != 2) return -1;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("Pavilore %s\n", pav::ProgramVersion().c_str());
    return 0;
  }
  if (std::strcmp(argv[1], "--help") == 0) {
    std::printf("usage: pavilore [--version | --help]\n"
                "Starts Pavilore, the sliding-tile puzzle game.\n"
                "  --version  the version\n"
                "  --help     this text\n");
    return 0;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  // X11 through XWayland where a Wayland desktop offers it: the game places its windows.
  pav::ChoosePlatform(argc, argv);
  if (const int rc = PrintInformation(argc, argv); rc >= 0) return rc;
  QApplication app(argc, argv);
  // One look on every desktop: the dialogs take their colours from the skin.
  QApplication::setStyle(QStringLiteral("Fusion"));
  Mark("start");
  // The application's title.
  QApplication::setApplicationName(QStringLiteral("Pavilore"));
  QApplication::setApplicationDisplayName(QStringLiteral("Pavilore"));

  // The end of the session, or Ctrl+C in a terminal, ends the game as its close
  // button does: the main window's close query writes the configuration and the
  // player's log. Then every loop is left at once, whatever window it shows, without
  // asking the windows to close: the welcome window would refuse without a name.
  // A request that comes while the windows are being prepared is kept until they
  // are; one that comes before the start-up ends the game without touching a file.
  bool endRequested = false;
  pav::TFormMain* prepared = nullptr;
  pav::WatchEndSignals([&] {
    endRequested = true;
    if (prepared != nullptr) prepared->FormCloseQuery();
    QCoreApplication::exit(0);
  });

  // 1. A second copy on a data folder that a running copy holds says so and ends,
  // before its splash shows. The start-up keeps the lock taken here.
  pav::App().AppFolder = pav::ReadAppFolder();
  if (!pav::LockAppFolder()) return endRequested ? 0 : 1;

  // 2. The splash, shown and painted at once; its timer runs from now.
  pav::TFormSplash::SetPrerendered(PaviloreSplashPixels);
  auto splash = std::make_unique<pav::TFormSplash>();
  splash->show();
  splash->repaint();
  ProcessEventsUntil(app, [&] { return splash->Painted() || endRequested; }, 1000);
  if (endRequested) return 0;
  Mark("splash-painted");

  // 3. Every window, hidden, the main window first; its creation is the start-up.
  auto formMain = std::make_unique<pav::TFormMain>();
  if (pav::TerminationRequested()) return 1;
  new pav::TFormGame(formMain.get());
  new pav::TFormCfgMenu(formMain.get());
  new pav::TFormSkin(formMain.get());
  // Its creation writes the first log lines of the run.
  new pav::TFormOptions(formMain.get());
  new pav::TFormMusic(formMain.get());
  new pav::TFormSounds(formMain.get());
  new pav::TFormInfoSingle(formMain.get());
  new pav::TFormOP(formMain.get());
  new pav::TFormStop(formMain.get());
  new pav::TFormSolved(formMain.get());
  new pav::TFormRecords(formMain.get());
  new pav::TFormInfoMenu(formMain.get());
  new pav::TFormInfoRecords(formMain.get());
  new pav::TFormInfoBot(formMain.get());
  new pav::TFormResultBot(formMain.get());
  new pav::TFormInfoCamp(formMain.get());
  new pav::TFormSavedGame(formMain.get());
  new pav::TFormLoadGame(formMain.get());
  new pav::TFormLoadPic(formMain.get());
  new pav::TFormResultCamp(formMain.get());
  new pav::TFormAbout(formMain.get());
  new pav::TFormShortCut(formMain.get());
  new pav::TFormRecordsBot(formMain.get());
  new pav::TFormWelcome(formMain.get());
  RegisterWindowOpeners();
  Mark("main-prepared");
  if (endRequested) {
    formMain->FormCloseQuery();
    return 0;
  }
  prepared = formMain.get();

  // 4. The splash stays until it agrees to close.
  ProcessEventsUntil(app, [&] { return endRequested || splash->FormCloseQuery(); }, 1 << 30);
  if (endRequested) return 0;

  // 5. The game runs with the main window shown.
  splash->hide();
  splash.reset();
  TFirstPaint firstPaint("main-painted");
  if (Measuring()) formMain->installEventFilter(&firstPaint);
  formMain->show();
  formMain->activateWindow();
  const int rc = app.exec();
  formMain->removeEventFilter(&firstPaint);
  return rc;
}
