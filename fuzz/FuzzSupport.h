// Helpers shared by the fuzz targets and their seed generator: a record file in
// a memory-backed folder, sample boards, and the compact input of the push target.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include <array>
#include <optional>
#include <vector>

#include "engine/MoveEngine.h"
#include "engine/Pattern.h"
#include "files/GameFiles.h"
#include "files/Records.h"
#include "files/RecordsTable.h"
#include "platform/RecordFile.h"

namespace pav::fuzz {

// Stops the run with a message; libFuzzer keeps the input that got here.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "pavilore fuzz invariant broken: %s\n", what);
  std::abort();
}
#define PAV_FUZZ_CHECK(cond)                       \
  do {                                             \
    if (!(cond)) ::pav::fuzz::Fail(#cond);         \
  } while (0)

// One file, rewritten for every input, in a per-process folder under /dev/shm
// (or the temporary folder when there is no /dev/shm), removed at exit.
class TScratchFile {
 public:
  TScratchFile() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
    Folder = base / ("pavilore-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(Folder, ec);
    Path = (Folder / "record").string();
  }
  ~TScratchFile() {
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
  }
  TScratchFile(const TScratchFile&) = delete;
  TScratchFile& operator=(const TScratchFile&) = delete;

  // Replaces the file's content with the bytes.
  const std::string& Write(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(Path.c_str(), "wb");
    if (!f) Fail("cannot create the scratch file");
    if (size != 0 && std::fwrite(data, 1, size, f) != size) Fail("cannot write the scratch file");
    std::fclose(f);
    return Path;
  }
  std::string Sibling(const std::string& name) const { return (Folder / name).string(); }

 private:
  std::filesystem::path Folder;
  std::string Path;
};

// Copies up to sizeof(R) input bytes over a zeroed record.
template <class R>
std::unique_ptr<R> RecordFromBytes(const std::uint8_t* data, std::size_t size) {
  auto r = std::make_unique<R>();
  std::memset(r.get(), 0, sizeof(R));
  std::memcpy(r.get(), data, size < sizeof(R) ? size : sizeof(R));
  return r;
}

// ---------------------------------------------------------------------------
// Record readers.

// Reads the input through the game's loader, as a file. Checks that a short file
// is an input/output error, that a refused record is refused for the rule the
// check function names, that nothing reaches `out` on failure, and that a loaded
// record is the first sizeof(R) bytes of the file. Returns the record, or null.
template <class R>
std::unique_ptr<R> LoadThroughFile(TScratchFile& file, const std::uint8_t* data, std::size_t size,
                                   void (*load)(const std::string&, R&),
                                   std::optional<std::string> (*check)(const R&)) {
  const std::string& path = file.Write(data, size);
  auto rec = std::make_unique<R>();
  std::memset(rec.get(), 0xA5, sizeof(R));
  auto untouched = [&] {
    const auto* p = reinterpret_cast<const std::uint8_t*>(rec.get());
    for (std::size_t i = 0; i < sizeof(R); ++i)
      if (p[i] != 0xA5) return false;
    return true;
  };
  try {
    load(path, *rec);
  } catch (const EInOutError& e) {
    PAV_FUZZ_CHECK(size < sizeof(R));
    PAV_FUZZ_CHECK(e.File == path);
    PAV_FUZZ_CHECK(untouched());
    return nullptr;
  } catch (const EBadGameFile& e) {
    PAV_FUZZ_CHECK(size >= sizeof(R));
    PAV_FUZZ_CHECK(check != nullptr);
    const auto raw = RecordFromBytes<R>(data, size);
    const auto rule = check(*raw);
    PAV_FUZZ_CHECK(rule && *rule == e.Rule);
    PAV_FUZZ_CHECK(e.File == path);
    PAV_FUZZ_CHECK(untouched());
    return nullptr;
  }
  PAV_FUZZ_CHECK(size >= sizeof(R));
  PAV_FUZZ_CHECK(std::memcmp(rec.get(), data, sizeof(R)) == 0);
  if (check) PAV_FUZZ_CHECK(!check(*rec));
  return rec;
}

// Stores the record through the game's writer into a sibling file and checks that
// the file holds exactly its bytes; `original` must agree with it everywhere
// except [changedOffset, changedOffset + changedSize).
template <class R>
void StoreAndCompare(TScratchFile& file, void (*store)(const std::string&, const R&), const R& rec,
                     const R& original, std::size_t changedOffset, std::size_t changedSize) {
  const std::string path = file.Sibling("stored");
  store(path, rec);
  std::vector<std::uint8_t> back(sizeof(R) + 1);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  PAV_FUZZ_CHECK(f != nullptr);
  const std::size_t got = std::fread(back.data(), 1, back.size(), f);
  std::fclose(f);
  PAV_FUZZ_CHECK(got == sizeof(R));
  PAV_FUZZ_CHECK(std::memcmp(back.data(), &rec, sizeof(R)) == 0);
  const auto* a = reinterpret_cast<const std::uint8_t*>(&rec);
  const auto* b = reinterpret_cast<const std::uint8_t*>(&original);
  for (std::size_t i = 0; i < sizeof(R); ++i)
    if (i < changedOffset || i >= changedOffset + changedSize) PAV_FUZZ_CHECK(a[i] == b[i]);
}

// A result to enter into records tables: taken from the bytes after the record
// (a loader ignores them), or a fixed one.
struct TResult {
  std::int32_t Seconds = 120;
  std::int32_t Moves = 45;
  std::string Name = "Fuzzer";
};
inline TResult ResultAfter(const std::uint8_t* data, std::size_t size, std::size_t recordSize) {
  TResult r;
  if (size < recordSize + 8) return r;
  std::memcpy(&r.Seconds, data + recordSize, 4);
  std::memcpy(&r.Moves, data + recordSize + 4, 4);
  const std::size_t rest = size - recordSize - 8;
  r.Name.assign(reinterpret_cast<const char*>(data + recordSize + 8), rest < 20 ? rest : 20);
  return r;
}

// Enters a value into one list and checks the result against the rule of the
// records: the first position whose value the new one beats strictly, the later
// entries moved down one place with their names, the name cut to 12 characters.
inline int CheckedEnterRecord(TName12 (&names)[RecordPositions], std::int32_t (&values)[RecordPositions],
                              TRecordOrder order, std::int32_t value, const std::string& name) {
  TName12 oldNames[RecordPositions];
  std::int32_t oldValues[RecordPositions];
  std::memcpy(oldNames, names, sizeof oldNames);
  std::memcpy(oldValues, values, sizeof oldValues);
  int want = RecordPositions + 1;
  for (int p = 1; p <= RecordPositions; ++p) {
    const bool beats = order == TRecordOrder::Ascending ? value < oldValues[p - 1] : oldValues[p - 1] < value;
    if (beats) {
      want = p;
      break;
    }
  }
  const int got = EnterRecord(names, values, order, value, name);
  PAV_FUZZ_CHECK(got == want);
  if (got > RecordPositions) {
    PAV_FUZZ_CHECK(std::memcmp(oldNames, names, sizeof oldNames) == 0);
    PAV_FUZZ_CHECK(std::memcmp(oldValues, values, sizeof oldValues) == 0);
    return got;
  }
  for (int i = 0; i < got - 1; ++i) {
    PAV_FUZZ_CHECK(values[i] == oldValues[i]);
    PAV_FUZZ_CHECK(std::memcmp(&names[i], &oldNames[i], sizeof(TName12)) == 0);
  }
  for (int i = got; i < RecordPositions; ++i) {
    PAV_FUZZ_CHECK(values[i] == oldValues[i - 1]);
    PAV_FUZZ_CHECK(std::memcmp(&names[i], &oldNames[i - 1], sizeof(TName12)) == 0);
  }
  PAV_FUZZ_CHECK(values[got - 1] == value);
  PAV_FUZZ_CHECK(names[got - 1].Str() == name.substr(0, 12));
  return got;
}

// Enters a result into a table, time list first, as the end of a game does.
inline void CheckedUpdate(TRecordTable& t, TRecordOrder order, const TResult& r) {
  CheckedEnterRecord(t.TimeNames, t.TimeValues, order, r.Seconds, r.Name);
  CheckedEnterRecord(t.MoveNames, t.MoveValues, order, r.Moves, r.Name);
}

// ---------------------------------------------------------------------------
// The harness's own loops over the board are the same for every input and touch
// only the harness's own objects: they are left out of the coverage feedback (which
// then speaks only of the game's code) and of the address checks. The game's code
// they call keeps both.
#if defined(__clang__)
#define PAV_FUZZ_HARNESS __attribute__((no_sanitize("coverage", "address")))
#else
#define PAV_FUZZ_HARNESS
#endif

// Byte-for-byte equality of two of our own objects, without going through the
// sanitizers' memcmp hooks (which cost more than the comparison).
template <class T>
PAV_FUZZ_HARNESS inline bool SameBytes(const T& a, const T& b) {
  const auto* p = reinterpret_cast<const unsigned char*>(&a);
  const auto* q = reinterpret_cast<const unsigned char*>(&b);
  std::uint64_t diff = 0;
  std::size_t i = 0;
  for (; i + 8 <= sizeof(T); i += 8) {
    std::uint64_t u, v;
    std::memcpy(&u, p + i, 8);
    std::memcpy(&v, q + i, 8);
    diff |= u ^ v;
  }
  for (; i < sizeof(T); ++i) diff |= static_cast<std::uint64_t>(p[i] ^ q[i]);
  return diff == 0;
}

// Every push of a position, each from the position itself, with the checks that
// hold for any board: a refused push changes nothing, a successful one keeps the
// tile faces. A cell without a tile on floor cannot be pushed at all. Used on the
// patterns that puzzles and saved games carry.
PAV_FUZZ_HARNESS inline void SweepPushes(TGameState& s, const TPattern& start) {
  TMoveEngine engine(s);
  TGame& g = s.Game;
  CopyPattern(start, g.Current);
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y)
      for (int dir = 1; dir <= 4; ++dir) {
        s.StepCount = 0;
        const std::int32_t moves = g.Moves;
        if (g.Board.Cells[x][y] != 0 || start.Tiles[x][y] == 0) {
          PAV_FUZZ_CHECK(!engine.TryPush(false, false, x, y, dir));
          continue;
        }
        if (engine.TryPush(false, false, x, y, dir)) {
          std::array<int, 256> n{};
          for (int cx = 1; cx <= MaxCols; ++cx)
            for (int cy = 1; cy <= MaxRows; ++cy) {
              ++n[start.Tiles[cx][cy]];
              --n[g.Current.Tiles[cx][cy]];
            }
          for (int k : n) PAV_FUZZ_CHECK(k == 0);
          CopyPattern(start, g.Current);  // the next push starts from the position again
        } else {
          PAV_FUZZ_CHECK(SameBytes(start, g.Current));
          PAV_FUZZ_CHECK(g.Moves == moves);
        }
      }
}

