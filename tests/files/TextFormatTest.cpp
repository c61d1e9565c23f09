// The text form of boards, puzzles and campaigns: exact round trips, hand-written
// texts, and the mistakes a text can hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/MoveEngine.h"
#include "files/ConfigText.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "files/TextFormat.h"
#include "platform/Paths.h"

using namespace pav;

namespace {

template <class R>
std::vector<std::uint8_t> BytesOf(const R& r) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&r);
  return {p, p + sizeof r};
}

template <class R>
std::unique_ptr<R> FromBytes(const std::vector<std::uint8_t>& bytes) {
  EXPECT_EQ(bytes.size(), sizeof(R));
  auto r = std::make_unique<R>();
  std::memcpy(r.get(), bytes.data(), sizeof(R));
  return r;
}

template <class R>
std::unique_ptr<R> Zeroed() {
  auto r = std::make_unique<R>();
  std::memset(r.get(), 0, sizeof(R));
  return r;
}

std::unique_ptr<TBoard> EmptyBoard() {
  auto b = Zeroed<TBoard>();
  ClearRecordTable(b->Records, TRecordOrder::Ascending);
  for (auto& row : b->BotRecords)
    for (auto& t : row) ClearRecordTable(t, TRecordOrder::Descending);
  return b;
}

std::unique_ptr<TPuzzle> EmptyPuzzle() {
  auto p = Zeroed<TPuzzle>();
  ClearRecordTable(p->Records, TRecordOrder::Ascending);
  return p;
}

std::unique_ptr<TCampaign> EmptyCampaign() {
  auto c = Zeroed<TCampaign>();
  ClearRecordTable(c->Records, TRecordOrder::Ascending);
  return c;
}

// Lines of a text that begin with `prefix`.
std::vector<std::string> LinesStarting(const std::string& text, const std::string& prefix) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    start = end + 1;
  }
  return out;
}

// ---- pseudo-random records whose strings and padding are tidy

void FillRandom(void* p, std::size_t n, std::mt19937& rng) {
  auto* b = static_cast<std::uint8_t*>(p);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(rng());
}

// A length within the capacity and zero bytes after it.
template <int N>
void Tidy(TShortString<N>& s) {
  s.Len = static_cast<std::uint8_t>(s.Len % (N + 1));
  for (int i = s.Len; i < N; ++i) s.Chars[i] = 0;
}

void Tidy(TRecordTable& t) {
  for (auto& n : t.TimeNames) Tidy(n);
  for (auto& n : t.MoveNames) Tidy(n);
  std::memset(t.Pad1, 0, sizeof t.Pad1);
  std::memset(t.Pad2, 0, sizeof t.Pad2);
}

std::unique_ptr<TBoard> RandomBoard(std::mt19937& rng, bool tidy) {
  auto b = std::make_unique<TBoard>();
  FillRandom(b.get(), sizeof(TBoard), rng);
  if (tidy) {
    Tidy(b->Title);
    Tidy(b->Author);
    Tidy(b->RecommendedTileSet);
    Tidy(b->Records);
    for (auto& row : b->BotRecords)
      for (auto& t : row) Tidy(t);
    std::memset(b->Pad, 0, sizeof b->Pad);
  }
  return b;
}

std::unique_ptr<TPuzzle> RandomPuzzle(std::mt19937& rng, bool tidy) {
  auto p = std::make_unique<TPuzzle>();
  FillRandom(p.get(), sizeof(TPuzzle), rng);
  if (tidy) {
    Tidy(p->BoardName);
    Tidy(p->Title);
    Tidy(p->Author);
    Tidy(p->Records);
    std::memset(p->Pad, 0, sizeof p->Pad);
  }
  return p;
}

std::unique_ptr<TCampaign> RandomCampaign(std::mt19937& rng, bool tidy) {
  auto c = std::make_unique<TCampaign>();
  FillRandom(c.get(), sizeof(TCampaign), rng);
  if (tidy) {
    for (auto& l : c->Levels) Tidy(l);
    Tidy(c->Title);
    Tidy(c->Author);
    Tidy(c->Records);
    std::memset(c->Pad1, 0, sizeof c->Pad1);
    std::memset(c->Pad2, 0, sizeof c->Pad2);
  }
  return c;
}

// A playable 8 x 6 board with a bit of everything.
std::unique_ptr<TBoard> TwinRings() {
  auto b = EmptyBoard();
  b->Width = 8;
  b->Height = 6;
  b->StepsPerMove = 2;
  for (int x = 1; x <= 8; ++x)
    for (int y = 1; y <= 6; ++y) b->Cells[x][y] = (x == 1 || x == 8 || y == 1 || y == 6) ? 1 : 0;
  for (int x = 3; x <= 6; ++x) b->Cells[x][3] = 1;
  for (int x = 3; x <= 6; ++x) {
    b->Pattern.Tiles[x][2] = static_cast<std::uint8_t>(x - 2);
    b->Pattern.Tiles[x][4] = static_cast<std::uint8_t>(x + 2);
  }
  b->Pattern.Tiles[7][5] = 50;
  b->Pattern.Links[0] = {3, 2, 4, 2};
  b->Pattern.Links[1] = {5, 4, 6, 4};
  b->Turns[0] = {1, 1, 3};
  b->Turns[1] = {8, 6, 1};
  b->Jumps[0] = {1, 3, 2, 8, 3, 1};
  const char* word = "TWIN";
  for (int i = 0; i < 4; ++i) b->CellText[12 + i][12] = static_cast<std::uint8_t>(word[i]);
  b->Title.Assign("Twin Rings");
  b->Author.Assign("Zo\xEB Marsh");
  b->RecommendedTileSet.Assign("TS - Marble");
  UpdateRecordTable(b->Records, TRecordOrder::Ascending, 35, 40, "Ann");
  UpdateRecordTable(b->BotRecords[2][1], TRecordOrder::Descending, 12, 3, "Bob");
  return b;
}

