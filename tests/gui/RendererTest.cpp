// The board renderer on hand-made boards with a skin of flat colours: which
// piece lands on which pixel.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/AppState.h"
#include "files/GameFiles.h"
#include "gui/RenderTestSkin.h"
#include "platform/qt/MessageBox.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skin.h"

namespace pav {
namespace {

constexpr QRgb Sentinel = 0xFF123456;

// A piece expected at offset (Dx, Dy) of board cell (X, Y); the side panel is
// column Width + 1, the status bar row Height + 1.
struct TAt {
  int X, Y, Dx, Dy;
  const char* Piece;
};

// The text on line y of a picture: glyph cells from x0, a cell without ink a space.
std::string TextAt(const QImage& pic, int x0, int y, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    const QRgb p = pic.pixel(x0 + 8 * i + 1, y);
    s += rtest::IsStatusInk(p) ? static_cast<char>(qRed(p)) : ' ';
  }
  return s;
}
// From the first to the last inked glyph of line y, and where it starts (-1: none).
std::pair<int, std::string> LineAt(const QImage& pic, int y) {
  int first = -1, last = -1;
  for (int x = 0; x < pic.width(); ++x)
    if (rtest::IsStatusInk(pic.pixel(x, y))) {
      if (first < 0) first = x;
      last = x;
    }
  if (first < 0) return {-1, ""};
  return {first - 1, TextAt(pic, first - 1, y, (last - first + 1) / 8 + 1)};
}

class RendererTest : public ::testing::Test {
 protected:
  rtest::TTestSkin Flat;

  void SetUp() override {
    ResetApp();
    Flat.Fill();
  }
  TBoard& B() { return App().Game().Board; }
  TPattern& Current() { return App().Game().Current; }

