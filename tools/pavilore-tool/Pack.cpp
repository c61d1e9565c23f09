#include "Pack.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

#include "Commands.h"
#include "files/ConfigText.h"
#include "files/GameFiles.h"
#include "files/TextFormat.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/Text.h"

namespace pav::tool {

namespace {

struct TArgs {
  std::string Input;
  std::string Output;  // empty: the default
  std::string Boards;  // pack --boards DIR
  bool Solution = false;
};

TArgs ParseArgs(const std::vector<std::string>& args, const std::string& usage, bool packOptions) {
  TArgs a;
  bool haveOutput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& w = args[i];
    if (w == "-o") {
      if (i + 1 >= args.size() || haveOutput) throw ToolError{usage};
      a.Output = args[++i];
      haveOutput = true;
      if (a.Output.empty()) throw ToolError{usage};
    } else if (packOptions && w == "--boards") {
      if (i + 1 >= args.size() || !a.Boards.empty() || args[i + 1].empty()) throw ToolError{usage};
      a.Boards = args[++i];
    } else if (packOptions && w == "--solution") {
      a.Solution = true;
    } else if (w.size() > 1 && w[0] == '-') {
      throw ToolError{"unknown option " + w + "; " + usage};
    } else if (a.Input.empty() && !w.empty()) {
      a.Input = w;
    } else {
      throw ToolError{usage};
    }
  }
  if (a.Input.empty()) throw ToolError{usage};
  return a;
}

// Index of the dot that starts the extension of the last path component, or npos.
std::size_t ExtensionDot(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot <= nameStart) return std::string::npos;
  return dot;
}

bool IsConfigPath(const std::string& path) {
  const std::size_t dot = ExtensionDot(path);
  return dot != std::string::npos && SameTextIgnoringCase(path.substr(dot), ".CFG");
}

std::optional<TGameFileKind> KindOfPath(const std::string& path) {
  const std::size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return std::nullopt;
  const std::string ext = path.substr(dot);
  for (const TGameFileKind k : {TGameFileKind::Board, TGameFileKind::Puzzle, TGameFileKind::Campaign})
    if (SameTextIgnoringCase(ext, KindExtension(k))) return k;
  return std::nullopt;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ToolError{path + ": " + std::strerror(errno)};
  std::ostringstream s;
  s << in.rdbuf();
  if (in.bad()) throw ToolError{path + ": cannot be read"};
  return s.str();
}

void Write(const std::string& path, const void* bytes, std::size_t size) {
  try {
    WriteRecordFile(path, bytes, size);
  } catch (const EInOutError& e) {
    throw ToolError{e.File + ": " + e.Reason};
  }
}

// The board a puzzle is played on, looked up in `boardsDir` when given, then beside
// the puzzle's folder: ../Boards for "Puzzles", ../../Boards for "Puzzles/Campaign
// Levels". Names match without regard to case. `note` tells what was found, for a
// comment in the text.
std::unique_ptr<TBoard> FindBoard(const std::string& puzzlePath, const std::string& boardName, std::string& note,
                                  const std::string& boardsDir = {}) {
  note = "board file not found beside the puzzle; the grids cover the tiles";
  if (boardName.empty() || boardName.find('/') != std::string::npos || boardName.find('\0') != std::string::npos)
    return nullptr;
  std::vector<std::string> names{boardName};
  const std::string utf8 = Cp1252ToUtf8(boardName);
  if (utf8 != boardName) names.push_back(utf8);
  const std::string folder = FolderOf(puzzlePath);
  std::vector<std::string> places;
  if (!boardsDir.empty()) places.push_back(boardsDir + "/");
  for (const char* up : {"/../Boards/", "/../../Boards/"}) places.push_back(folder + up);
  for (const std::string& place : places) {
    for (const std::string& name : names) {
      const std::string path = ResolvePath(place + name + ".BRD");
      if (!FileExists(path)) continue;
      auto board = std::make_unique<TBoard>();
      try {
        LoadBoard(path, *board);
      } catch (const std::exception&) {
        note = "the board file " + NameOf(path) + " cannot be used; the grids cover the tiles";
        return nullptr;
      }
      note = "grids laid on the board file " + NameOf(path) + " (" + std::to_string(board->Width) + " x " +
             std::to_string(board->Height) + ")";
      return board;
    }
  }
  return nullptr;
}

template <class R>
std::unique_ptr<R> LoadRecord(const std::string& path, void (*load)(const std::string&, R&)) {
  auto rec = std::make_unique<R>();
  try {
    load(path, *rec);
  } catch (const EInOutError& e) {
    throw ToolError{e.File + ": " + e.Reason};
  } catch (const EBadGameFile& e) {
    throw ToolError{e.File + ": " + e.Rule};
  }
  return rec;
}

}  // namespace