template <class R>
void ExpectPacksBack(const std::string& text, const R& original, TGameFileKind kind) {
  const TPackedFile packed = PackText(text);
  EXPECT_EQ(packed.Kind, kind);
  ASSERT_EQ(packed.Bytes, BytesOf(original)) << text;
}

}  // namespace

// ---------------------------------------------------------------------------
// Round trips

TEST(TextFormatRoundTrip, HandMadeFilesNeedNoRawLines) {
  const auto board = TwinRings();
  const std::string bt = UnpackBoard(*board);
  EXPECT_TRUE(LinesStarting(bt, "raw ").empty()) << bt;
  ExpectPacksBack(bt, *board, TGameFileKind::Board);

  auto puzzle = EmptyPuzzle();
  puzzle->BoardName.Assign("Twin Rings");
  puzzle->IP = board->Pattern;
  puzzle->OP = board->Pattern;
  std::swap(puzzle->IP.Tiles[3][2], puzzle->IP.Tiles[6][4]);
  puzzle->TimeLimit = 300;
  puzzle->MovesLimit = -1;
  puzzle->Title.Assign("Swap");
  UpdateRecordTable(puzzle->Records, TRecordOrder::Ascending, 20, 7, "Carla");
  for (const TBoard* laidOn : {static_cast<const TBoard*>(nullptr), static_cast<const TBoard*>(board.get())}) {
    const std::string pt = UnpackPuzzle(*puzzle, laidOn);
    EXPECT_TRUE(LinesStarting(pt, "raw ").empty()) << pt;
    ExpectPacksBack(pt, *puzzle, TGameFileKind::Puzzle);
  }

  auto campaign = EmptyCampaign();
  for (int i = 0; i < MaxLevels; ++i) campaign->Levels[i].Assign("Level " + std::to_string(i + 1));
  campaign->Title.Assign("The Long Road");
  const std::string ct = UnpackCampaign(*campaign);
  EXPECT_TRUE(LinesStarting(ct, "raw ").empty()) << ct;
  EXPECT_EQ(LinesStarting(ct, "level ").size(), 255u);
  ExpectPacksBack(ct, *campaign, TGameFileKind::Campaign);
}

TEST(TextFormatRoundTrip, GarbageInEveryFieldComesBackByteForByte) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // Tidy strings and padding first, then wholly random records (stale bytes after a
    // string's end, lengths above the capacity): both come back exactly.
    const bool tidy = round < 30;
    const auto b = RandomBoard(rng, tidy);
    ExpectPacksBack(UnpackBoard(*b), *b, TGameFileKind::Board);
    const auto p = RandomPuzzle(rng, tidy);
    ExpectPacksBack(UnpackPuzzle(*p, nullptr), *p, TGameFileKind::Puzzle);
    ExpectPacksBack(UnpackPuzzle(*p, b.get()), *p, TGameFileKind::Puzzle);
    const auto c = RandomCampaign(rng, tidy);
    ExpectPacksBack(UnpackCampaign(*c), *c, TGameFileKind::Campaign);
  }
}

TEST(TextFormatRoundTrip, StrayBytesOfAPlayableBoardBecomeRawLines) {
  auto b = TwinRings();
  b->Cells[3][3] = 7;               // solid, but not the usual 1
  b->Pattern.Tiles[3][3] = 9;       // a tile on a solid cell
  b->Pattern.Tiles[12][10] = 4;     // a tile outside the board
  b->Turns[5] = {2, 2, 1};          // after the end of the list
  b->Pattern.Links[2].X2 = 7;       // behind the end marker of the links
  b->Pad[1] = 0x5A;
  const std::string text = UnpackBoard(*b);
  EXPECT_EQ(LinesStarting(text, "raw ").size(), 6u) << text;
  EXPECT_EQ(LinesStarting(text, "raw 15735 5A").size(), 1u) << text;
  ExpectPacksBack(text, *b, TGameFileKind::Board);

  auto p = EmptyPuzzle();
  p->Reserved[0] = 0x11;
  p->Reserved[3080] = 0x22;
  const std::string pt = UnpackPuzzle(*p, nullptr);
  EXPECT_EQ(LinesStarting(pt, "raw 1199 11").size(), 1u) << pt;
  EXPECT_EQ(LinesStarting(pt, "raw 4279 22").size(), 1u) << pt;
  ExpectPacksBack(pt, *p, TGameFileKind::Puzzle);

  // Names after the first empty level are not levels, but they are kept.
  auto c = EmptyCampaign();
  c->Levels[0].Assign("One");
  c->Levels[2].Assign("Three");
  const std::string ct = UnpackCampaign(*c);
  EXPECT_EQ(LinesStarting(ct, "level ").size(), 1u) << ct;
  ExpectPacksBack(ct, *c, TGameFileKind::Campaign);
}

