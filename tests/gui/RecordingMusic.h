// What the tests hear of the sound: the music stream's calls and the effects played,
// on one time line of words.
#pragma once

#include <string>
#include <vector>

#include "media/Effects.h"
#include "media/Music.h"

namespace pav::test {

using Calls = std::vector<std::string>;

// The name of a file without folder and extension.
inline std::string Stem(const std::string& path) {
  const auto slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

inline const char* EffectWord(TEffect e) {
  switch (e) {
    case TEffect::Click: return "click";
    case TEffect::Move: return "move";
    case TEffect::Solved: return "solved";
    case TEffect::GameOver: break;
  }
  return "game over";
}

// Stands in for the audio device's music stream: every call becomes a word of Heard
// ("load NAME", "play", "pause", "resume", "halt", "free").
class TRecordingOutput : public TMusicOutput {
 public:
  bool Load(const std::string& path) override {
    Heard.push_back("load " + Stem(path));
    return true;
  }
  bool Play() override {
    Heard.push_back("play");
    return true;
  }
  void Pause() override { Heard.push_back("pause"); }
  void Resume() override { Heard.push_back("resume"); }
  void Halt() override { Heard.push_back("halt"); }
  void Free() override { Heard.push_back("free"); }

  // The pieces loaded, in order.
  Calls Loaded() const {
    Calls names;
    for (const auto& c : Heard)
      if (c.rfind("load ", 0) == 0) names.push_back(c.substr(5));
    return names;
  }

  Calls Heard;
};

}  // namespace pav::test
