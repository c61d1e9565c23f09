// pavilore-tool check DIR: every file of an installation, as the game will use it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "Commands.h"
#include "Install.h"
#include "PictureHeaders.h"
#include "engine/MoveEngine.h"
#include "engine/Scramble.h"
#include "files/GameFiles.h"
#include "platform/Jpeg.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/Text.h"
#include "solver/Solver.h"

namespace fs = std::filesystem;

namespace pav::tool {

namespace {

class TChecker {
 public:
  TChecker(std::string dir, bool media, double solveSeconds)
      : Dir(std::move(dir)), Media(media), SolveSeconds(solveSeconds) {}

  int Run() {
    CheckBoards();
    CheckPuzzles();
    CheckCampaigns();
    CheckSavedGames();
    if (Media) {
      CheckGraphics();
      CheckSounds();
      CheckMusic();
    }
    CheckConfig();
    for (const std::string& p : Pars) std::cout << p << "\n";
    for (const std::string& p : Problems) std::cout << p << "\n";
    if (!Problems.empty()) {
      std::cout << Dir << ": " << Problems.size() << (Problems.size() == 1 ? " problem" : " problems") << "\n";
      return 2;
    }
    std::cout << Dir << ": " << Boards << " boards, " << Puzzles << " puzzles, " << Campaigns << " campaigns, ";
    if (Media) std::cout << Pictures << " pictures, " << Sounds << " sounds, " << Music << " pieces of music ";
    std::cout << (Media ? "and " : "") << "the configuration: no problems\n";
    return 0;
  }

 private:
  std::string Dir;
  bool Media;  // pictures, sounds and music too
  double SolveSeconds;  // per puzzle; 0 leaves the puzzles unsolved
  std::vector<std::string> Problems;
  std::vector<std::string> Pars;  // each puzzle's fewest moves, or its bounds
  int Boards = 0, Puzzles = 0, Campaigns = 0, Pictures = 0, Sounds = 0, Music = 0;

  // Names are shown as the folder-relative path the player sees.
  void Problem(const std::string& rel, const std::string& what) { Problems.push_back(Dir + "/" + rel + ": " + what); }

  std::string Path(const std::string& rel) const { return GamePath(Dir, "/" + rel); }
  bool Exists(const std::string& rel) const { return FileExists(Path(rel)); }

  // Reads a record; a problem is reported and false returned when it cannot be used.
  template <class R>
  bool Load(const std::string& rel, R& out, void (*load)(const std::string&, R&)) {
    try {
      load(Path(rel), out);
      return true;
    } catch (const EInOutError& e) {
      Problem(rel, e.Reason);
    } catch (const EBadGameFile& e) {
      Problem(rel, e.Rule);
    }
    return false;
  }

  static std::string Name(const std::string& file) { return file.substr(0, file.size() - 4); }

  // Entries of a folder that carry a game file's extension but are no file (a
  // folder "X.BRD", say): the game lists none of them and cannot read them.
  void CheckNotFiles(const std::string& folder, const std::string& ext, const std::string& what) {
    std::error_code ec;
    for (fs::directory_iterator it(Path(folder), ec), end; !ec && it != end; it.increment(ec)) {
      const std::string n = it->path().filename().string();
      if (n.size() < ext.size() || !SameTextIgnoringCase(n.substr(n.size() - ext.size()), ext)) continue;
      if (FileExists(it->path().string())) continue;
      const std::string is = FolderExists(it->path().string()) ? "Is a directory" : "Is no regular file";
      Problem(folder + "/" + n, is + ", which the game does not list as " + what);
    }
  }

  // ---- boards