TEST(TextFormatRoundTrip, EveryByteValueSurvivesInStrings) {
  auto c = EmptyCampaign();
  for (int v = 1; v <= 255; ++v) {
    std::string name(1, static_cast<char>(v));
    name += "x";
    c->Levels[v - 1].Assign(name);
  }
  c->Title.Assign("\"quoted\" \\ back");
  const std::string text = UnpackCampaign(*c);
  EXPECT_TRUE(LinesStarting(text, "raw ").empty()) << text;
  ExpectPacksBack(text, *c, TGameFileKind::Campaign);
  // Letters of Windows-1252 are written as UTF-8, control bytes as escapes.
  EXPECT_EQ(LinesStarting(text, "level \"\xC3\xA9x\"").size(), 1u);      // 0xE9
  EXPECT_EQ(LinesStarting(text, "level \"\xE2\x82\xACx\"").size(), 1u);  // 0x80
  EXPECT_EQ(LinesStarting(text, "level \"\\x01x\"").size(), 1u);
  EXPECT_EQ(LinesStarting(text, "level \"\\x81x\"").size(), 1u);
  EXPECT_EQ(LinesStarting(text, "title \"\\\"quoted\\\" \\\\ back\"").size(), 1u);
}

TEST(TextFormatRoundTrip, InscriptionsOnASpaceBackgroundStayWhole) {
  auto b = TwinRings();
  std::memset(b->CellText, ' ', sizeof b->CellText);
  const std::string words = "HELLO  WORLD";
  for (std::size_t i = 0; i < words.size(); ++i) b->CellText[i][0] = static_cast<std::uint8_t>(words[i]);
  b->CellText[119][89] = '!';
  const std::string text = UnpackBoard(*b);
  EXPECT_EQ(LinesStarting(text, "text-fill \" \"").size(), 1u) << text;
  const auto lines = LinesStarting(text, "text ");
  ASSERT_EQ(lines.size(), 2u) << text;
  EXPECT_EQ(lines[0], "text 1 1 \"HELLO  WORLD\"");
  EXPECT_EQ(lines[1], "text 120 90 \"!\"");
  ExpectPacksBack(text, *b, TGameFileKind::Board);
}

// ---------------------------------------------------------------------------
// Records tables

TEST(TextFormatRecords, EmptyTablesWriteNothingAndFullOnesAreKept) {
  auto b = TwinRings();
  ClearRecordTable(b->Records, TRecordOrder::Ascending);
  ClearRecordTable(b->BotRecords[2][1], TRecordOrder::Descending);
  const std::string empty = UnpackBoard(*b);
  EXPECT_TRUE(LinesStarting(empty, "record").empty()) << empty;
  EXPECT_TRUE(LinesStarting(empty, "bot-record").empty()) << empty;

  // Fill every list, with names of every length, in one table of each order.
  for (int i = 0; i < 12; ++i) {
    UpdateRecordTable(b->Records, TRecordOrder::Ascending, 100 - i, 200 - i, std::string(static_cast<std::size_t>(i + 1), 'a'));
    UpdateRecordTable(b->BotRecords[1][2], TRecordOrder::Descending, i + 1, 2 * i + 1, "Player " + std::to_string(i));
  }
  const std::string text = UnpackBoard(*b);
  EXPECT_EQ(LinesStarting(text, "record time ").size(), 10u);
  EXPECT_EQ(LinesStarting(text, "record moves ").size(), 10u);
  EXPECT_EQ(LinesStarting(text, "bot-record medium high ").size(), 20u);
  EXPECT_EQ(LinesStarting(text, "record time 1 \"aaaaaaaaaaaa\" 89").size(), 1u) << text;
  EXPECT_EQ(LinesStarting(text, "bot-record medium high moves 1 \"Player 11\" 23").size(), 1u) << text;
  ExpectPacksBack(text, *b, TGameFileKind::Board);

  // A later result that fits keeps its place through the text.
  const auto packed = FromBytes<TBoard>(PackText(text).Bytes);
  TBoard again = *packed;
  const TRecordsUpdate u = UpdateRecordTable(again.Records, TRecordOrder::Ascending, 95, 500, "Dan");
  EXPECT_EQ(u.TimePosition, 8);  // after 89..95
  EXPECT_EQ(u.MovesPosition, 11);
}

TEST(TextFormatRecords, PuzzleAndCampaignTablesAreAscending) {
  const auto p = FromBytes<TPuzzle>(PackText("kind puzzle\nrecord moves 2 \"Eve\" 31\n").Bytes);
  EXPECT_EQ(p->Records.MoveNames[1].Str(), "Eve");
  EXPECT_EQ(p->Records.MoveValues[1], 31);
  EXPECT_EQ(p->Records.MoveValues[0], EmptyRecord);
  EXPECT_EQ(p->Records.TimeValues[9], EmptyRecord);

  const auto c = FromBytes<TCampaign>(PackText("kind campaign\nrecord time 1 \"Al\" 4000\n").Bytes);
  EXPECT_EQ(c->Records.TimeValues[0], 4000);
  EXPECT_EQ(c->Records.TimeValues[1], EmptyRecord);
  EXPECT_EQ(c->Records.MoveValues[0], EmptyRecord);
}

// ---------------------------------------------------------------------------
// Puzzles and their boards

