#include "Commands.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

#include "CommandLine.h"
#include "Json.h"
#include "engine/MoveEngine.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace pav::tool {

namespace {

// Emits a pattern's tiles as 15 rows (Y 1..15) of 20 values (X 1..20).
void TilesJson(JsonWriter& j, const std::uint8_t (&grid)[GridW][GridH]) {
  j.BeginArray();
  for (int y = 1; y <= MaxRows; ++y) {
    j.BeginArray();
    for (int x = 1; x <= MaxCols; ++x) j.Int(grid[x][y]);
    j.EndArray();
  }
  j.EndArray();
}

void LinksJson(JsonWriter& j, const TPattern& p) {
  j.BeginArray();
  for (int i = 0; i < CountLinks(p); ++i) {
    const TLink& l = p.Links[i];
    j.BeginArray().Int(l.X1).Int(l.Y1).Int(l.X2).Int(l.Y2).EndArray();
  }
  j.EndArray();
}

void PatternJson(JsonWriter& j, const TPattern& p) {
  j.BeginObject();
  j.Key("tiles");
  TilesJson(j, p.Tiles);
  j.Key("links");
  LinksJson(j, p);
  j.EndObject();
}

void ListJson(JsonWriter& j, const TName12 (&names)[RecordPositions], const std::int32_t (&values)[RecordPositions]) {
  j.BeginArray();
  for (int i = 0; i < RecordPositions; ++i)
    j.BeginObject().Key("name").GameString(names[i].Str()).Key("value").Int(values[i]).EndObject();
  j.EndArray();
}

void RecordsJson(JsonWriter& j, const TRecordTable& t) {
  j.BeginObject();
  j.Key("time");
  ListJson(j, t.TimeNames, t.TimeValues);
  j.Key("moves");
  ListJson(j, t.MoveNames, t.MoveValues);
  j.EndObject();
}

void MoveListJson(JsonWriter& j, const TMoveList& l) {
  j.BeginArray();
  for (int i = 0; i < ListLength(l); ++i) j.BeginArray().Int(l.X[i]).Int(l.Y[i]).Int(l.Dir[i]).Int(l.Kind[i]).EndArray();
  j.EndArray();
}

void BoardJson(JsonWriter& j, const TBoard& b) {
  j.BeginObject();
  j.Key("width").Int(b.Width);
  j.Key("height").Int(b.Height);
  j.Key("stepsPerMove").Int(b.StepsPerMove);
  j.Key("title").GameString(b.Title.Str());
  j.Key("author").GameString(b.Author.Str());
  j.Key("recommendedTileSet").GameString(b.RecommendedTileSet.Str());
  j.Key("cells");
  TilesJson(j, b.Cells);
  j.Key("pattern");
  PatternJson(j, b.Pattern);
  j.Key("jumps").BeginArray();
  for (const TJump& jp : b.Jumps) {
    if (jp.X1 == 0) break;
    j.BeginArray().Int(jp.X1).Int(jp.Y1).Int(jp.Side1).Int(jp.X2).Int(jp.Y2).Int(jp.Side2).EndArray();
  }
  j.EndArray();
  j.Key("turns").BeginArray();
  for (const TTurn& t : b.Turns) {
    if (t.X == 0) break;
    j.BeginArray().Int(t.X).Int(t.Y).Int(t.Corner).EndArray();
  }
  j.EndArray();
  j.Key("records");
  RecordsJson(j, b.Records);
  j.Key("botRecords").BeginArray();
  for (int s = 0; s < 3; ++s) {
    j.BeginArray();
    for (int a = 0; a < 3; ++a) RecordsJson(j, b.BotRecords[s][a]);
    j.EndArray();
  }
  j.EndArray();
  j.EndObject();
}

void PuzzleJson(JsonWriter& j, const TPuzzle& p) {
  j.BeginObject();
  j.Key("boardName").GameString(p.BoardName.Str());
  j.Key("ip");
  PatternJson(j, p.IP);
  j.Key("op");
  PatternJson(j, p.OP);
  j.Key("timeLimit").Int(p.TimeLimit);
  j.Key("movesLimit").Int(p.MovesLimit);
  j.Key("records");
  RecordsJson(j, p.Records);
  j.Key("title").GameString(p.Title.Str());
  j.Key("author").GameString(p.Author.Str());
  j.EndObject();
}

void CampaignJson(JsonWriter& j, const TCampaign& c) {
  j.BeginObject();
  const int count = LevelCount(c);
  j.Key("levels").BeginArray();
  for (int i = 0; i < count; ++i) j.GameString(c.Levels[i].Str());
  j.EndArray();
  j.Key("levelCount").Int(count);
  j.Key("records");
  RecordsJson(j, c.Records);
  j.Key("title").GameString(c.Title.Str());
  j.Key("author").GameString(c.Author.Str());
  j.EndObject();
}

void SavedGameJson(JsonWriter& j, const TSavedGame& g) {
  j.BeginObject();
  j.Key("gameMode").Int(g.GameMode);
  j.Key("boardName").GameString(g.BoardName.Str());
  j.Key("puzzleName").GameString(g.PuzzleName.Str());
  j.Key("campaignName").GameString(g.CampaignName.Str());
  j.Key("ipFromPuzzle").Bool(g.IPFromPuzzle != 0);
  j.Key("mlFromPuzzle").Bool(g.MLFromPuzzle != 0);
  j.Key("tlFromPuzzle").Bool(g.TLFromPuzzle != 0);
  j.Key("moves").Int(g.Moves);
  j.Key("seconds").Int(g.Seconds);
  j.Key("current");
  PatternJson(j, g.Current);
  j.Key("op");
  PatternJson(j, g.OP);
  j.Key("computerSpeed").Int(g.ComputerSpeed);
  j.Key("computerAccuracy").Int(g.ComputerAccuracy);
  j.Key("humanPlaysFirst").Bool(g.HumanPlaysFirst != 0);
  j.Key("humanSeconds").Int(g.HumanSeconds);
  j.Key("humanMoves").Int(g.HumanMoves);
  j.Key("computerSeconds").Int(g.ComputerSeconds);
  j.Key("computerMoves").Int(g.ComputerMoves);
  j.Key("opponentTime").Int(g.OpponentTime);
  j.Key("opponentMoves").Int(g.OpponentMoves);
  j.Key("useOpponentTime").Bool(g.UseOpponentTime != 0);
  j.Key("useOpponentMoves").Bool(g.UseOpponentMoves != 0);
  j.Key("opponentAnd").Bool(g.OpponentAnd != 0);
  j.Key("campaignSeconds").Int(g.CampaignSeconds);
  j.Key("campaignMoves").Int(g.CampaignMoves);
  j.Key("level").Int(g.Level);
  j.Key("history");
  MoveListJson(j, g.History);
  j.Key("scrambleLength").Int(g.ScrambleLength);
  j.EndObject();
}

void ConfigJson(JsonWriter& j, const TConfig& c) {
  j.BeginObject();
  j.Key("gameMode").Int(c.GameMode);
  j.Key("boardName").GameString(c.BoardName.Str());
  j.Key("puzzleName").GameString(c.PuzzleName.Str());
  j.Key("campaignName").GameString(c.CampaignName.Str());
  j.Key("ipFromPuzzle").Bool(c.IPFromPuzzle != 0);
  j.Key("opFromPuzzle").Bool(c.OPFromPuzzle != 0);
  j.Key("tlFromPuzzle").Bool(c.TLFromPuzzle != 0);
  j.Key("mlFromPuzzle").Bool(c.MLFromPuzzle != 0);
  j.Key("computerSpeed").Int(c.ComputerSpeed);
  j.Key("computerAccuracy").Int(c.ComputerAccuracy);
  j.Key("humanPlaysFirst").Bool(c.HumanPlaysFirst != 0);
  j.Key("wheelMoves").Bool(c.WheelMoves != 0);
  j.Key("autoTileSet").Bool(c.AutoTileSet != 0);
  j.Key("playerName").GameString(c.PlayerName.Str());
  j.Key("writeLog").Bool(c.WriteLog != 0);
  j.Key("showInvalid").Bool(c.ShowInvalid != 0);
  j.Key("highlightElements").Bool(c.HighlightElements != 0);
  j.Key("boardGraphics").GameString(c.BoardGraphics.Str());
  j.Key("tileSet").GameString(c.TileSet.Str());
  j.Key("userTileSet").GameString(c.UserTileSet.Str());
  j.Key("userPictureOn").Bool(c.UserPictureOn != 0);
  j.Key("clickSound").GameString(c.ClickSound.Str());
  j.Key("moveSound").GameString(c.MoveSound.Str());
  j.Key("solvedSound").GameString(c.SolvedSound.Str());
  j.Key("gameOverSound").GameString(c.GameOverSound.Str());
  j.Key("soundsOn").Bool(c.SoundsOn != 0);
  j.Key("musicFile").GameString(c.MusicFile.Str());
  j.Key("musicMode").Int(c.MusicMode);
  j.Key("musicOn").Bool(c.MusicOn != 0);
  j.Key("picturePath").GameString(c.PicturePath.Str());
  j.Key("pictureW").Int(c.PictureW);
  j.Key("pictureH").Int(c.PictureH);
  j.Key("pictureX").Int(c.PictureX);
  j.Key("pictureY").Int(c.PictureY);
  j.Key("pictureOn").Bool(c.PictureOn != 0);
  j.Key("useOpponentTime").Bool(c.UseOpponentTime != 0);
  j.Key("useOpponentMoves").Bool(c.UseOpponentMoves != 0);
  j.Key("opponentAnd").Bool(c.OpponentAnd != 0);
  j.Key("showWelcome").Bool(c.ShowWelcome != 0);
  j.EndObject();
}
// The tool's game: a solve ends it, and nothing is shown.
class ToolHooks : public EngineHooks {
 public:
  explicit ToolHooks(TGameState& s) : S(s) {}
  void PuzzleSolved() override {
    S.GameRunning = false;
    Solved = true;
  }
  bool Solved = false;

