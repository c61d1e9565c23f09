// The corpus of malformed files (tests/corpus), each installed in a data folder and
// taken through the game's own loading path for its kind: the message box names the
// file and the rule it breaks, and the game and its configuration stay as they were.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Startup.h"
#include "files/GameFiles.h"
#include "files/UnitGameSelection.h"
#include "flow/SavedGames.h"
#include "gui/TempInstallation.h"
#include "render/Graphics.h"

namespace pav::test {
namespace {

namespace fs = std::filesystem;

const std::string Corpus = PAVILORE_TEST_CORPUS;

struct TEntry {
  std::string Name;  // in files/, "-" for what the test makes
  std::string Kind;
  std::string Install;
  std::vector<std::string> Words;  // the file's name, then the rule
  std::vector<std::pair<std::string, std::string>> Also;
};

std::vector<std::string> Split(const std::string& s, const std::string& by) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = s.find(by, start);
    out.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return out;
    start = at + by.size();
  }
}

std::vector<TEntry> Manifest() {
  std::vector<TEntry> entries;
  std::ifstream in(Corpus + "/manifest.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto f = Split(line, "\t");
    if (f.size() != 6) {
      ADD_FAILURE() << "a manifest line without its six fields: " << line;
      continue;
    }
    TEntry e{f[0], f[1], f[2], Split(f[3], " | "), {}};
    if (!f[5].empty())
      for (const std::string& also : Split(f[5], ";")) {
        const auto pair = Split(also, ">");
        e.Also.emplace_back(pair.at(0), pair.at(1));
      }
    entries.push_back(std::move(e));
  }
  return entries;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The header of a 24-bit bitmap of 100000 x 100000 pixels, without its pixels.
std::string HugeBitmapHeader() {
  std::string h(54, '\0');
  auto le = [&](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) h[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  h[0] = 'B';
  h[1] = 'M';
  le(2, 54, 4);
  le(10, 54, 4);
  le(14, 40, 4);
  le(18, 100000, 4);
  le(22, 100000, 4);
  le(26, 1, 2);
  le(28, 24, 2);
  return h;
}

std::string Stem(const std::string& install) {
  const std::string file = fs::path(install).filename().string();
  return file.substr(0, file.size() - 4);
}

template <class R>
std::string Bytes(const R& r) {
  return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

TEST(Corpus, EachMalformedFileIsNamedWithItsRuleAndChangesNothing) {
  const std::vector<TEntry> entries = Manifest();
  ASSERT_GE(entries.size(), 60u);
  for (const TEntry& e : entries) {
    SCOPED_TRACE(e.Install);
    TempInstallation inst;
    inst.WriteBytes("Boards/Corpus Board.BRD", ReadFile(Corpus + "/valid/Corpus Board.BRD"));
    inst.WriteBytes("Puzzles/Corpus Puzzle.PZZ", ReadFile(Corpus + "/valid/Corpus Puzzle.PZZ"));
    inst.WriteBytes("Campaigns/Corpus Campaign.CPN", ReadFile(Corpus + "/valid/Corpus Campaign.CPN"));
    inst.WriteBytes("System/Pavilore.CFG", ReadFile(Corpus + "/valid/Pavilore.CFG"));
    // The game as start-up leaves it: the valid configuration and its board.
    ClearTerminationRequest();
    ASSERT_TRUE(ReadConfiguration());
    {
      auto board = std::make_unique<TBoard>();
      LoadBoard(inst.File("Boards/Corpus Board.BRD"), *board);
      App().Game().Board = *board;
      App().Game().Current = board->Pattern;
    }
    if (e.Name == "-") {
      if (e.Kind == "picture")
        inst.WriteBytes(e.Install, HugeBitmapHeader());
      else
        fs::create_directories(inst.File(e.Install));
    } else {
      inst.WriteBytes(e.Install, ReadFile(Corpus + "/files/" + e.Name));
    }
    for (const auto& [name, place] : e.Also) inst.WriteBytes(place, ReadFile(Corpus + "/files/" + name));
    if (e.Kind == "picture") {
      TConfig& c = App().Config;
      (Stem(e.Install).rfind("TS - ", 0) == 0 ? c.TileSet : c.BoardGraphics).Assign(Stem(e.Install));
    }
    const std::string gameBefore = Bytes(App().Game());
    const std::string configBefore = Bytes(App().Config);

    MessageCatcher messages;
    bool loaded = true;
    if (e.Kind == "board") {
      auto b = std::make_unique<TBoard>();
      loaded = LoadReported([&] { LoadBoard(BoardFile(Stem(e.Install)), *b); });
    } else if (e.Kind == "puzzle") {
      auto p = std::make_unique<TPuzzle>();
      loaded = LoadReported([&] { LoadPuzzle(PuzzleFile(Stem(e.Install)), *p); });
    } else if (e.Kind == "campaign") {
      auto c = std::make_unique<TCampaign>();
      loaded = LoadReported([&] { LoadCampaign(CampaignFile(Stem(e.Install)), *c); });
    } else if (e.Kind == "saved") {
      loaded = LoadGame(Stem(e.Install));
    } else if (e.Kind == "config") {
      loaded = ReadConfiguration();
      EXPECT_TRUE(TerminationRequested());
      ClearTerminationRequest();
    } else if (e.Kind == "picture") {
      loaded = Stem(e.Install).rfind("TS - ", 0) == 0 ? LoadTileSet() : LoadGraphicsSet();
    } else {
      ADD_FAILURE() << "unknown kind " << e.Kind;
    }

    EXPECT_FALSE(loaded);
    ASSERT_FALSE(messages.Empty());
    const std::string& text = messages.Text(0);
    if (e.Kind == "picture") {
      // The reason is the picture reader's to give.
      const std::string file = fs::path(e.Install).filename().string();
      EXPECT_EQ(text.rfind("Unable to open the image '" + file + "'", 0), 0u) << text;
    } else {
      for (const std::string& word : e.Words) EXPECT_NE(text.find(word), std::string::npos) << word << "\n" << text;
    }
    EXPECT_TRUE(Bytes(App().Game()) == gameBefore) << "the game changed";
    EXPECT_TRUE(Bytes(App().Config) == configBefore) << "the configuration changed";
    EXPECT_FALSE(App().State.GameRunning);
  }
}

}  // namespace
}  // namespace pav::test