TEST(TextFormatPuzzle, GridsLaidOnTheBoardPackLikeBareOnes) {
  const auto board = TwinRings();
  auto p = EmptyPuzzle();
  p->BoardName.Assign("Twin Rings");
  p->IP.Tiles[2][2] = 1;
  p->OP.Tiles[1][1] = 5;  // on a frame cell: the tile is shown, not the ##
  const std::string laid = UnpackPuzzle(*p, board.get(), "laid on Twin Rings");
  const std::string bare = UnpackPuzzle(*p, nullptr);
  EXPECT_NE(laid.find("\nip\n## ## ## ## ## ## ## ##\n##  1 .. .. .. .. .. ##\n## .. ## ## ## ## .. ##\n"), std::string::npos)
      << laid;
  EXPECT_NE(laid.find("\nop\n 5 ## ## ## ## ## ## ##\n"), std::string::npos) << laid;
  EXPECT_NE(laid.find("\n# laid on Twin Rings\n"), std::string::npos);
  // Without the board the grids reach as far as the tiles.
  EXPECT_NE(bare.find("\nip\n.. ..\n..  1\nend\n"), std::string::npos) << bare;
  EXPECT_EQ(PackText(laid).Bytes, PackText(bare).Bytes);
  ExpectPacksBack(laid, *p, TGameFileKind::Puzzle);

  // A tile outside the board widens the grids instead of hiding in raw bytes.
  p->IP.Tiles[12][9] = 3;
  const std::string wide = UnpackPuzzle(*p, board.get());
  EXPECT_TRUE(LinesStarting(wide, "raw ").empty()) << wide;
  EXPECT_NE(wide.find("\n.. .. .. .. .. .. .. .. .. .. ..  3\nend\n"), std::string::npos) << wide;
  ExpectPacksBack(wide, *p, TGameFileKind::Puzzle);
}

TEST(TextFormatPuzzle, WithoutTilesOrBoardTheGridsCoverTheWholeArea) {
  const auto p = EmptyPuzzle();
  const std::string text = UnpackPuzzle(*p, nullptr);
  std::string dots;
  for (int x = 0; x < 20; ++x) dots += x ? " .." : "..";
  std::size_t rows = 0;
  for (std::size_t at = text.find(dots); at != std::string::npos; at = text.find(dots, at + 1)) ++rows;
  EXPECT_EQ(rows, 30u) << text;
  ExpectPacksBack(text, *p, TGameFileKind::Puzzle);
}

// ---------------------------------------------------------------------------
// Texts written by hand

// The example of docs/text-format.md.
const char* const DocsBoard = R"(# Two rows of tiles around a pillar.
kind board
title "Twin Rings"
author "Zoë Marsh"
tile-set "TS - Marble"
size 8 6
steps-per-move 1
grid
## ## ## ## ## ## ## ##
## ..  1  2  3  4 .. ##
## .. ## ## ## ## .. ##
## ..  5  6  7  8 .. ##
## .. .. .. .. .. 12 ##
## ## ## ## ## ## ## ##
end
link 3 2 4 2          # tiles 2 and 3 move together
turn 1 1 bottom-right
turn 8 6 top-left
jump 1 3 right 8 3 left
text 13 13 "TWIN"
record time 1 "Ann" 35
record moves 1 "Ann" 40
bot-record fast high moves 1 "Bob" 3
)";

TEST(TextFormatHandWritten, TheDocumentedBoardPacksToItsFields) {
  const TPackedFile packed = PackText(DocsBoard);
  ASSERT_EQ(packed.Kind, TGameFileKind::Board);
  const auto b = FromBytes<TBoard>(packed.Bytes);
  EXPECT_FALSE(CheckBoard(*b).has_value()) << *CheckBoard(*b);
  EXPECT_EQ(b->Width, 8);
  EXPECT_EQ(b->Height, 6);
  EXPECT_EQ(b->StepsPerMove, 1);
  EXPECT_EQ(b->Title.Str(), "Twin Rings");
  EXPECT_EQ(b->Author.Str(), "Zo\xEB Marsh");  // Windows-1252
  EXPECT_EQ(b->RecommendedTileSet.Str(), "TS - Marble");
  EXPECT_EQ(b->Cells[1][1], 1);
  EXPECT_EQ(b->Cells[2][2], 0);
  EXPECT_EQ(b->Cells[4][3], 1);
  EXPECT_EQ(b->Cells[9][1], 0);  // outside the board
  EXPECT_EQ(b->Pattern.Tiles[3][2], 1);
  EXPECT_EQ(b->Pattern.Tiles[6][4], 8);
  EXPECT_EQ(b->Pattern.Tiles[7][5], 12);
  EXPECT_EQ(CountTiles(b->Pattern), 9);
  EXPECT_EQ(CountLinks(b->Pattern), 1);
  EXPECT_EQ(b->Pattern.Links[0].X1, 3);
  EXPECT_EQ(b->Pattern.Links[0].X2, 4);
  EXPECT_EQ(b->Turns[0].Corner, 3);
  EXPECT_EQ(b->Turns[1].X, 8);
  EXPECT_EQ(b->Turns[1].Corner, 1);
  EXPECT_EQ(b->Turns[2].X, 0);
  const TJump j = b->Jumps[0];
  EXPECT_EQ(j.X1, 1);
  EXPECT_EQ(j.Side1, DirRight);
  EXPECT_EQ(j.X2, 8);
  EXPECT_EQ(j.Side2, DirLeft);
  EXPECT_EQ(b->Jumps[1].X1, 0);
  EXPECT_EQ(b->CellText[12][12], 'T');
  EXPECT_EQ(b->CellText[15][12], 'N');
  EXPECT_EQ(b->CellText[16][12], 0);
  EXPECT_EQ(b->Records.TimeNames[0].Str(), "Ann");
  EXPECT_EQ(b->Records.TimeValues[0], 35);
  EXPECT_EQ(b->Records.TimeValues[1], EmptyRecord);
  EXPECT_EQ(b->Records.MoveValues[0], 40);
  EXPECT_EQ(b->BotRecords[2][2].MoveNames[0].Str(), "Bob");
  EXPECT_EQ(b->BotRecords[2][2].MoveValues[0], 3);
  EXPECT_EQ(b->BotRecords[2][2].TimeValues[0], 0);
  EXPECT_EQ(b->BotRecords[0][0].MoveValues[0], 0);
  // Nothing but the fields: the rest of the record stays zero.
  EXPECT_EQ(b->Pad[0] | b->Pad[1], 0);
  EXPECT_EQ(b->Title.Chars[10], 0);
}