  // Pushes from a position that run round a closed circuit without end: the game
  // stops them with its "Overflow error" box.
  static std::optional<std::string> EndlessPush(const TBoard& b, const TPattern& from) {
    auto state = std::make_unique<TGameState>();
    state->Game.Board = b;
    TMoveEngine engine(*state);
    for (int x = 1; x <= b.Width; ++x)
      for (int y = 1; y <= b.Height; ++y)
        for (int d = 1; d <= 4; ++d) {
          CopyPattern(from, state->Game.Current);
          engine.TryPush(false, false, x, y, d);
          if (engine.LastResult.Refusal == TPushRefusal::Overflow)
            return "the push of (" + std::to_string(x) + "," + std::to_string(y) + ") direction " + std::to_string(d) +
                   " never ends (" + engine.LastResult.Message + ")";
        }
    return std::nullopt;
  }

  void CheckBoards() {
    if (!FolderExists(Path("Boards"))) {
      Problem("Boards", "the folder is missing; the game refuses to start without boards");
      return;
    }
    CheckNotFiles("Boards", ".BRD", "a board");
    const std::vector<std::string> files = ListFiles(Path("Boards"), ".BRD");
    if (files.empty()) Problem("Boards", "there are no boards; the game refuses to start without one");
    for (const std::string& f : files) {
      const std::string rel = "Boards/" + f;
      auto b = std::make_unique<TBoard>();
      if (!Load(rel, *b, &LoadBoard)) continue;
      ++Boards;
      auto state = std::make_unique<TGameState>();
      state->Game.Board = *b;
      TMoveEngine engine(*state);
      if (!CheckBoardPlayable(engine)) Problem(rel, "no push changes the board's own pattern; it cannot be scrambled");
      if (auto endless = EndlessPush(*b, b->Pattern)) Problem(rel, *endless);
    }
  }

  // The board a puzzle names, loaded; nullptr (and a problem) when missing or broken.
  std::unique_ptr<TBoard> BoardOf(const std::string& rel, const TPuzzle& p, const std::string& who) {
    const std::string name = p.BoardName.Str();
    const std::string boardRel = "Boards/" + name + ".BRD";
    if (name.empty() || !Exists(boardRel)) {
      Problem(rel, who + "the board '" + Cp1252ToUtf8(name) + "' is missing");
      return nullptr;
    }
    auto b = std::make_unique<TBoard>();
    try {
      LoadBoard(Path(boardRel), *b);
    } catch (const std::exception&) {
      return nullptr;  // reported with the board
    }
    return b;
  }

  void CheckPuzzleFolder(const std::string& folder) {
    if (!FolderExists(Path(folder))) return;
    CheckNotFiles(folder, ".PZZ", "a puzzle");
    for (const std::string& f : ListFiles(Path(folder), ".PZZ")) {
      const std::string rel = folder + "/" + f;
      auto p = std::make_unique<TPuzzle>();
      if (!Load(rel, *p, &LoadPuzzle)) continue;
      ++Puzzles;
      if (PatternsEqual(p->IP, p->OP)) Problem(rel, "the initial and objective patterns are equal");
      if (p->TimeLimit < 0) Problem(rel, "the time limit is negative");
      if (p->MovesLimit < 0) Problem(rel, "the moves limit is negative");
      if (auto b = BoardOf(rel, *p, "")) {
        if (auto endless = EndlessPush(*b, p->IP))
          Problem(rel, "from the initial pattern " + *endless);
        else if (SolveSeconds > 0)
          CheckWinnable(rel, *b, *p);
      }
    }
  }

