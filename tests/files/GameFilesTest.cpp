// The game files on disk: boards, puzzles, campaigns, saved games and the
// configuration. Each is one record, stored byte for byte; loading checks what
// the engine relies on and leaves the caller's record alone when anything fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "files/GameFiles.h"
#include "files/Records.h"
#include "files/RecordsTable.h"

using namespace pav;
namespace fs = std::filesystem;

namespace {

class TempDir {
 public:
  TempDir() {
    std::string t = (fs::temp_directory_path() / "pavilore-files-XXXXXX").string();
    if (!::mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
    Path = t;
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string operator/(const std::string& rel) const { return Path + "/" + rel; }
  std::string Path;
};

using Bytes = std::vector<unsigned char>;

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

template <class R>
Bytes BytesOf(const R& r) {
  const auto* p = reinterpret_cast<const unsigned char*>(&r);
  return Bytes(p, p + sizeof r);
}

template <class R>
std::unique_ptr<R> RandomRecord(unsigned seed) {
  auto r = std::make_unique<R>();
  std::mt19937 rng(seed);
  auto* p = reinterpret_cast<unsigned char*>(r.get());
  for (std::size_t i = 0; i < sizeof(R); ++i) p[i] = static_cast<unsigned char>(rng());
  return r;
}

std::int32_t Le32(const Bytes& b, std::size_t off) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b.at(off)) | static_cast<std::uint32_t>(b.at(off + 1)) << 8 |
                                   static_cast<std::uint32_t>(b.at(off + 2)) << 16 |
                                   static_cast<std::uint32_t>(b.at(off + 3)) << 24);
}

// The text of a length-prefixed string stored at `off`.
std::string StrAt(const Bytes& b, std::size_t off) {
  return std::string(reinterpret_cast<const char*>(b.data() + off + 1), b.at(off));
}

// Random pattern data that the checks accept: faces 0..50 on the cells that
// carry data, links inside the grid up to an end after `links` entries. The
// cells around the grid and the entries after the end keep their random bytes,
// which nothing may check or change.
void MakePatternValid(TPattern& p, int links, unsigned seed) {
  std::mt19937 rng(seed);
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y) p.Tiles[x][y] = static_cast<std::uint8_t>(rng() % (MaxTileFace + 1));
  for (int i = 0; i < links; ++i)
    p.Links[i] = {static_cast<std::uint8_t>(1 + rng() % 20), static_cast<std::uint8_t>(1 + rng() % 15),
                  static_cast<std::uint8_t>(1 + rng() % 20), static_cast<std::uint8_t>(1 + rng() % 15)};
  if (links < MaxLinks) {
    p.Links[links].X1 = 0;
    for (int i = links + 1; i < MaxLinks; ++i) p.Links[i].X1 = static_cast<std::uint8_t>(100 + i);
  }
}

// A 12 x 9 board of random bytes that passes the checks: a solid frame, one
// pair of jump mouths in the frame opening onto the inside, and random bytes
// wherever the checks do not look.
std::unique_ptr<TBoard> ValidBoard(unsigned seed) {
  auto b = RandomRecord<TBoard>(seed);
  b->Width = 12;
  b->Height = 9;
  for (int x = 1; x <= b->Width; ++x)
    for (int y = 1; y <= b->Height; ++y)
      if (x == 1 || y == 1 || x == b->Width || y == b->Height) b->Cells[x][y] |= 1;
  b->StepsPerMove = 1 + b->StepsPerMove % 3;
  MakePatternValid(b->Pattern, 3, seed + 1);
  b->Jumps[0] = {1, 4, DirRight, 12, 6, DirLeft};
  b->Jumps[1] = {4, 1, DirDown, 7, 9, DirUp};
  b->Jumps[2].X1 = 0;
  b->Jumps[3] = {200, 200, 9, 0, 0, 0};  // after the end of the list
  return b;
}

// A name of random bytes that can name a file.
template <int N>
void MakeNameValid(TShortString<N>& n) {
  for (char& ch : n.Chars)
    if (FileNameProblem(std::string(1, ch)) || ch == '.') ch = 'n';
}

std::unique_ptr<TCampaign> ValidCampaign(unsigned seed) {
  auto c = RandomRecord<TCampaign>(seed);
  for (auto& level : c->Levels) MakeNameValid(level);
  return c;
}

std::unique_ptr<TPuzzle> ValidPuzzle(unsigned seed) {
  auto p = RandomRecord<TPuzzle>(seed);
  MakeNameValid(p->BoardName);
  MakePatternValid(p->IP, 2, seed + 1);
  MakePatternValid(p->OP, 0, seed + 2);
  p->TimeLimit &= 0x7fffffff;
  p->MovesLimit &= 0x7fffffff;
  return p;
}