TEST(TextFormatHandWritten, PuzzleAndCampaign) {
  const auto p = FromBytes<TPuzzle>(PackText(R"(kind puzzle
title "Swap"
board "Twin Rings"
time-limit 300
moves-limit none
ip
## ## ## ##
## ..  4  3
end
ip-link 3 2 4 2
op
.. .. .. ..
.. ..  3  4
end
)")
                                        .Bytes);
  EXPECT_EQ(p->BoardName.Str(), "Twin Rings");
  EXPECT_EQ(p->Title.Str(), "Swap");
  EXPECT_EQ(p->TimeLimit, 300);
  EXPECT_EQ(p->MovesLimit, 0);
  EXPECT_EQ(p->IP.Tiles[1][1], 0);  // ## is no tile
  EXPECT_EQ(p->IP.Tiles[3][2], 4);
  EXPECT_EQ(p->OP.Tiles[3][2], 3);
  EXPECT_EQ(CountLinks(p->IP), 1);
  EXPECT_EQ(CountLinks(p->OP), 0);
  EXPECT_FALSE(PatternsEqual(p->IP, p->OP));

  const auto c = FromBytes<TCampaign>(PackText("\xEF\xBB\xBFkind campaign\r\ntitle \"Road\"\r\nlevel \"Swap\"\r\n"
                                               "level \"Caf\xC3\xA9 \\x80\"\r\n")
                                          .Bytes);
  EXPECT_EQ(LevelCount(*c), 2);
  EXPECT_EQ(c->Levels[0].Str(), "Swap");
  EXPECT_EQ(c->Levels[1].Str(), "Caf\xE9 \x80");
  EXPECT_EQ(c->Title.Str(), "Road");
}

// ---------------------------------------------------------------------------
// Mistakes

struct TMistake {
  const char* Text;
  int Line;
  const char* Says;
};

TEST(TextFormatErrors, MistakesAreReportedWithTheirLine) {
  const TMistake cases[] = {
      {"", 1, "must begin with 'kind"},
      {"# only a comment\n\ntitle \"x\"\n", 3, "must begin with 'kind"},
      {"kind carpet\n", 1, "unknown kind 'carpet'"},
      {"kind board\nsize 5 5\nscramble 42\n", 3, "unknown directive 'scramble'"},
      {"kind campaign\njump 1 1 left 2 2 right\n", 2, "unknown directive 'jump' in a campaign"},
      {"kind board\ntitle \"one\"\ntitle \"two\"\n", 3, "given twice (first on line 2)"},
      {"kind board\ntitle \"abcdefghijklmnopqrstu\"\n", 2, "at most 20 fit"},
      {"kind board\ntitle untitled\n", 2, "between double quotes"},
      {"kind board\ntitle \"open\n", 2, "no closing quote"},
      {"kind board\ntitle \"a\\qb\"\n", 2, "unknown escape \\q"},
      {"kind board\ntitle \"a\\x4\"\n", 2, "two hexadecimal digits"},
      {"kind board\ntitle \"snow \xE2\x98\x83\"\n", 2, "U+2603 has no Windows-1252 byte"},
      {"kind board\ntitle \"bad \xC3(\"\n", 2, "not valid UTF-8"},
      {"kind board\nsize 5 300\n", 2, "the height must be a whole number 0..255"},
      {"kind board\nsize 5\n", 2, "'size' takes the width and the height"},
      {"kind board\nsize 3 3\n\ngrid\n## ## ##\n## ## ##\nend\n", 4, "the grid has 2 rows; the board is 3 rows high"},
      {"kind board\nsize 3 3\ngrid\n## ## ##\n## .. ## ##\n## ## ##\nend\n", 5, "the row has 4 cells"},
      {"kind board\nsize 3 3\ngrid\n## ## ##\n## .  ##\n## ## ##\nend\n", 5, "'.' is not a cell"},
      {"kind board\nsize 3 3\ngrid\n## ## ##\n", 3, "has no 'end'"},
      {"kind board\ntitle \"x\"\n", 1, "a board needs 'size WIDTH HEIGHT'"},
      {"kind board\nsize 3 3\n", 2, "needs a grid of 3 rows of 3 cells"},
      {"kind board\nsize 3 3\nturn 2 2 middle\n", 3, "unknown corner 'middle'"},
      {"kind board\nsize 3 3\nlink 0 1 2 2\n", 3, "X1 must be a whole number 1..255"},
      {"kind board\nsize 3 3\nbot-record fast clever time 1 \"A\" 3\n", 3, "unknown computer accuracy 'clever'"},
      {"kind puzzle\nrecord time 11 \"A\" 3\n", 2, "the position must be a whole number 1..10"},
      {"kind puzzle\nrecord time 1 \"A\" 3\nrecord time 1 \"B\" 4\n", 3, "given twice (first on line 2)"},
      {"kind puzzle\nrecord time 1 \"Somebody Longer\" 3\n", 2, "at most 12 fit"},
      {"kind puzzle\nip\n 1  2\n 3\nend\n", 4, "the first row has 2"},
      {"kind puzzle\ntime-limit soon\n", 2, "time-limit must be a whole number"},
      {"kind campaign\nlevel \"\"\n", 2, "would end the list of levels"},
      {"kind campaign\nraw 13396 00\n", 2, "the offset must be a whole number 0..13395"},
      {"kind campaign\nraw 13395 0000\n", 2, "run past the end of the record"},
      {"kind campaign\nraw 0 0G\n", 2, "pairs of hexadecimal digits"},
      {"kind campaign\nkind board\n", 2, "'kind' is given twice"},
  };
  for (const TMistake& m : cases) {
    SCOPED_TRACE(m.Text);
    try {
      PackText(m.Text);
      ADD_FAILURE() << "packed without complaint";
    } catch (const ETextFormatError& e) {
      EXPECT_EQ(e.Line, m.Line) << e.what();
      EXPECT_NE(std::string(e.what()).find(m.Says), std::string::npos) << e.what();
    }
  }
}

