// The real audio path through SDL's disk driver, which writes what would have been
// heard into a file: effects and music make real samples, the music's pause is
// silence and its end reaches the user-interface thread; broken files and a
// missing device leave the game silent and quiet.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>

#include "app/AppState.h"
#include "gui/SoundFiles.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "media/Music.h"
#include "platform/Audio.h"
#include "platform/Paths.h"

namespace pav::test {
namespace {

// Runs the events (the music's end is posted to them) for `ms`, or until `done`.
void RunFor(int ms, const std::function<bool()>& done = [] { return false; }) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms && !done()) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Everything written to the standard error while `run` runs.
std::string StderrOf(const std::function<void()>& run) {
  std::fflush(stderr);
  char name[] = "/tmp/pavilore-stderr-XXXXXX";
  const int capture = ::mkstemp(name);
  const int saved = ::dup(2);
  ::dup2(capture, 2);
  run();
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  std::string text;
  ::lseek(capture, 0, SEEK_SET);
  char buf[512];
  for (ssize_t n; (n = ::read(capture, buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
  ::close(capture);
  ::unlink(name);
  return text;
}

constexpr int Loud = 2000;      // a sounding stretch
constexpr int Silent = 16;      // a silent one
constexpr std::size_t Stretch = 441;  // 10 ms at 44.1 kHz

class AudioDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseAudioDevice();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    Recording = Inst.File("heard.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", Recording.c_str(), 1);
    SetWavePlayer(nullptr);
    SetMusicOutput(nullptr);
  }
  void TearDown() override {
    GameMusicPlayer().OnNotify = nullptr;
    CloseMusicPlayers();
    CloseAudioDevice();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
  // The recording once the device is closed, as the peaks of 10 ms stretches.
  std::vector<int> Heard() {
    CloseAudioDevice();
    return StretchPeaks(Inst.ReadBytes("heard.raw"), Stretch);
  }

  TempInstallation Inst;
  std::string Recording;
};

TEST_F(AudioDeviceTest, AnEffectPlaysRealSamplesAndReturnsAtOnce) {
  ASSERT_TRUE(OpenAudioDevice());
  TConfig& c = App().Config;
  c.SoundsOn = 1;
  c.MoveSound.Assign("Tone");
  Inst.WriteBytes("Sounds/Tone.WAV", SineWave(0.3));
  PlayEffect(TEffect::Move);
  // The call came back while the sound is still to be heard.
  EXPECT_TRUE(WavePlaying());
  RunFor(3000, [] { return !WavePlaying(); });
  RunFor(60);
  const std::vector<int> peaks = Heard();
  int loud = 0;
  for (int p : peaks) loud += p > Loud;
  // About 30 stretches of tone; the buffering may cut a few at its edges.
  EXPECT_GE(loud, 20);
  EXPECT_LE(loud, 40);
}

TEST_F(AudioDeviceTest, MusicSoundsPausesInSilenceResumesAndReportsItsEndOnTheWindowThread) {
  if (!FileExists(MusicSoundFont)) GTEST_SKIP() << "no soundfont at " << MusicSoundFont;
  ASSERT_TRUE(OpenAudioDevice());
  Inst.WriteBytes("Music/Chord.MID", ChordMidi(3));
  TMediaPlayer& player = GameMusicPlayer();
  int ends = 0;
  bool onWindowThread = false;
  player.OnNotify = [&] {
    ++ends;
    onWindowThread = QThread::currentThread() == QCoreApplication::instance()->thread();
  };
  player.FileName = MusicFilePath("Chord");
  ASSERT_TRUE(player.Open());
  player.Play();
  RunFor(500);
  player.Stop();
  RunFor(400);
  EXPECT_EQ(ends, 0);
  player.Play();
  RunFor(6000, [&] { return ends > 0; });
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(onWindowThread);
  EXPECT_EQ(player.Mode(), TMediaPlayer::TMode::AtStart);

  // Sound, then a silence of the pause (at least 300 ms of it), then sound again.
  const std::vector<int> peaks = Heard();
  std::size_t i = 0;
  while (i < peaks.size() && peaks[i] <= Loud) ++i;
  ASSERT_LT(i, peaks.size()) << "the music was never heard";
  int before = 0;
  for (; i < peaks.size() && peaks[i] > Silent; ++i) before = std::max(before, peaks[i]);
  std::size_t quiet = 0;
  while (i < peaks.size() && peaks[i] <= Silent) ++i, ++quiet;
  EXPECT_GE(quiet, 30u);
  EXPECT_LE(quiet, 60u);
  ASSERT_LT(i, peaks.size()) << "nothing after the pause";
  // Played on from the position: the chord goes on fading from where it was, it
  // does not strike again at its first loudness.
  EXPECT_LT(peaks[i], before * 3 / 4);
  std::size_t after = 0;
  for (; i < peaks.size(); ++i) after += peaks[i] > Silent;

  // The rest of the chord: a second or more of the one and a half.
  EXPECT_GE(after, 80u);
}

TEST_F(AudioDeviceTest, BrokenFilesPlayNothingAndLeaveTheDeviceWorking) {
  ASSERT_TRUE(OpenAudioDevice());
  const std::string wave = SineWave(0.2);
  const std::string midi = ChordMidi(1);
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  const std::vector<Case> cases = {
      {"empty", ""},
      {"only a header word", "RIFF"},
      {"header without data", wave.substr(0, 44 - 8)},
      {"noise", std::string(3000, '\x5A')},
      {"a MIDI header only", midi.substr(0, 14)},
      {"a cut MIDI track", midi.substr(0, 30)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    Inst.WriteBytes("Sounds/Bad.WAV", k.Bytes);
    Inst.WriteBytes("Music/Bad.MID", k.Bytes);
    EXPECT_FALSE(PlayWaveFile(Inst.File("Sounds/Bad.WAV")));
    TMediaPlayer& player = GameMusicPlayer();
    player.FileName = Inst.File("Music/Bad.MID");
    if (k.Bytes.substr(0, 4) != "MThd") EXPECT_FALSE(player.Open());
    else if (player.Open())
      player.Play();
    player.Close();
  }
  // A folder named like a sound, and a file that is not there.
  Inst.WriteBytes("Sounds/Dir.WAV/x", "x");
  EXPECT_FALSE(PlayWaveFile(Inst.File("Sounds/Dir.WAV")));
  EXPECT_FALSE(PlayWaveFile(Inst.File("Sounds/Gone.WAV")));
  EXPECT_FALSE(LoadMusicStream(Inst.File("Music/Gone.MID")));
  // A sound file that is fine still plays.
  Inst.WriteBytes("Sounds/Good.WAV", wave);
  EXPECT_TRUE(PlayWaveFile(Inst.File("Sounds/Good.WAV")));
}

TEST_F(AudioDeviceTest, WithoutADeviceTheGameIsSilentAndSaysNothing) {
  Inst.WriteBytes("Sounds/Good.WAV", SineWave(0.2));
  Inst.WriteBytes("Music/Chord.MID", ChordMidi(1));
  for (const char* driver : {"nosuchdriver", "alsa"}) {
    SCOPED_TRACE(driver);
    CloseAudioDevice();
    setenv("SDL_AUDIODRIVER", driver, 1);
    bool opened = true;
    const std::string said = StderrOf([&] { opened = OpenAudioDevice(); });
    EXPECT_EQ(said, "");
    if (opened) continue;  // this machine has a sound card after all
    EXPECT_FALSE(AudioDeviceOpen());
    EXPECT_FALSE(PlayWaveFile(Inst.File("Sounds/Good.WAV")));
    TMediaPlayer& player = GameMusicPlayer();
    player.FileName = Inst.File("Music/Chord.MID");
    EXPECT_FALSE(player.Open());
    player.Play();
    EXPECT_FALSE(MusicStreamPlaying());
    // Asked again, the device is not tried again.
    EXPECT_FALSE(OpenAudioDevice());
  }
}

}  // namespace
}  // namespace pav::test