std::unique_ptr<TSavedGame> ValidSavedGame(unsigned seed) {
  auto g = RandomRecord<TSavedGame>(seed);
  MakePatternValid(g->Current, 5, seed + 1);
  MakePatternValid(g->OP, 5, seed + 2);
  MakeNameValid(g->BoardName);
  MakeNameValid(g->PuzzleName);
  MakeNameValid(g->CampaignName);
  // A full move list on the grid, counters that are not negative, a turn of a match.
  for (int i = 0; i < MoveListSize; ++i) {
    g->History.X[i] = static_cast<std::uint8_t>(1 + g->History.X[i] % MaxCols);
    g->History.Y[i] = static_cast<std::uint8_t>(1 + g->History.Y[i] % MaxRows);
    g->History.Dir[i] = static_cast<std::uint8_t>(1 + g->History.Dir[i] % 4);
  }
  for (std::int32_t* v : {&g->Moves, &g->Seconds, &g->HumanSeconds, &g->HumanMoves, &g->ComputerSeconds,
                          &g->ComputerMoves, &g->OpponentTime, &g->OpponentMoves, &g->CampaignSeconds,
                          &g->CampaignMoves, &g->ScrambleLength})
    *v &= 0x3ff;
  g->GameMode = 2;
  g->Level = static_cast<std::uint8_t>(1 + g->Level % 2);
  g->ComputerSpeed %= 3;
  g->ComputerAccuracy %= 3;
  return g;
}

// Stores `rec`, loads it into a record full of other bytes, and answers whether
// every byte came back, in memory and in the file.
template <class R>
void ExpectRoundTrip(const std::string& path, const R& rec, void (*store)(const std::string&, const R&),
                     void (*load)(const std::string&, R&)) {
  store(path, rec);
  const Bytes file = ReadAll(path);
  EXPECT_EQ(file, BytesOf(rec)) << path;
  auto back = RandomRecord<R>(999);
  load(path, *back);
  EXPECT_EQ(BytesOf(*back), BytesOf(rec)) << path;
}

// Calls `load` and answers the error it raised; the record must be untouched.
template <class R, class E>
E ExpectLoadFails(const std::string& path, void (*load)(const std::string&, R&)) {
  auto out = RandomRecord<R>(4242);
  const Bytes before = BytesOf(*out);
  try {
    load(path, *out);
  } catch (const E& e) {
    EXPECT_EQ(e.File, path);
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    EXPECT_EQ(BytesOf(*out), before) << "the record was changed by a failed load";
    return e;
  }
  ADD_FAILURE() << "loading " << path << " raised nothing";
  return E(path, "");
}

}  // namespace

// ---------------------------------------------------------------------------
// Byte for byte

TEST(GameFiles, EveryByteOfEachRecordSurvivesAStoreAndALoad) {
  TempDir dir;
  ExpectRoundTrip<TBoard>(dir / "b.BRD", *ValidBoard(1), &StoreBoard, &LoadBoard);
  ExpectRoundTrip<TPuzzle>(dir / "p.PZZ", *ValidPuzzle(2), &StorePuzzle, &LoadPuzzle);
  ExpectRoundTrip<TCampaign>(dir / "c.CPN", *ValidCampaign(3), &StoreCampaign, &LoadCampaign);
  ExpectRoundTrip<TSavedGame>(dir / "s.SGM", *ValidSavedGame(4), &StoreSavedGame, &LoadSavedGame);
  ExpectRoundTrip<TConfig>(dir / "Pavilore.CFG", *RandomRecord<TConfig>(5), &StoreConfig, &LoadConfig);
  // Storing again replaces the whole file.
  ExpectRoundTrip<TBoard>(dir / "b.BRD", *ValidBoard(6), &StoreBoard, &LoadBoard);
}

TEST(GameFiles, BoardFieldsLieAtTheirOffsetsInTheFile) {
  TempDir dir;
  auto b = ValidBoard(10);
  b->Cells[3][4] = 0x5C;
  b->Pattern.Tiles[5][6] = 42;
  b->Pattern.Links[0] = {2, 3, 2, 4};
  b->CellText[7][11] = 'Q';  // column 8, row 12
  b->Turns[0] = {6, 7, 3};
  b->Records.TimeNames[0].Assign("Quick Quentin");
  b->Records.TimeValues[0] = 61;
  b->Records.MoveNames[9].Assign("Tenth");
  b->Records.MoveValues[9] = 0x01020304;
  b->BotRecords[2][1].TimeValues[0] = -7;
  b->BotRecords[2][1].MoveNames[0].Assign("Robo");
  b->BotRecords[0][2].MoveValues[4] = 12345;
  b->StepsPerMove = 3;
  b->Title.Assign("Twisty Lanes");
  b->Author.Assign("A. Maker");
  b->RecommendedTileSet.Assign("TS - Marble");
  StoreBoard(dir / "b.BRD", *b);

  const Bytes f = ReadAll(dir / "b.BRD");
  ASSERT_EQ(f.size(), 15736u);
  EXPECT_EQ(f[0], 12);
  EXPECT_EQ(f[1], 9);
  EXPECT_EQ(f[2 + 3 * 17 + 4], 0x5C);
  EXPECT_EQ(f[376 + 5 * 17 + 6], 42);
  EXPECT_EQ(Bytes(f.begin() + 376 + 374, f.begin() + 376 + 378), (Bytes{2, 3, 2, 4}));
  EXPECT_EQ(f[950 + 7 * 90 + 11], 'Q');
  EXPECT_EQ(Bytes(f.begin() + 11750, f.begin() + 11762), (Bytes{1, 4, 2, 12, 6, 1, 4, 1, 4, 7, 9, 3}));
  EXPECT_EQ(Bytes(f.begin() + 12050, f.begin() + 12053), (Bytes{6, 7, 3}));
  EXPECT_EQ(StrAt(f, 12200), "Quick Quenti");
  EXPECT_EQ(Le32(f, 12200 + 132), 61);
  EXPECT_EQ(StrAt(f, 12200 + 172 + 9 * 13), "Tenth");
  EXPECT_EQ(Bytes(f.begin() + 12200 + 304 + 36, f.begin() + 12200 + 344), (Bytes{4, 3, 2, 1}));
  const std::size_t bot21 = 12544 + 2 * 1032 + 1 * 344, bot02 = 12544 + 0 * 1032 + 2 * 344;
  EXPECT_EQ(Le32(f, bot21 + 132), -7);
  EXPECT_EQ(StrAt(f, bot21 + 172), "Robo");
  EXPECT_EQ(Le32(f, bot02 + 304 + 4 * 4), 12345);
  EXPECT_EQ(f[15640], 3);
  EXPECT_EQ(StrAt(f, 15641), "Twisty Lanes");
  EXPECT_EQ(StrAt(f, 15662), "A. Maker");
  EXPECT_EQ(StrAt(f, 15683), "TS - Marble");
}

