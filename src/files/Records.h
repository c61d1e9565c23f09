// The records of the game files, byte for byte as they are stored on disk.
// Every game file and the configuration file hold exactly one such record.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Pattern.h"

namespace pav {

static_assert(std::endian::native == std::endian::little,
              "the game files are little-endian and are read straight into memory");

// String[N]: a length byte then N character bytes, of which only the first
// length-many count. The unused bytes are kept exactly as read.
template <int N>
struct TShortString {
  std::uint8_t Len;
  char Chars[N];

  static constexpr int Capacity = N;
  // A length byte above N is read as N.
  int Length() const { return Len > N ? N : Len; }
  std::string Str() const { return std::string(Chars, static_cast<std::size_t>(Length())); }
  bool Empty() const { return Length() == 0; }
  // Stores the first N bytes of s; the bytes past its length are left as they are.
  void Assign(std::string_view s) {
    const std::size_t n = s.size() < static_cast<std::size_t>(N) ? s.size() : static_cast<std::size_t>(N);
    for (std::size_t i = 0; i < n; ++i) Chars[i] = s[i];
    Len = static_cast<std::uint8_t>(n);
  }
};
static_assert(sizeof(TShortString<12>) == 13);
static_assert(sizeof(TShortString<50>) == 51);

using TName12 = TShortString<12>;
using TName20 = TShortString<20>;
using TName50 = TShortString<50>;
using TName100 = TShortString<100>;

constexpr std::int32_t EmptyRecord = 65000;
constexpr int RecordPositions = 10;

// Two top-10 lists: times and moves (or time and moves differences).
struct TRecordTable {
  TName12 TimeNames[RecordPositions];
  std::uint8_t Pad1[2];
  std::int32_t TimeValues[RecordPositions];
  TName12 MoveNames[RecordPositions];
  std::uint8_t Pad2[2];
  std::int32_t MoveValues[RecordPositions];
};
static_assert(sizeof(TRecordTable) == 344);
static_assert(offsetof(TRecordTable, TimeValues) == 132);
static_assert(offsetof(TRecordTable, MoveNames) == 172);
static_assert(offsetof(TRecordTable, MoveValues) == 304);

constexpr int CellTextCols = 120;
constexpr int CellTextRows = 90;
constexpr int MaxJumps = 50;
constexpr int MaxTurns = 50;

struct TJump {
  std::uint8_t X1, Y1, Side1, X2, Y2, Side2;
};
struct TTurn {
  std::uint8_t X, Y, Corner;
};

struct TBoard {
  std::uint8_t Width;
  std::uint8_t Height;
  std::uint8_t Cells[GridW][GridH];
  TPattern Pattern;
  std::uint8_t CellText[CellTextCols][CellTextRows];  // [col-1][row-1]
  TJump Jumps[MaxJumps];
  TTurn Turns[MaxTurns];
  TRecordTable Records;
  TRecordTable BotRecords[3][3];  // [speed][accuracy]
  std::uint8_t StepsPerMove;
  TName20 Title;
  TName20 Author;
  TName50 RecommendedTileSet;
  std::uint8_t Pad[2];
};
static_assert(sizeof(TBoard) == 15736);
static_assert(offsetof(TBoard, Cells) == 2);
static_assert(offsetof(TBoard, Pattern) == 376);
static_assert(offsetof(TBoard, CellText) == 950);
static_assert(offsetof(TBoard, Jumps) == 11750);
static_assert(offsetof(TBoard, Turns) == 12050);
static_assert(offsetof(TBoard, Records) == 12200);
static_assert(offsetof(TBoard, BotRecords) == 12544);
static_assert(offsetof(TBoard, StepsPerMove) == 15640);
static_assert(offsetof(TBoard, Title) == 15641);
static_assert(offsetof(TBoard, Author) == 15662);
static_assert(offsetof(TBoard, RecommendedTileSet) == 15683);
static_assert(offsetof(TBoard, Pad) == 15734);

struct TPuzzle {
  TName50 BoardName;
  TPattern IP;
  TPattern OP;
  std::uint8_t Reserved[3081];
  std::int32_t TimeLimit;
  std::int32_t MovesLimit;
  TRecordTable Records;
  TName20 Title;
  TName20 Author;
  std::uint8_t Pad[2];
};
static_assert(sizeof(TPuzzle) == 4676);
static_assert(offsetof(TPuzzle, IP) == 51);
static_assert(offsetof(TPuzzle, OP) == 625);
static_assert(offsetof(TPuzzle, Reserved) == 1199);
static_assert(offsetof(TPuzzle, TimeLimit) == 4280);
static_assert(offsetof(TPuzzle, MovesLimit) == 4284);
static_assert(offsetof(TPuzzle, Records) == 4288);
static_assert(offsetof(TPuzzle, Title) == 4632);
static_assert(offsetof(TPuzzle, Author) == 4653);

constexpr int MaxLevels = 255;

struct TCampaign {
  TName50 Levels[MaxLevels];  // level L at index L-1
  std::uint8_t Pad1[3];
  TRecordTable Records;
  TName20 Title;
  TName20 Author;
  std::uint8_t Pad2[2];
};
static_assert(sizeof(TCampaign) == 13396);
static_assert(offsetof(TCampaign, Pad1) == 13005);
static_assert(offsetof(TCampaign, Records) == 13008);
static_assert(offsetof(TCampaign, Title) == 13352);
static_assert(offsetof(TCampaign, Author) == 13373);

// Leading non-empty level names (0..255).
int LevelCount(const TCampaign& c);

struct TSavedGame {
  std::uint8_t GameMode;
  TName50 BoardName;
  TName50 PuzzleName;
  TName50 CampaignName;
  std::uint8_t IPFromPuzzle;
  std::uint8_t MLFromPuzzle;
  std::uint8_t TLFromPuzzle;
  std::uint8_t Pad1[3];
  std::int32_t Moves;
  std::int32_t Seconds;
  TPattern Current;
  TPattern OP;
  std::uint8_t ComputerSpeed;
  std::uint8_t ComputerAccuracy;
  std::uint8_t HumanPlaysFirst;
  std::uint8_t Pad2;
  std::int32_t HumanSeconds;
  std::int32_t HumanMoves;
  std::int32_t ComputerSeconds;
  std::int32_t ComputerMoves;
  std::int32_t OpponentTime;
  std::int32_t OpponentMoves;
  std::uint8_t UseOpponentTime;
  std::uint8_t UseOpponentMoves;
  std::uint8_t OpponentAnd;
  std::uint8_t Pad3;
  std::int32_t CampaignSeconds;
  std::int32_t CampaignMoves;
  std::uint8_t Level;
  TMoveList History;
  std::uint8_t Pad4[3];
  std::int32_t ScrambleLength;
};
static_assert(sizeof(TSavedGame) == 5460);
static_assert(offsetof(TSavedGame, BoardName) == 1);
static_assert(offsetof(TSavedGame, PuzzleName) == 52);
static_assert(offsetof(TSavedGame, CampaignName) == 103);
static_assert(offsetof(TSavedGame, IPFromPuzzle) == 154);
static_assert(offsetof(TSavedGame, TLFromPuzzle) == 156);
static_assert(offsetof(TSavedGame, Moves) == 160);
static_assert(offsetof(TSavedGame, Seconds) == 164);
static_assert(offsetof(TSavedGame, Current) == 168);
static_assert(offsetof(TSavedGame, OP) == 742);
static_assert(offsetof(TSavedGame, ComputerSpeed) == 1316);
static_assert(offsetof(TSavedGame, HumanPlaysFirst) == 1318);
static_assert(offsetof(TSavedGame, HumanSeconds) == 1320);
static_assert(offsetof(TSavedGame, ComputerMoves) == 1332);
static_assert(offsetof(TSavedGame, OpponentTime) == 1336);
static_assert(offsetof(TSavedGame, OpponentMoves) == 1340);
static_assert(offsetof(TSavedGame, UseOpponentTime) == 1344);
static_assert(offsetof(TSavedGame, OpponentAnd) == 1346);
static_assert(offsetof(TSavedGame, CampaignSeconds) == 1348);
static_assert(offsetof(TSavedGame, CampaignMoves) == 1352);
static_assert(offsetof(TSavedGame, Level) == 1356);
static_assert(offsetof(TSavedGame, History) == 1357);
static_assert(offsetof(TSavedGame, Pad4) == 5453);
static_assert(offsetof(TSavedGame, ScrambleLength) == 5456);

// The one configuration record, "\System\Pavilore.CFG".
struct TConfig {
  std::uint8_t GameMode;  // 1 single game, 2 against the computer, 3 campaign
  TName50 BoardName;
  TName50 PuzzleName;
  TName50 CampaignName;
  std::uint8_t IPFromPuzzle;
  std::uint8_t OPFromPuzzle;
  std::uint8_t TLFromPuzzle;
  std::uint8_t MLFromPuzzle;
  std::uint8_t ComputerSpeed;
  std::uint8_t ComputerAccuracy;
  std::uint8_t HumanPlaysFirst;
  std::uint8_t Reserved[51];
  std::uint8_t WheelMoves;
  std::uint8_t AutoTileSet;
  TName20 PlayerName;
  std::uint8_t WriteLog;
  std::uint8_t ShowInvalid;
  std::uint8_t HighlightElements;
  TName50 BoardGraphics;
  TName50 TileSet;
  TName50 UserTileSet;
  std::uint8_t UserPictureOn;
  TName50 ClickSound;
  TName50 MoveSound;
  TName50 SolvedSound;
  TName50 GameOverSound;
  std::uint8_t SoundsOn;
  TName50 MusicFile;
  std::uint8_t MusicMode;  // 1 selected file, 2 random, 3 alphabetic
  std::uint8_t MusicOn;
  TName100 PicturePath;
  std::uint8_t PictureW;
  std::uint8_t PictureH;
  std::uint8_t Pad1[3];
  std::int32_t PictureX;
  std::int32_t PictureY;
  std::uint8_t PictureOn;
  std::uint8_t UseOpponentTime;
  std::uint8_t UseOpponentMoves;
  std::uint8_t OpponentAnd;
  std::uint8_t ShowWelcome;
  std::uint8_t Pad2[3];
};
static_assert(sizeof(TConfig) == 772);
static_assert(offsetof(TConfig, BoardName) == 1);
static_assert(offsetof(TConfig, PuzzleName) == 52);
static_assert(offsetof(TConfig, CampaignName) == 103);
static_assert(offsetof(TConfig, IPFromPuzzle) == 154);
static_assert(offsetof(TConfig, MLFromPuzzle) == 157);
static_assert(offsetof(TConfig, ComputerSpeed) == 158);
static_assert(offsetof(TConfig, HumanPlaysFirst) == 160);
static_assert(offsetof(TConfig, Reserved) == 161);
static_assert(offsetof(TConfig, WheelMoves) == 212);
static_assert(offsetof(TConfig, AutoTileSet) == 213);
static_assert(offsetof(TConfig, PlayerName) == 214);
static_assert(offsetof(TConfig, WriteLog) == 235);
static_assert(offsetof(TConfig, HighlightElements) == 237);
static_assert(offsetof(TConfig, BoardGraphics) == 238);
static_assert(offsetof(TConfig, TileSet) == 289);
static_assert(offsetof(TConfig, UserTileSet) == 340);
static_assert(offsetof(TConfig, UserPictureOn) == 391);
static_assert(offsetof(TConfig, ClickSound) == 392);
static_assert(offsetof(TConfig, MoveSound) == 443);
static_assert(offsetof(TConfig, SolvedSound) == 494);
static_assert(offsetof(TConfig, GameOverSound) == 545);
static_assert(offsetof(TConfig, SoundsOn) == 596);
static_assert(offsetof(TConfig, MusicFile) == 597);
static_assert(offsetof(TConfig, MusicMode) == 648);
static_assert(offsetof(TConfig, MusicOn) == 649);
static_assert(offsetof(TConfig, PicturePath) == 650);
static_assert(offsetof(TConfig, PictureW) == 751);
static_assert(offsetof(TConfig, PictureH) == 752);
static_assert(offsetof(TConfig, PictureX) == 756);
static_assert(offsetof(TConfig, PictureY) == 760);
static_assert(offsetof(TConfig, PictureOn) == 764);
static_assert(offsetof(TConfig, UseOpponentTime) == 765);
static_assert(offsetof(TConfig, OpponentAnd) == 767);
static_assert(offsetof(TConfig, ShowWelcome) == 768);

}  // namespace pav
