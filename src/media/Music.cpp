#include "media/Music.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <random>

#include "app/AppState.h"
#include "files/GameFiles.h"
#include "media/FileList.h"
#include "platform/Audio.h"
#include "platform/Paths.h"

namespace pav {

namespace {

constexpr int ModeSelected = 1;
constexpr int ModeRandom = 2;
constexpr int ModeAlphabetic = 3;

// Runs on SDL's audio thread: the news goes to the user-interface thread, where it
// counts only if the stream was not started, halted or loaded anew in between.
void DeviceStreamFinished(unsigned play) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  QMetaObject::invokeMethod(
      app,
      [play] {
        if (play == MusicStreamPlayNumber()) MusicStreamEnded();
      },
      Qt::QueuedConnection);
}

class TDeviceMusic : public TMusicOutput {
 public:
  bool Load(const std::string& path) override {
    SetMusicFinishedHandler(&DeviceStreamFinished);
    return LoadMusicStream(path);
  }
  bool Play() override { return PlayMusicStream(); }
  void Pause() override { PauseMusicStream(); }
  void Resume() override { ResumeMusicStream(); }
  void Halt() override { HaltMusicStream(); }
  void Free() override { FreeMusicStream(); }
};

TMusicOutput& Output(TMusicOutput* set = nullptr, bool reset = false) {
  static TDeviceMusic device;
  static TMusicOutput* current = &device;
  if (set || reset) current = set ? set : &device;
  return *current;
}

// The player whose piece is on the stream.
TMediaPlayer* Holder = nullptr;

QPointer<QTimer>& MusicTimer() {
  static QPointer<QTimer> timer;
  return timer;
}

std::function<bool()>& MusicWindowQuery() {
  static std::function<bool()> shown;
  return shown;
}

bool MusicWindowShown() {
  const std::function<bool()>& shown = MusicWindowQuery();
  return shown && shown();
}

}  // namespace

void SetMusicOutput(TMusicOutput* output) {
  // The old output's piece is gone with it.
  if (Holder) Holder->Close();
  Output(output, output == nullptr);
}

// ---- The players ---------------------------------------------------------------

bool TMediaPlayer::Open() {
  if (Holder && Holder != this) Holder->State = TMode::Closed;
  Holder = nullptr;
  State = TMode::Closed;
  if (!Output().Load(FileName)) return false;
  Holder = this;
  State = TMode::AtStart;
  return true;
}

void TMediaPlayer::Play() {
  if (Holder != this) return;
  if (State == TMode::Paused) {
    Output().Resume();
    State = TMode::Playing;
  } else if (State == TMode::AtStart) {
    if (Output().Play()) State = TMode::Playing;
  }
}

void TMediaPlayer::Stop() {
  if (Holder != this || State != TMode::Playing) return;
  Output().Pause();
  State = TMode::Paused;
}

void TMediaPlayer::Rewind() {
  if (Holder != this || State == TMode::AtStart) return;
  Output().Halt();
  State = TMode::AtStart;
}

void TMediaPlayer::Close() {
  if (Holder == this) {
    Output().Free();
    Holder = nullptr;
  }
  State = TMode::Closed;
}

void MusicStreamEnded() {
  TMediaPlayer* p = Holder;
  if (!p || (p->State != TMediaPlayer::TMode::Playing && p->State != TMediaPlayer::TMode::Paused)) return;
  // A piece that ended is back at its start, ready to play again.
  p->State = TMediaPlayer::TMode::AtStart;
  if (p->OnNotify) p->OnNotify();
}

TMediaPlayer& GameMusicPlayer() {
  static TMediaPlayer player;
  return player;
}

TMediaPlayer& PreviewMusicPlayer() {
  static TMediaPlayer player;
  return player;
}

// ---- Choosing and starting the next piece -------------------------------------------

void SetMusicWindowShown(std::function<bool()> shown) { MusicWindowQuery() = std::move(shown); }

void SetMusicTimer(QTimer* timer) { MusicTimer() = timer; }

void StartMusicSoon() {
  if (QTimer* t = MusicTimer()) t->start();
}

std::vector<std::string> MusicFileNames() { return ListedNames("\\Music\\*.MID"); }

std::string MusicFilePath(const std::string& name) { return App().Path("\\Music\\" + name + ".MID"); }

void PlayNextMusic() {
  TApp& app = App();
  const TConfig& c = app.Config;
  if (c.MusicFile.Empty() || !c.MusicOn || MusicWindowShown()) return;
  // The pieces as the music window lists them; it fills its own list when it is shown.
  const std::vector<std::string> names = MusicFileNames();
  const int count = static_cast<int>(names.size());

  std::string path;
  switch (c.MusicMode) {
    case ModeSelected: path = MusicFilePath(c.MusicFile.Str()); break;
    case ModeRandom: {
      // An empty folder has no piece to draw.
      if (count == 0) return;
      std::mt19937 random(static_cast<std::mt19937::result_type>(
          std::chrono::steady_clock::now().time_since_epoch().count()));
      path = MusicFilePath(names[std::uniform_int_distribution<int>(0, count - 1)(random)]);
      break;
    }
    case ModeAlphabetic:
      if (count == 0) return;
      ++app.MusicAlphaPosition;
      // A list that became shorter starts over, as one that came to its end does.
      if (app.MusicAlphaPosition >= count || app.MusicAlphaPosition < 0) app.MusicAlphaPosition = 0;
      path = MusicFilePath(names[static_cast<std::size_t>(app.MusicAlphaPosition)]);
      break;
    default: return;
  }
  TMediaPlayer& player = GameMusicPlayer();
  player.FileName = path;
  if (player.Open()) player.Play();
}

// ---- The music in the course of a game -------------------------------------------

void MusicOnOffCommand() {
  TApp& app = App();
  TConfig& c = app.Config;
  const bool running = app.State.GameRunning;
  if (running && c.MusicOn) GameMusicPlayer().Stop();
  c.MusicOn = c.MusicOn ? 0 : 1;
  if (running && c.MusicOn) StartMusicSoon();
}

void PauseGameMusic() {
  if (App().Config.MusicOn) GameMusicPlayer().Stop();
}

void ResumeGameMusic() {
  if (App().Config.MusicOn) GameMusicPlayer().Play();
}

void StopGameMusic() {
  if (QTimer* t = MusicTimer()) t->stop();
  GameMusicPlayer().Rewind();
}

void CheckMusicFile() {
  TConfig& c = App().Config;
  const std::string path = MusicFilePath(c.MusicFile.Str());
  if (!c.MusicFile.Empty() && !FileNameProblem(c.MusicFile.Str()) && FileExists(path)) {
    GameMusicPlayer().FileName = path;
    return;
  }
  c.MusicOn = 0;
  c.MusicFile.Assign("");
}

void CloseMusicPlayers() {
  if (QTimer* t = MusicTimer()) t->stop();
  PreviewMusicPlayer().Close();
  GameMusicPlayer().Close();
}

}  // namespace pav
