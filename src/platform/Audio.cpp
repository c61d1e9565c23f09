#include "platform/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdarg>
#include <map>
#include <sys/stat.h>

#ifdef PAVILORE_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif
#ifdef PAVILORE_HAVE_FLUIDSYNTH
#include <dlfcn.h>
#include <fluidsynth.h>

// SDL2_mixer makes FluidSynth's settings itself and offers no say in them. By
// default FluidSynth reads every sample of the soundfont into memory when a piece
// is loaded (some 13 MiB for ours); with dynamic sample loading it reads only the
// instruments the piece chooses. This definition stands in front of the library's
// (the program's own symbols come first) and hands the settings over so changed.
extern "C" fluid_settings_t* new_fluid_settings(void) {
  using TNewSettings = fluid_settings_t* (*)();
  static const auto real = reinterpret_cast<TNewSettings>(::dlsym(RTLD_NEXT, "new_fluid_settings"));
  fluid_settings_t* settings = real ? real() : nullptr;
  if (settings) fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
  return settings;
}
#endif

namespace pav {

namespace {

constexpr int Frequency = 44100;
constexpr int OutputChannels = 2;
// About 12 ms at 44.1 kHz: a click follows the press at once.
constexpr int BufferFrames = 512;
constexpr int EffectChannel = 0;

enum TStreamState : int { StreamIdle, StreamPlaying, StreamPaused };

// The device opened at start-up on a thread of its own (SDL's ALSA driver alone
// waits some 20 ms for its devices); every call below waits for that first. It is
// one of SDL's threads, so what SDL keeps per thread (its error text) goes with it.
struct TOpener {
  SDL_Thread* Thread = nullptr;
  SDL_threadID Id = 0;
  ~TOpener() { Join(); }
  void Join() {
    if (Thread == nullptr) return;
    SDL_WaitThread(Thread, nullptr);
    Thread = nullptr;
  }
};
TOpener Opener;

void FinishOpening() {
  if (Opener.Thread != nullptr && Opener.Id != SDL_ThreadID()) Opener.Join();
}

bool Tried = false;
bool DeviceOpen = false;
std::map<std::string, Mix_Chunk*> Waves;
Mix_Music* Stream = nullptr;
std::atomic<int> State{StreamIdle};
std::atomic<unsigned> PlayNumber{0};
std::atomic<TMusicFinishedHandler> FinishedHandler{nullptr};

void NoSdlLog(void*, int, SDL_LogPriority, const char*) {}

#ifdef PAVILORE_HAVE_ALSA
void NoAlsaLog(const char*, int, const char*, int, const char*, ...) {}
#endif

#ifdef PAVILORE_HAVE_FLUIDSYNTH
void NoFluidLog(int, const char*, void*) {}
#endif

void QuietLibraries() {
  SDL_LogSetOutputFunction(&NoSdlLog, nullptr);
#ifdef PAVILORE_HAVE_ALSA
  snd_lib_error_set_handler(&NoAlsaLog);
#endif
#ifdef PAVILORE_HAVE_FLUIDSYNTH
  for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, &NoFluidLog, nullptr);
#endif
}

bool RegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Whether the file begins with `magic` at `offset`.
bool Begins(const std::string& path, const char* magic, int offset) {
  SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
  if (!rw) return false;
  char head[16] = {};
  const std::size_t want = static_cast<std::size_t>(offset) + SDL_strlen(magic);
  const std::size_t got = SDL_RWread(rw, head, 1, want);
  SDL_RWclose(rw);
  return got == want && SDL_memcmp(head + offset, magic, SDL_strlen(magic)) == 0;
}

// Runs on SDL's audio thread (or inside Mix_HaltMusic, which we never let report).
void StreamFinished() {
  const unsigned play = PlayNumber.load();
  int playing = StreamPlaying;
  if (!State.compare_exchange_strong(playing, StreamIdle)) return;
  if (TMusicFinishedHandler h = FinishedHandler.load()) h(play);
}

// Halts the stream without a finished report: the state is idle before SDL's own
// halt calls the hook, which then finds nothing playing.
void HaltQuietly() {
  State.store(StreamIdle);
  ++PlayNumber;
  if (DeviceOpen) Mix_HaltMusic();
}

bool OpenNow() {
  if (Tried) return DeviceOpen;
  Tried = true;
  QuietLibraries();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) return false;
  if (Mix_OpenAudio(Frequency, AUDIO_S16SYS, OutputChannels, BufferFrames) < 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_Init(MIX_INIT_MID);
  Mix_AllocateChannels(1);
  if (RegularFile(MusicSoundFont)) Mix_SetSoundFonts(MusicSoundFont);
  Mix_HookMusicFinished(&StreamFinished);
  DeviceOpen = true;
  return true;
}

}  // namespace

