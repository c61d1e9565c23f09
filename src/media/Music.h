// The background music: the game's music player and the music window's preview,
// which share the one music stream, the choice of the next piece in the three
// selection modes, and the music's part in starting, pausing and ending a game.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QTimer;

namespace pav {

// What plays the music stream: the audio device unless a test sets its own, which
// then hears every call and reports the end of a piece with MusicStreamEnded().
class TMusicOutput {
 public:
  virtual ~TMusicOutput() = default;
  // Loads a file, replacing the piece loaded before; false when it does not load.
  virtual bool Load(const std::string& path) = 0;
  // Plays the loaded piece once from its start.
  virtual bool Play() = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Ends the playing; the piece stays loaded.
  virtual void Halt() = 0;
  virtual void Free() = 0;
};
// nullptr: the audio device again.
void SetMusicOutput(TMusicOutput* output);

// The piece on the stream played to its end (on the user-interface thread): the
// player that holds the stream is told.
void MusicStreamEnded();

// A MIDI player over the shared stream: open a file, play it with a notification
// when it ends, stop at the position, rewind, close. Opening takes the stream from
// the other player, which is closed by it.
class TMediaPlayer {
 public:
  enum class TMode { Closed, AtStart, Playing, Paused };

  std::string FileName;  // a native path
  // Run when a piece this player started plays to its end.
  std::function<void()> OnNotify;

  // Loads FileName; false (and closed) when it does not load.
  bool Open();
  // From the start after Open or Rewind, from the position after Stop.
  void Play();
  // Stops at the position.
  void Stop();
  // Back to the start, silent.
  void Rewind();
  void Close();

  TMode Mode() const { return State; }
  bool IsOpen() const { return State != TMode::Closed; }

 private:
  friend void MusicStreamEnded();
  TMode State = TMode::Closed;
};

// The game's music player and the music window's preview player.
TMediaPlayer& GameMusicPlayer();
TMediaPlayer& PreviewMusicPlayer();

// Whether the music window is on screen (it silences the game's music); the window
// says how to tell when it is made. Without it, never.
void SetMusicWindowShown(std::function<bool()> shown);

// The main window's one-shot music timer (250 ms), which calls PlayNextMusic.
void SetMusicTimer(QTimer* timer);
// Starts the music timer; nothing without one.
void StartMusicSoon();
// The next piece, by Config.MusicMode (1 the selected file, 2 a random one of the
// folder, 3 the next in alphabetical order); nothing unless music is on, a file is
// configured and the music window is not shown.
void PlayNextMusic();
// The names of "\Music\*.MID" the music window's list offers, in its order.
std::vector<std::string> MusicFileNames();
// "\Music\" + name + ".MID" as a native path.
std::string MusicFilePath(const std::string& name);

// The M key: music on or off; a running game stops or starts its music.
void MusicOnOffCommand();
// The pause window opened: with music on, the game's player stops at its position.
void PauseGameMusic();
// "Back to Game": with music on, the game's player plays on from its position.
void ResumeGameMusic();
// Every end of a game: the game's player stops.
void StopGameMusic();
// At start-up: a configured music file that exists becomes the game player's file;
// otherwise music is switched off and no file is configured.
void CheckMusicFile();
// At exit: both players are closed.
void CloseMusicPlayers();

}  // namespace pav