TEST(GameFiles, PuzzleCampaignAndSavedGameFieldsLieAtTheirOffsets) {
  TempDir dir;
  auto p = ValidPuzzle(20);
  p->BoardName.Assign("Twisty Lanes");
  p->IP.Tiles[1][1] = 7;
  p->OP.Tiles[20][15] = 50;
  p->TimeLimit = 300;
  p->MovesLimit = 2;
  p->Records.MoveValues[0] = 77;
  p->Title.Assign("First Steps");
  p->Author.Assign("B. Setter");
  StorePuzzle(dir / "p.PZZ", *p);
  Bytes f = ReadAll(dir / "p.PZZ");
  ASSERT_EQ(f.size(), 4676u);
  EXPECT_EQ(StrAt(f, 0), "Twisty Lanes");
  EXPECT_EQ(f[51 + 1 * 17 + 1], 7);
  EXPECT_EQ(f[625 + 20 * 17 + 15], 50);
  EXPECT_EQ(Le32(f, 4280), 300);
  EXPECT_EQ(Le32(f, 4284), 2);
  EXPECT_EQ(Le32(f, 4288 + 304), 77);
  EXPECT_EQ(StrAt(f, 4632), "First Steps");
  EXPECT_EQ(StrAt(f, 4653), "B. Setter");

  auto c = ValidCampaign(21);
  c->Levels[0].Assign("Level One");
  c->Levels[254].Assign("Last Level");
  c->Records.TimeValues[2] = 1000;
  c->Title.Assign("Grand Tour");
  c->Author.Assign("C. Planner");
  StoreCampaign(dir / "c.CPN", *c);
  f = ReadAll(dir / "c.CPN");
  ASSERT_EQ(f.size(), 13396u);
  EXPECT_EQ(StrAt(f, 0), "Level One");
  EXPECT_EQ(StrAt(f, 254 * 51), "Last Level");
  EXPECT_EQ(Le32(f, 13008 + 132 + 8), 1000);
  EXPECT_EQ(StrAt(f, 13352), "Grand Tour");
  EXPECT_EQ(StrAt(f, 13373), "C. Planner");

  auto g = ValidSavedGame(22);
  g->GameMode = 3;
  g->BoardName.Assign("Board B");
  g->PuzzleName.Assign("Puzzle P");
  g->CampaignName.Assign("Campaign C");
  g->IPFromPuzzle = 1;
  g->MLFromPuzzle = 0;
  g->TLFromPuzzle = 1;
  g->Moves = 123;
  g->Seconds = 456;
  g->Current.Tiles[2][2] = 9;
  g->OP.Tiles[2][2] = 8;
  g->ComputerSpeed = 2;
  g->ComputerAccuracy = 1;
  g->HumanPlaysFirst = 1;
  g->HumanSeconds = 11;
  g->HumanMoves = 12;
  g->ComputerSeconds = 13;
  g->ComputerMoves = 14;
  g->OpponentTime = 15;
  g->OpponentMoves = 16;
  g->UseOpponentTime = 1;
  g->UseOpponentMoves = 0;
  g->OpponentAnd = 1;
  g->CampaignSeconds = 1700;
  g->CampaignMoves = 1800;
  g->Level = 4;
  g->History.X[0] = 5;
  g->History.Kind[1023] = 1;
  g->ScrambleLength = 40;
  StoreSavedGame(dir / "s.SGM", *g);
  f = ReadAll(dir / "s.SGM");
  ASSERT_EQ(f.size(), 5460u);
  EXPECT_EQ(f[0], 3);
  EXPECT_EQ(StrAt(f, 1), "Board B");
  EXPECT_EQ(StrAt(f, 52), "Puzzle P");
  EXPECT_EQ(StrAt(f, 103), "Campaign C");
  EXPECT_EQ(Bytes(f.begin() + 154, f.begin() + 157), (Bytes{1, 0, 1}));
  EXPECT_EQ(Le32(f, 160), 123);
  EXPECT_EQ(Le32(f, 164), 456);
  EXPECT_EQ(f[168 + 2 * 17 + 2], 9);
  EXPECT_EQ(f[742 + 2 * 17 + 2], 8);
  EXPECT_EQ(Bytes(f.begin() + 1316, f.begin() + 1319), (Bytes{2, 1, 1}));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Le32(f, 1320 + 4 * static_cast<std::size_t>(i)), 11 + i);
  EXPECT_EQ(Bytes(f.begin() + 1344, f.begin() + 1347), (Bytes{1, 0, 1}));
  EXPECT_EQ(Le32(f, 1348), 1700);
  EXPECT_EQ(Le32(f, 1352), 1800);
  EXPECT_EQ(f[1356], 4);
  EXPECT_EQ(f[1357], 5);
  EXPECT_EQ(f[1357 + 4095], 1);
  EXPECT_EQ(Le32(f, 5456), 40);
}

