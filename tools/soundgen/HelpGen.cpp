// pavilore-helpgen: turns the source of the help page into the page itself.
//
//   pavilore-helpgen SOURCE.html OUT.html
//
// The source is plain HTML with three kinds of placeholders, each an HTML comment:
//
//   <!--@toc-->           the list of contents, made from the <h2> and <h3> headings
//                         that carry an id;
//   <!--@board ... -->    a picture of a board: the comment holds a board in the
//                         text form of pavilore-tool (without the `kind` line) and
//                         lines starting with '@':
//                           @push X Y DIR    a push, as the player makes it (DIR is
//                                            left, right, up, down or 1..4);
//                           @each            one picture after every single push
//                                            instead of one after every move;
//                           @labels "A" "B"  the words under the pictures;
//                           @caption TEXT    the caption under the figure (HTML);
//                           @listing         the board's text, shown before it;
//                           @scale S         the size of a cell on the page, in
//                                            pixels (40 when left out);
//   <!--@window ... -->   the same, drawn as the whole main window with its status
//                         bar and side panel; `<!--@panel-->` draws the side panel
//                         large with the names of its seven commands.
//
// Every picture after a push is the position the move engine itself makes, so the
// pictures follow the rules of the game exactly: the tiles a push moves get an
// arrow in their direction of travel, the corner pieces and jumps it uses are lit,
// and a refused push shows the mark the game flashes.
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/GameData.h"
#include "engine/MoveEngine.h"
#include "files/TextFormat.h"

using namespace pav;