bool OpenAudioDevice() {
  FinishOpening();
  return OpenNow();
}

void OpenAudioDeviceSoon() {
  FinishOpening();
  if (Tried) return;
  Opener.Thread = SDL_CreateThread(
      [](void*) {
        OpenNow();
        return 0;
      },
      "audio open", nullptr);
  if (Opener.Thread != nullptr)
    Opener.Id = SDL_GetThreadID(Opener.Thread);
  else
    OpenNow();  // no thread to be had: open it here
}

bool AudioDeviceOpen() {
  FinishOpening();
  return DeviceOpen;
}

void CloseAudioDevice() {
  FinishOpening();
  if (!DeviceOpen) {
    Tried = false;
    return;
  }
  Mix_HaltChannel(-1);
  FreeMusicStream();
  Mix_HookMusicFinished(nullptr);
  for (auto& [path, chunk] : Waves) Mix_FreeChunk(chunk);
  Waves.clear();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  DeviceOpen = false;
  Tried = false;
}

// ---- Effects -------------------------------------------------------------------

bool PlayWaveFile(const std::string& path) {
  FinishOpening();
  if (!DeviceOpen) return false;
  Mix_Chunk* chunk = nullptr;
  if (auto it = Waves.find(path); it != Waves.end()) {
    chunk = it->second;
  } else {
    // A folder or a device named like a sound is not read, nor a file that is no wave
    // (the mixer would decode other formats, and noise as one of them).
    if (!RegularFile(path) || !Begins(path, "RIFF", 0) || !Begins(path, "WAVE", 8)) return false;
    chunk = Mix_LoadWAV(path.c_str());
    if (!chunk || chunk->alen == 0) {
      if (chunk) Mix_FreeChunk(chunk);
      return false;
    }
    Waves.emplace(path, chunk);
  }
  Mix_HaltChannel(EffectChannel);
  return Mix_PlayChannel(EffectChannel, chunk, 0) >= 0;
}

bool WavePlaying() {
  FinishOpening();
  return DeviceOpen && Mix_Playing(EffectChannel) != 0;
}

void ForgetWaveFiles() {
  FinishOpening();
  if (DeviceOpen) Mix_HaltChannel(-1);
  for (auto& [path, chunk] : Waves) Mix_FreeChunk(chunk);
  Waves.clear();
}

// ---- Music stream ----------------------------------------------------------------

bool LoadMusicStream(const std::string& path) {
  FinishOpening();
  FreeMusicStream();
  if (!DeviceOpen || !RegularFile(path)) return false;
  // A standard MIDI file, or one wrapped in RIFF.
  if (!Begins(path, "MThd", 0) && !(Begins(path, "RIFF", 0) && Begins(path, "RMID", 8))) return false;
  // Only the MIDI players decode it, whatever the bytes look like to the others.
  SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
  if (!rw) return false;
  Stream = Mix_LoadMUSType_RW(rw, MUS_MID, 1);
  return Stream != nullptr;
}

bool MusicStreamLoaded() { return Stream != nullptr; }

bool PlayMusicStream() {
  FinishOpening();
  if (!Stream) return false;
  HaltQuietly();
  // Playing before the start, so a piece that ends at once is still reported.
  State.store(StreamPlaying);
  if (Mix_PlayMusic(Stream, 1) == 0) return true;
  State.store(StreamIdle);
  return false;
}

void PauseMusicStream() {
  FinishOpening();
  int playing = StreamPlaying;
  if (DeviceOpen && State.compare_exchange_strong(playing, StreamPaused)) Mix_PauseMusic();
}

void ResumeMusicStream() {
  FinishOpening();
  int paused = StreamPaused;
  if (DeviceOpen && State.compare_exchange_strong(paused, StreamPlaying)) Mix_ResumeMusic();
}

void HaltMusicStream() {
  FinishOpening();
  HaltQuietly();
}

void FreeMusicStream() {
  FinishOpening();
  HaltQuietly();
  if (Stream) {
    Mix_FreeMusic(Stream);
    Stream = nullptr;
  }
}

bool MusicStreamPlaying() { return State.load() != StreamIdle; }
bool MusicStreamPaused() { return State.load() == StreamPaused; }

void SetMusicFinishedHandler(TMusicFinishedHandler handler) { FinishedHandler.store(handler); }

unsigned MusicStreamPlayNumber() { return PlayNumber.load(); }

}  // namespace pav