  // The fewest moves from the initial to the objective pattern, against the moves limit.
  void CheckWinnable(const std::string& rel, const TBoard& b, const TPuzzle& p) {
    TSolveLimits limits;
    limits.Seconds = SolveSeconds;
    const TSolveResult r = Solve(b, p.IP, p.OP, limits);
    const std::string limit =
        p.MovesLimit > 0 ? ", moves limit " + std::to_string(p.MovesLimit) : ", no moves limit";
    switch (r.Status) {
      case TSolveStatus::NoSolution:
        Pars.push_back(rel + ": no solution");
        Problem(rel, "the objective pattern cannot be reached from the initial pattern");
        return;
      case TSolveStatus::Optimal:
        Pars.push_back(rel + ": par " + std::to_string(r.Moves) + limit);
        break;
      case TSolveStatus::NotProven:
        Pars.push_back(rel + ": par at least " + std::to_string(r.LowerBound) +
                       (r.Moves >= 0 ? ", at most " + std::to_string(r.Moves) : std::string()) + limit +
                       " (not proven in " + FormatSeconds(SolveSeconds) + ")");
        break;
    }
    if (p.MovesLimit > 0 && p.MovesLimit < r.LowerBound)
      Problem(rel, "the moves limit " + std::to_string(p.MovesLimit) + " is below the fewest moves (" +
                       (r.Status == TSolveStatus::Optimal ? "" : "at least ") + std::to_string(r.LowerBound) +
                       "): the puzzle cannot be won");
  }

  static std::string FormatSeconds(double s) {
    std::ostringstream o;
    o << s << " s";
    return o.str();
  }

  void CheckPuzzles() {
    if (!FolderExists(Path("Puzzles"))) Problem("Puzzles", "the folder is missing");
    CheckPuzzleFolder("Puzzles");
    CheckPuzzleFolder("Puzzles/Campaign Levels");
  }

  // "Puzzles/<name>.PZZ" when it exists, else "Puzzles/Campaign Levels/<name>.PZZ"; "" when neither.
  std::string LevelPath(const std::string& name) const {
    if (Exists("Puzzles/" + name + ".PZZ")) return "Puzzles/" + name + ".PZZ";
    if (Exists("Puzzles/Campaign Levels/" + name + ".PZZ")) return "Puzzles/Campaign Levels/" + name + ".PZZ";
    return {};
  }

  void CheckCampaigns() {
    if (!FolderExists(Path("Campaigns"))) return;
    CheckNotFiles("Campaigns", ".CPN", "a campaign");
    for (const std::string& f : ListFiles(Path("Campaigns"), ".CPN")) {
      const std::string rel = "Campaigns/" + f;
      auto c = std::make_unique<TCampaign>();
      if (!Load(rel, *c, &LoadCampaign)) continue;
      ++Campaigns;
      const int n = LevelCount(*c);
      if (n == 0) Problem(rel, "there are no levels");
      for (int i = 0; i < n; ++i) {
        const std::string name = c->Levels[i].Str();
        const std::string who = "level " + std::to_string(i + 1) + " '" + Cp1252ToUtf8(name) + "': ";
        const std::string level = LevelPath(name);
        if (level.empty()) {
          Problem(rel, who + "the puzzle is in neither Puzzles nor Puzzles/Campaign Levels");
          continue;
        }
        auto p = std::make_unique<TPuzzle>();
        try {
          LoadPuzzle(Path(level), *p);
        } catch (const std::exception&) {
          Problem(rel, who + "the puzzle " + level + " cannot be used");
          continue;
        }
        BoardOf(rel, *p, who);
        if (PatternsEqual(p->IP, p->OP)) Problem(rel, who + "the initial and objective patterns are equal");
      }
    }
  }

