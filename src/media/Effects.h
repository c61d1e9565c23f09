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

// What actually plays a wave file (a full path). Until a player is set, nothing is
// heard; tests set one to see which effects were played and in which order.
using TWavePlayer = std::function<void(TEffect effect, const std::string& path)>;
void SetWavePlayer(TWavePlayer player);

}  // namespace pav