 private:
  TGameState& S;
};

}  // namespace

int RunShow(const std::vector<std::string>& argv) {
  const Args a = ParseArgs(argv, {}, {"--json"});
  if (a.Words.size() != 1) throw ToolError{"usage: pavilore-tool show FILE --json"};
  const std::string& path = a.Words[0];
  JsonWriter j;
  switch (KindOf(path)) {
    case FileKind::Board: {
      auto b = std::make_unique<TBoard>();
      Load(path, [&] { LoadBoard(path, *b); });
      BoardJson(j, *b);
      break;
    }
    case FileKind::Puzzle: {
      auto p = std::make_unique<TPuzzle>();
      Load(path, [&] { LoadPuzzle(path, *p); });
      PuzzleJson(j, *p);
      break;
    }
    case FileKind::Campaign: {
      auto c = std::make_unique<TCampaign>();
      Load(path, [&] { LoadCampaign(path, *c); });
      CampaignJson(j, *c);
      break;
    }
    case FileKind::SavedGame: {
      auto g = std::make_unique<TSavedGame>();
      Load(path, [&] { LoadSavedGame(path, *g); });
      SavedGameJson(j, *g);
      break;
    }
    case FileKind::Config: {
      auto c = std::make_unique<TConfig>();
      Load(path, [&] {
        LoadConfig(path, *c);
        // Values the game ends its start-up on, named as the game names them.
        if (auto err = CheckConfigRecord(*c)) throw EBadGameFile(path, *err);
      });
      ConfigJson(j, *c);
      break;
    }
  }
  Print(j);
  return 0;
}

