// pavilore-soundgen: writes the game's sound effects and music into an
// installation folder.
//
//   pavilore-soundgen FOLDER
//
// creates FOLDER/Sounds/*.WAV and FOLDER/Music/*.MID. The output depends on nothing
// but this program, so every run writes the same bytes.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Compose.h"
#include "Effects.h"
#include "Wave.h"

namespace fs = std::filesystem;
using namespace pav::soundgen;

namespace {

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  const fs::path temp = path.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + temp.string());
  }
  fs::rename(temp, path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pavilore-soundgen FOLDER\n";
    return 2;
  }
  try {
    const fs::path root = argv[1];
    const fs::path sounds = root / "Sounds";
    const fs::path music = root / "Music";
    fs::create_directories(sounds);
    fs::create_directories(music);
    WriteFile(sounds / "Click.WAV", EncodeWave(MakeClick()));
    WriteFile(sounds / "Tile Move.WAV", EncodeWave(MakeTileMove()));
    WriteFile(sounds / "Puzzle Solved.WAV", EncodeWave(MakePuzzleSolved()));
    WriteFile(sounds / "Game Over.WAV", EncodeWave(MakeGameOver()));
    for (const TSong& song : AllSongs()) WriteFile(music / (song.Title + ".MID"), ComposeMidi(song));
  } catch (const std::exception& e) {
    std::cerr << "pavilore-soundgen: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
