// The four sound effects of the game: the click of every button, a tile move, a
// solved puzzle and a game over. Each plays only while sounds are on, its file is
// chosen (not "[None]") and exists in "\Sounds\".
#pragma once

#include <functional>
#include <string>

namespace pav {

enum class TEffect { Click, Move, Solved, GameOver };

// The file name configured for an effect (without folder and extension).
std::string EffectName(TEffect effect);
// Plays an effect asynchronously, one sound at a time, when the configuration allows
// it and its file exists.
void PlayEffect(TEffect effect);

// Plays the sound file `name` ("\Sounds\" + name + ".WAV") for an effect at once,
// whatever the configuration says and without looking for the file first: the
// sounds window's "Play" buttons. "[None]" plays nothing.
void PlayEffectFile(TEffect effect, const std::string& name);

// What actually plays a wave file (a full path): the audio device by default.
// Tests set their own to see which effects were played and in which order;
// an empty player puts the audio device back.
using TWavePlayer = std::function<void(TEffect effect, const std::string& path)>;
void SetWavePlayer(TWavePlayer player);

}  // namespace pav