int RunPush(const std::vector<std::string>& argv) {
  const Args a = ParseArgs(argv, {"--board", "--puzzle", "--start", "--objective"}, {"--json"});
  auto state = std::make_unique<TGameState>();
  TGame& g = state->Game;
  LoadPlayingField(a, g,
                   "usage: pavilore-tool push --board B.BRD [--puzzle P.PZZ] [--start board|ip|op] "
                   "[--objective board|op] --json X,Y,D ...");

  struct Gesture {
    int X, Y, D;
  };
  std::vector<Gesture> gestures;
  for (const std::string& w : a.Words) {
    const auto v = ParseIntList(w, 3, "push");
    if (v[0] < 0 || v[0] > 255 || v[1] < 0 || v[1] > 255 || v[2] < 0 || v[2] > 255)
      throw ToolError{"push: '" + w + "' is outside 0..255"};
    gestures.push_back({v[0], v[1], v[2]});
  }

  state->GameRunning = true;
  state->HumanTurn = true;
  state->StepCount = 0;
  g.Moves = 0;
  ClearList(g.History);
  ToolHooks hooks(*state);
  auto engine = std::make_unique<TMoveEngine>(*state, &hooks);
  const int stepsPerMove = g.Board.StepsPerMove;

  JsonWriter j;
  j.BeginObject();
  j.Key("pushes").BeginArray();
  for (const Gesture& ge : gestures) {
    state->GrabX = static_cast<std::uint8_t>(ge.X);
    state->GrabY = static_cast<std::uint8_t>(ge.Y);
    hooks.Solved = false;
    const bool ok = engine->TryPush(false, false, ge.X, ge.Y, ge.D);
    const TPushResult first = engine->LastResult;
    auto steps = std::make_unique<TMoveList>();
    ClearList(*steps);
    if (ok) {
      FilterSteps(engine->StepRecord);
      *steps = engine->StepRecord;
      AppendList(g.History, engine->StepRecord);
      for (int i = 1; i < stepsPerMove; ++i) engine->TryPush(false, false, ge.X, ge.Y, ge.D);
    }
    state->StepCount = 0;

    j.Newline().BeginObject();
    j.Key("x").Int(ge.X).Key("y").Int(ge.Y).Key("dir").Int(ge.D).Key("ok").Bool(ok);
    j.Key("mark");
    if (first.Refusal == TPushRefusal::Mark)
      j.BeginObject().Key("kind").Int(first.MarkKind).Key("x").Int(first.MarkX).Key("y").Int(first.MarkY).EndObject();
    else if (first.Refusal == TPushRefusal::Overflow)
      j.String("overflow");
    else
      j.Null();
    j.Key("steps");
    MoveListJson(j, *steps);
    j.Key("grab").BeginArray().Int(state->GrabX).Int(state->GrabY).EndArray();
    j.Key("moves").Int(g.Moves);
    j.Key("solved").Bool(hooks.Solved);
    j.EndObject();
  }
  j.EndArray();
  j.Newline().Key("tiles");
  TilesJson(j, g.Current.Tiles);
  j.Newline().Key("links");
  LinksJson(j, g.Current);
  j.Newline().Key("history");
  MoveListJson(j, g.History);
  j.Newline().Key("moves").Int(g.Moves);
  j.EndObject();
  Print(j);
  return 0;
}