TEST(GameFiles, ConfigurationFieldsLieAtTheirOffsets) {
  TempDir dir;
  auto c = RandomRecord<TConfig>(30);
  c->GameMode = 2;
  c->BoardName.Assign("Board B");
  c->CampaignName.Assign("Campaign C");
  c->ComputerSpeed = 1;
  c->ComputerAccuracy = 2;
  c->HumanPlaysFirst = 0;
  c->PlayerName.Assign("Player Name Of Twenty");
  c->BoardGraphics.Assign("GB - Default");
  c->MusicFile.Assign("Tune");
  c->MusicMode = 3;
  c->PicturePath.Assign("/home/someone/Pictures/cat.jpg");
  c->PictureW = 4;
  c->PictureH = 3;
  c->PictureX = 2;
  c->PictureY = -1;
  c->PictureOn = 1;
  c->ShowWelcome = 0;
  StoreConfig(dir / "Pavilore.CFG", *c);
  const Bytes f = ReadAll(dir / "Pavilore.CFG");
  ASSERT_EQ(f.size(), 772u);
  EXPECT_EQ(f[0], 2);
  EXPECT_EQ(StrAt(f, 1), "Board B");
  EXPECT_EQ(StrAt(f, 103), "Campaign C");
  EXPECT_EQ(Bytes(f.begin() + 158, f.begin() + 161), (Bytes{1, 2, 0}));
  // The reserved bytes are written back exactly as they were read.
  EXPECT_TRUE(std::equal(f.begin() + 161, f.begin() + 212, c->Reserved));
  EXPECT_EQ(StrAt(f, 214), "Player Name Of Twent");
  EXPECT_EQ(StrAt(f, 238), "GB - Default");
  EXPECT_EQ(StrAt(f, 597), "Tune");
  EXPECT_EQ(f[648], 3);
  EXPECT_EQ(StrAt(f, 650), "/home/someone/Pictures/cat.jpg");
  EXPECT_EQ(Bytes(f.begin() + 751, f.begin() + 753), (Bytes{4, 3}));
  EXPECT_EQ(Le32(f, 756), 2);
  EXPECT_EQ(Le32(f, 760), -1);
  EXPECT_EQ(f[764], 1);
  EXPECT_EQ(f[768], 0);
}

TEST(GameFiles, BytesBeyondTheFirstRecordAreIgnored) {
  TempDir dir;
  const auto b = ValidBoard(40);
  Bytes f = BytesOf(*b);
  const Bytes more = BytesOf(*RandomRecord<TBoard>(41));
  f.insert(f.end(), more.begin(), more.end());
  WriteAll(dir / "two.BRD", f);
  auto back = RandomRecord<TBoard>(42);
  LoadBoard(dir / "two.BRD", *back);
  EXPECT_EQ(BytesOf(*back), BytesOf(*b));

  const auto c = RandomRecord<TConfig>(43);
  Bytes cf = BytesOf(*c);
  cf.push_back('!');
  WriteAll(dir / "Pavilore.CFG", cf);
  auto cback = RandomRecord<TConfig>(44);
  LoadConfig(dir / "Pavilore.CFG", *cback);
  EXPECT_EQ(BytesOf(*cback), BytesOf(*c));
}

TEST(GameFiles, AMissingOrShortFileRaisesAnInputOutputError) {
  TempDir dir;
  auto shortOf = [&](const std::string& name, std::size_t size) {
    Bytes b(size - 1, 0x11);
    WriteAll(dir / name, b);
    return dir / name;
  };
  for (const std::string& path : {dir / "missing.BRD", shortOf("short.BRD", sizeof(TBoard))})
    ExpectLoadFails<TBoard, EInOutError>(path, &LoadBoard);
  for (const std::string& path : {dir / "missing.PZZ", shortOf("short.PZZ", sizeof(TPuzzle))})
    ExpectLoadFails<TPuzzle, EInOutError>(path, &LoadPuzzle);
  for (const std::string& path : {dir / "missing.CPN", shortOf("short.CPN", sizeof(TCampaign))})
    ExpectLoadFails<TCampaign, EInOutError>(path, &LoadCampaign);
  for (const std::string& path : {dir / "missing.SGM", shortOf("short.SGM", sizeof(TSavedGame))})
    ExpectLoadFails<TSavedGame, EInOutError>(path, &LoadSavedGame);
  for (const std::string& path : {dir / "missing.CFG", shortOf("short.CFG", sizeof(TConfig))})
    ExpectLoadFails<TConfig, EInOutError>(path, &LoadConfig);
}

TEST(GameFiles, AStoreThatFailsRaisesAnInputOutputError) {
  TempDir dir;
  const std::string path = dir / "No Such Folder/b.BRD";
  try {
    StoreBoard(path, *ValidBoard(50));
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.File, path);
  }
}

// ---------------------------------------------------------------------------
// Records tables rewritten in their files

