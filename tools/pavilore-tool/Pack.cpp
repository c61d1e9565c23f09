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
};

TArgs ParseArgs(const std::vector<std::string>& args, const std::string& usage) {
  TArgs a;
  bool haveOutput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& w = args[i];
    if (w == "-o") {
      if (i + 1 >= args.size() || haveOutput) throw ToolError{usage};
      a.Output = args[++i];
      haveOutput = true;
      if (a.Output.empty()) throw ToolError{usage};
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

// The board a puzzle is played on, looked up beside the puzzle's folder: ../Boards
// for "Puzzles", ../../Boards for "Puzzles/Campaign Levels". Names match without
// regard to case. `note` tells what was found, for a comment in the text.
std::unique_ptr<TBoard> FindBoard(const std::string& puzzlePath, const std::string& boardName, std::string& note) {
  note = "board file not found beside the puzzle; the grids cover the tiles";
  if (boardName.empty() || boardName.find('/') != std::string::npos || boardName.find('\0') != std::string::npos)
    return nullptr;
  std::vector<std::string> names{boardName};
  const std::string utf8 = Cp1252ToUtf8(boardName);
  if (utf8 != boardName) names.push_back(utf8);
  const std::string folder = FolderOf(puzzlePath);
  for (const char* up : {"/../Boards/", "/../../Boards/"}) {
    for (const std::string& name : names) {
      const std::string path = ResolvePath(folder + up + name + ".BRD");
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
  const TArgs a = ParseArgs(args, "usage: pavilore-tool pack TEXT [-o OUT]");
  const std::string text = ReadTextFile(a.Input);
  TPackedFile packed;
  try {
    packed = PackText(text);
  } catch (const ETextFormatError& e) {
    throw ToolError{a.Input + ": line " + std::to_string(e.Line) + ": " + e.Message};
  }
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
  } else if (const auto k = KindOfPath(out); k && *k != packed.Kind) {
    throw ToolError{out + ": the text describes a " + std::string(KindName(packed.Kind)) + "; its file ends with " +
                    KindExtension(packed.Kind)};
  }
  Write(out, packed.Bytes.data(), packed.Bytes.size());
  return 0;
}

int RunUnpack(const std::vector<std::string>& args) {
  const TArgs a = ParseArgs(args, "usage: pavilore-tool unpack FILE [-o OUT]");
  const std::optional<TGameFileKind> kind = KindOfPath(a.Input);
  if (!kind) throw ToolError{a.Input + ": unknown kind of file (expected .BRD, .PZZ or .CPN)"};
  std::string text;
  switch (*kind) {
    case TGameFileKind::Board:
      text = UnpackBoard(*LoadRecord<TBoard>(a.Input, &LoadBoard));
      break;
    case TGameFileKind::Puzzle: {
      const auto p = LoadRecord<TPuzzle>(a.Input, &LoadPuzzle);
      std::string note;
      const auto board = FindBoard(a.Input, p->BoardName.Str(), note);
      text = UnpackPuzzle(*p, board.get(), note);
      break;
    }
    case TGameFileKind::Campaign:
      text = UnpackCampaign(*LoadRecord<TCampaign>(a.Input, &LoadCampaign));
      break;
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
