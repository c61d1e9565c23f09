// A small data folder for the saved-game loading target and its seeds: two boards,
// a puzzle on each, a campaign of both and a damaged board, under the names the
// seeds' saved games use.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"

namespace pav::fuzz {

inline void WriteSampleFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path root(folder);
  for (const char* sub : {"Boards", "Puzzles/Campaign Levels", "Campaigns", "Saved Games"})
    fs::create_directories(root / sub);
  const auto full = FullBoard();
  const auto glued = GluedBoard();
  StoreBoard((root / "Boards/Full.BRD").string(), *full);
  StoreBoard((root / "Boards/Glued.BRD").string(), *glued);

  auto p = std::make_unique<TPuzzle>();
  std::memset(p.get(), 0, sizeof *p);
  ClearRecordTable(p->Records, TRecordOrder::Ascending);
  p->BoardName.Assign("Full");
  p->OP = full->Pattern;
  p->IP = full->Pattern;
  p->TimeLimit = 300;
  p->MovesLimit = 40;
  p->Title.Assign("First steps");
  StorePuzzle((root / "Puzzles/First steps.PZZ").string(), *p);
  p->BoardName.Assign("Glued");
  p->OP = glued->Pattern;
  p->IP = glued->Pattern;
  p->Title.Assign("Hidden");
  StorePuzzle((root / "Puzzles/Campaign Levels/Hidden.PZZ").string(), *p);
  // A puzzle whose board is damaged.
  p->BoardName.Assign("Damaged");
  StorePuzzle((root / "Puzzles/On Damaged.PZZ").string(), *p);
  std::FILE* f = std::fopen((root / "Boards/Damaged.BRD").string().c_str(), "wb");
  if (f) {
    std::fputs("short", f);
    std::fclose(f);
  }

  auto c = std::make_unique<TCampaign>();
  std::memset(c.get(), 0, sizeof *c);
  ClearRecordTable(c->Records, TRecordOrder::Ascending);
  c->Levels[0].Assign("First steps");
  c->Levels[1].Assign("Hidden");
  c->Title.Assign("Tour");
  StoreCampaign((root / "Campaigns/Tour.CPN").string(), *c);
}

}  // namespace pav::fuzz