  // A w x h board: the outer ring solid (value 1), floor inside, no text or tiles.
  void MakeBoard(int w, int h) {
    std::memset(&B(), 0, sizeof(TBoard));
    std::memset(&Current(), 0, sizeof(TPattern));
    B().Width = static_cast<std::uint8_t>(w);
    B().Height = static_cast<std::uint8_t>(h);
    for (int x = 1; x <= w; ++x)
      for (int y = 1; y <= h; ++y) B().Cells[x][y] = (x == 1 || y == 1 || x == w || y == h) ? 1 : 0;
  }
  void SetText(int cx, int cy, int c) { B().CellText[cx - 1][cy - 1] = static_cast<std::uint8_t>(c); }
  QImage Draw(bool full = true) {
    QImage pic;
    DrawBoard(pic, full);
    return pic;
  }
  QImage SentinelPicture() {
    QImage pic((B().Width + 1) * 48, (B().Height + 1) * 48, QImage::Format_RGB32);
    pic.fill(Sentinel);
    return pic;
  }
  std::string In(const QImage& pic, int x, int y, int dx, int dy) const {
    return Flat.At(pic, (x - 1) * 48 + dx, (y - 1) * 48 + dy);
  }
  void Expect(const QImage& pic, std::initializer_list<TAt> list) const {
    for (const TAt& a : list)
      EXPECT_EQ(In(pic, a.X, a.Y, a.Dx, a.Dy), a.Piece) << "cell " << a.X << "," << a.Y << " + " << a.Dx << "," << a.Dy;
  }
};

TEST_F(RendererTest, PictureSizeAndThePartialRedrawOfTheFloorCellsOnly) {
  MakeBoard(8, 7);
  QImage small(100, 100, QImage::Format_RGB32);
  small.fill(Sentinel);
  DrawBoard(small, false);
  EXPECT_EQ(small.size(), QSize(9 * 48, 8 * 48));  // one more column and row than the board
  EXPECT_EQ(small.pixel(10, 10), Sentinel);         // the old content is kept
  EXPECT_EQ(small.pixel(10, 150), qRgb(0, 0, 0));

  B().Cells[4][4] = 2;        // an inner wall, with a tile under it
  B().Cells[1][3] = 0;        // a floor cell on the outer ring, with a tile
  Current().Tiles[1][3] = 9;
  Current().Tiles[3][3] = 7;
  Current().Tiles[5][5] = 50;
  Current().Tiles[6][2] = 51;  // not a face number: floor
  Current().Tiles[4][4] = 3;
  QImage pic = SentinelPicture();
  DrawBoard(pic, false);
  for (int y = 0; y < pic.height(); ++y)
    for (int x = 0; x < pic.width(); ++x) {
      const int cx = x / 48 + 1, cy = y / 48 + 1, k = Current().Tiles[cx][cy];
      if (cx < 2 || cx > 7 || cy < 2 || cy > 6 || B().Cells[cx][cy] != 0)
        ASSERT_EQ(pic.pixel(x, y), Sentinel) << x << "," << y;
      else
        ASSERT_EQ(Flat.At(pic, x, y), k >= 1 && k <= 50 ? "Tile" + std::to_string(k) : "Floor") << x << "," << y;
    }
  // A full redraw never paints the ring's floor cell either, nor text over it.
  SetText(3, 15, 'A');
  DrawBoard(pic, true);
  EXPECT_EQ(pic.pixel(24, 2 * 48 + 24), Sentinel);
  EXPECT_EQ(pic.pixel(17, 2 * 48 + 17), Sentinel);
  Expect(pic, {{1, 3, 4, 20, "FrameEdgeL"}, {1, 1, 24, 24, "WallFace"}});
}

TEST_F(RendererTest, WallPiecesFollowTheNeighboursIncludingTwoDifferentBlocks) {
  MakeBoard(8, 7);
  B().Cells[3][3] = B().Cells[4][3] = B().Cells[3][4] = B().Cells[4][4] = 2;
  B().Cells[5][3] = 3;  // touches block 2 on its left
  Expect(Draw(), {
      {3, 3, 4, 4, "WallOuterTL"}, {3, 3, 4, 20, "WallEdgeL"}, {3, 3, 20, 4, "WallEdgeT"},
      {3, 3, 4, 44, "WallLeftGoesDown"}, {3, 3, 44, 4, "WallTopGoesRight"}, {3, 3, 44, 44, "WallFace"},
      {3, 3, 44, 20, "WallFace"}, {3, 3, 24, 24, "WallFace"},
      // (4,3): a border towards block 3 although both are solid.
      {4, 3, 4, 4, "WallTopGoesLeft"}, {4, 3, 44, 4, "WallOuterTR"}, {4, 3, 44, 20, "WallEdgeR"},
      {4, 3, 44, 44, "WallRightGoesDown"}, {4, 3, 4, 44, "WallFace"},
      {5, 3, 4, 4, "WallOuterTL"}, {5, 3, 44, 4, "WallOuterTR"}, {5, 3, 4, 44, "WallOuterBL"},
      {5, 3, 44, 44, "WallOuterBR"}, {5, 3, 4, 20, "WallEdgeL"}, {5, 3, 44, 20, "WallEdgeR"},
      {5, 3, 20, 4, "WallEdgeT"}, {5, 3, 20, 44, "WallEdgeB"},
      {3, 4, 4, 4, "WallLeftGoesUp"}, {3, 4, 4, 44, "WallOuterBL"}, {3, 4, 20, 44, "WallEdgeB"},
      {3, 4, 44, 44, "WallBottomGoesRight"}, {4, 4, 44, 4, "WallRightGoesUp"}, {4, 4, 4, 44, "WallBottomGoesLeft"},
      {4, 4, 44, 44, "WallOuterBR"}, {4, 4, 4, 4, "WallFace"},
  });
}

TEST_F(RendererTest, OneBlockHasBordersOnlyAlongFloorAndInnerCornersAroundAHole) {
  MakeBoard(9, 9);
  for (int x = 2; x <= 8; ++x)
    for (int y = 2; y <= 8; ++y) B().Cells[x][y] = 1;
  B().Cells[5][5] = 0;
  Expect(Draw(), {
      {2, 2, 4, 4, "WallFace"}, {2, 2, 44, 44, "WallFace"}, {1, 1, 44, 44, "WallFace"}, {1, 4, 44, 20, "WallFace"},
      {4, 4, 44, 44, "WallInnerBR"}, {6, 4, 4, 44, "WallInnerBL"}, {4, 6, 44, 4, "WallInnerTR"},
      {6, 6, 4, 4, "WallInnerTL"}, {5, 4, 20, 44, "WallEdgeB"}, {5, 4, 4, 44, "WallBottomGoesLeft"},
      {5, 4, 44, 44, "WallBottomGoesRight"}, {5, 4, 4, 4, "WallFace"}, {4, 5, 44, 20, "WallEdgeR"},
      {4, 5, 44, 4, "WallRightGoesUp"}, {4, 5, 44, 44, "WallRightGoesDown"}, {5, 5, 24, 24, "Floor"},
  });
}

TEST_F(RendererTest, BackgroundPiecesGoByColumnAndRowModuloFive) {
  MakeBoard(7, 6);
  B().Cells[5][3] = 1;
  App().BackgroundLoaded = true;
  Expect(Draw(), {{1, 1, 24, 24, "Bk11"}, {5, 1, 24, 24, "Bk01"}, {6, 1, 24, 24, "Bk11"}, {1, 5, 24, 24, "Bk10"},
                  {7, 3, 24, 24, "Bk23"}, {5, 3, 24, 24, "Bk03"}, {4, 6, 24, 24, "Bk41"}, {5, 3, 4, 4, "WallOuterTL"}});
  App().BackgroundLoaded = false;
  Expect(Draw(), {{5, 3, 24, 24, "WallFace"}});
}

TEST_F(RendererTest, FrameStatusBarAndSidePanelFollowTheSidePanelSwitch) {
  MakeBoard(6, 5);
  QImage pic = Draw();
  Expect(pic, {
      {1, 1, 4, 4, "FrameCornerTL"}, {2, 1, 4, 4, "FrameTopLeft"}, {2, 1, 20, 4, "FrameEdgeT"},
      {2, 1, 44, 4, "FrameTopRight"}, {2, 5, 4, 44, "JoinBottomLeft"}, {2, 5, 20, 44, "JoinEdgeB"},
      {2, 5, 44, 44, "JoinBottomRight"}, {1, 2, 4, 4, "FrameLeftTop"}, {1, 2, 4, 20, "FrameEdgeL"},
      {1, 2, 4, 44, "FrameLeftBottom"}, {6, 2, 44, 4, "JoinRightTopPanel"}, {6, 2, 44, 20, "JoinEdgeRPanel"},
      {6, 2, 44, 44, "JoinRightBottomPanel"}, {6, 1, 44, 4, "JoinCornerTRPanel"}, {6, 5, 44, 44, "JoinCornerBRPanel"},
      {1, 5, 4, 44, "JoinCornerBL"}, {1, 6, 24, 24, "StatusLeft"}, {2, 6, 24, 24, "StatusMiddle"},
      {5, 6, 24, 24, "StatusMiddle"}, {6, 6, 24, 24, "StatusRightPanel"}, {7, 6, 24, 24, "StatusCorner"},
  });
  App().SidePanelShown = false;
  const QImage closed = Draw();
  Expect(closed, {{6, 2, 44, 4, "FrameRightTop"}, {6, 2, 44, 20, "FrameEdgeR"}, {6, 2, 44, 44, "FrameRightBottom"},
                  {6, 1, 44, 4, "FrameCornerTR"}, {6, 5, 44, 44, "JoinCornerBR"}, {6, 6, 24, 24, "StatusRight"},
                  {1, 5, 4, 44, "JoinCornerBL"}});
  // Applying the switch repaints exactly what depends on it.
  DrawSidePanelShown(pic);
  EXPECT_EQ(pic, closed);
}

TEST_F(RendererTest, SidePanelButtonsAndShortBoards) {
  MakeBoard(6, 8);
  QImage pic = Draw();
  Expect(pic, {{7, 1, 24, 24, "PanelTop"}, {7, 2, 24, 24, "ButtonPlay[0]"}, {7, 3, 24, 24, "ButtonConfig[0]"},
               {7, 4, 24, 24, "ButtonInfo[0]"}, {7, 5, 24, 24, "PanelFiller"}, {7, 7, 24, 24, "PanelFiller"},
               {7, 8, 24, 24, "PanelBottom"}, {7, 9, 24, 24, "StatusCorner"}});
  App().State.GameRunning = true;
  pic = Draw();
  Expect(pic, {{7, 2, 24, 24, "ButtonStop[0]"}});
  Blit(pic, 6 * 48, 96, Skin().ButtonConfig[1]);
  RedrawSidePanel(pic);
  Expect(pic, {{7, 3, 24, 24, "ButtonConfig[0]"}});
  // Fewer than five rows: the buttons cover the panel's bottom (and, on three rows, the status corner).
  MakeBoard(6, 4);
  Expect(Draw(), {{7, 4, 24, 24, "ButtonInfo[0]"}, {7, 5, 24, 24, "StatusCorner"}});
  MakeBoard(6, 3);
  Expect(Draw(), {{7, 3, 24, 24, "ButtonConfig[0]"}, {7, 4, 24, 24, "ButtonInfo[0]"}});
}

TEST_F(RendererTest, TextIsDrawnKeyedOverSolidCellsOnly) {
  MakeBoard(6, 5);
  B().Cells[2][2] = 1;
  SetText(7, 7, 'A');    // over solid (2,2), at pixel (48, 48)
  SetText(13, 7, 'B');   // over floor (3,2)
  SetText(8, 8, 200);    // no glyph above 127 ...
  SetText(9, 9, 31);     // ... nor below 32
  SetText(10, 10, 127);
  SetText(1, 10, 'C');   // over the ring, above the frame
  QImage pic = Draw();
  Expect(pic, {{2, 2, 1, 0, "Ink65"}, {2, 2, 7, 6, "Ink65"}, {2, 2, 0, 2, "WallFace"}, {2, 2, 4, 7, "WallFace"},
               {3, 2, 3, 3, "Floor"}, {2, 2, 11, 11, "WallFace"}, {2, 2, 19, 19, "WallFace"}, {2, 2, 27, 27, "Ink127"},
               {1, 2, 3, 27, "Ink67"}, {1, 2, 0, 27, "FrameEdgeL"}});
  // A glyph changed in place is drawn at the next redraw.
  SetText(7, 7, ' ');
  Expect(Draw(), {{2, 2, 4, 2, "WallFace"}});
  Skin().WallFont[32].setPixel(4, 2, rtest::WallInk(32));
  Expect(Draw(), {{2, 2, 4, 2, "Ink32"}});
}

TEST_F(RendererTest, MarkersAreDrawnUntilTheEndOfEachList) {
  MakeBoard(8, 7);
  B().Cells[3][3] = 1;
  B().Jumps[0] = {1, 3, 2, 8, 4, 1};
  B().Jumps[1] = {3, 1, 4, 4, 7, 3};
  B().Jumps[3] = {1, 5, 2, 8, 5, 1};  // after the end (entry 3 has X1 = 0)
  B().Turns[0] = {3, 3, 1};
  B().Turns[1] = {3, 3, 3};
  B().Turns[2] = {3, 3, 9};  // no such corner
  B().Turns[4] = {3, 3, 2};  // after the end
  QImage pic = Draw();
  Expect(pic, {{1, 3, 36, 16, "JumpMarker[2][1]"}, {1, 3, 36, 31, "JumpMarker[2][1]"}, {1, 3, 36, 32, "WallFace"},
               {8, 4, 12, 24, "JumpMarker[1][1]"}, {3, 1, 24, 36, "JumpMarker[4][1]"}, {4, 7, 24, 12, "JumpMarker[3][1]"},
               {1, 5, 36, 24, "WallFace"}, {8, 5, 12, 24, "WallFace"}, {3, 3, 12, 12, "TurnMarker[1][1]"},
               {3, 3, 36, 36, "TurnMarker[3][1]"}, {3, 3, 36, 12, "WallFace"}});
  DrawJumpMarker(pic, 1, 3, 2, 2);
  DrawTurnMarker(pic, 3, 3, 4, 2);
  Expect(pic, {{1, 3, 36, 20, "JumpMarker[2][2]"}, {3, 3, 12, 36, "TurnMarker[4][2]"}});
  const QImage before = pic;
  for (auto [code, state] : std::initializer_list<std::pair<int, int>>{{0, 1}, {5, 1}, {1, 0}, {1, 3}}) {
    DrawJumpMarker(pic, 2, 2, code, state);
    DrawTurnMarker(pic, 2, 2, code, state);
  }
  DrawJumpMarker(pic, 40, 40, 1, 1);
  DrawTurnMarker(pic, -3, 1, 1, 1);
  EXPECT_EQ(pic, before);
}

TEST_F(RendererTest, StatusTextsBeforeAGame) {
  MakeBoard(10, 6);
  const int upper = 6 * 48 + 15, middle = upper + 5, lower = upper + 10;
  App().Config.GameMode = 1;
  B().Title.Assign("Alpha");
  EXPECT_EQ(LineAt(Draw(), middle), std::make_pair(240 - 13 * 4, std::string("Board : Alpha")));
  B().Author.Assign("Bob");
  QImage pic = Draw();
  EXPECT_EQ(LineAt(pic, upper), std::make_pair(240 - 13 * 4, std::string("Board : Alpha")));
  EXPECT_EQ(LineAt(pic, lower), std::make_pair(240 - 6 * 4, std::string("By Bob")));
  B().Title.Assign("");
  EXPECT_EQ(LineAt(Draw(), middle).second, "By Bob");
  B().Author.Assign("");
  pic = Draw();
  for (int y = upper; y < lower + 8; ++y) EXPECT_EQ(LineAt(pic, y).first, -1) << y;
  App().Config.IPFromPuzzle = 1;
  App().Game().Puzzle.Title.Assign("P1");
  App().Game().Puzzle.Author.Assign("Zed");
  EXPECT_EQ(LineAt(Draw(), upper).second, "Puzzle : P1");
  App().Config.GameMode = 3;
  App().Game().Campaign.Title.Assign("Tour");
  App().Game().Campaign.Author.Assign("Ann");
  pic = Draw();
  EXPECT_EQ(LineAt(pic, upper).second, "Campaign : Tour");
  EXPECT_EQ(LineAt(pic, lower).second, "By Ann");
}

TEST_F(RendererTest, StatusTextsDuringAGameAndTheCounters) {
  MakeBoard(10, 6);
  const int upper = 6 * 48 + 15, lower = upper + 10, right = 480 - 15;
  App().State.GameRunning = true;
  App().Config.PlayerName.Assign("Kim");
  App().Game().Seconds = 12;
  App().Game().Moves = 345;
  App().Config.GameMode = 2;
  App().State.HumanTurn = false;
  QImage pic = Draw();
  EXPECT_EQ(TextAt(pic, 15, upper, 9), "Computer ");
  EXPECT_EQ(TextAt(pic, right - 40, upper, 5), "345 M");
  EXPECT_EQ(TextAt(pic, 15, lower, 8), "Vs. Kim ");
  EXPECT_EQ(TextAt(pic, right - 32, lower, 4), "12 S");
  EXPECT_EQ(LineAt(pic, upper + 7).first, -1);  // between the two lines
  App().State.HumanTurn = true;
  pic = Draw();
  EXPECT_EQ(TextAt(pic, 15, upper, 4) + TextAt(pic, 15, lower, 13), "Kim Vs. Computer ");
  App().Config.GameMode = 1;
  EXPECT_EQ(TextAt(Draw(), 15, lower, 12), "Single Game ");
  App().Config.GameMode = 3;
  App().Game().Level = 7;
  EXPECT_EQ(TextAt(Draw(), 15, lower, 13), "Campaign L:7 ");

  // The counters: their cells redrawn; no seconds while the computer hurries.
  App().Game().Seconds = 99;
  App().Game().Moves = 4;
  App().State.HumanTurn = false;
  App().State.ComputerHurry = true;
  DrawCounters(pic);
  EXPECT_EQ(TextAt(pic, right - 24, upper, 3) + TextAt(pic, right - 32, lower, 4), "4 M    ");
  App().State.ComputerHurry = false;
  DrawCounters(pic);
  EXPECT_EQ(TextAt(pic, right - 32, lower, 4), "99 S");

  // "Vs. " and a name of 20 characters (a length byte past the field reads as 20).
  App().Config.GameMode = 2;
  App().Config.PlayerName.Assign("ABCDEFGHIJKLMNOPQRST");
  App().Config.PlayerName.Len = 30;
  MakeBoard(20, 6);
  EXPECT_EQ(TextAt(Draw(), 15, lower, 25), "Vs. ABCDEFGHIJKLMNOPQRST ");
}

TEST_F(RendererTest, StatusTextSlotsAndTheCutLength) {
  MakeBoard(5, 4);
  const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
  const int upper = 4 * 48 + 15;
  const QImage blank = Draw();
  QImage pic = blank;
  DrawStatusText(pic, 5, 4, text, 1);  // 5 columns: 5 * 6 - 4 = 26 characters
  EXPECT_EQ(TextAt(pic, 15, upper + 10, 27), text.substr(0, 26) + " ");
  pic = blank;
  DrawStatusText(pic, 5, 4, text, 6);
  EXPECT_EQ(LineAt(pic, upper + 5), std::make_pair(240 - 15 - 26 * 8, text.substr(0, 26)));
  pic = blank;
  DrawStatusText(pic, 5, 4, "Hi", 8);
  EXPECT_EQ(LineAt(pic, upper), std::make_pair(120 - 8, std::string("Hi")));
  pic = blank;
  DrawStatusText(pic, 5, 4, std::string("A\x01" "B\xC9" "C", 5), 4);  // no glyphs outside 32..127
  EXPECT_EQ(LineAt(pic, upper + 5), std::make_pair(15, std::string("A B C")));
  pic = blank;
  for (int slot : {0, 10}) DrawStatusText(pic, 5, 4, "X", slot);
  DrawStatusText(pic, 5, 4, " ", 5);
  EXPECT_EQ(pic, blank);
}

TEST(InvertMarkTest, RectanglesOfEveryKindAndTwiceRestores) {
  const QRgb colour = qRgb(10, 20, 30);
  QImage pic(96, 96, QImage::Format_RGB32);
  auto changed = [&] {
    int n = 0;
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 96; ++x) n += pic.pixel(x, y) != colour;
    return n;
  };
  auto inverted = [&](int dx, int dy) { return pic.pixel(48 + dx, 48 + dy) == qRgb(245, 235, 225); };
  const int expected[10] = {0, 256, 256, 256, 256, 1024 - 256, 256 - 32, 1024 - 512, 512 + 128, 0};
  for (int kind = 0; kind <= 9; ++kind) {
    pic.fill(colour);
    InvertMark(pic, 2, 2, kind);
    EXPECT_EQ(changed(), expected[kind]) << kind;
    bool shape = true;
    if (kind == 1) shape = inverted(32, 8) && inverted(39, 39) && !inverted(31, 8) && !inverted(40, 20);
    if (kind == 4) shape = inverted(8, 8) && inverted(39, 15) && !inverted(20, 16);
    if (kind == 5)  // a square ring
      shape = inverted(8, 8) && inverted(15, 24) && inverted(32, 24) && !inverted(16, 16) && !inverted(31, 31) &&
              !inverted(40, 40);
    if (kind == 6)  // a cross with an uninverted centre
      shape = inverted(22, 8) && inverted(25, 39) && inverted(8, 22) && !inverted(22, 22) && !inverted(25, 25) &&
              !inverted(26, 10);
    if (kind == 8) shape = inverted(10, 10) && inverted(20, 24) && !inverted(20, 10) && !inverted(20, 28);
    EXPECT_TRUE(shape) << kind;
    InvertMark(pic, 2, 2, kind);
    EXPECT_EQ(changed(), 0) << kind;
  }
  InvertMark(pic, 3, 3, 5);  // outside the picture: clipped
  InvertMark(pic, -2, 1, 8);
  EXPECT_EQ(changed(), 0);
  InvertMark(pic, 1, 1, 3);
  EXPECT_EQ(changed(), 256);
}