int RunPack(const std::vector<std::string>& args) {
  const TArgs a =
      ParseArgs(args, "usage: pavilore-tool pack TEXT [-o OUT] [--boards DIR] [--solution]", true);
  const std::string text = ReadTextFile(a.Input);

  if (IsConfigText(text)) {
    std::vector<std::uint8_t> bytes;
    try {
      bytes = PackConfigText(text);
    } catch (const ETextFormatError& e) {
      throw ToolError{a.Input + ": line " + std::to_string(e.Line) + ": " + e.Message};
    }
    if (a.Solution) throw ToolError{a.Input + ": --solution is for puzzles made with 'ip scramble'"};
    std::string out = a.Output;
    if (out.empty()) {
      const std::size_t dot = ExtensionDot(a.Input);
      out = (dot == std::string::npos ? a.Input : a.Input.substr(0, dot)) + ".CFG";
    } else if (KindOfPath(out)) {
      throw ToolError{out + ": the text describes a configuration; its file ends with .CFG"};
    }
    Write(out, bytes.data(), bytes.size());
    return 0;
  }

  // Boards that `op board` and `ip scramble` ask for, loaded once each.
  std::vector<std::unique_ptr<TBoard>> boards;
  std::string lookupNote;
  const TBoardLookup lookup = [&](const std::string& name) -> const TBoard* {
    auto b = FindBoard(a.Input, name, lookupNote, a.Boards);
    if (!b) return nullptr;
    boards.push_back(std::move(b));
    return boards.back().get();
  };
  TPackedFile packed;
  try {
    packed = PackText(text, lookup);
  } catch (const ETextFormatError& e) {
    std::string msg = a.Input + ": line " + std::to_string(e.Line) + ": " + e.Message;
    if (e.Message.find("is not found") != std::string::npos)
      msg += " (looked in " + (a.Boards.empty() ? std::string() : a.Boards + ", ") + "../Boards and ../../Boards beside the text)";
    throw ToolError{msg};
  }
  if (a.Solution && !packed.Scrambled)
    throw ToolError{a.Input + ": --solution is for puzzles made with 'ip scramble'"};
  // What the game would refuse on loading is refused here too.
  std::optional<std::string> broken;
  if (packed.Kind == TGameFileKind::Board) {
    auto b = std::make_unique<TBoard>();
    std::memcpy(b.get(), packed.Bytes.data(), sizeof(TBoard));
    broken = CheckBoard(*b);
  } else if (packed.Kind == TGameFileKind::Puzzle) {
    auto p = std::make_unique<TPuzzle>();
    std::memcpy(p.get(), packed.Bytes.data(), sizeof(TPuzzle));
    broken = CheckPuzzle(*p);
  }
  if (broken) throw ToolError{a.Input + ": " + *broken};

  std::string out = a.Output;
  if (out.empty()) {
    const std::size_t dot = ExtensionDot(a.Input);
    out = (dot == std::string::npos ? a.Input : a.Input.substr(0, dot)) + KindExtension(packed.Kind);
  } else if (const auto k = KindOfPath(out); (k && *k != packed.Kind) || IsConfigPath(out)) {
    throw ToolError{out + ": the text describes a " + std::string(KindName(packed.Kind)) + "; its file ends with " +
                    KindExtension(packed.Kind)};
  }
  Write(out, packed.Bytes.data(), packed.Bytes.size());
  if (a.Solution) {
    std::string line;
    for (const TPushStep& p : packed.Solution) {
      if (!line.empty()) line += ' ';
      line += std::to_string(p.X) + "," + std::to_string(p.Y) + "," + std::to_string(p.Dir);
    }
    std::cout << line << std::endl;
    if (!std::cout) throw ToolError{"pack: cannot write to the standard output"};
  }
  return 0;
}

int RunUnpack(const std::vector<std::string>& args) {
  const TArgs a = ParseArgs(args, "usage: pavilore-tool unpack FILE [-o OUT]", false);
  const std::optional<TGameFileKind> kind = KindOfPath(a.Input);
  if (!kind && !IsConfigPath(a.Input))
    throw ToolError{a.Input + ": unknown kind of file (expected .BRD, .PZZ, .CPN or .CFG)"};
  std::string text;
  if (!kind) {
    text = UnpackConfig(*LoadRecord<TConfig>(a.Input, &LoadConfig));
  } else if (*kind == TGameFileKind::Board) {
    text = UnpackBoard(*LoadRecord<TBoard>(a.Input, &LoadBoard));
  } else if (*kind == TGameFileKind::Puzzle) {
    const auto p = LoadRecord<TPuzzle>(a.Input, &LoadPuzzle);
    std::string note;
    const auto board = FindBoard(a.Input, p->BoardName.Str(), note);
    text = UnpackPuzzle(*p, board.get(), note);
  } else {
    text = UnpackCampaign(*LoadRecord<TCampaign>(a.Input, &LoadCampaign));
  }
  if (a.Output.empty()) {
    std::cout << text << std::flush;
    if (!std::cout) throw ToolError{"unpack: cannot write to the standard output"};
  } else {
    Write(a.Output, text.data(), text.size());
  }
  return 0;
}

}  // namespace pav::tool