// ---------------------------------------------------------------------------
// Sample boards.

inline void SetName(TName20& n, const char* s) { n.Assign(s); }

// A board of width x height cells, the outer ring solid, the rest floor, no tiles.
inline std::unique_ptr<TBoard> EmptyBoard(int width, int height) {
  auto b = std::make_unique<TBoard>();
  std::memset(b.get(), 0, sizeof(TBoard));
  b->Width = static_cast<std::uint8_t>(width);
  b->Height = static_cast<std::uint8_t>(height);
  for (int x = 0; x < GridW; ++x)
    for (int y = 0; y < GridH; ++y)
      b->Cells[x][y] = (x <= 1 || y <= 1 || x >= width || y >= height) ? 1 : 0;
  b->StepsPerMove = 1;
  ClearRecordTable(b->Records, TRecordOrder::Ascending);
  for (auto& row : b->BotRecords)
    for (auto& t : row) ClearRecordTable(t, TRecordOrder::Descending);
  SetName(b->Title, "Sample");
  SetName(b->Author, "Pavilore");
  return b;
}

inline void AddTurn(TBoard& b, int x, int y, int corner) {
  for (TTurn& t : b.Turns)
    if (t.X == 0) {
      t = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(corner)};
      return;
    }
}

inline void AddJump(TBoard& b, int x1, int y1, int s1, int x2, int y2, int s2) {
  for (TJump& j : b.Jumps)
    if (j.X1 == 0) {
      j = {static_cast<std::uint8_t>(x1), static_cast<std::uint8_t>(y1), static_cast<std::uint8_t>(s1),
           static_cast<std::uint8_t>(x2), static_cast<std::uint8_t>(y2), static_cast<std::uint8_t>(s2)};
      return;
    }
}