  // The files a saved game names, read as the game reads them when it takes the game
  // up, and its position on its board; the first problem, worded as the game's.
  std::optional<std::string> SavedGameFiles(const TSavedGame& g) {
    auto named = [&](const std::string& what, const std::string& rel, auto load,
                     auto& out) -> std::optional<std::string> {
      try {
        load(Path(rel), out);
      } catch (const EInOutError& e) {
        return "the " + what + " it names can't be read (" + e.Reason + ")";
      } catch (const EBadGameFile& e) {
        return "the " + what + " it names can't be read (" + e.Rule + ")";
      }
      return std::nullopt;
    };
    if (g.GameMode < 1 || g.GameMode > 3) return std::nullopt;  // taken up as nothing
    std::string boardName = g.BoardName.Str();
    if (g.GameMode == 1 && !g.PuzzleName.Empty()) {
      auto p = std::make_unique<TPuzzle>();
      const std::string name = g.PuzzleName.Str();
      if (auto err = named("puzzle '" + name + "'", "Puzzles/" + name + ".PZZ", &LoadPuzzle, *p)) return err;
    }
    if (g.GameMode == 3) {
      const std::string name = g.CampaignName.Str();
      auto c = std::make_unique<TCampaign>();
      if (auto err = named("campaign '" + name + "'", "Campaigns/" + name + ".CPN", &LoadCampaign, *c)) return err;
      const int levels = LevelCount(*c);
      if (g.Level > levels)
        return "its level " + std::to_string(g.Level) + " is past the end of the campaign '" + name + "' of " +
               std::to_string(levels) + " levels";
      const std::string level = c->Levels[g.Level - 1].Str();
      std::string rel = LevelPath(level);
      if (rel.empty()) rel = "Puzzles/Campaign Levels/" + level + ".PZZ";
      auto p = std::make_unique<TPuzzle>();
      if (auto err = named("puzzle '" + level + "'", rel, &LoadPuzzle, *p)) return err;
      boardName = p->BoardName.Str();
    }
    auto b = std::make_unique<TBoard>();
    if (auto err = named("board '" + boardName + "'", "Boards/" + boardName + ".BRD", &LoadBoard, *b)) return err;
    return CheckSavedGameFits(g, *b);
  }

  void CheckSavedGames() {
    if (!FolderExists(Path("Saved Games"))) return;
    CheckNotFiles("Saved Games", ".SGM", "a saved game");
    for (const std::string& f : ListFiles(Path("Saved Games"), ".SGM")) {
      auto g = std::make_unique<TSavedGame>();
      const std::string rel = "Saved Games/" + f;
      if (!Load(rel, *g, &LoadSavedGame)) continue;
      // What the game checks before it takes the game up.
      if (auto err = CheckSavedGameState(*g)) {
        Problem(rel, *err);
        continue;
      }
      if (auto err = SavedGameFiles(*g)) Problem(rel, *err);
    }
  }

  // ---- pictures, sounds, music

  static std::string ReadFile(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    ok = static_cast<bool>(in);
    if (ok) s << in.rdbuf();
    return s.str();
  }

  static bool StartsWith(const std::string& s, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    return s.size() >= n && SameTextIgnoringCase(s.substr(0, n), prefix);
  }

  bool PicturePresent(const std::string& name) const {
    return Exists("Graphics/" + name + ".BMP") || Exists("Graphics/" + name + ".JPG");
  }

  void CheckGraphics() {
    if (!FolderExists(Path("Graphics"))) {
      Problem("Graphics", "the folder is missing");
      return;
    }
    std::vector<std::string> files = ListFiles(Path("Graphics"), ".BMP");
    for (const std::string& f : ListFiles(Path("Graphics"), ".JPG")) files.push_back(f);
    for (const std::string& f : files) {
      const std::string rel = "Graphics/" + f;
      if (SameTextIgnoringCase(f, "Temp.BMP")) continue;  // the game's working file
      bool ok = false;
      const std::string bytes = ReadFile(Path(rel), ok);
      if (!ok) {
        Problem(rel, "cannot be read");
        continue;
      }
      long w = 0, h = 0;
      const bool jpeg = SameTextIgnoringCase(f.substr(f.size() - 4), ".JPG");
      if (auto bad = jpeg ? JpegSize(bytes, w, h) : BmpSize(bytes, w, h)) {
        Problem(rel, *bad);
        continue;
      }
      if (w > MaxPictureSide || h > MaxPictureSide || static_cast<std::int64_t>(w) * h > MaxPicturePixels) {
        // As the game words it when it refuses the picture.
        Problem(rel, "the picture is " + std::to_string(w) + " x " + std::to_string(h) +
                         " pixels; the game reads at most " + std::to_string(MaxPictureSide) +
                         " pixels a side and 16 million pixels in all");
        continue;
      }
      ++Pictures;
      const std::string size = std::to_string(w) + " x " + std::to_string(h);
      if (StartsWith(f, "GB - ") && (w < 480 || h < 192))
        Problem(rel, "board graphics of " + size + " pixels; at least 480 x 192 are needed");
      if (StartsWith(f, "TS - ") && !((w == 480 && h >= 240) || (w == 240 && h >= 240)))
        Problem(rel, "a tile set of " + size + " pixels; it must be 480 (or 240) wide and 240 high");
      if (StartsWith(f, "BK - ") && (w < 240 || h < 240))
        Problem(rel, "a wall background of " + size + " pixels; at least 240 x 240 are needed");
    }
    for (const char* needed : {"GB - Default", "TS - Default"})
      if (!PicturePresent(needed)) Problem(std::string("Graphics/") + needed + ".BMP", "is missing (the default set)");
    if (!Exists("Graphics/TS - Default.BMP") && PicturePresent("TS - Default"))
      Problem("Graphics/TS - Default.BMP", "is missing; half-width tile sets take their other tiles from it");
  }