TEST(BlitTest, OpaqueAndKeyedCopiesClippedToTheTarget) {
  QImage src(3, 3, QImage::Format_RGB32);
  src.fill(qRgb(0, 255, 0));  // bottom-left: the key
  src.setPixel(1, 1, qRgb(7, 7, 7));
  src.setPixel(2, 0, qRgb(8, 8, 8));
  for (const QImage& s : {src, src.convertToFormat(QImage::Format_RGB888)}) {
    QImage target(5, 5, QImage::Format_RGB32);
    target.fill(Sentinel);
    Blit(target, -1, 3, s);
    EXPECT_EQ(target.pixel(0, 3), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(0, 4), qRgb(7, 7, 7));
    EXPECT_EQ(target.pixel(2, 4), Sentinel);
    BlitKeyed(target, 1, 1, s);
    EXPECT_EQ(target.pixel(2, 2), qRgb(7, 7, 7));
    EXPECT_EQ(target.pixel(3, 1), qRgb(8, 8, 8));
    EXPECT_EQ(target.pixel(1, 1), Sentinel);
    EXPECT_EQ(target.pixel(3, 3), Sentinel);
    BlitKeyed(target, 3, -1, s);
    EXPECT_EQ(target.pixel(4, 0), qRgb(7, 7, 7));
    const QImage before = target;
    Blit(target, 5, 0, s);
    BlitKeyed(target, 0, -3, s);
    Blit(target, 0, 0, QImage());
    EXPECT_EQ(target, before);
  }
}

