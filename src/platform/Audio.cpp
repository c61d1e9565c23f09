#include "platform/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdarg>
#include <cstring>
#include <map>
#include <type_traits>

#ifdef PAVILORE_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif
#ifdef PAVILORE_HAVE_FLUIDSYNTH
#include <fluidsynth.h>

// SDL2_mixer makes FluidSynth's settings itself and offers no say in them. By
// default FluidSynth reads every sample of the soundfont into memory when a piece
// is loaded (some 13 MiB for ours); with dynamic sample loading it reads only the
// instruments the piece chooses. This definition stands in front of the library's
// (the program's own symbols come first; the program exports it for that) and hands
// the settings over so changed.
extern "C" fluid_settings_t* new_fluid_settings(void) {
  using TNewSettings = fluid_settings_t* (*)();
  using TSetInt = int (*)(fluid_settings_t*, const char*, int);
  static const auto real = reinterpret_cast<TNewSettings>(::dlsym(RTLD_NEXT, "new_fluid_settings"));
  static const auto setInt = reinterpret_cast<TSetInt>(::dlsym(RTLD_DEFAULT, "fluid_settings_setint"));
  fluid_settings_t* settings = real ? real() : nullptr;
  if (settings && setInt) setInt(settings, "synth.dynamic-sample-loading", 1);
  return settings;
}
#endif

namespace pav {

namespace {

// The sound libraries are loaded when the device is first opened, after the splash
// is up: loaded with the program they would add some forty libraries (SDL, its
// mixer, FluidSynth and theirs) to every start before the first window shows.
#define PAV_AUDIO_FUNCTIONS(X)                                                                              \
  X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_CreateThread) X(SDL_GetThreadID)           \
  X(SDL_ThreadID) X(SDL_WaitThread) X(SDL_RWFromFile) X(SDL_RWread) X(SDL_RWclose)                          \
  X(SDL_LogSetOutputFunction) X(Mix_OpenAudio) X(Mix_Init) X(Mix_AllocateChannels) X(Mix_SetSoundFonts)     \
  X(Mix_HookMusicFinished) X(Mix_HaltChannel) X(Mix_FreeChunk) X(Mix_CloseAudio) X(Mix_Quit) X(Mix_LoadWAV) \
  X(Mix_PlayChannel) X(Mix_Playing) X(Mix_LoadMUSType_RW) X(Mix_PlayMusic) X(Mix_PauseMusic)                \
  X(Mix_ResumeMusic) X(Mix_HaltMusic) X(Mix_FreeMusic)

struct TSoundLibraries {
#define PAV_POINTER(name) decltype(&::name) name = nullptr;
  PAV_AUDIO_FUNCTIONS(PAV_POINTER)
#undef PAV_POINTER
#ifdef PAVILORE_HAVE_ALSA
  decltype(&::snd_lib_error_set_handler) snd_lib_error_set_handler = nullptr;
#endif
#ifdef PAVILORE_HAVE_FLUIDSYNTH
  decltype(&::fluid_set_log_function) fluid_set_log_function = nullptr;
#endif
};
TSoundLibraries Lib;

// Loads the libraries and their functions once; false (a silent game) when any is
// missing.
bool LoadSoundLibraries() {
  static const bool loaded = [] {
    for (const char* name : {"libSDL2-2.0.so.0", "libSDL2_mixer-2.0.so.0"})
      if (::dlopen(name, RTLD_NOW | RTLD_GLOBAL) == nullptr) return false;
    bool all = true;
    auto find = [&all](auto& pointer, const char* name) {
      pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(::dlsym(RTLD_DEFAULT, name));
      if (pointer == nullptr) all = false;
    };
#define PAV_FIND(name) find(Lib.name, #name);
    PAV_AUDIO_FUNCTIONS(PAV_FIND)
#undef PAV_FIND
    // The libraries that only talk on the terminal: quietened when they are there.
#ifdef PAVILORE_HAVE_ALSA
    if (::dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL) != nullptr)
      Lib.snd_lib_error_set_handler =
          reinterpret_cast<decltype(Lib.snd_lib_error_set_handler)>(::dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"));
#endif
#ifdef PAVILORE_HAVE_FLUIDSYNTH
    Lib.fluid_set_log_function =
        reinterpret_cast<decltype(Lib.fluid_set_log_function)>(::dlsym(RTLD_DEFAULT, "fluid_set_log_function"));
#endif
    return all;
  }();
  return loaded;
}


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
    Lib.SDL_WaitThread(Thread, nullptr);
    Thread = nullptr;
  }
};
TOpener Opener;

void FinishOpening() {
  if (Opener.Thread != nullptr && Opener.Id != Lib.SDL_ThreadID()) Opener.Join();
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
  Lib.SDL_LogSetOutputFunction(&NoSdlLog, nullptr);
#ifdef PAVILORE_HAVE_ALSA
  if (Lib.snd_lib_error_set_handler) Lib.snd_lib_error_set_handler(&NoAlsaLog);
#endif
#ifdef PAVILORE_HAVE_FLUIDSYNTH
  if (Lib.fluid_set_log_function)
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) Lib.fluid_set_log_function(level, &NoFluidLog, nullptr);
#endif
}