  static std::optional<std::string> WaveProblem(const std::string& b) {
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return "not a RIFF/WAVE file";
    if (LE(b, 4, 4) + 8 > b.size()) return "the RIFF chunk runs past the end of the file";
    bool fmt = false, data = false;
    std::size_t i = 12;
    while (i + 8 <= b.size()) {
      const std::string id = b.substr(i, 4);
      const std::uint32_t len = LE(b, i + 4, 4);
      if (i + 8 + len > b.size()) return "the '" + id + "' chunk runs past the end of the file";
      if (id == "fmt ") {
        if (len < 16) return "the format chunk is too short";
        const std::uint32_t channels = LE(b, i + 10, 2), rate = LE(b, i + 12, 4), bits = LE(b, i + 22, 2);
        if (channels == 0 || rate == 0 || bits == 0) return "the format chunk has no channels, rate or sample size";
        fmt = true;
      } else if (id == "data") {
        if (!fmt) return "the data chunk comes before the format chunk";
        data = true;
      }
      i += 8 + len + (len & 1);
    }
    if (!fmt) return "no format chunk";
    if (!data) return "no data chunk";
    return std::nullopt;
  }

  static std::optional<std::string> MidiProblem(const std::string& b) {
    if (b.size() < 14 || b.compare(0, 4, "MThd") != 0) return "not a MIDI file (no MThd chunk)";
    const std::uint32_t len = BE(b, 4, 4);
    if (len < 6 || 8 + len > b.size()) return "a broken MThd chunk";
    const std::uint32_t format = BE(b, 8, 2), tracks = BE(b, 10, 2);
    if (format > 2) return "MIDI format " + std::to_string(format) + " (0, 1 or 2 expected)";
    if (tracks == 0) return "no tracks";
    std::uint32_t found = 0;
    std::size_t i = 8 + len;
    while (i + 8 <= b.size()) {
      const std::uint32_t l = BE(b, i + 4, 4);
      if (i + 8 + l > b.size()) return "a chunk runs past the end of the file";
      if (b.compare(i, 4, "MTrk") == 0) ++found;
      i += 8 + l;
    }
    if (i != b.size()) return "stray bytes after the last chunk";
    if (found != tracks) return std::to_string(tracks) + " tracks announced, " + std::to_string(found) + " MTrk chunks found";
    return std::nullopt;
  }

  void CheckMedia(const std::string& folder, const std::string& ext, std::optional<std::string> (*problem)(const std::string&),
                  int& count) {
    if (!FolderExists(Path(folder))) {
      Problem(folder, "the folder is missing");
      return;
    }
    for (const std::string& f : ListFiles(Path(folder), ext)) {
      const std::string rel = folder + "/" + f;
      bool ok = false;
      const std::string bytes = ReadFile(Path(rel), ok);
      if (!ok) {
        Problem(rel, "cannot be read");
        continue;
      }
      if (auto bad = problem(bytes))
        Problem(rel, *bad);
      else
        ++count;
    }
  }