int RunRecord(const std::vector<std::string>& argv) {
  const Args a = ParseArgs(argv, {"--seconds", "--moves", "--name", "--bot"}, {"--json"});
  if (a.Words.size() != 1 || !a.Get("--seconds") || !a.Get("--moves") || !a.Get("--name"))
    throw ToolError{"usage: pavilore-tool record FILE --seconds S --moves M --name NAME [--bot SPEED,ACCURACY] --json"};
  const std::string& path = a.Words[0];
  const auto seconds = ParseInt(*a.Get("--seconds"));
  const auto moves = ParseInt(*a.Get("--moves"));
  if (!seconds) throw ToolError{"--seconds: '" + *a.Get("--seconds") + "' is not a 32-bit integer"};
  if (!moves) throw ToolError{"--moves: '" + *a.Get("--moves") + "' is not a 32-bit integer"};
  const std::string name = Utf8ToCp1252(*a.Get("--name")).substr(0, 12);
  std::optional<std::vector<int>> bot;
  if (const auto b = a.Get("--bot")) {
    bot = ParseIntList(*b, 2, "--bot");
    if ((*bot)[0] < 0 || (*bot)[0] > 2 || (*bot)[1] < 0 || (*bot)[1] > 2)
      throw ToolError{"--bot: speed and accuracy must be 0..2"};
  }

  TRecordsUpdate u;
  const FileKind kind = KindOf(path);
  if (bot && kind != FileKind::Board) throw ToolError{path + ": --bot records live in board files"};
  switch (kind) {
    case FileKind::Board: {
      auto b = std::make_unique<TBoard>();
      Load(path, [&] { LoadBoard(path, *b); });
      if (bot)
        u = UpdateRecordTable(b->BotRecords[(*bot)[0]][(*bot)[1]], TRecordOrder::Descending, *seconds, *moves, name);
      else
        u = UpdateRecordTable(b->Records, TRecordOrder::Ascending, *seconds, *moves, name);
      if (u.Changed()) Load(path, [&] { StoreBoard(path, *b); });
      break;
    }
    case FileKind::Puzzle: {
      auto p = std::make_unique<TPuzzle>();
      Load(path, [&] { LoadPuzzle(path, *p); });
      u = UpdateRecordTable(p->Records, TRecordOrder::Ascending, *seconds, *moves, name);
      if (u.Changed()) Load(path, [&] { StorePuzzle(path, *p); });
      break;
    }
    case FileKind::Campaign: {
      auto c = std::make_unique<TCampaign>();
      Load(path, [&] { LoadCampaign(path, *c); });
      u = UpdateRecordTable(c->Records, TRecordOrder::Ascending, *seconds, *moves, name);
      if (u.Changed()) Load(path, [&] { StoreCampaign(path, *c); });
      break;
    }
    default:
      throw ToolError{path + ": records live in board, puzzle and campaign files"};
  }
  JsonWriter j;
  j.BeginObject().Key("time").Int(u.TimePosition).Key("moves").Int(u.MovesPosition).Key("written").Bool(u.Changed());
  j.EndObject();
  Print(j);
  return 0;
}

}  // namespace pav::tool