namespace {

// Stores `rec`, loads it back, lets `change` enter a result into one table,
// stores it again, and answers which byte offsets of the file differ.
template <class R>
std::vector<std::size_t> ChangedOffsets(const std::string& path, const R& rec,
                                        void (*store)(const std::string&, const R&),
                                        void (*load)(const std::string&, R&), const std::function<void(R&)>& change) {
  store(path, rec);
  const Bytes before = ReadAll(path);
  auto loaded = std::make_unique<R>();
  load(path, *loaded);
  change(*loaded);
  store(path, *loaded);
  const Bytes after = ReadAll(path);
  EXPECT_EQ(after.size(), before.size());
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < before.size() && i < after.size(); ++i)
    if (before[i] != after[i]) changed.push_back(i);
  return changed;
}

// Values that a result can enter, leaving the names and padding random.
void SetValues(TRecordTable& t, TRecordOrder order) {
  for (int i = 0; i < RecordPositions; ++i) {
    t.TimeValues[i] = order == TRecordOrder::Ascending ? 100 + 10 * i : 100 - 10 * i;
    t.MoveValues[i] = order == TRecordOrder::Ascending ? 50 + 5 * i : 50 - 5 * i;
  }
}

void ExpectOnlyWithin(const std::vector<std::size_t>& changed, std::size_t from, std::size_t size) {
  ASSERT_FALSE(changed.empty()) << "the table did not change";
  for (std::size_t off : changed) EXPECT_TRUE(off >= from && off < from + size) << "byte " << off << " changed";
}

}  // namespace

TEST(GameFiles, StoringAChangedBotTableChangesOnlyThatTable) {
  TempDir dir;
  for (int s = 0; s < 3; ++s)
    for (int a = 0; a < 3; ++a) {
      SCOPED_TRACE("speed " + std::to_string(s) + ", accuracy " + std::to_string(a));
      auto b = ValidBoard(60 + static_cast<unsigned>(3 * s + a));
      for (auto& row : b->BotRecords)
        for (auto& t : row) SetValues(t, TRecordOrder::Descending);
      const auto changed = ChangedOffsets<TBoard>(dir / "b.BRD", *b, &StoreBoard, &LoadBoard, [&](TBoard& loaded) {
        const TRecordsUpdate u =
            UpdateRecordTable(loaded.BotRecords[s][a], TRecordOrder::Descending, 75, 6, "Sharp Shooter Sam");
        EXPECT_EQ(u.TimePosition, 4);
        EXPECT_EQ(u.MovesPosition, 10);
      });
      ExpectOnlyWithin(changed, 12544 + static_cast<std::size_t>(s) * 1032 + static_cast<std::size_t>(a) * 344, 344);
    }
}

TEST(GameFiles, StoringChangedRecordsChangesOnlyThatTable) {
  TempDir dir;
  auto b = ValidBoard(70);
  SetValues(b->Records, TRecordOrder::Ascending);
  ExpectOnlyWithin(ChangedOffsets<TBoard>(dir / "b.BRD", *b, &StoreBoard, &LoadBoard,
                                          [](TBoard& l) {
                                            UpdateRecordTable(l.Records, TRecordOrder::Ascending, 100, 49, "Ann");
                                          }),
                   12200, 344);

  // The puzzle's reserved area comes back unchanged.
  auto p = ValidPuzzle(71);
  SetValues(p->Records, TRecordOrder::Ascending);
  ExpectOnlyWithin(ChangedOffsets<TPuzzle>(dir / "p.PZZ", *p, &StorePuzzle, &LoadPuzzle,
                                           [](TPuzzle& l) {
                                             UpdateRecordTable(l.Records, TRecordOrder::Ascending, 5, 500, "Bob");
                                           }),
                   4288, 344);

  // The level names, unused character bytes included, come back unchanged.
  auto c = ValidCampaign(72);
  SetValues(c->Records, TRecordOrder::Ascending);
  ExpectOnlyWithin(ChangedOffsets<TCampaign>(dir / "c.CPN", *c, &StoreCampaign, &LoadCampaign,
                                             [](TCampaign& l) {
                                               UpdateRecordTable(l.Records, TRecordOrder::Ascending, 1000, 1, "Cy");
                                             }),
                   13008, 344);
}

// ---------------------------------------------------------------------------
// Board checks