namespace {

// ---------------------------------------------------------------------------
// Colours of the pictures (the page's style sheet uses the same ones).

constexpr const char* WallFace = "#4a505c";
constexpr const char* WallLight = "#6c7384";
constexpr const char* WallDark = "#2a2e36";
constexpr const char* FloorFace = "#c4b697";
constexpr const char* FloorShade = "#978a6e";
constexpr const char* FloorLight = "#ddd2b8";
constexpr const char* TileFace = "#ecd395";
constexpr const char* TileEdge = "#8a672c";
constexpr const char* TileText = "#43301a";
constexpr const char* Glue = "#a8431d";
constexpr const char* Accent = "#c2501a";
constexpr const char* RimPlain = "#a3abbb";
constexpr const char* RimLit = "#ffc94d";
constexpr const char* MarkColour = "#e5383b";
constexpr const char* LabelColour = "#5b5346";
const char* const JumpColours[] = {"#ffc94d", "#5ec2d6", "#c89bff", "#8fd16a", "#ff8f8f"};

constexpr int Cell = 48;

struct TFrame {
  TPattern Pattern;
  std::string Label;
  // The push made from this position, if any, and what it did.
  bool Pushed = false;
  int PushX = 0, PushY = 0, PushDir = 0;
  bool Refused = false;
  TPushResult Result;
  TTripleList Moving, UsedTurns, UsedJumps;
};

struct TDiagram {
  TBoard Board;
  std::vector<TFrame> Frames;
  std::string Caption;
  bool Listing = false;      // show the board's text before its picture
  std::string Text;          // the board's text, with its kind line
  double Scale = 40.0 / Cell;
};

class EHelpSource : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

int ParseDirection(const std::string& w) {
  if (w == "left" || w == "1") return DirLeft;
  if (w == "right" || w == "2") return DirRight;
  if (w == "up" || w == "3") return DirUp;
  if (w == "down" || w == "4") return DirDown;
  throw EHelpSource("unknown direction '" + w + "'");
}

std::vector<std::string> QuotedWords(const std::string& s) {
  std::vector<std::string> out;
  std::size_t p = 0;
  while ((p = s.find('"', p)) != std::string::npos) {
    const std::size_t q = s.find('"', p + 1);
    if (q == std::string::npos) throw EHelpSource("unclosed quote in: " + s);
    out.push_back(s.substr(p + 1, q - p - 1));
    p = q + 1;
  }
  return out;
}

std::string Trim(const std::string& s) {
  const std::size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  const std::size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

// The text without its blank first and last lines and without the indentation
// common to all its lines.
std::string TrimLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
  std::size_t first = 0;
  while (first < lines.size() && Trim(lines[first]).empty()) ++first;
  std::string out;
  for (std::size_t i = first; i < lines.size(); ++i) out += lines[i] + (i + 1 < lines.size() ? "\n" : "");
  return out;
}

TDiagram BuildDiagram(const std::string& body) {
  std::string boardText = "kind board\n";
  struct TGesture {
    int X, Y, Dir;
  };
  std::vector<TGesture> gestures;
  std::vector<std::string> labels;
  bool each = false;
  TDiagram d;
  std::istringstream in(body);
  std::string line;
  while (std::getline(in, line)) {
    const std::string t = Trim(line);
    if (t.rfind("@push", 0) == 0) {
      std::istringstream w(t.substr(5));
      int x = 0, y = 0;
      std::string dir;
      if (!(w >> x >> y >> dir)) throw EHelpSource("@push needs X Y DIR: " + t);
      gestures.push_back({x, y, ParseDirection(dir)});
    } else if (t == "@listing") {
      d.Listing = true;
    } else if (t == "@each") {
      each = true;
    } else if (t.rfind("@labels", 0) == 0) {
      labels = QuotedWords(t);
    } else if (t.rfind("@caption", 0) == 0) {
      d.Caption = Trim(t.substr(8));
    } else if (t.rfind("@scale", 0) == 0) {
      d.Scale = std::stod(t.substr(6)) / Cell;
    } else if (!t.empty() && t[0] == '@') {
      throw EHelpSource("unknown line: " + t);
    } else {
      boardText += line + "\n";
    }
  }
  d.Text = "kind board\n" + TrimLines(boardText.substr(std::string("kind board\n").size()));
  const TPackedFile packed = PackText(boardText);
  if (packed.Kind != TGameFileKind::Board || packed.Bytes.size() != sizeof(TBoard))
    throw EHelpSource("a picture needs a board");
  std::memcpy(&d.Board, packed.Bytes.data(), sizeof(TBoard));

  auto state = std::make_unique<TGameState>();
  state->Game.Board = d.Board;
  CopyPattern(d.Board.Pattern, state->Game.Current);
  CopyPattern(d.Board.Pattern, state->Game.OP);
  auto engine = std::make_unique<TMoveEngine>(*state);
  const int steps = d.Board.StepsPerMove > 0 ? d.Board.StepsPerMove : 1;

  TFrame start;
  CopyPattern(state->Game.Current, start.Pattern);
  d.Frames.push_back(start);
  for (const TGesture& g : gestures) {
    for (int k = 0; k < steps; ++k) {
      TFrame& from = d.Frames.back();
      state->GrabX = static_cast<std::uint8_t>(g.X);
      state->GrabY = static_cast<std::uint8_t>(g.Y);
      const bool ok = engine->TryPush(false, false, g.X, g.Y, g.Dir);
      if (k == 0 || each) {
        from.Pushed = true;
        from.PushX = g.X;
        from.PushY = g.Y;
        from.PushDir = g.Dir;
        from.Refused = !ok;
        from.Result = engine->LastResult;
        from.Moving = engine->MovingCells;
        from.UsedTurns = engine->UsedTurns;
        from.UsedJumps = engine->UsedJumps;
      }
      if (!ok) break;
      if (each || k + 1 == steps) {
        TFrame next;
        CopyPattern(state->Game.Current, next.Pattern);
        d.Frames.push_back(next);
      }
    }
    state->StepCount = 0;
    if (d.Frames.back().Refused) break;
  }

  // The words under the pictures.
  for (std::size_t i = 0; i < d.Frames.size(); ++i) {
    TFrame& f = d.Frames[i];
    if (i < labels.size()) {
      f.Label = labels[i];
    } else if (d.Frames.size() == 1) {
      f.Label = f.Refused ? "Refused" : "";
    } else if (i == 0) {
      f.Label = "Before";
    } else if (d.Frames.size() == 2) {
      f.Label = "After";
    } else {
      f.Label = (each ? "After push " : "After move ") + std::to_string(i);
    }
  }
  return d;
}

// ---------------------------------------------------------------------------
// Drawing

class TSvg {
 public:
  std::ostringstream Out;
  void Rect(int x, int y, int w, int h, const char* fill, int rx = 0, const std::string& extra = "") {
    Out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h << "\"";
    if (rx) Out << " rx=\"" << rx << "\"";
    Out << " fill=\"" << fill << "\"" << extra << "/>";
  }
  void Polygon(const std::vector<int>& pts, const char* fill, const std::string& extra = "") {
    Out << "<polygon points=\"";
    for (std::size_t i = 0; i < pts.size(); i += 2) Out << (i ? " " : "") << pts[i] << "," << pts[i + 1];
    Out << "\" fill=\"" << fill << "\"" << extra << "/>";
  }
  void Path(const std::string& d, const std::string& attrs) { Out << "<path d=\"" << d << "\" " << attrs << "/>"; }
  void Text(double x, double y, const std::string& text, const std::string& attrs) {
    Out << "<text x=\"" << x << "\" y=\"" << y << "\" " << attrs << ">" << text << "</text>";
  }
};

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

void Wall(TSvg& s, int ox, int oy) {
  s.Rect(ox, oy, Cell, Cell, WallFace);
  s.Polygon({ox, oy, ox + 48, oy, ox + 44, oy + 4, ox + 4, oy + 4, ox + 4, oy + 44, ox, oy + 48}, WallLight);
  s.Polygon({ox + 48, oy + 48, ox, oy + 48, ox + 4, oy + 44, ox + 44, oy + 44, ox + 44, oy + 4, ox + 48, oy}, WallDark);
}

void Floor(TSvg& s, int ox, int oy) {
  s.Rect(ox, oy, Cell, Cell, FloorFace);
  s.Polygon({ox, oy, ox + 48, oy, ox + 45, oy + 3, ox + 3, oy + 3, ox + 3, oy + 45, ox, oy + 48}, FloorShade);
  s.Polygon({ox + 48, oy + 48, ox, oy + 48, ox + 3, oy + 45, ox + 45, oy + 45, ox + 45, oy + 3, ox + 48, oy}, FloorLight);
}

// The rounded quarter of a solid cell: the corner is cut away along a quarter
// circle, so that the floor shows there and the rim guides the tiles round.
void CornerPiece(TSvg& s, int ox, int oy, int corner, bool lit) {
  std::ostringstream cut, rim;
  switch (corner) {
    case 1:
      cut << "M" << ox << "," << oy << " L" << ox + 24 << "," << oy << " A24,24 0 0 0 " << ox << "," << oy + 24 << " Z";
      rim << "M" << ox + 24 << "," << oy << " A24,24 0 0 0 " << ox << "," << oy + 24;
      break;
    case 2:
      cut << "M" << ox + 48 << "," << oy << " L" << ox + 48 << "," << oy + 24 << " A24,24 0 0 0 " << ox + 24 << "," << oy
          << " Z";
      rim << "M" << ox + 48 << "," << oy + 24 << " A24,24 0 0 0 " << ox + 24 << "," << oy;
      break;
    case 3:
      cut << "M" << ox + 48 << "," << oy + 48 << " L" << ox + 24 << "," << oy + 48 << " A24,24 0 0 0 " << ox + 48 << ","
          << oy + 24 << " Z";
      rim << "M" << ox + 24 << "," << oy + 48 << " A24,24 0 0 0 " << ox + 48 << "," << oy + 24;
      break;
    default:
      cut << "M" << ox << "," << oy + 48 << " L" << ox << "," << oy + 24 << " A24,24 0 0 0 " << ox + 24 << "," << oy + 48
          << " Z";
      rim << "M" << ox << "," << oy + 24 << " A24,24 0 0 0 " << ox + 24 << "," << oy + 48;
      break;
  }
  s.Path(cut.str(), std::string("fill=\"") + FloorFace + "\"");
  s.Path(rim.str(), std::string("fill=\"none\" stroke=\"") + (lit ? RimLit : RimPlain) + "\" stroke-width=\"" +
                        (lit ? "5" : "3") + "\" stroke-linecap=\"round\"");
}

void JumpMouth(TSvg& s, int ox, int oy, int side, const char* colour, bool lit) {
  int cx = ox + 24, cy = oy + 24, rx = 13, ry = 6;
  switch (side) {
    case DirLeft: cx = ox + 9; rx = 6; ry = 13; break;
    case DirRight: cx = ox + 39; rx = 6; ry = 13; break;
    case DirUp: cy = oy + 9; break;
    default: cy = oy + 39; break;
  }
  s.Out << "<ellipse cx=\"" << cx << "\" cy=\"" << cy << "\" rx=\"" << rx << "\" ry=\"" << ry << "\" fill=\"#121418\" stroke=\""
        << colour << "\" stroke-width=\"" << (lit ? 5 : 3) << "\"/>";
}

void Tile(TSvg& s, int ox, int oy, int face) {
  s.Rect(ox + 4, oy + 5, 41, 41, "#000", 8, " opacity=\"0.25\"");
  s.Rect(ox + 3, oy + 3, 42, 42, TileFace, 8, std::string(" stroke=\"") + TileEdge + "\" stroke-width=\"1.5\"");
  s.Rect(ox + 6, oy + 5, 36, 16, "#fff", 6, " opacity=\"0.28\"");
  s.Text(ox + 24, oy + 31.5, std::to_string(face),
         std::string("text-anchor=\"middle\" font-size=\"20\" font-weight=\"bold\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"") +
             TileText + "\"");
}

// A small chevron inside a tile, at the edge it is travelling toward.
void Chevron(TSvg& s, int ox, int oy, int dir) {
  std::vector<int> p;
  switch (dir) {
    case DirLeft: p = {ox + 13, oy + 16, ox + 6, oy + 24, ox + 13, oy + 32}; break;
    case DirRight: p = {ox + 35, oy + 16, ox + 42, oy + 24, ox + 35, oy + 32}; break;
    case DirUp: p = {ox + 16, oy + 13, ox + 24, oy + 6, ox + 32, oy + 13}; break;
    default: p = {ox + 16, oy + 35, ox + 24, oy + 42, ox + 32, oy + 35}; break;
  }
  s.Polygon(p, Accent);
}

// The mark of a refused push, as the game's rectangles: where two of them overlap
// the colours are inverted twice, so the overlap is left clear.
void Mark(TSvg& s, int x, int y, int kind) {
  const int ox = (x - 1) * Cell, oy = (y - 1) * Cell;
  std::vector<std::array<int, 4>> r;
  switch (kind) {
    case 1: r = {{32, 8, 40, 40}}; break;
    case 2: r = {{8, 8, 16, 40}}; break;
    case 3: r = {{8, 32, 40, 40}}; break;
    case 4: r = {{8, 8, 40, 16}}; break;
    case 5: r = {{8, 8, 40, 40}, {16, 16, 32, 32}}; break;
    case 6: r = {{22, 8, 26, 40}, {8, 22, 40, 26}}; break;
    default: return;
  }
  std::ostringstream d;
  for (const auto& q : r)
    d << "M" << ox + q[0] << "," << oy + q[1] << " H" << ox + q[2] << " V" << oy + q[3] << " H" << ox + q[0] << " Z ";
  s.Path(d.str(), std::string("fill=\"") + MarkColour + "\" fill-rule=\"evenodd\" stroke=\"#3a0d0d\" stroke-width=\"1.2\"");
}

bool TurnUsed(const TFrame& f, int x, int y, int corner) { return f.Pushed && f.UsedTurns.FindTriple(x, y, corner) > 0; }
bool JumpUsed(const TFrame& f, int x, int y, int side) { return f.Pushed && f.UsedJumps.FindTriple(x, y, side) > 0; }

// One position of the board, with its top-left corner at (0, 0).
void DrawFrame(TSvg& s, const TBoard& b, const TFrame& f) {
  for (int x = 1; x <= b.Width; ++x)
    for (int y = 1; y <= b.Height; ++y) {
      const int ox = (x - 1) * Cell, oy = (y - 1) * Cell;
      if (b.Cells[x][y]) Wall(s, ox, oy);
      else Floor(s, ox, oy);
    }
  for (const TTurn& t : b.Turns) {
    if (t.X == 0) break;
    CornerPiece(s, (t.X - 1) * Cell, (t.Y - 1) * Cell, t.Corner, TurnUsed(f, t.X, t.Y, t.Corner));
  }
  int pair = 0;
  for (const TJump& j : b.Jumps) {
    if (j.X1 == 0) break;
    const char* colour = JumpColours[pair++ % 5];
    const bool used = JumpUsed(f, j.X1, j.Y1, j.Side1) || JumpUsed(f, j.X2, j.Y2, j.Side2);
    JumpMouth(s, (j.X1 - 1) * Cell, (j.Y1 - 1) * Cell, j.Side1, colour, used);
    JumpMouth(s, (j.X2 - 1) * Cell, (j.Y2 - 1) * Cell, j.Side2, colour, used);
    if (used) {
      // The way the row travels between the two mouths.
      const int x1 = (j.X1 - 1) * Cell + 24, y1 = (j.Y1 - 1) * Cell + 24;
      const int x2 = (j.X2 - 1) * Cell + 24, y2 = (j.Y2 - 1) * Cell + 24;
      std::ostringstream d;
      d << "M" << x1 << "," << y1 << " L" << x2 << "," << y2;
      s.Path(d.str(), std::string("fill=\"none\" stroke=\"") + colour +
                          "\" stroke-width=\"3\" stroke-dasharray=\"7 6\" opacity=\"0.9\"");
    }
  }
  for (int x = 1; x <= b.Width; ++x)
    for (int y = 1; y <= b.Height; ++y)
      if (f.Pattern.Tiles[x][y]) Tile(s, (x - 1) * Cell, (y - 1) * Cell, f.Pattern.Tiles[x][y]);
  // Glue between linked tiles.
  for (const TLink& l : f.Pattern.Links) {
    if (l.X1 == 0) break;
    const double x1 = (l.X1 - 1) * Cell + 24, y1 = (l.Y1 - 1) * Cell + 24;
    const double x2 = (l.X2 - 1) * Cell + 24, y2 = (l.Y2 - 1) * Cell + 24;
    std::ostringstream d;
    // A short clamp across the edge the two tiles share, clear of their numbers.
    d << "M" << x1 + (x2 - x1) * 0.41 << "," << y1 + (y2 - y1) * 0.41 << " L" << x1 + (x2 - x1) * 0.59 << ","
      << y1 + (y2 - y1) * 0.59;
    s.Path(d.str(), "stroke=\"#5a2410\" stroke-width=\"11\" stroke-linecap=\"round\"");
    s.Path(d.str(), std::string("stroke=\"") + Glue + "\" stroke-width=\"8\" stroke-linecap=\"round\"");
  }
  if (f.Pushed) {
    const int ox = (f.PushX - 1) * Cell, oy = (f.PushY - 1) * Cell;
    s.Rect(ox + 1, oy + 1, 46, 46, "none", 9, std::string(" stroke=\"") + Accent + "\" stroke-width=\"3\"");
    // The tiles the push sets in motion; a refused push shows those it had reached
    // when it stopped, and its mark.
    bool pushedShown = false;
    for (int i = 1; i <= f.Moving.Count; ++i) {
      const TTriple& t = f.Moving[i];
      if (t.Dir < DirLeft || t.Dir > DirDown) continue;
      Chevron(s, (t.X - 1) * Cell, (t.Y - 1) * Cell, t.Dir);
      pushedShown = pushedShown || (t.X == f.PushX && t.Y == f.PushY);
    }
    if (!pushedShown) Chevron(s, ox, oy, f.PushDir);
    if (f.Refused && f.Result.Refusal == TPushRefusal::Mark) Mark(s, f.Result.MarkX, f.Result.MarkY, f.Result.MarkKind);
  }
}

std::string RenderDiagram(const TDiagram& d) {
  const int w = d.Board.Width * Cell, h = d.Board.Height * Cell;
  const int gap = 64;
  const bool labelled = d.Frames.size() > 1 || !d.Frames[0].Label.empty();
  const int labelSpace = labelled ? 30 : 0;
  const int n = static_cast<int>(d.Frames.size());
  const int totalW = n * w + (n - 1) * gap;
  const int totalH = h + labelSpace;
  double scale = d.Scale;
  if (totalW * scale > 880) scale = 880.0 / totalW;
  TSvg s;
  s.Out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << totalW << " " << totalH << "\" width=\""
        << static_cast<int>(totalW * scale + 0.5) << "\" height=\"" << static_cast<int>(totalH * scale + 0.5)
        << "\" role=\"img\">";
  for (int i = 0; i < n; ++i) {
    const int left = i * (w + gap);
    s.Out << "<g transform=\"translate(" << left << ",0)\">";
    DrawFrame(s, d.Board, d.Frames[static_cast<std::size_t>(i)]);
    s.Out << "</g>";
    if (labelled)
      s.Text(left + w / 2.0, h + 23, Escape(d.Frames[static_cast<std::size_t>(i)].Label),
             std::string("text-anchor=\"middle\" font-size=\"17\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"") +
                 LabelColour + "\"");
    if (i + 1 < n) {
      const int ax = left + w + 14, ay = h / 2;
      s.Polygon({ax, ay - 5, ax + 22, ay - 5, ax + 22, ay - 13, ax + 36, ay, ax + 22, ay + 13, ax + 22, ay + 5, ax, ay + 5},
                "#8a7f6c");
    }
  }
  s.Out << "</svg>";
  return s.Out.str();
}

std::string Figure(const std::string& svg, const std::string& caption) {
  std::string out = "<figure class=\"diagram\">" + svg;
  if (!caption.empty()) out += "<figcaption>" + caption + "</figcaption>";
  return out + "</figure>";
}

// ---------------------------------------------------------------------------
// The main window and its side panel

// The pictures of the seven commands in a button cell at (ox, oy).
void PanelButtons(TSvg& s, int ox, int oy) {
  const char* icon = "#e8dcc0";
  for (int i = 0; i < 4; ++i) {
    const int y = oy + i * Cell;
    s.Rect(ox + 2, y + 2, 44, 44, "#3a3f4a", 6, " stroke=\"#596070\" stroke-width=\"1.5\"");
  }
  // Cell 1: minimise and close in the upper half, show / hide the panel below.
  s.Out << "<line x1=\"" << ox + 24 << "\" y1=\"" << oy + 4 << "\" x2=\"" << ox + 24 << "\" y2=\"" << oy + 24
        << "\" stroke=\"#596070\" stroke-width=\"1.5\"/>";
  s.Out << "<line x1=\"" << ox + 4 << "\" y1=\"" << oy + 24 << "\" x2=\"" << ox + 44 << "\" y2=\"" << oy + 24
        << "\" stroke=\"#596070\" stroke-width=\"1.5\"/>";
  s.Rect(ox + 8, oy + 15, 11, 3, icon);
  std::ostringstream cross;
  cross << "M" << ox + 29 << "," << oy + 9 << " L" << ox + 39 << "," << oy + 19 << " M" << ox + 39 << "," << oy + 9 << " L"
        << ox + 29 << "," << oy + 19;
  s.Path(cross.str(), std::string("stroke=\"") + icon + "\" stroke-width=\"3\" stroke-linecap=\"round\"");
  s.Polygon({ox + 20, oy + 29, ox + 14, oy + 35, ox + 20, oy + 41}, icon);
  s.Polygon({ox + 28, oy + 29, ox + 34, oy + 35, ox + 28, oy + 41}, icon);
  // Cell 2: play.
  s.Polygon({ox + 17, oy + 60, ox + 35, oy + 72, ox + 17, oy + 84}, "#8fd16a");
  // Cell 3: configuration (three sliders).
  for (int k = 0; k < 3; ++k) {
    const int y = oy + 108 + k * 8;
    s.Rect(ox + 11, y - 1, 26, 3, icon);
    s.Out << "<circle cx=\"" << ox + 16 + k * 8 << "\" cy=\"" << y << "\" r=\"3.5\" fill=\"" << RimLit << "\"/>";
  }
  // Cell 4: information.
  s.Out << "<circle cx=\"" << ox + 24 << "\" cy=\"" << oy + 168 << "\" r=\"13\" fill=\"none\" stroke=\"" << icon
        << "\" stroke-width=\"2.5\"/>";
  s.Text(ox + 24, oy + 174, "i",
         std::string("text-anchor=\"middle\" font-size=\"17\" font-weight=\"bold\" font-family=\"DejaVu Serif, Georgia, serif\" fill=\"") +
             icon + "\"");
}

std::string RenderWindow(const TDiagram& d) {
  const TBoard& b = d.Board;
  const int w = (b.Width + 1) * Cell, h = (b.Height + 1) * Cell;
  TSvg s;
  const double scale = d.Scale;
  s.Out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << w << " " << h << "\" width=\""
        << static_cast<int>(w * scale + 0.5) << "\" height=\"" << static_cast<int>(h * scale + 0.5) << "\" role=\"img\">";
  DrawFrame(s, b, d.Frames.back());
  // The side panel and the status bar below the board.
  const int px = b.Width * Cell, sy = b.Height * Cell;
  s.Rect(px, 0, Cell, h, "#2f333c");
  s.Rect(0, sy, w, Cell, "#2f333c");
  s.Rect(0, sy, w, 2, "#1c1f25");
  PanelButtons(s, px, 0);
  const std::string font = "font-size=\"17\" font-weight=\"bold\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"#e8dcc0\"";
  s.Text(Cell * 2.5, sy + 30, "37 S", "text-anchor=\"middle\" " + font);
  s.Text(px - Cell * 1.5, sy + 30, "24 M", "text-anchor=\"middle\" " + font);
  s.Out << "</svg>";
  return s.Out.str();
}

std::string RenderPanel() {
  struct TCallout {
    int Number;
    int Y;  // height of the command on the panel
    const char* Text;
  };
  const TCallout callouts[] = {
      {1, 12, "Minimise the window"},
      {2, 12, "Close the game"},
      {3, 36, "Show or hide this panel (Esc)"},
      {4, 72, "Play: start a new game (F10)"},
      {5, 72, "Stop: pause the running game (F10)"},
      {6, 120, "Configuration menu (F11)"},
      {7, 168, "Information menu (F12)"},
  };
  TSvg s;
  const int ox = 8, oy = 8;
  const int w = 520, h = 4 * Cell + 16;
  const double scale = 1.35;
  s.Out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << w << " " << h << "\" width=\""
        << static_cast<int>(w * scale) << "\" height=\"" << static_cast<int>(h * scale) << "\" role=\"img\">";
  s.Rect(ox - 4, oy - 4, Cell + 8, 4 * Cell + 8, "#2f333c", 6);
  PanelButtons(s, ox, oy);
  const std::string badge = "text-anchor=\"middle\" font-size=\"9\" font-weight=\"bold\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"#fff\"";
  const std::string legendBadge =
      "text-anchor=\"middle\" font-size=\"11\" font-weight=\"bold\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"#fff\"";
  const std::string text = "font-size=\"11\" font-family=\"DejaVu Sans, Verdana, sans-serif\" fill=\"#2b2a27\"";
  // Badges on the panel itself: 1 and 2 share the top half of the first cell, 4 and
  // 5 are the two faces of the second button.
  const int bx[] = {ox + 13, ox + 35, ox + 42, ox + 42, ox + 6, ox + 42, ox + 42};
  const int by[] = {oy + 4, oy + 4, oy + 30, oy + 54, oy + 90, oy + 102, oy + 150};
  for (int i = 0; i < 7; ++i) {
    s.Out << "<circle cx=\"" << bx[i] << "\" cy=\"" << by[i] << "\" r=\"6\" fill=\"" << Accent << "\"/>";
    s.Text(bx[i], by[i] + 3.2, std::to_string(i + 1), badge);
  }
  // The legend beside the panel.
  int row = 0;
  for (const TCallout& c : callouts) {
    const int y = oy + 14 + row * 27;
    s.Out << "<circle cx=\"" << ox + 82 << "\" cy=\"" << y - 4 << "\" r=\"8\" fill=\"" << Accent << "\"/>";
    s.Text(ox + 82, y, std::to_string(c.Number), legendBadge);
    s.Text(ox + 96, y, c.Text, text);
    ++row;
  }
  s.Out << "</svg>";
  return s.Out.str();
}

// ---------------------------------------------------------------------------
// The contents list

std::string Contents(const std::string& page) {
  std::ostringstream out;
  out << "<nav class=\"toc\"><h2>Contents</h2><ol>";
  bool inSub = false;
  bool open = false;
  std::size_t p = 0;
  while ((p = page.find("<h", p)) != std::string::npos) {
    const char level = p + 2 < page.size() ? page[p + 2] : 0;
    if ((level != '2' && level != '3') || page.compare(p + 3, 5, " id=\"") != 0) {
      ++p;
      continue;
    }
    const std::size_t idStart = p + 8;
    const std::size_t idEnd = page.find('"', idStart);
    const std::size_t textStart = page.find('>', idEnd) + 1;
    const std::size_t textEnd = page.find("</h", textStart);
    const std::string id = page.substr(idStart, idEnd - idStart);
    const std::string title = page.substr(textStart, textEnd - textStart);
    if (level == '2') {
      if (inSub) out << "</ol>";
      if (open) out << "</li>";
      inSub = false;
      out << "<li><a href=\"#" << id << "\">" << title << "</a>";
      open = true;
    } else {
      if (!inSub) out << "<ol>";
      inSub = true;
      out << "<li><a href=\"#" << id << "\">" << title << "</a></li>";
    }
    p = textEnd;
  }
  if (inSub) out << "</ol>";
  if (open) out << "</li>";
  out << "</ol></nav>";
  return out.str();
}

std::string Expand(const std::string& source) {
  std::string out;
  std::size_t p = 0;
  int line = 1;
  while (true) {
    const std::size_t start = source.find("<!--@", p);
    if (start == std::string::npos) {
      out += source.substr(p);
      break;
    }
    for (std::size_t i = p; i < start; ++i) line += source[i] == '\n';
    out += source.substr(p, start - p);
    const std::size_t end = source.find("-->", start);
    if (end == std::string::npos) throw EHelpSource("line " + std::to_string(line) + ": placeholder without its end");
    const std::string inner = source.substr(start + 5, end - start - 5);
    const std::size_t nameEnd = inner.find_first_of(" \t\r\n");
    const std::string name = inner.substr(0, nameEnd);
    const std::string body = nameEnd == std::string::npos ? "" : inner.substr(nameEnd);
    try {
      if (name == "toc") {
        out += "<!--@toc-->";  // filled in once the whole page is known
      } else if (name == "board") {
        const TDiagram d = BuildDiagram(body);
        if (d.Listing) out += "<pre><code>" + Escape(d.Text) + "</code></pre>\n";
        out += Figure(RenderDiagram(d), d.Caption);
      } else if (name == "window") {
        const TDiagram d = BuildDiagram(body);
        out += Figure(RenderWindow(d), d.Caption);
      } else if (name == "panel") {
        out += Figure(RenderPanel(), "");
      } else {
        throw EHelpSource("unknown placeholder '" + name + "'");
      }
    } catch (const ETextFormatError& e) {
      throw EHelpSource("picture at line " + std::to_string(line) + ": board " + e.what());
    } catch (const EHelpSource& e) {
      throw EHelpSource("picture at line " + std::to_string(line) + ": " + e.what());
    }
    for (std::size_t i = start; i < end; ++i) line += source[i] == '\n';
    p = end + 3;
  }
  const std::size_t toc = out.find("<!--@toc-->");
  if (toc != std::string::npos) out.replace(toc, 11, Contents(out));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pavilore-helpgen SOURCE.html OUT.html\n";
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    std::stringstream buf;
    buf << in.rdbuf();
    const std::string page = Expand(buf.str());
    const std::string temp = std::string(argv[2]) + ".tmp";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      out << page;
      if (!out) throw std::runtime_error("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::cerr << argv[1] << ": " << e.what() << '\n';
    return 2;
  }
  return 0;
}
