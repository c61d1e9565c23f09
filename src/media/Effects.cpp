#include "media/Effects.h"

#include "app/AppState.h"
#include "files/GameFiles.h"
#include "platform/Audio.h"
#include "platform/Paths.h"

namespace pav {

namespace {

TWavePlayer& Player() {
  static TWavePlayer player;
  return player;
}

}  // namespace

std::string EffectName(TEffect effect) {
  const TConfig& c = App().Config;
  switch (effect) {
    case TEffect::Click: return c.ClickSound.Str();
    case TEffect::Move: return c.MoveSound.Str();
    case TEffect::Solved: return c.SolvedSound.Str();
    case TEffect::GameOver: return c.GameOverSound.Str();
  }
  return {};
}

void PlayEffect(TEffect effect) {
  if (!App().Config.SoundsOn) return;
  const std::string name = EffectName(effect);
  // A sound is named in the configuration; a name that is no file name plays nothing.
  if (name.empty() || name == "[None]" || FileNameProblem(name)) return;
  const std::string path = App().Path("\\Sounds\\" + name + ".WAV");
  if (!FileExists(path)) return;
  if (Player())
    Player()(effect, path);
  else
    PlayWaveFile(path);
}

void PlayEffectFile(TEffect effect, const std::string& name) {
  // A sound is named in the configuration; a name that is no file name plays nothing.
  if (name.empty() || name == "[None]" || FileNameProblem(name)) return;
  const std::string path = App().Path("\\Sounds\\" + name + ".WAV");
  if (Player())
    Player()(effect, path);
  else
    PlayWaveFile(path);
}

void SetWavePlayer(TWavePlayer player) { Player() = std::move(player); }

}  // namespace pav
