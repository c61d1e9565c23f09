// The game's audio output over SDL2_mixer: one device opened at start-up, wave
// effects on one channel (a new effect cuts the one still playing) and one MIDI
// music stream played through FluidSynth with a small General MIDI soundfont.
//
// Without a device (no sound server, no card, the open refused) every call here
// does nothing: the game runs silent, with no message and no noise on the terminal.
// A file that cannot be loaded (missing, empty, truncated, damaged) plays nothing.
// No Qt here; everything but the finished handler runs on the calling thread.
#pragma once

#include <string>

namespace pav {

// The General MIDI soundfont the music is played with.
constexpr const char* MusicSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// Opens the device once (44.1 kHz stereo, a small buffer); later calls only say
// whether it is open. Messages of SDL, FluidSynth and ALSA go nowhere.
bool OpenAudioDevice();
// The same open on a thread of its own, so that start-up does not wait for it; the
// first call of anything here waits until it is done.
void OpenAudioDeviceSoon();
bool AudioDeviceOpen();
// Frees every loaded effect and the music stream, and closes the device.
void CloseAudioDevice();

// ---- Effects ---------------------------------------------------------------

// Starts a wave file on the effects channel, cutting the effect still playing. The
// file's samples are kept by path, so a second start of it reads nothing from disk.
// False when there is no device or the file does not load.
bool PlayWaveFile(const std::string& path);
// Whether an effect is sounding.
bool WavePlaying();
// Drops the kept samples of every effect (a file changed on disk is read anew).
void ForgetWaveFiles();

// ---- Music stream ------------------------------------------------------------

// Loads a MIDI file as the stream, replacing (and halting) the one loaded before.
// False, with nothing loaded, when there is no device or the file does not load.
bool LoadMusicStream(const std::string& path);
bool MusicStreamLoaded();
// Plays the loaded stream once from its start. False when nothing is loaded.
bool PlayMusicStream();
// Stops the stream at its position, and plays on from there.
void PauseMusicStream();
void ResumeMusicStream();
// Ends the playing (no finished report for it); the stream stays loaded.
void HaltMusicStream();
void FreeMusicStream();
bool MusicStreamPlaying();  // started and not ended or halted (paused counts)
bool MusicStreamPaused();

// Called on SDL's audio thread when a stream that was started plays to its end;
// the handler must hand the news over to its own thread. `play` is the number
// that PlayMusicStream's start had (MusicStreamPlayNumber()); a halt, a new start
// or a new load before the report arrives makes it stale.
using TMusicFinishedHandler = void (*)(unsigned play);
void SetMusicFinishedHandler(TMusicFinishedHandler handler);
// The number of the latest start, halt or load of the stream.
unsigned MusicStreamPlayNumber();

}  // namespace pav