// With PAVILORE_SHARE_DIR naming an installation image (build/share/pavilore) and
// PAVILORE_RENDER_DIR a folder, every shipped board is drawn in every shipped
// graphics set and saved there as a PNG file, for looking at. Skipped otherwise.
TEST(ShippedBoardsTest, RenderEveryBoardInEveryGraphicsSet) {
  const char* share = std::getenv("PAVILORE_SHARE_DIR");
  const char* out = std::getenv("PAVILORE_RENDER_DIR");
  if (!share || !out) GTEST_SKIP() << "set PAVILORE_SHARE_DIR and PAVILORE_RENDER_DIR to render the shipped boards";
  QTemporaryDir dir;  // a copy of the pictures: a JPEG load writes its working file beside them
  QDir(dir.path()).mkdir("Graphics");
  const QDir graphics(QString(share) + "/Graphics");
  for (const QString& f : graphics.entryList(QDir::Files)) QFile::copy(graphics.filePath(f), dir.path() + "/Graphics/" + f);
  std::string messages;
  SetMessageHook([&messages](const std::string& text, TMessageIcon) { messages += text + "\n"; });
  ResetApp();
  App().AppFolder = dir.path().toStdString();
  CreateSkinBitmaps();
  const QStringList boards = QDir(QString(share) + "/Boards").entryList(QStringList{"*.BRD"}, QDir::Files);
  for (const QString& gb : ListGraphics("*.BMP", "bk", "ts") + ListGraphics("*.JPG", "bk", "ts"))
    for (const QString& ts : ListGraphics("*.BMP", "bk", "gb") + ListGraphics("*.JPG", "bk", "gb")) {
      App().Config.BoardGraphics.Assign(gb.toStdString());
      App().Config.TileSet.Assign(ts.toStdString());
      LoadBackgroundPicture();
      ASSERT_TRUE(LoadGraphicsSet()) << gb.toStdString() << " " << ts.toStdString();
      for (const QString& name : boards) {
        LoadBoard(QString(share).toStdString() + "/Boards/" + name.toStdString(), App().Game().Board);
        App().Game().Current = App().Game().Board.Pattern;
        QImage pic;
        DrawBoard(pic, true);
        const QString base = QString(out) + "/" + gb + " + " + ts + " - ";
        EXPECT_TRUE(pic.save(base + name.chopped(4) + ".png"));
        if (name != boards.front()) continue;
        // The corners four times enlarged, where the pieces meet.
        pic.copy(0, 0, 192, 192).scaled(768, 768).save(base + "zoom top-left.png");
        pic.copy(pic.width() - 192, pic.height() - 192, 192, 192).scaled(768, 768).save(base + "zoom bottom-right.png");
      }
    }
  SetMessageHook(nullptr);
  EXPECT_EQ(messages, "");
}

}  // namespace
}  // namespace pav