namespace {

struct BadBoard {
  const char* What;
  std::function<void(TBoard&)> Break;
  std::vector<std::string> Named;  // parts of the message that name the rule and the place
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(CheckBoard, EachBrokenRuleIsNamedAndTheLoadRefusesTheFile) {
  const std::vector<BadBoard> cases = {
      {"width 0", [](TBoard& b) { b.Width = 0; }, {"width", "0"}},
      {"width 21", [](TBoard& b) { b.Width = 21; }, {"width", "21"}},
      {"height 0", [](TBoard& b) { b.Height = 0; }, {"height", "0"}},
      {"height 16", [](TBoard& b) { b.Height = 16; }, {"height", "16"}},
      {"floor in the left column", [](TBoard& b) { b.Cells[1][5] = 0; }, {"(1,5)", "ring"}},
      {"floor in the right column", [](TBoard& b) { b.Cells[12][2] = 0; }, {"(12,2)", "ring"}},
      {"floor in the top row", [](TBoard& b) { b.Cells[6][1] = 0; }, {"(6,1)", "ring"}},
      {"floor in the bottom corner", [](TBoard& b) { b.Cells[12][9] = 0; }, {"(12,9)", "ring"}},
      {"StepsPerMove 0", [](TBoard& b) { b.StepsPerMove = 0; }, {"StepsPerMove"}},
      {"tile face 51", [](TBoard& b) { b.Pattern.Tiles[20][15] = 51; }, {"(20,15)", "51"}},
      {"tile face 255", [](TBoard& b) { b.Pattern.Tiles[1][1] = 255; }, {"(1,1)", "255"}},
      {"link end in column 21",
       [](TBoard& b) { b.Pattern.Links[1] = {21, 3, 4, 4}; },
       {"link 2"}},
      {"link end in row 0", [](TBoard& b) { b.Pattern.Links[0] = {3, 0, 4, 4}; }, {"link 1"}},
      {"link second end in column 0", [](TBoard& b) { b.Pattern.Links[2] = {3, 3, 0, 4}; }, {"link 3"}},
      {"link second end in row 16", [](TBoard& b) { b.Pattern.Links[2] = {3, 3, 4, 16}; }, {"link 3"}},
      {"jump side 0", [](TBoard& b) { b.Jumps[0].Side1 = 0; }, {"jump 1", "side", "0"}},
      {"jump side 5", [](TBoard& b) { b.Jumps[1].Side2 = 5; }, {"jump 2", "side", "5"}},
      {"jump mouth right of the board",
       [](TBoard& b) { b.Jumps[0] = {13, 4, DirLeft, 12, 6, DirLeft}; },
       {"jump 1", "(13,4)", "outside the board"}},
      {"second jump mouth below the board",
       [](TBoard& b) { b.Jumps[1] = {4, 1, DirDown, 7, 10, DirUp}; },
       {"jump 2", "(7,10)", "outside the board"}},
      {"jump mouth opening outward",
       [](TBoard& b) { b.Jumps[0] = {1, 4, DirLeft, 12, 6, DirLeft}; },
       {"jump 1", "(0,4)", "inner"}},
      {"jump mouth opening onto the frame",
       [](TBoard& b) { b.Jumps[1] = {4, 1, DirRight, 7, 9, DirUp}; },
       {"jump 2", "(5,1)", "inner"}},
      {"jump mouth opening onto the right column",
       [](TBoard& b) { b.Jumps[0] = {11, 5, DirRight, 12, 6, DirLeft}; },
       {"jump 1", "(12,5)", "inner"}},
      {"jump mouth opening onto the bottom row",
       [](TBoard& b) { b.Jumps[1] = {4, 1, DirDown, 7, 8, DirDown}; },
       {"jump 2", "(7,9)", "inner"}},
  };
  TempDir dir;
  for (const BadBoard& c : cases) {
    SCOPED_TRACE(c.What);
    auto b = ValidBoard(80);
    ASSERT_FALSE(CheckBoard(*b).has_value()) << *CheckBoard(*b);
    c.Break(*b);
    const auto err = CheckBoard(*b);
    ASSERT_TRUE(err.has_value());
    for (const auto& part : c.Named) EXPECT_TRUE(Contains(*err, part)) << "'" << *err << "' does not name " << part;

    const std::string path = dir / "bad.BRD";
    StoreBoard(path, *b);
    const EBadGameFile e = ExpectLoadFails<TBoard, EBadGameFile>(path, &LoadBoard);
    EXPECT_EQ(e.Rule, *err);
  }
}

TEST(CheckBoard, AcceptsTheLimitsOfEachRule) {
  const std::vector<std::pair<const char*, std::function<void(TBoard&)>>> cases = {
      {"20 x 15 with a solid frame",
       [](TBoard& b) {
         b.Width = 20;
         b.Height = 15;
         for (int x = 1; x <= 20; ++x) b.Cells[x][1] = b.Cells[x][15] = 1;
         for (int y = 1; y <= 15; ++y) b.Cells[1][y] = b.Cells[20][y] = 1;
       }},
      {"floor outside the board's columns and rows",
       [](TBoard& b) {
         b.Cells[13][5] = 0;
         b.Cells[5][10] = 0;
         b.Cells[0][0] = 0;
       }},
      {"floor inside", [](TBoard& b) { b.Cells[2][2] = b.Cells[11][8] = 0; }},
      {"many steps per move", [](TBoard& b) { b.StepsPerMove = 255; }},
      {"tile face 50", [](TBoard& b) { b.Pattern.Tiles[20][15] = 50; }},
      {"any byte around the grid", [](TBoard& b) { b.Pattern.Tiles[21][16] = b.Pattern.Tiles[0][0] = 200; }},
      {"links at the corners of the grid", [](TBoard& b) { b.Pattern.Links[0] = {1, 1, 20, 15}; }},
      {"an empty link list with data after its end",
       [](TBoard& b) { b.Pattern.Links[0] = {0, 99, 99, 99}; }},
      {"a full link list",
       [](TBoard& b) {
         for (auto& l : b.Pattern.Links) l = {20, 15, 1, 1};
       }},
      {"every jump side",
       [](TBoard& b) {
         b.Jumps[0] = {1, 4, DirRight, 12, 6, DirLeft};
         b.Jumps[1] = {4, 1, DirDown, 7, 9, DirUp};
       }},
      {"an empty jump list with data after its end", [](TBoard& b) { b.Jumps[0] = {0, 99, 9, 99, 99, 9}; }},
      {"jump mouths inside the board", [](TBoard& b) { b.Jumps[0] = {5, 5, DirUp, 2, 2, DirRight}; }},
      {"a full jump list",
       [](TBoard& b) {
         for (auto& j : b.Jumps) j = {12, 8, DirLeft, 1, 2, DirRight};
       }},
      {"turns and cell text are not checked",
       [](TBoard& b) {
         b.Turns[0] = {200, 0, 9};
         std::memset(b.CellText, 0xFF, sizeof b.CellText);
       }},
  };
  TempDir dir;
  for (const auto& [what, change] : cases) {
    SCOPED_TRACE(what);
    auto b = ValidBoard(90);
    change(*b);
    const auto err = CheckBoard(*b);
    EXPECT_FALSE(err.has_value()) << *err;
    StoreBoard(dir / "ok.BRD", *b);
    auto back = std::make_unique<TBoard>();
    EXPECT_NO_THROW(LoadBoard(dir / "ok.BRD", *back));
    EXPECT_EQ(BytesOf(*back), BytesOf(*b));
  }
}

TEST(CheckBoard, EntriesAfterTheEndOfAListAreNotChecked) {
  auto b = ValidBoard(100);
  // A link list of one entry, then data no link may hold.
  b->Pattern.Links[1] = {0, 0, 0, 0};
  b->Pattern.Links[2] = {99, 99, 99, 99};
  // A jump list of one entry, then a broken jump.
  b->Jumps[1] = {0, 50, 0, 50, 50, 7};
  b->Jumps[2] = {30, 30, 0, 30, 30, 9};
  EXPECT_FALSE(CheckBoard(*b).has_value());
  // Once the lists go on, the same data is refused.
  b->Pattern.Links[1] = {1, 1, 1, 1};
  EXPECT_TRUE(CheckBoard(*b).has_value());
  b->Pattern.Links[1] = {0, 0, 0, 0};
  b->Jumps[1].X1 = 4;
  EXPECT_TRUE(CheckBoard(*b).has_value());
}

// ---------------------------------------------------------------------------
// Puzzle and saved-game checks

TEST(CheckPuzzle, TheTileAndLinkRulesHoldForBothPatterns) {
  const std::vector<std::tuple<const char*, std::function<void(TPuzzle&)>, std::vector<std::string>>> cases = {
      {"initial pattern face 51", [](TPuzzle& p) { p.IP.Tiles[3][4] = 51; }, {"initial", "(3,4)", "51"}},
      {"objective pattern face 51", [](TPuzzle& p) { p.OP.Tiles[20][1] = 51; }, {"objective", "(20,1)", "51"}},
      {"initial pattern link", [](TPuzzle& p) { p.IP.Links[1] = {1, 1, 21, 1}; }, {"initial", "link 2"}},
      {"objective pattern link", [](TPuzzle& p) { p.OP.Links[0] = {1, 16, 1, 1}; }, {"objective", "link 1"}},
      {"negative time limit", [](TPuzzle& p) { p.TimeLimit = -5; }, {"time limit -5"}},
      {"negative moves limit", [](TPuzzle& p) { p.MovesLimit = -1; }, {"moves limit -1"}},
  };
  TempDir dir;
  for (const auto& [what, change, named] : cases) {
    SCOPED_TRACE(what);
    auto p = ValidPuzzle(110);
    ASSERT_FALSE(CheckPuzzle(*p).has_value());
    change(*p);
    const auto err = CheckPuzzle(*p);
    ASSERT_TRUE(err.has_value());
    for (const auto& part : named) EXPECT_TRUE(Contains(*err, part)) << "'" << *err << "' does not name " << part;
    StorePuzzle(dir / "bad.PZZ", *p);
    EXPECT_EQ((ExpectLoadFails<TPuzzle, EBadGameFile>(dir / "bad.PZZ", &LoadPuzzle).Rule), *err);
  }
  // Nothing else in a puzzle is checked: not even a board name or records.
  auto p = ValidPuzzle(111);
  p->BoardName.Len = 0;
  p->TimeLimit = 0;
  p->MovesLimit = 2000000000;
  p->IP.Links[2] = {0, 77, 77, 77};
  p->IP.Links[3] = {77, 77, 77, 77};
  EXPECT_FALSE(CheckPuzzle(*p).has_value());
}

TEST(CheckSavedGame, TheTileAndLinkRulesHoldForThePosition) {
  TempDir dir;
  auto g = ValidSavedGame(120);
  ASSERT_FALSE(CheckSavedGame(*g).has_value());
  g->Current.Tiles[10][10] = 60;
  auto err = CheckSavedGame(*g);
  ASSERT_TRUE(err.has_value());
  EXPECT_TRUE(Contains(*err, "(10,10)")) << *err;
  StoreSavedGame(dir / "bad.SGM", *g);
  EXPECT_EQ((ExpectLoadFails<TSavedGame, EBadGameFile>(dir / "bad.SGM", &LoadSavedGame).Rule), *err);

  g = ValidSavedGame(121);
  g->Current.Links[4] = {5, 5, 5, 200};
  err = CheckSavedGame(*g);
  ASSERT_TRUE(err.has_value());
  EXPECT_TRUE(Contains(*err, "link 5")) << *err;

  // The move list, the counters and the fields of the game's mode, checked when the
  // game takes a saved game up.
  struct TCase {
    std::function<void(TSavedGame&)> Damage;
    const char* Says;
  };
  const TCase cases[] = {
      {[](TSavedGame& s) { s.History.Y[7] = 16; }, "move 8 of the move list is at"},
      {[](TSavedGame& s) { s.History.Dir[0] = 5; }, "move 1 of the move list has a direction 5"},
      {[](TSavedGame& s) { s.ScrambleLength = -1; }, "scramble length -1"},
      {[](TSavedGame& s) { s.Seconds = -3; }, "negative"},
      {[](TSavedGame& s) { s.Level = 0; }, "the turn 0 is outside 1..2"},
      {[](TSavedGame& s) { s.ComputerAccuracy = 3; }, "speed or accuracy"},
      {[](TSavedGame& s) { s.OpponentMoves = -1; }, "match's times or moves"},
      {[](TSavedGame& s) { s.GameMode = 3, s.Level = 0; }, "campaign level is 0"},
      {[](TSavedGame& s) { s.GameMode = 3, s.Level = 4, s.CampaignMoves = -5; }, "campaign's totals"},
  };
  for (const TCase& c : cases) {
    g = ValidSavedGame(122);
    EXPECT_FALSE(CheckSavedGameState(*g).has_value());
    c.Damage(*g);
    // The file still reads (the tool shows it); the game refuses to take it up.
    EXPECT_FALSE(CheckSavedGame(*g).has_value());
    err = CheckSavedGameState(*g);
    ASSERT_TRUE(err.has_value()) << c.Says;
    EXPECT_TRUE(Contains(*err, c.Says)) << *err;
  }
  // A move list ends at its first empty entry: what follows is not looked at, and a
  // record of no known mode has no mode's fields to check.
  g = ValidSavedGame(123);
  g->History.X[10] = 0;
  g->History.Dir[11] = 9;
  g->ScrambleLength = 10;
  g->GameMode = 0;
  g->Level = 0;
  EXPECT_FALSE(CheckSavedGameState(*g).has_value());
}

TEST(FileNames, NamesStoredInFilesNeverLeaveTheirFolder) {
  const std::pair<std::string, bool> names[] = {
      {"Classic 4 x 4", true}, {"Zo\xEB's Board", true}, {"A.B", true}, {"", true},
      {"../../../outside", false}, {"..", false}, {"Wait...", false}, {"a/b", false}, {"a\\b", false},
      {"tab\there", false}, {std::string("nul\0x", 5), false}, {"del\x7F", false}, {"\x81", false},
  };
  for (const auto& [name, usable] : names) EXPECT_EQ(!FileNameProblem(name).has_value(), usable) << name;

  // A puzzle's board and a campaign's levels are such names.
  auto p = ValidPuzzle(125);
  p->BoardName.Assign("../Boards/x");
  ASSERT_TRUE(CheckPuzzle(*p).has_value());
  EXPECT_TRUE(Contains(*CheckPuzzle(*p), "the board name '../Boards/x'")) << *CheckPuzzle(*p);
  auto c = std::make_unique<TCampaign>();
  std::memset(c.get(), 0, sizeof(TCampaign));
  c->Levels[0].Assign("One");
  c->Levels[1].Assign("../../../x");
  c->Levels[3].Assign("../past/the/end");  // after the first empty level: never read
  const auto err = CheckCampaign(*c);
  ASSERT_TRUE(err.has_value());
  EXPECT_TRUE(Contains(*err, "level 2")) << *err;
  c->Levels[1].Assign("Two");
  EXPECT_FALSE(CheckCampaign(*c).has_value());
}

TEST(CheckSavedGame, ThePositionMustLieOnItsBoard) {
  auto g = ValidSavedGame(124);
  auto board = std::make_unique<TBoard>();
  std::memset(board.get(), 0, sizeof(TBoard));
  board->Width = 20;
  board->Height = 15;
  EXPECT_FALSE(CheckSavedGameFits(*g, *board).has_value());
  board->Width = 6;
  board->Height = 5;
  ClearPattern(g->Current);
  g->Current.Tiles[6][5] = 1;
  EXPECT_FALSE(CheckSavedGameFits(*g, *board).has_value());
  g->Current.Tiles[6][6] = 2;
  const auto err = CheckSavedGameFits(*g, *board);
  ASSERT_TRUE(err.has_value());
  EXPECT_EQ(*err, "the position has a tile at (6,6), outside the board of 6 x 5");
}

// ---------------------------------------------------------------------------
// Campaign levels and names

TEST(Campaign, LevelsCountUpToTheFirstEmptyName) {
  auto c = RandomRecord<TCampaign>(130);
  for (auto& l : c->Levels) l.Assign("Level");
  EXPECT_EQ(LevelCount(*c), 255);
  c->Levels[2].Len = 0;  // level 3 empty, levels 4.. filled
  EXPECT_EQ(LevelCount(*c), 2);
  c->Levels[0].Len = 0;
  EXPECT_EQ(LevelCount(*c), 0);
}

TEST(Records, AStringLengthAboveItsCapacityReadsAsTheCapacity) {
  TName12 n;
  std::memset(&n, 'x', sizeof n);
  n.Len = 200;
  EXPECT_EQ(n.Str(), std::string(12, 'x'));
  EXPECT_FALSE(n.Empty());
  // Assigning keeps the character bytes past the new length.
  n.Assign("ab");
  EXPECT_EQ(n.Len, 2);
  EXPECT_EQ(n.Chars[2], 'x');
}