inline void AddLink(TPattern& p, int x1, int y1, int x2, int y2) {
  for (TLink& l : p.Links)
    if (l.X1 == 0) {
      l = {static_cast<std::uint8_t>(x1), static_cast<std::uint8_t>(y1), static_cast<std::uint8_t>(x2),
           static_cast<std::uint8_t>(y2)};
      return;
    }
}

// The full board of the benchmarks, 20 x 15 with 50 tiles (faces 1..50):
// - row 2: ten tiles on X 2..11, empty to the right (a push of ten tiles);
// - row 4: ten tiles on X 10..19 against the frame (a refused push);
// - a ring of ten tiles on the track X 2..5, Y 12..14 around the block (3..4, 13),
//   with corner pieces on the block, turning clockwise;
// - tiles on (2..5, 7) and (2, 6): pushed left from (5, 7) the row bends up at the
//   corner piece (1, 8, 2), and the tile on (2, 6) enters the jump mouth on (2, 5)
//   and comes out of (10, 9) onto (11, 9), pushing the tiles on (11..12, 9);
// - thirteen more tiles on X 14..19, Y 10..12.
inline std::unique_ptr<TBoard> FullBoard() {
  auto b = EmptyBoard(20, 15);
  TPattern& p = b->Pattern;
  int face = 0;
  auto tile = [&](int x, int y) { p.Tiles[x][y] = static_cast<std::uint8_t>(++face); };
  for (int x = 2; x <= 11; ++x) tile(x, 2);
  for (int x = 10; x <= 19; ++x) tile(x, 4);
  // The ring and its track.
  b->Cells[2][11] = 1;
  b->Cells[6][12] = 1;
  b->Cells[3][13] = 1;
  b->Cells[4][13] = 1;
  AddTurn(*b, 3, 13, 1);
  AddTurn(*b, 3, 13, 4);
  AddTurn(*b, 4, 13, 2);
  AddTurn(*b, 4, 13, 3);
  for (int x = 2; x <= 5; ++x) tile(x, 12);
  tile(5, 13);
  for (int x = 5; x >= 2; --x) tile(x, 14);
  tile(2, 13);
  // The bend and the jump.
  b->Cells[2][5] = 1;
  b->Cells[2][8] = 1;
  b->Cells[10][9] = 1;
  AddTurn(*b, 1, 8, 2);
  AddJump(*b, 2, 5, DirDown, 10, 9, DirRight);
  for (int x = 5; x >= 2; --x) tile(x, 7);
  tile(2, 6);
  tile(11, 9);
  tile(12, 9);
  // The rest.
  for (int y = 10; y <= 12 && face < 50; ++y)
    for (int x = 14; x <= 19 && face < 50; ++x) tile(x, y);
  SetName(b->Title, "Full");
  return b;
}