  void CheckSounds() { CheckMedia("Sounds", ".WAV", &WaveProblem, Sounds); }
  void CheckMusic() { CheckMedia("Music", ".MID", &MidiProblem, Music); }

  // ---- the configuration

  void CheckConfig() {
    const std::string rel = "System/Pavilore.CFG";
    if (!Exists(rel)) {
      Problem(rel, "is missing; the game refuses to start without it");
      return;
    }
    TConfig c;
    if (!Load(rel, c, &LoadConfig)) return;
    auto bad = [&](const std::string& what) { Problem(rel, what); };
    auto flag = [&](std::uint8_t v, const char* name) {
      if (v > 1) bad(std::string(name) + " is " + std::to_string(v) + "; 0 or 1 expected");
    };
    if (c.GameMode < 1 || c.GameMode > 3) bad("GameMode is " + std::to_string(c.GameMode) + "; 1, 2 or 3 expected");
    if (c.ComputerSpeed > 2) bad("ComputerSpeed is " + std::to_string(c.ComputerSpeed) + "; 0..2 expected");
    if (c.ComputerAccuracy > 2) bad("ComputerAccuracy is " + std::to_string(c.ComputerAccuracy) + "; 0..2 expected");
    if (c.MusicMode < 1 || c.MusicMode > 3) bad("MusicMode is " + std::to_string(c.MusicMode) + "; 1, 2 or 3 expected");
    flag(c.IPFromPuzzle, "IPFromPuzzle");
    flag(c.OPFromPuzzle, "OPFromPuzzle");
    flag(c.TLFromPuzzle, "TLFromPuzzle");
    flag(c.MLFromPuzzle, "MLFromPuzzle");
    flag(c.HumanPlaysFirst, "HumanPlaysFirst");
    flag(c.WheelMoves, "WheelMoves");
    flag(c.AutoTileSet, "AutoTileSet");
    flag(c.WriteLog, "WriteLog");
    flag(c.ShowInvalid, "ShowInvalid");
    flag(c.HighlightElements, "HighlightElements");
    flag(c.UserPictureOn, "UserPictureOn");
    flag(c.SoundsOn, "SoundsOn");
    flag(c.MusicOn, "MusicOn");
    flag(c.PictureOn, "PictureOn");
    flag(c.UseOpponentTime, "UseOpponentTime");
    flag(c.UseOpponentMoves, "UseOpponentMoves");
    flag(c.OpponentAnd, "OpponentAnd");
    flag(c.ShowWelcome, "ShowWelcome");
    if (c.PictureW > MaxCols || c.PictureH > MaxRows) bad("the custom picture is larger than the largest board");
    if (c.PictureX < 1 || c.PictureX > MaxCols || c.PictureY < 1 || c.PictureY > MaxRows)
      bad("the custom picture's place (" + std::to_string(c.PictureX) + "," + std::to_string(c.PictureY) +
          ") is outside columns 1..20 and rows 1..15");
    if (c.PlayerName.Len > 12) bad("PlayerName is longer than the 12 characters a player name has");

    auto name = [](const auto& s) { return s.Str(); };
    const auto over = [&](const auto& s, const char* field) {
      if (s.Len > s.Capacity) bad(std::string(field) + " has a length byte above its capacity");
    };
    over(c.BoardName, "BoardName");
    over(c.PuzzleName, "PuzzleName");
    over(c.CampaignName, "CampaignName");
    over(c.PlayerName, "PlayerName");
    over(c.PicturePath, "PicturePath");

    if (!Exists("Boards/" + name(c.BoardName) + ".BRD"))
      bad("BoardName: the board '" + Cp1252ToUtf8(name(c.BoardName)) + "' is missing");
    if (!c.PuzzleName.Empty() && LevelPath(name(c.PuzzleName)).empty())
      bad("PuzzleName: the puzzle '" + Cp1252ToUtf8(name(c.PuzzleName)) + "' is missing");
    if (!c.CampaignName.Empty() && !Exists("Campaigns/" + name(c.CampaignName) + ".CPN"))
      bad("CampaignName: the campaign '" + Cp1252ToUtf8(name(c.CampaignName)) + "' is missing");
    if (c.GameMode == 3 && c.CampaignName.Empty()) bad("GameMode is 3 (campaign) but no campaign is chosen");
    if (c.IPFromPuzzle && c.PuzzleName.Empty() && c.GameMode == 1) bad("IPFromPuzzle is set but no puzzle is chosen");

    if (!Media) return;
    if (!StartsWith(name(c.BoardGraphics), "GB - ")) bad("BoardGraphics does not begin with \"GB - \"");
    else if (!PicturePresent(name(c.BoardGraphics)))
      bad("BoardGraphics: the picture '" + Cp1252ToUtf8(name(c.BoardGraphics)) + "' is missing");
    for (const auto* ts : {&c.TileSet, &c.UserTileSet}) {
      const char* field = ts == &c.TileSet ? "TileSet" : "UserTileSet";
      if (!StartsWith(name(*ts), "TS - ")) bad(std::string(field) + " does not begin with \"TS - \"");
      else if (!PicturePresent(name(*ts)))
        bad(std::string(field) + ": the picture '" + Cp1252ToUtf8(name(*ts)) + "' is missing");
    }
    const std::pair<const TName50*, const char*> sounds[] = {{&c.ClickSound, "ClickSound"},
                                                             {&c.MoveSound, "MoveSound"},
                                                             {&c.SolvedSound, "SolvedSound"},
                                                             {&c.GameOverSound, "GameOverSound"}};
    for (const auto& [s, field] : sounds) {
      const std::string n = name(*s);
      if (n == "[None]" || (n.empty() && !c.SoundsOn)) continue;
      if (!Exists("Sounds/" + n + ".WAV")) bad(std::string(field) + ": the sound '" + Cp1252ToUtf8(n) + "' is missing");
    }
    if (!c.MusicFile.Empty() && !Exists("Music/" + name(c.MusicFile) + ".MID"))
      bad("MusicFile: the music '" + Cp1252ToUtf8(name(c.MusicFile)) + "' is missing");
    if (c.MusicOn && c.MusicFile.Empty()) bad("MusicOn is set but no MusicFile is chosen");
    if (c.PictureOn && !FileExists(name(c.PicturePath)))
      bad("PictureOn is set but the picture '" + Cp1252ToUtf8(name(c.PicturePath)) + "' is missing");
  }
};

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  const std::string usage = "usage: pavilore-tool check DIR [--no-media] [--solve-seconds S | --no-solve]";
  std::string dir;
  bool media = true;
  double solveSeconds = 10;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-media") {
      media = false;
    } else if (a == "--no-solve") {
      solveSeconds = 0;
    } else if (a == "--solve-seconds") {
      if (i + 1 >= args.size()) throw ToolError{usage};
      const std::string& v = args[++i];
      char* end = nullptr;
      solveSeconds = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != '\0' || !(solveSeconds > 0 && solveSeconds < 1e6))
        throw ToolError{"--solve-seconds: '" + v + "' is not a positive number"};
    } else if (a.empty() || (a.size() > 1 && a[0] == '-') || !dir.empty()) {
      throw ToolError{usage};
    } else {
      dir = a;
    }
  }
  if (dir.empty()) throw ToolError{usage};
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (!FolderExists(dir)) throw ToolError{dir + ": no such folder"};
  return TChecker(dir, media, solveSeconds).Run();
}

}  // namespace pav::tool