TEST(TextFormatErrors, TooManyListEntries) {
  std::string text = "kind board\nsize 3 3\ngrid\n## ## ##\n## .. ##\n## ## ##\nend\n";
  for (int i = 0; i < 51; ++i) text += "turn 1 1 top-left\n";
  try {
    PackText(text);
    ADD_FAILURE() << "51 turns packed";
  } catch (const ETextFormatError& e) {
    EXPECT_EQ(e.Line, 7 + 51);
  }
  std::string campaign = "kind campaign\n";
  for (int i = 0; i < 256; ++i) campaign += "level \"L\"\n";
  EXPECT_THROW(PackText(campaign), ETextFormatError);
}

// ---------------------------------------------------------------------------
// Puzzles scrambled from their objective: `op board` and `ip scramble`

namespace {

// The classic eight in a 5 x 5 frame, with tiles 1 and 2 glued when `glued`.
std::unique_ptr<TBoard> ClassicEight(bool glued = false) {
  auto b = EmptyBoard();
  b->Width = 5;
  b->Height = 5;
  b->StepsPerMove = 1;
  for (int x = 1; x <= 5; ++x)
    for (int y = 1; y <= 5; ++y) b->Cells[x][y] = (x == 1 || x == 5 || y == 1 || y == 5) ? 1 : 0;
  int face = 1;
  for (int y = 2; y <= 4; ++y)
    for (int x = 2; x <= 4; ++x)
      if (!(x == 4 && y == 4)) b->Pattern.Tiles[x][y] = static_cast<std::uint8_t>(face++);
  if (glued) b->Pattern.Links[0] = {2, 2, 3, 2};
  return b;
}

const char* ScrambledText =
    "kind puzzle\n"
    "title \"Shuffle\"\n"
    "board \"Eight\"\n"
    "op board\n"
    "ip scramble 42\n";

TBoardLookup Only(const std::string& name, const TBoard* b) {
  return [name, b](const std::string& n) -> const TBoard* { return SameTextIgnoringCase(n, name) ? b : nullptr; };
}

std::vector<int> Faces(const TPattern& p) {
  std::vector<int> out;
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y)
      if (p.Tiles[x][y]) out.push_back(p.Tiles[x][y]);
  std::sort(out.begin(), out.end());
  return out;
}

// Plays pushes from a pattern on a board as a player's gestures.
TPattern Play(const TBoard& b, const TPattern& from, const std::vector<TPushStep>& pushes) {
  auto s = std::make_unique<TGameState>();
  s->Game.Board = b;
  s->Game.Current = from;
  TMoveEngine engine(*s);
  for (const TPushStep& p : pushes)
    for (int k = 0; k < b.StepsPerMove; ++k) engine.TryPush(false, false, p.X, p.Y, p.Dir);
  return s->Game.Current;
}

}  // namespace

TEST(TextFormatScramble, TheObjectiveIsTheBoardsAndTheStartIsAReproducibleScramble) {
  const auto board = ClassicEight();
  const TPackedFile a = PackText(ScrambledText, Only("eight", board.get()));
  const TPackedFile b = PackText(ScrambledText, Only("eight", board.get()));
  ASSERT_EQ(a.Kind, TGameFileKind::Puzzle);
  EXPECT_EQ(a.Bytes, b.Bytes);  // the same seed gives the same puzzle
  const auto p = FromBytes<TPuzzle>(a.Bytes);
  EXPECT_EQ(std::memcmp(&p->OP, &board->Pattern, sizeof(TPattern)), 0);
  EXPECT_FALSE(PatternsEqual(p->IP, p->OP));
  EXPECT_EQ(Faces(p->IP), Faces(p->OP));
  ASSERT_TRUE(a.Scrambled);
  ASSERT_FALSE(a.Solution.empty());
  EXPECT_TRUE(PatternsEqual(Play(*board, p->IP, a.Solution), p->OP));
  // Another seed gives another start; the text without the lookup cannot be packed.
  std::string other = ScrambledText;
  other.replace(other.find("42"), 2, "43");
  const auto q = FromBytes<TPuzzle>(PackText(other, Only("Eight", board.get())).Bytes);
  EXPECT_FALSE(PatternsEqual(q->IP, p->IP));
  EXPECT_THROW(PackText(ScrambledText), ETextFormatError);
}