// A small board with a glued pair, for the seeds: 8 x 7, tiles on the middle row.
inline std::unique_ptr<TBoard> GluedBoard() {
  auto b = EmptyBoard(8, 7);
  TPattern& p = b->Pattern;
  p.Tiles[3][3] = 1;
  p.Tiles[4][3] = 2;
  p.Tiles[3][4] = 3;
  p.Tiles[5][5] = 4;
  AddLink(p, 3, 3, 3, 4);
  AddTurn(*b, 1, 6, 2);
  SetName(b->Title, "Glued");
  return b;
}

// A ring of ten tiles turning clockwise on the track X 3..6, Y 3..5 of a 10 x 8
// board, and one more tile on (2, 3): pushed right, it feeds into the ring, whose
// row then runs round and round without coming back to its start, until the
// tracer gives up after 10000 cells ("Overflow error : 6,3 Dir 2").
inline std::unique_ptr<TBoard> FeederRingBoard() {
  auto b = EmptyBoard(10, 8);
  TPattern& p = b->Pattern;
  b->Cells[7][3] = b->Cells[6][6] = b->Cells[2][5] = b->Cells[3][2] = 1;
  b->Cells[4][4] = b->Cells[5][4] = 1;
  AddTurn(*b, 4, 4, 1);
  AddTurn(*b, 4, 4, 4);
  AddTurn(*b, 5, 4, 2);
  AddTurn(*b, 5, 4, 3);
  int face = 0;
  for (int x = 3; x <= 6; ++x) {
    p.Tiles[x][3] = static_cast<std::uint8_t>(++face);
    p.Tiles[x][5] = static_cast<std::uint8_t>(++face);
  }
  p.Tiles[3][4] = static_cast<std::uint8_t>(++face);
  p.Tiles[6][4] = static_cast<std::uint8_t>(++face);
  p.Tiles[2][3] = static_cast<std::uint8_t>(++face);
  SetName(b->Title, "Feeder");
  return b;
}

