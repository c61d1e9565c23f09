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
#include <fluidsynth.h>
#endif

namespace pav {

namespace {

constexpr int Frequency = 44100;
constexpr int OutputChannels = 2;
// About 12 ms at 44.1 kHz: a click follows the press at once.
constexpr int BufferFrames = 512;
constexpr int EffectChannel = 0;

enum TStreamState : int { StreamIdle, StreamPlaying, StreamPaused };

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

}  // namespace

bool OpenAudioDevice() {
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

bool AudioDeviceOpen() { return DeviceOpen; }

void CloseAudioDevice() {
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

bool WavePlaying() { return DeviceOpen && Mix_Playing(EffectChannel) != 0; }

void ForgetWaveFiles() {
  if (DeviceOpen) Mix_HaltChannel(-1);
  for (auto& [path, chunk] : Waves) Mix_FreeChunk(chunk);
  Waves.clear();
}

// ---- Music stream ----------------------------------------------------------------

bool LoadMusicStream(const std::string& path) {
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
  if (!Stream) return false;
  HaltQuietly();
  // Playing before the start, so a piece that ends at once is still reported.
  State.store(StreamPlaying);
  if (Mix_PlayMusic(Stream, 1) == 0) return true;
  State.store(StreamIdle);
  return false;
}

void PauseMusicStream() {
  int playing = StreamPlaying;
  if (DeviceOpen && State.compare_exchange_strong(playing, StreamPaused)) Mix_PauseMusic();
}

void ResumeMusicStream() {
  int paused = StreamPaused;
  if (DeviceOpen && State.compare_exchange_strong(paused, StreamPlaying)) Mix_ResumeMusic();
}

void HaltMusicStream() { HaltQuietly(); }

void FreeMusicStream() {
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
