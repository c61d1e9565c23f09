// The cost of sound on the user-interface thread: starting an effect, opening the
// audio device at start-up, and the resident memory that playing music adds.
//
// The device is SDL's disk driver writing to /dev/null unless PAVILORE_BENCH_AUDIO
// names another SDL driver ("default" leaves the choice to SDL, as the game does).
// The music is the installation image's first piece when there is one, else a
// chord written here.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/AppState.h"
#include "gui/SoundFiles.h"
#include "media/Effects.h"
#include "platform/Audio.h"
#include "platform/Paths.h"

namespace {

std::string Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/pavilore-audio-bench-XXXXXX";
    const char* made = ::mkdtemp(name);
    const std::string f = made ? made : "/tmp";
    std::filesystem::create_directories(f + "/Sounds");
    std::filesystem::create_directories(f + "/Music");
    std::ofstream(f + "/Sounds/Tone.WAV", std::ios::binary) << pav::test::SineWave(0.3);
    std::ofstream(f + "/Music/Chord.MID", std::ios::binary) << pav::test::ChordMidi(8);
    return f;
  }();
  return folder;
}

std::string MusicFile() {
#ifdef PAVILORE_SHARE_DIR_DEFAULT
  const std::string shipped = std::string(PAVILORE_SHARE_DIR_DEFAULT) + "/Music/Morning Tiles.MID";
  if (pav::FileExists(shipped)) return shipped;
#endif
  return Folder() + "/Music/Chord.MID";
}

void UseDriver() {
  const char* wanted = std::getenv("PAVILORE_BENCH_AUDIO");
  if (wanted && std::string(wanted) == "default") {
    unsetenv("SDL_AUDIODRIVER");
    return;
  }
  setenv("SDL_AUDIODRIVER", wanted ? wanted : "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

// PlayEffect as a button press calls it: the configuration read, the file looked
// up, the kept samples started on the effects channel (cutting the last one).
void BM_StartEffect(benchmark::State& state) {
  UseDriver();
  if (!pav::OpenAudioDevice()) {
    state.SkipWithError("no audio device");
    return;
  }
  pav::TApp& app = pav::App();
  app.AppFolder = Folder();
  app.Config.SoundsOn = 1;
  app.Config.MoveSound.Assign("Tone");
  pav::PlayEffect(pav::TEffect::Move);  // the first start reads the file
  for (auto _ : state) pav::PlayEffect(pav::TEffect::Move);
  pav::CloseAudioDevice();
}
BENCHMARK(BM_StartEffect)->Unit(benchmark::kMicrosecond);

// The start-up step: the audio subsystem, the mixer at 44.1 kHz and the soundfont
// named (it is read only when a piece is loaded).
void BM_OpenAudioDevice(benchmark::State& state) {
  UseDriver();
  for (auto _ : state) {
    const bool open = pav::OpenAudioDevice();
    benchmark::DoNotOptimize(open);
    state.PauseTiming();
    state.counters["opened"] = open ? 1 : 0;
    pav::CloseAudioDevice();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenAudioDevice)->Unit(benchmark::kMillisecond)->Iterations(20);

// What start-up itself waits for: the open handed to a thread of its own.
void BM_OpenAudioDeviceSoon(benchmark::State& state) {
  UseDriver();
  for (auto _ : state) {
    pav::OpenAudioDeviceSoon();
    state.PauseTiming();
    state.counters["opened"] = pav::AudioDeviceOpen() ? 1 : 0;
    pav::CloseAudioDevice();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenAudioDeviceSoon)->Unit(benchmark::kMillisecond)->Iterations(20);

// Loading a piece: FluidSynth with the soundfont and the file (at every new piece).
void BM_LoadMusicPiece(benchmark::State& state) {
  UseDriver();
  if (!pav::OpenAudioDevice()) {
    state.SkipWithError("no audio device");
    return;
  }
  const std::string file = MusicFile();
  for (auto _ : state) benchmark::DoNotOptimize(pav::LoadMusicStream(file));
  pav::CloseAudioDevice();
}
BENCHMARK(BM_LoadMusicPiece)->Unit(benchmark::kMillisecond)->Iterations(10);

// The resident memory a playing piece adds to the open device, in MiB.
void BM_MusicResidentMemory(benchmark::State& state) {
  UseDriver();
  if (!pav::OpenAudioDevice()) {
    state.SkipWithError("no audio device");
    return;
  }
  const long before = ResidentKiB();
  long playing = before, loaded = before;
  for (auto _ : state) {
    pav::LoadMusicStream(MusicFile());
    loaded = ResidentKiB();
    pav::PlayMusicStream();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    playing = ResidentKiB();
    pav::FreeMusicStream();
  }
  state.counters["without_MiB"] = static_cast<double>(before) / 1024.0;
  state.counters["added_MiB"] = static_cast<double>(playing - before) / 1024.0;
  state.counters["loading_MiB"] = static_cast<double>(loaded - before) / 1024.0;
  pav::CloseAudioDevice();
}
BENCHMARK(BM_MusicResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