// ---------------------------------------------------------------------------
// Input of the push target: the parts of a board record the engine reads, then
// an options byte, then pushes of three bytes each.
//   [0, 950)     the board record's first 950 bytes: Width, Height, Cells, Pattern
//   [950, 1400)  Jumps and Turns (record offsets 11750..12200)
//   1400         StepsPerMove
//   1401         options (TPushOptions bits)
//   1402...      pushes: X, Y, Dir (X mod 22, Y mod 17, Dir mod 6: 0 and 5 are invalid)
constexpr std::size_t PushHeadSize = 950;
constexpr std::size_t PushFlowOffset = offsetof(TBoard, Jumps);
constexpr std::size_t PushFlowSize = sizeof(TBoard::Jumps) + sizeof(TBoard::Turns);
constexpr std::size_t PushInputHeader = PushHeadSize + PushFlowSize + 2;
static_assert(offsetof(TBoard, Pattern) + sizeof(TPattern) == PushHeadSize);
static_assert(offsetof(TBoard, Turns) == PushFlowOffset + sizeof(TBoard::Jumps));

enum TPushOptions : std::uint8_t {
  PushRunning = 1,    // a game runs: moves count, the objective is tested
  PushSound = 2,      // pushes ask for the move sound
  PushComputer = 4,   // the scramble is the computer's (HumanTurn false)
  PushAccuracy = 24,  // two bits: the computer's accuracy 0..2 (3 reads as 2)
  PushHeavy = 32,     // also run the playability check and a scramble
};

// Builds a board record from a push input (false when the input is too short).
inline bool BoardFromPushInput(const std::uint8_t* data, std::size_t size, TBoard& b) {
  if (size < PushInputHeader) return false;
  std::memset(&b, 0, sizeof b);
  std::memcpy(&b, data, PushHeadSize);
  std::memcpy(reinterpret_cast<std::uint8_t*>(&b) + PushFlowOffset, data + PushHeadSize, PushFlowSize);
  b.StepsPerMove = data[PushHeadSize + PushFlowSize];
  return true;
}

// The inverse, for the seeds.
inline std::string PushInputFromBoard(const TBoard& b, std::uint8_t options) {
  std::string s(PushInputHeader, '\0');
  std::memcpy(s.data(), &b, PushHeadSize);
  std::memcpy(s.data() + PushHeadSize, reinterpret_cast<const std::uint8_t*>(&b) + PushFlowOffset, PushFlowSize);
  s[PushHeadSize + PushFlowSize] = static_cast<char>(b.StepsPerMove);
  s[PushHeadSize + PushFlowSize + 1] = static_cast<char>(options);
  return s;
}

inline void AppendPush(std::string& s, int x, int y, int dir) {
  s += static_cast<char>(x);
  s += static_cast<char>(y);
  s += static_cast<char>(dir);
}

}  // namespace pav::fuzz
