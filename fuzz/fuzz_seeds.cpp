// Writes the seed corpus of every fuzz target: pavilore_fuzz_seeds OUTDIR makes
// OUTDIR/<target>/<seed> files (OUTDIR/board, OUTDIR/push, ...).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "SampleFolder.h"
#include "engine/MoveEngine.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "files/TextFormat.h"

using namespace pav;
using namespace pav::fuzz;
namespace fs = std::filesystem;

namespace {

fs::path Out;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
  const fs::path dir = Out / target;
  fs::create_directories(dir);
  std::ofstream f(dir / name, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) {
    std::cerr << "pavilore_fuzz_seeds: cannot write " << (dir / name).string() << "\n";
    std::exit(1);
  }
}

template <class R>
std::string Bytes(const R& r) {
  return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

// A result for the records: seconds, moves and a name, after the record.
std::string ResultBytes(std::int32_t seconds, std::int32_t moves, const std::string& name) {
  std::string s(8, '\0');
  std::memcpy(s.data(), &seconds, 4);
  std::memcpy(s.data() + 4, &moves, 4);
  return s + name;
}

// A few records already in the table.
void FillRecords(TRecordTable& t) {
  const char* names[] = {"Ann", "Bob", "Carla", "Dmitri", "Eve"};
  for (int i = 0; i < 5; ++i) {
    t.TimeNames[i].Assign(names[i]);
    t.TimeValues[i] = 60 + 30 * i;
    t.MoveNames[i].Assign(names[4 - i]);
    t.MoveValues[i] = 20 + 5 * i;
  }
}

// The board's own pattern after a few pushes.
TPattern Pushed(const TBoard& b, std::initializer_list<std::array<int, 3>> pushes) {
  auto s = std::make_unique<TGameState>();
  s->Game.Board = b;
  s->Game.Current = b.Pattern;
  TMoveEngine e(*s);
  for (const auto& p : pushes) e.TryPush(false, false, p[0], p[1], p[2]);
  return s->Game.Current;
}

void Boards() {
  auto full = FullBoard();
  FillRecords(full->Records);
  FillRecords(full->BotRecords[1][2]);
  full->Author.Assign("\xC9mile");  // a Windows-1252 letter
  const char* text = "PAVILORE";
  for (int i = 0; text[i]; ++i) full->CellText[i][0] = static_cast<std::uint8_t>(text[i]);
  Put("board", "full", Bytes(*full));
  Put("board", "full-result", Bytes(*full) + ResultBytes(75, 22, "A player with a long name"));
  Put("board", "glued", Bytes(*GluedBoard()));
  Put("board", "smallest", Bytes(*EmptyBoard(3, 3)));
  auto broken = EmptyBoard(20, 15);
  broken->Cells[1][7] = 0;  // a hole in the frame
  Put("board", "hole-in-frame", Bytes(*broken));
  Put("board", "short", Bytes(*full).substr(0, 1000));
}

void Puzzles() {
  auto full = FullBoard();
  auto p = std::make_unique<TPuzzle>();
  std::memset(p.get(), 0, sizeof *p);
  p->BoardName.Assign("Full");
  p->OP = full->Pattern;
  p->IP = Pushed(*full, {{2, 2, 2}, {2, 12, 2}, {5, 7, 1}});
  for (std::size_t i = 0; i < sizeof p->Reserved; ++i) p->Reserved[i] = static_cast<std::uint8_t>(i * 7);
  p->TimeLimit = 300;
  p->MovesLimit = 40;
  ClearRecordTable(p->Records, TRecordOrder::Ascending);
  FillRecords(p->Records);
  p->Title.Assign("First steps");
  p->Author.Assign("Pavilore");
  Put("puzzle", "full", Bytes(*p));
  Put("puzzle", "full-result", Bytes(*p) + ResultBytes(70, 19, "Zed"));
  auto glued = GluedBoard();
  p->BoardName.Assign("Glued");
  p->OP = glued->Pattern;
  p->IP = Pushed(*glued, {{4, 3, 2}, {3, 3, 4}});
  Put("puzzle", "glued", Bytes(*p));
  p->IP.Tiles[5][5] = 51;  // a face the game does not have
  Put("puzzle", "bad-face", Bytes(*p));
}

void Campaigns() {
  auto c = std::make_unique<TCampaign>();
  std::memset(c.get(), 0, sizeof *c);
  c->Levels[0].Assign("First steps");
  c->Levels[1].Assign("Second");
  c->Levels[2].Assign("Third");
  c->Levels[4].Assign("after the gap");
  ClearRecordTable(c->Records, TRecordOrder::Ascending);
  FillRecords(c->Records);
  c->Title.Assign("Tour");
  Put("campaign", "three-levels", Bytes(*c));
  Put("campaign", "three-levels-result", Bytes(*c) + ResultBytes(900, 200, "Walker"));
  for (int i = 0; i < MaxLevels; ++i) c->Levels[i].Assign("Level " + std::to_string(i + 1));
  Put("campaign", "all-levels", Bytes(*c));
}

void SavedGames() {
  auto full = FullBoard();
  auto g = std::make_unique<TSavedGame>();
  std::memset(g.get(), 0, sizeof *g);
  g->GameMode = 1;
  g->BoardName.Assign("Full");
  g->Moves = 3;
  g->Seconds = 17;
  g->Current = Pushed(*full, {{2, 2, 2}, {5, 7, 1}});
  g->OP = full->Pattern;
  g->HumanPlaysFirst = 1;
  AppendEntry(g->History, 4, 7, DirRight, 0);
  AppendEntry(g->History, 12, 2, DirLeft, 0);
  AppendEntry(g->History, 2, 12, DirUp, 1);
  g->ScrambleLength = 1;
  Put("saved_game", "single", Bytes(*g));
  g->GameMode = 2;
  g->Level = 2;
  g->ComputerSpeed = 1;
  g->ComputerAccuracy = 2;
  g->HumanSeconds = 40;
  g->HumanMoves = 12;
  Put("saved_game", "computer", Bytes(*g));
  Put("saved_game", "short", Bytes(*g).substr(0, 5000));
}

// Saved games naming the files of the sample folder, in each mode.
void SavedGameLoads() {
  const auto full = FullBoard();
  const auto glued = GluedBoard();
  auto g = std::make_unique<TSavedGame>();
  auto game = [&](const char* board, const TBoard& b, int mode) {
    std::memset(g.get(), 0, sizeof *g);
    g->GameMode = static_cast<std::uint8_t>(mode);
    g->BoardName.Assign(board);
    g->Current = b.Pattern;
    g->OP = b.Pattern;
    g->HumanPlaysFirst = 1;
    g->Moves = 2;
    g->Seconds = 9;
  };
  game("Full", *full, 1);
  Put("saved_game_load", "single-board", Bytes(*g));
  g->PuzzleName.Assign("First steps");
  g->IPFromPuzzle = g->MLFromPuzzle = g->TLFromPuzzle = 1;
  Put("saved_game_load", "single-puzzle", Bytes(*g));
  g->PuzzleName.Assign("On Damaged");
  Put("saved_game_load", "single-damaged-board", Bytes(*g));
  game("Glued", *glued, 2);
  g->Level = 1;
  g->ComputerSpeed = 1;
  g->HumanSeconds = 30;
  Put("saved_game_load", "computer", Bytes(*g));
  game("Full", *full, 3);
  g->CampaignName.Assign("Tour");
  g->Level = 1;
  Put("saved_game_load", "campaign-first", Bytes(*g));
  game("Glued", *glued, 3);
  g->CampaignName.Assign("Tour");
  g->Level = 2;
  Put("saved_game_load", "campaign-hidden-level", Bytes(*g));
}

void Configs() {
  auto c = std::make_unique<TConfig>();
  std::memset(c.get(), 0, sizeof *c);
  c->GameMode = 1;
  c->BoardName.Assign("Full");
  c->PuzzleName.Assign("First steps");
  c->ComputerSpeed = 1;
  c->ComputerAccuracy = 1;
  c->HumanPlaysFirst = 1;
  c->WheelMoves = 1;
  c->PlayerName.Assign("Ren\xE9");
  c->ShowInvalid = 1;
  c->HighlightElements = 1;
  c->BoardGraphics.Assign("GB - Stone");
  c->TileSet.Assign("TS - Numbers");
  c->ClickSound.Assign("Click");
  c->MoveSound.Assign("Move");
  c->SolvedSound.Assign("Solved");
  c->GameOverSound.Assign("Game Over");
  c->SoundsOn = 1;
  c->MusicMode = 2;
  c->PicturePath.Assign("/home/player/Pictures/\x80 sign.jpg");
  c->ShowWelcome = 1;
  Put("config", "default", Bytes(*c));
  Put("config", "short", Bytes(*c).substr(0, 700));
  Put("config", "text", "Na\xEFve caf\xE9 \x93quoted\x94 \x81\x8D\x8F\x90\x9D");
}

void PushInputs() {
  auto full = FullBoard();
  std::string s = PushInputFromBoard(*full, PushRunning | PushSound);
  AppendPush(s, 2, 2, DirRight);    // ten tiles
  AppendPush(s, 12, 2, DirLeft);    // and back
  AppendPush(s, 10, 4, DirRight);   // refused at the frame
  AppendPush(s, 2, 12, DirRight);   // the ring turns
  AppendPush(s, 5, 7, DirLeft);     // bend and jump
  AppendPush(s, 13, 9, DirLeft);    // and back
  AppendPush(s, 14, 10, DirUp);
  AppendPush(s, 0, 0, 0);           // outside the board
  Put("push", "full", s);
  Put("push", "full-heavy", PushInputFromBoard(*full, PushHeavy | PushComputer));
  full->StepsPerMove = 2;
  s = PushInputFromBoard(*full, PushRunning | PushSound);
  AppendPush(s, 2, 12, DirRight);
  AppendPush(s, 5, 7, DirLeft);
  Put("push", "full-two-steps", s);

  auto glued = GluedBoard();
  s = PushInputFromBoard(*glued, PushRunning | PushHeavy);
  AppendPush(s, 3, 3, DirRight);
  AppendPush(s, 4, 3, DirDown);
  AppendPush(s, 3, 4, DirLeft);
  AppendPush(s, 5, 5, DirLeft);
  Put("push", "glued", s);

  auto feeder = FeederRingBoard();
  s = PushInputFromBoard(*feeder, PushRunning | PushSound);
  AppendPush(s, 2, 3, DirRight);  // overflow
  AppendPush(s, 3, 3, DirRight);  // the ring turns
  AppendPush(s, 2, 3, DirDown);
  Put("push", "feeder-ring", s);

  // No flow elements and no links: scrambles can be replayed.
  auto plain = EmptyBoard(9, 8);
  int face = 0;
  for (int y = 2; y <= 7; ++y)
    for (int x = 2; x <= 8; ++x)
      if ((x + y) % 3 != 0) plain->Pattern.Tiles[x][y] = static_cast<std::uint8_t>(++face % 50 + 1);
  s = PushInputFromBoard(*plain, PushHeavy | PushRunning);
  AppendPush(s, 3, 2, DirLeft);
  AppendPush(s, 2, 3, DirUp);
  Put("push", "plain", s);
  Put("push", "plain-computer", PushInputFromBoard(*plain, PushHeavy | PushComputer | 8));
}

void Texts() {
  auto full = FullBoard();
  FillRecords(full->Records);
  Put("text", "board-record", "\x01" + Bytes(*full));
  Put("text", "board-text", std::string(1, '\0') + UnpackBoard(*full));
  auto p = std::make_unique<TPuzzle>();
  std::memset(p.get(), 0, sizeof *p);
  p->BoardName.Assign("Full");
  p->IP = full->Pattern;
  p->OP = Pushed(*full, {{2, 2, 2}});
  ClearRecordTable(p->Records, TRecordOrder::Ascending);
  p->Title.Assign("First steps");
  Put("text", "puzzle-record", "\x02" + Bytes(*p));
  Put("text", "puzzle-text", std::string(1, '\0') + UnpackPuzzle(*p, full.get()));
  auto c = std::make_unique<TCampaign>();
  std::memset(c.get(), 0, sizeof *c);
  c->Levels[0].Assign("First steps");
  ClearRecordTable(c->Records, TRecordOrder::Ascending);
  Put("text", "campaign-record", "\x03" + Bytes(*c));
  Put("text", "campaign-text", std::string(1, '\0') + UnpackCampaign(*c));
  Put("text", "garbage", std::string(1, '\0') + "board\nwidth 300\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pavilore_fuzz_seeds OUTDIR\n";
    return 2;
  }
  Out = argv[1];
  Boards();
  Puzzles();
  Campaigns();
  SavedGames();
  SavedGameLoads();
  Configs();
  PushInputs();
  Texts();
  return 0;
}