TEST(TextFormatScramble, ACountOfPushesMakesExactlyThatManyPositionChanges) {
  const auto board = ClassicEight();
  for (const int pushes : {1, 3, 12}) {
    const TPuzzleScramble s = ScramblePuzzle(*board, board->Pattern, 7, pushes);
    ASSERT_TRUE(s.Made);
    EXPECT_EQ(ListLength(s.History), pushes);  // one step a push on a board without links
    EXPECT_FALSE(PatternsEqual(s.IP, board->Pattern));
    std::vector<TPushStep> played;
    EXPECT_TRUE(ReplayScript(*board, s.IP, board->Pattern, s.History, &played));
    EXPECT_LE(static_cast<int>(played.size()), pushes);
  }
  // The game's own count: four pushes a tile, give or take five.
  const TPuzzleScramble full = ScramblePuzzle(*board, board->Pattern, 7, 0);
  EXPECT_GE(ListLength(full.History), 8 * 4 - 5);
  EXPECT_LE(ListLength(full.History), 8 * 4 + 5);
}

TEST(TextFormatScramble, GluedTilesAndAnExplicitObjective) {
  const auto board = ClassicEight(true);
  const std::string text =
      "kind puzzle\nboard \"Eight\"\n"
      "op\n## ## ## ## ##\n##  8  7  6 ##\n##  5  4  3 ##\n##  2  1 .. ##\n## ## ## ## ##\nend\n"
      "op-link 3 4 2 4\n"
      "ip scramble 5 10\n";
  const TPackedFile f = PackText(text, Only("Eight", board.get()));
  const auto p = FromBytes<TPuzzle>(f.Bytes);
  EXPECT_EQ(p->OP.Tiles[2][2], 8);
  EXPECT_FALSE(PatternsEqual(p->IP, p->OP));
  // The glued pair travels with the scramble: the link still joins tiles 1 and 2.
  ASSERT_EQ(CountLinks(p->IP), 1);
  const TLink l = p->IP.Links[0];
  EXPECT_EQ(p->IP.Tiles[l.X1][l.Y1], 1);
  EXPECT_EQ(p->IP.Tiles[l.X2][l.Y2], 2);
  EXPECT_TRUE(PatternsEqual(Play(*board, p->IP, f.Solution), p->OP));
}

TEST(TextFormatScramble, AReplayThatDoesNotLeadBackIsFound) {
  const auto board = ClassicEight();
  const TPuzzleScramble s = ScramblePuzzle(*board, board->Pattern, 3, 6);
  ASSERT_TRUE(s.Made);
  TMoveList empty;
  ClearList(empty);
  EXPECT_FALSE(ReplayScript(*board, s.IP, board->Pattern, empty, nullptr));
  // A script whose first push cannot move anything: the computer would try it for ever.
  TMoveList stuck;
  ClearList(stuck);
  AppendEntry(stuck, 2, 2, DirLeft, 0);
  EXPECT_FALSE(ReplayScript(*board, board->Pattern, s.IP, stuck, nullptr));
  // An entry on an empty cell is dropped, as the computer drops it.
  int ex = 0, ey = 0;
  for (int x = 2; x <= 4; ++x)
    for (int y = 2; y <= 4; ++y)
      if (s.IP.Tiles[x][y] == 0) ex = x, ey = y;
  ASSERT_NE(ex, 0);
  TMoveList withGap;
  ClearList(withGap);
  AppendEntry(withGap, ex, ey, DirLeft, 0);
  AppendList(withGap, s.History);
  std::vector<TPushStep> played;
  EXPECT_TRUE(ReplayScript(*board, s.IP, board->Pattern, withGap, &played));
  ASSERT_FALSE(played.empty());
  EXPECT_FALSE(played[0].X == ex && played[0].Y == ey);
  // Already solved: nothing to play.
  played.clear();
  EXPECT_TRUE(ReplayScript(*board, board->Pattern, board->Pattern, empty, &played));
  EXPECT_TRUE(played.empty());
}

TEST(TextFormatScramble, Mistakes) {
  const auto board = ClassicEight();
  auto full = ClassicEight();
  full->Pattern.Tiles[4][4] = 9;  // nothing can move
  const TBoardLookup lookup = [&](const std::string& n) -> const TBoard* {
    if (n == "Eight") return board.get();
    if (n == "Full") return full.get();
    return nullptr;
  };
  struct TCase {
    std::string Text;
    int Line;
    std::string Words;
  };
  const std::vector<TCase> cases = {
      {"kind puzzle\nip scramble 1\n", 2, "give its name"},
      {"kind puzzle\nboard \"Nine\"\nop board\n", 3, "'Nine' is not found"},
      {"kind puzzle\nboard \"Full\"\nop board\nip scramble 1\n", 4, "cannot be scrambled"},
      {"kind puzzle\nboard \"Eight\"\nop board\nip scramble 1\nip-link 2 2 3 2\n", 5, "cannot go with 'ip scramble'"},
      {"kind puzzle\nboard \"Eight\"\nop-link 2 2 3 2\nop board\n", 3, "cannot go with 'op board'"},
      {"kind puzzle\nboard \"Eight\"\nop board\nip scramble 1\nip\n 1\nend\n", 5, "given twice"},
      {"kind puzzle\nboard \"Eight\"\nop board\nop board\n", 4, "given twice"},
      {"kind puzzle\nboard \"Eight\"\nop tiles\n", 3, "'op board'"},
      {"kind puzzle\nboard \"Eight\"\nip shuffle 3\n", 3, "'ip scramble SEED [PUSHES]'"},
      {"kind puzzle\nboard \"Eight\"\nip scramble -1\n", 3, "the seed"},
      {"kind puzzle\nboard \"Eight\"\nip scramble 4294967296\n", 3, "the seed"},
      {"kind puzzle\nboard \"Eight\"\nip scramble 1 0\n", 3, "the number of pushes"},
      {"kind puzzle\nboard \"Eight\"\nip scramble 1 501\n", 3, "the number of pushes"},
      {"kind puzzle\nboard \"Eight\"\nip scramble 1 2 3\n", 3, "'ip scramble SEED [PUSHES]'"},
      {"kind board\nsize 3 3\ngrid board\n", 3, "stands alone"},
  };
  for (const TCase& c : cases) {
    try {
      PackText(c.Text, lookup);
      ADD_FAILURE() << "accepted: " << c.Text;
    } catch (const ETextFormatError& e) {
      EXPECT_EQ(e.Line, c.Line) << c.Text << e.what();
      EXPECT_NE(e.Message.find(c.Words), std::string::npos) << c.Text << " -> " << e.Message;
    }
  }
  // Without the scramble no board is asked for.
  int asked = 0;
  PackText("kind puzzle\nboard \"Eight\"\nop\n 1\nend\n", [&](const std::string&) -> const TBoard* {
    ++asked;
    return nullptr;
  });
  EXPECT_EQ(asked, 0);
}