bool RegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Whether the file begins with `magic` at `offset`.
bool Begins(const std::string& path, const char* magic, int offset) {
  SDL_RWops* rw = Lib.SDL_RWFromFile(path.c_str(), "rb");
  if (!rw) return false;
  char head[16] = {};
  const std::size_t want = static_cast<std::size_t>(offset) + std::strlen(magic);
  const std::size_t got = Lib.SDL_RWread(rw, head, 1, want);
  Lib.SDL_RWclose(rw);
  return got == want && std::memcmp(head + offset, magic, std::strlen(magic)) == 0;
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
  if (DeviceOpen) Lib.Mix_HaltMusic();
}

bool OpenNow() {
  if (Tried) return DeviceOpen;
  Tried = true;
  if (!LoadSoundLibraries()) return false;
  QuietLibraries();
  // SIGTERM and SIGINT are the game's own: SDL would take them when the device opens
  // before the game watches them, and keep them to itself.
  Lib.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (Lib.SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) return false;
  if (Lib.Mix_OpenAudio(Frequency, AUDIO_S16SYS, OutputChannels, BufferFrames) < 0) {
    Lib.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Lib.Mix_Init(MIX_INIT_MID);
  Lib.Mix_AllocateChannels(1);
  if (RegularFile(MusicSoundFont)) Lib.Mix_SetSoundFonts(MusicSoundFont);
  Lib.Mix_HookMusicFinished(&StreamFinished);
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
  if (!LoadSoundLibraries()) {
    Tried = true;
    return;
  }
  Opener.Thread = Lib.SDL_CreateThread(
      [](void*) {
        OpenNow();
        return 0;
      },
      "audio open", nullptr);
  if (Opener.Thread != nullptr)
    Opener.Id = Lib.SDL_GetThreadID(Opener.Thread);
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
  Lib.Mix_HaltChannel(-1);
  FreeMusicStream();
  Lib.Mix_HookMusicFinished(nullptr);
  for (auto& [path, chunk] : Waves) Lib.Mix_FreeChunk(chunk);
  Waves.clear();
  Lib.Mix_CloseAudio();
  Lib.Mix_Quit();
  Lib.SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    chunk = Lib.Mix_LoadWAV(path.c_str());
    if (!chunk || chunk->alen == 0) {
      if (chunk) Lib.Mix_FreeChunk(chunk);
      return false;
    }
    Waves.emplace(path, chunk);
  }
  Lib.Mix_HaltChannel(EffectChannel);
  return Lib.Mix_PlayChannel(EffectChannel, chunk, 0) >= 0;
}

bool WavePlaying() {
  FinishOpening();
  return DeviceOpen && Lib.Mix_Playing(EffectChannel) != 0;
}

void ForgetWaveFiles() {
  FinishOpening();
  if (DeviceOpen) Lib.Mix_HaltChannel(-1);
  for (auto& [path, chunk] : Waves) Lib.Mix_FreeChunk(chunk);
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
  SDL_RWops* rw = Lib.SDL_RWFromFile(path.c_str(), "rb");
  if (!rw) return false;
  Stream = Lib.Mix_LoadMUSType_RW(rw, MUS_MID, 1);
  return Stream != nullptr;
}

bool MusicStreamLoaded() { return Stream != nullptr; }

bool PlayMusicStream() {
  FinishOpening();
  if (!Stream) return false;
  HaltQuietly();
  // Playing before the start, so a piece that ends at once is still reported.
  State.store(StreamPlaying);
  if (Lib.Mix_PlayMusic(Stream, 1) == 0) return true;
  State.store(StreamIdle);
  return false;
}

void PauseMusicStream() {
  FinishOpening();
  int playing = StreamPlaying;
  if (DeviceOpen && State.compare_exchange_strong(playing, StreamPaused)) Lib.Mix_PauseMusic();
}

void ResumeMusicStream() {
  FinishOpening();
  int paused = StreamPaused;
  if (DeviceOpen && State.compare_exchange_strong(paused, StreamPlaying)) Lib.Mix_ResumeMusic();
}

void HaltMusicStream() {
  FinishOpening();
  HaltQuietly();
}

void FreeMusicStream() {
  FinishOpening();
  HaltQuietly();
  if (Stream) {
    Lib.Mix_FreeMusic(Stream);
    Stream = nullptr;
  }
}

bool MusicStreamPlaying() { return State.load() != StreamIdle; }
bool MusicStreamPaused() { return State.load() == StreamPaused; }

void SetMusicFinishedHandler(TMusicFinishedHandler handler) { FinishedHandler.store(handler); }

unsigned MusicStreamPlayNumber() { return PlayNumber.load(); }

}  // namespace pav