// ---------------------------------------------------------------------------
// The configuration

TEST(TextFormatConfig, EveryRecordComesBackByteForByte) {
  std::mt19937 rng(99);
  for (int i = 0; i < 20; ++i) {
    TConfig c;
    FillRandom(&c, sizeof c, rng);
    if (i % 2 == 0) {  // tidy strings and flags, like a real file
      for (auto* s : {&c.BoardName, &c.PuzzleName, &c.CampaignName, &c.BoardGraphics, &c.TileSet, &c.MusicFile}) Tidy(*s);
      Tidy(c.PlayerName);
      Tidy(c.PicturePath);
      c.SoundsOn = 1;
      c.MusicOn = 0;
    }
    const std::string text = UnpackConfig(c);
    EXPECT_TRUE(IsConfigText(text));
    const std::vector<std::uint8_t> bytes = PackConfigText(text);
    ASSERT_EQ(bytes, BytesOf(c)) << text;
    if (i % 2 == 0) {
      EXPECT_EQ(LinesStarting(text, "sounds-on "), std::vector<std::string>{"sounds-on yes"});
      EXPECT_EQ(LinesStarting(text, "music-on "), std::vector<std::string>{"music-on no"});
    } else {
      EXPECT_FALSE(LinesStarting(text, "raw ").empty());
    }
  }
}

TEST(TextFormatConfig, AHandWrittenConfiguration) {
  const std::string text =
      "\xEF\xBB\xBF# first run\r\n"
      "kind config\r\n"
      "game-mode 1\n"
      "board-name \"Classic 4 x 4\"\n"
      "player-name \"Zo\xC3\xAB\"   # Windows-1252 in the file\n"
      "sounds-on yes\n"
      "show-welcome 1\n"
      "music-mode 2\n"
      "picture-x -3\n"
      "picture-y 2147483647\n"
      "raw 161 0102\n";
  const std::vector<std::uint8_t> bytes = PackConfigText(text);
  TConfig c;
  ASSERT_EQ(bytes.size(), sizeof c);
  std::memcpy(&c, bytes.data(), sizeof c);
  EXPECT_EQ(c.GameMode, 1);
  EXPECT_EQ(c.BoardName.Str(), "Classic 4 x 4");
  EXPECT_EQ(c.PlayerName.Str(), "Zo\xEB");
  EXPECT_EQ(c.SoundsOn, 1);
  EXPECT_EQ(c.ShowWelcome, 1);
  EXPECT_EQ(c.MusicMode, 2);
  EXPECT_EQ(c.PictureX, -3);
  EXPECT_EQ(c.PictureY, 2147483647);
  EXPECT_EQ(c.Reserved[0], 1);
  EXPECT_EQ(c.Reserved[1], 2);
  EXPECT_EQ(c.MusicOn, 0);  // left out: zero
  EXPECT_TRUE(c.TileSet.Empty());
  EXPECT_TRUE(IsConfigText(text));
  EXPECT_FALSE(IsConfigText("kind board\n"));
  EXPECT_FALSE(IsConfigText("# nothing\n"));
}

TEST(TextFormatConfig, Mistakes) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"game-mode 1\n", 1},
      {"kind config\ngame-mode 256\n", 2},
      {"kind config\nsounds-on maybe\n", 2},
      {"kind config\nboard-name Classic\n", 2},
      {"kind config\nplayer-name \"123456789012345678901\"\n", 2},
      {"kind config\ngame-mode 1\ngame-mode 2\n", 3},
      {"kind config\ncolour 3\n", 2},
      {"kind config\npicture-x 2147483648\n", 2},
      {"kind config\nmusic-mode 1 2\n", 2},
      {"kind config\nkind config\n", 2},
      {"kind config\nraw 771 0000\n", 2},
      {"kind config\nraw 772 00\n", 2},
      {"", 1},
  };
  for (const auto& [text, line] : cases) {
    try {
      PackConfigText(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ETextFormatError& e) {
      EXPECT_EQ(e.Line, line) << text << e.what();
    }
  }
}
