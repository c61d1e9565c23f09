// The board renderer on hand-made boards with a skin of flat colours: which
// piece lands on which pixel.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "app/AppState.h"
#include "files/GameFiles.h"
#include "platform/qt/MessageBox.h"
#include "gui/RenderTestSkin.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skin.h"

namespace pav {
namespace {

using rtest::TTestSkin;

constexpr QRgb Sentinel = 0xFF123456;

class RendererTest : public ::testing::Test {
 protected:
  TTestSkin Flat;

  void SetUp() override {
    ResetApp();
    Flat.Fill();
  }

  TBoard& B() { return App().Game().Board; }
  TPattern& Current() { return App().Game().Current; }

  // A w x h board: the outer ring solid (value 1), floor inside, no text, no tiles.
  void MakeBoard(int w, int h) {
    std::memset(&B(), 0, sizeof(TBoard));
    std::memset(&Current(), 0, sizeof(TPattern));
    B().Width = static_cast<std::uint8_t>(w);
    B().Height = static_cast<std::uint8_t>(h);
    for (int x = 1; x <= w; ++x)
      for (int y = 1; y <= h; ++y)
        if (x == 1 || y == 1 || x == w || y == h) B().Cells[x][y] = 1;
  }
  void SetText(int cx, int cy, int c) { B().CellText[cx - 1][cy - 1] = static_cast<std::uint8_t>(c); }

  QImage Draw(bool full = true) {
    QImage pic;
    DrawBoard(pic, full);
    return pic;
  }
  // A picture of the board's size filled with the sentinel colour.
  QImage SentinelPicture() {
    QImage pic((B().Width + 1) * 48, (B().Height + 1) * 48, QImage::Format_RGB32);
    pic.fill(Sentinel);
    return pic;
  }
  // The piece at offset (dx, dy) inside board cell (x, y).
  std::string In(const QImage& pic, int x, int y, int dx, int dy) const {
    return Flat.At(pic, (x - 1) * 48 + dx, (y - 1) * 48 + dy);
  }
};

// ---- status-line reading: the ink's red channel is the character code ----

// n glyph cells from x0 on the text line y; a cell without ink reads as a space.
std::string TextAt(const QImage& pic, int x0, int y, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    const int x = x0 + 8 * i + 1;
    if (x < 0 || x >= pic.width()) {
      s += '~';
      continue;
    }
    const QRgb p = pic.pixel(x, y);
    s += rtest::IsStatusInk(p) ? static_cast<char>(qRed(p)) : ' ';
  }
  return s;
}

// The text on line y from its first to its last inked glyph, and where it starts.
std::pair<int, std::string> LineAt(const QImage& pic, int y) {
  int first = -1, last = -1;
  for (int x = 0; x < pic.width(); ++x)
    if (rtest::IsStatusInk(pic.pixel(x, y))) {
      if (first < 0) first = x;
      last = x;
    }
  if (first < 0) return {-1, ""};
  const int x0 = first - 1;
  return {x0, TextAt(pic, x0, y, (last - x0) / 8 + 1)};
}

// ---- size and the partial redraw ----

TEST_F(RendererTest, PictureIsOneCellWiderAndTallerThanTheBoardAndKeepsItsContent) {
  MakeBoard(8, 7);
  QImage pic(100, 100, QImage::Format_RGB32);
  pic.fill(Sentinel);
  DrawBoard(pic, false);
  EXPECT_EQ(pic.size(), QSize(9 * 48, 8 * 48));
  EXPECT_EQ(pic.format(), QImage::Format_RGB32);
  EXPECT_EQ(pic.pixel(10, 10), Sentinel);  // ring cell (1,1): kept, not painted
  EXPECT_EQ(pic.pixel(10, 150), qRgb(0, 0, 0));  // new area, ring cell (1,4)
  EXPECT_EQ(In(pic, 2, 2, 24, 24), "Floor");

  // A full redraw of the same board keeps the size.
  DrawBoard(pic, true);
  EXPECT_EQ(pic.size(), QSize(9 * 48, 8 * 48));
  EXPECT_EQ(In(pic, 1, 1, 24, 24), "WallFace");
}

TEST_F(RendererTest, PartialRedrawTouchesOnlyTheFloorCellsOfThePlayingArea) {
  MakeBoard(8, 7);
  B().Cells[4][4] = 2;             // an inner wall
  B().Cells[1][3] = 0;             // a floor cell on the outer ring ...
  Current().Tiles[1][3] = 9;       // ... even with a tile on it
  Current().Tiles[3][3] = 7;
  Current().Tiles[5][5] = 50;
  Current().Tiles[6][2] = 51;      // not a face number: floor
  Current().Tiles[4][4] = 3;       // a tile under a wall is not drawn
  QImage pic = SentinelPicture();
  DrawBoard(pic, false);
  for (int y = 0; y < pic.height(); ++y)
    for (int x = 0; x < pic.width(); ++x) {
      const int cx = x / 48 + 1, cy = y / 48 + 1;
      const bool floorCell = cx >= 2 && cx <= 7 && cy >= 2 && cy <= 6 && B().Cells[cx][cy] == 0;
      if (!floorCell) {
        ASSERT_EQ(pic.pixel(x, y), Sentinel) << x << "," << y;
      } else {
        const int k = Current().Tiles[cx][cy];
        ASSERT_EQ(Flat.At(pic, x, y), k >= 1 && k <= 50 ? "Tile" + std::to_string(k) : "Floor") << x << "," << y;
      }
    }
}

TEST_F(RendererTest, FloorCellOnTheOuterRingIsNeverPainted) {
  MakeBoard(6, 5);
  B().Cells[1][3] = 0;
  B().Cells[6][2] = 0;
  Current().Tiles[1][3] = 4;
  SetText(3, 15, 'A');  // text over the ring's floor cell (1,3)
  QImage pic = SentinelPicture();
  DrawBoard(pic, true);
  EXPECT_EQ(In(pic, 1, 3, 24, 24), "?");
  EXPECT_EQ(pic.pixel(24, 2 * 48 + 24), Sentinel);
  EXPECT_EQ(pic.pixel(17, 2 * 48 + 16 + 1), Sentinel);  // the glyph's ink place
  EXPECT_EQ(pic.pixel(5 * 48 + 24, 48 + 24), Sentinel);
  // The frame still runs over the ring.
  EXPECT_EQ(In(pic, 1, 3, 4, 20), "FrameEdgeL");
}

// ---- walls ----

TEST_F(RendererTest, WallPiecesFollowTheNeighboursIncludingTwoDifferentBlocks) {
  MakeBoard(8, 7);
  B().Cells[3][3] = B().Cells[4][3] = B().Cells[3][4] = B().Cells[4][4] = 2;
  B().Cells[5][3] = 3;  // touches block 2 on its left
  const QImage pic = Draw();

  // (3,3): floor to the left and above, the block to the right and below.
  EXPECT_EQ(In(pic, 3, 3, 4, 4), "WallOuterTL");
  EXPECT_EQ(In(pic, 3, 3, 4, 20), "WallEdgeL");
  EXPECT_EQ(In(pic, 3, 3, 20, 4), "WallEdgeT");
  EXPECT_EQ(In(pic, 3, 3, 4, 44), "WallLeftGoesDown");
  EXPECT_EQ(In(pic, 3, 3, 44, 4), "WallTopGoesRight");
  EXPECT_EQ(In(pic, 3, 3, 44, 44), "WallFace");
  EXPECT_EQ(In(pic, 3, 3, 44, 20), "WallFace");
  EXPECT_EQ(In(pic, 3, 3, 24, 24), "WallFace");

  // (4,3): block 3 on its right is a different block: a border between them.
  EXPECT_EQ(In(pic, 4, 3, 4, 4), "WallTopGoesLeft");
  EXPECT_EQ(In(pic, 4, 3, 44, 4), "WallOuterTR");
  EXPECT_EQ(In(pic, 4, 3, 44, 20), "WallEdgeR");
  EXPECT_EQ(In(pic, 4, 3, 44, 44), "WallRightGoesDown");
  EXPECT_EQ(In(pic, 4, 3, 4, 44), "WallFace");

  // (5,3): a block of its own, bordered on all four sides.
  EXPECT_EQ(In(pic, 5, 3, 4, 4), "WallOuterTL");
  EXPECT_EQ(In(pic, 5, 3, 44, 4), "WallOuterTR");
  EXPECT_EQ(In(pic, 5, 3, 4, 44), "WallOuterBL");
  EXPECT_EQ(In(pic, 5, 3, 44, 44), "WallOuterBR");
  EXPECT_EQ(In(pic, 5, 3, 4, 20), "WallEdgeL");
  EXPECT_EQ(In(pic, 5, 3, 44, 20), "WallEdgeR");
  EXPECT_EQ(In(pic, 5, 3, 20, 4), "WallEdgeT");
  EXPECT_EQ(In(pic, 5, 3, 20, 44), "WallEdgeB");

  // (3,4) and (4,4): the lower row of block 2.
  EXPECT_EQ(In(pic, 3, 4, 4, 4), "WallLeftGoesUp");
  EXPECT_EQ(In(pic, 3, 4, 4, 44), "WallOuterBL");
  EXPECT_EQ(In(pic, 3, 4, 20, 44), "WallEdgeB");
  EXPECT_EQ(In(pic, 3, 4, 44, 44), "WallBottomGoesRight");
  EXPECT_EQ(In(pic, 4, 4, 44, 4), "WallRightGoesUp");
  EXPECT_EQ(In(pic, 4, 4, 4, 44), "WallBottomGoesLeft");
  EXPECT_EQ(In(pic, 4, 4, 44, 44), "WallOuterBR");
  EXPECT_EQ(In(pic, 4, 4, 4, 4), "WallFace");
}

TEST_F(RendererTest, OneBlockHasBordersOnlyAlongFloorAndInnerCornersAroundAHole) {
  MakeBoard(9, 9);
  for (int x = 2; x <= 8; ++x)
    for (int y = 2; y <= 8; ++y) B().Cells[x][y] = 1;
  B().Cells[5][5] = 0;  // the only floor cell
  const QImage pic = Draw();

  // Next to the ring, same value: no border at all.
  EXPECT_EQ(In(pic, 2, 2, 4, 4), "WallFace");
  EXPECT_EQ(In(pic, 2, 2, 44, 44), "WallFace");
  EXPECT_EQ(In(pic, 1, 1, 44, 44), "WallFace");
  EXPECT_EQ(In(pic, 1, 4, 44, 20), "WallFace");

  // The four diagonal neighbours of the hole get inner corners.
  EXPECT_EQ(In(pic, 4, 4, 44, 44), "WallInnerBR");
  EXPECT_EQ(In(pic, 6, 4, 4, 44), "WallInnerBL");
  EXPECT_EQ(In(pic, 4, 6, 44, 4), "WallInnerTR");
  EXPECT_EQ(In(pic, 6, 6, 4, 4), "WallInnerTL");
  // The cell above the hole: bottom edge continuing to both sides.
  EXPECT_EQ(In(pic, 5, 4, 20, 44), "WallEdgeB");
  EXPECT_EQ(In(pic, 5, 4, 4, 44), "WallBottomGoesLeft");
  EXPECT_EQ(In(pic, 5, 4, 44, 44), "WallBottomGoesRight");
  EXPECT_EQ(In(pic, 5, 4, 4, 4), "WallFace");
  // Left of the hole: right edge continuing up and down.
  EXPECT_EQ(In(pic, 4, 5, 44, 20), "WallEdgeR");
  EXPECT_EQ(In(pic, 4, 5, 44, 4), "WallRightGoesUp");
  EXPECT_EQ(In(pic, 4, 5, 44, 44), "WallRightGoesDown");
  EXPECT_EQ(In(pic, 5, 5, 24, 24), "Floor");
}

TEST_F(RendererTest, BackgroundPiecesGoByColumnAndRowModuloFive) {
  MakeBoard(7, 6);
  App().BackgroundLoaded = true;
  B().Cells[5][3] = 1;
  const QImage pic = Draw();
  EXPECT_EQ(In(pic, 1, 1, 24, 24), "Background11");
  EXPECT_EQ(In(pic, 5, 1, 24, 24), "Background01");  // column 5 shows piece column 0
  EXPECT_EQ(In(pic, 6, 1, 24, 24), "Background11");
  EXPECT_EQ(In(pic, 1, 5, 24, 24), "Background10");
  EXPECT_EQ(In(pic, 7, 3, 24, 24), "Background23");
  EXPECT_EQ(In(pic, 5, 3, 24, 24), "Background03");
  EXPECT_EQ(In(pic, 4, 6, 24, 24), "Background41");
  // The borders still go over the background.
  EXPECT_EQ(In(pic, 5, 3, 4, 4), "WallOuterTL");

  App().BackgroundLoaded = false;
  EXPECT_EQ(In(Draw(), 5, 3, 24, 24), "WallFace");
}

// ---- frame, status bar, side panel ----

TEST_F(RendererTest, FrameJoinsTheSidePanelWhenItIsShownAndClosesOtherwise) {
  MakeBoard(6, 5);
  const int W = 6 * 48, H = 5 * 48;
  QImage pic = Draw();
  EXPECT_EQ(Flat.At(pic, 4, 4), "FrameCornerTL");
  EXPECT_EQ(Flat.At(pic, 48 + 4, 4), "FrameTopLeft");
  EXPECT_EQ(Flat.At(pic, 48 + 20, 4), "FrameEdgeT");
  EXPECT_EQ(Flat.At(pic, 48 + 44, 4), "FrameTopRight");
  EXPECT_EQ(Flat.At(pic, 48 + 4, H - 4), "JoinBottomLeft");
  EXPECT_EQ(Flat.At(pic, 48 + 20, H - 4), "JoinEdgeB");
  EXPECT_EQ(Flat.At(pic, 48 + 44, H - 4), "JoinBottomRight");
  EXPECT_EQ(Flat.At(pic, 4, 48 + 4), "FrameLeftTop");
  EXPECT_EQ(Flat.At(pic, 4, 48 + 20), "FrameEdgeL");
  EXPECT_EQ(Flat.At(pic, 4, 48 + 44), "FrameLeftBottom");
  EXPECT_EQ(Flat.At(pic, W - 4, 48 + 4), "JoinRightTopPanel");
  EXPECT_EQ(Flat.At(pic, W - 4, 48 + 20), "JoinEdgeRPanel");
  EXPECT_EQ(Flat.At(pic, W - 4, 48 + 44), "JoinRightBottomPanel");
  EXPECT_EQ(Flat.At(pic, W - 4, 4), "JoinCornerTRPanel");
  EXPECT_EQ(Flat.At(pic, W - 4, H - 4), "JoinCornerBRPanel");
  EXPECT_EQ(Flat.At(pic, 4, H - 4), "JoinCornerBL");
  EXPECT_EQ(Flat.At(pic, 24, H + 24), "StatusLeft");
  EXPECT_EQ(Flat.At(pic, 48 + 24, H + 24), "StatusMiddle");
  EXPECT_EQ(Flat.At(pic, 4 * 48 + 24, H + 24), "StatusMiddle");
  EXPECT_EQ(Flat.At(pic, 5 * 48 + 24, H + 24), "StatusRightPanel");
  EXPECT_EQ(Flat.At(pic, W + 24, H + 24), "StatusCorner");

  App().SidePanelShown = false;
  pic = Draw();
  EXPECT_EQ(Flat.At(pic, W - 4, 48 + 4), "FrameRightTop");
  EXPECT_EQ(Flat.At(pic, W - 4, 48 + 20), "FrameEdgeR");
  EXPECT_EQ(Flat.At(pic, W - 4, 48 + 44), "FrameRightBottom");
  EXPECT_EQ(Flat.At(pic, W - 4, 4), "FrameCornerTR");
  EXPECT_EQ(Flat.At(pic, W - 4, H - 4), "JoinCornerBR");
  EXPECT_EQ(Flat.At(pic, 5 * 48 + 24, H + 24), "StatusRight");
  EXPECT_EQ(Flat.At(pic, 4, H - 4), "JoinCornerBL");
}

TEST_F(RendererTest, ApplyingTheSidePanelSwitchRepaintsOnlyWhatDependsOnIt) {
  MakeBoard(6, 5);
  QImage pic = Draw();
  App().SidePanelShown = false;
  DrawSidePanelShown(pic);
  EXPECT_EQ(pic, Draw());
}

TEST_F(RendererTest, SidePanelCellsAndRestButtons) {
  MakeBoard(6, 8);
  const int X = 6 * 48 + 24;
  QImage pic = Draw();
  EXPECT_EQ(Flat.At(pic, X, 24), "PanelTop");
  EXPECT_EQ(Flat.At(pic, X, 48 + 24), "PlayRest");
  EXPECT_EQ(Flat.At(pic, X, 96 + 24), "ConfigRest");
  EXPECT_EQ(Flat.At(pic, X, 144 + 24), "InfoRest");
  for (int y = 5; y <= 7; ++y) EXPECT_EQ(Flat.At(pic, X, (y - 1) * 48 + 24), "PanelFiller") << y;
  EXPECT_EQ(Flat.At(pic, X, 7 * 48 + 24), "PanelBottom");
  EXPECT_EQ(Flat.At(pic, X, 8 * 48 + 24), "StatusCorner");

  App().State.GameRunning = true;
  pic = Draw();
  EXPECT_EQ(Flat.At(pic, X, 48 + 24), "StopRest");

  // RedrawSidePanel puts the rest pictures back over hover pictures.
  Blit(pic, 6 * 48, 96, Skin().ButtonConfig[1]);
  EXPECT_EQ(Flat.At(pic, X, 96 + 24), "ConfigHover");
  RedrawSidePanel(pic);
  EXPECT_EQ(Flat.At(pic, X, 96 + 24), "ConfigRest");
}

TEST_F(RendererTest, ShortBoardsShowTheButtonsOverThePanelBottom) {
  MakeBoard(6, 4);
  const int X = 6 * 48 + 24;
  QImage pic = Draw();
  EXPECT_EQ(Flat.At(pic, X, 96 + 24), "ConfigRest");
  EXPECT_EQ(Flat.At(pic, X, 144 + 24), "InfoRest");  // where PanelBottom was drawn first
  EXPECT_EQ(Flat.At(pic, X, 4 * 48 + 24), "StatusCorner");

  MakeBoard(6, 3);
  pic = Draw();
  EXPECT_EQ(Flat.At(pic, X, 96 + 24), "ConfigRest");
  // The last button lies in the status row and covers the status corner too.
  EXPECT_EQ(Flat.At(pic, X, 144 + 24), "InfoRest");
}

// ---- text layer and markers ----

TEST_F(RendererTest, TextIsDrawnKeyedOverSolidCellsOnly) {
  MakeBoard(6, 5);
  B().Cells[2][2] = 1;
  SetText(7, 7, 'A');    // over solid (2,2) at pixel (48, 48)
  SetText(13, 7, 'B');   // over floor (3,2)
  SetText(8, 8, 200);    // no glyph for codes above 127
  SetText(9, 9, 31);     // nor below 32
  SetText(10, 10, 127);  // 127 has one
  SetText(1, 10, 'C');   // over the ring, above the frame's left edge
  const QImage pic = Draw();
  EXPECT_EQ(Flat.At(pic, 49, 48), "WallInk65");
  EXPECT_EQ(Flat.At(pic, 55, 54), "WallInk65");
  EXPECT_EQ(Flat.At(pic, 48, 50), "WallFace");  // key column: the wall shows through
  EXPECT_EQ(Flat.At(pic, 52, 55), "WallFace");  // key row
  EXPECT_EQ(Flat.At(pic, 12 * 8 + 3, 6 * 8 + 3), "Floor");
  EXPECT_EQ(Flat.At(pic, 7 * 8 + 3, 7 * 8 + 3), "WallFace");
  EXPECT_EQ(Flat.At(pic, 8 * 8 + 3, 8 * 8 + 3), "WallFace");
  EXPECT_EQ(Flat.At(pic, 9 * 8 + 3, 9 * 8 + 3), "WallInk127");
  EXPECT_EQ(Flat.At(pic, 3, 72 + 3), "WallInk67");
  EXPECT_EQ(Flat.At(pic, 0, 72 + 3), "FrameEdgeL");
}

TEST_F(RendererTest, AChangedGlyphIsDrawnAtTheNextRedraw) {
  MakeBoard(6, 5);
  B().Cells[2][2] = 1;
  SetText(7, 7, ' ');
  EXPECT_EQ(Flat.At(Draw(), 52, 50), "WallFace");
  Skin().WallFont[32].setPixel(4, 2, rtest::WallInk(32));
  EXPECT_EQ(Flat.At(Draw(), 52, 50), "WallInk32");
}

TEST_F(RendererTest, MarkersAreDrawnUntilTheEndOfEachList) {
  MakeBoard(8, 7);
  B().Cells[3][3] = 1;
  B().Jumps[0] = {1, 3, 2, 8, 4, 1};
  B().Jumps[1] = {3, 1, 4, 4, 7, 3};
  B().Jumps[2] = {0, 0, 0, 0, 0, 0};
  B().Jumps[3] = {1, 5, 2, 8, 5, 1};  // after the end: not drawn
  B().Turns[0] = {3, 3, 1};
  B().Turns[1] = {3, 3, 3};
  B().Turns[2] = {3, 3, 9};  // no such corner
  B().Turns[3] = {0, 0, 0};
  B().Turns[4] = {3, 3, 2};  // after the end
  const QImage pic = Draw();
  EXPECT_EQ(In(pic, 1, 3, 36, 24), "Jump2a");
  EXPECT_EQ(In(pic, 1, 3, 36, 16), "Jump2a");
  EXPECT_EQ(In(pic, 1, 3, 36, 31), "Jump2a");
  EXPECT_EQ(In(pic, 1, 3, 36, 32), "WallFace");
  EXPECT_EQ(In(pic, 8, 4, 12, 24), "Jump1a");
  EXPECT_EQ(In(pic, 3, 1, 24, 36), "Jump4a");
  EXPECT_EQ(In(pic, 4, 7, 24, 12), "Jump3a");
  EXPECT_EQ(In(pic, 1, 5, 36, 24), "WallFace");
  EXPECT_EQ(In(pic, 8, 5, 12, 24), "WallFace");
  EXPECT_EQ(In(pic, 3, 3, 12, 12), "Turn1a");
  EXPECT_EQ(In(pic, 3, 3, 36, 36), "Turn3a");
  EXPECT_EQ(In(pic, 3, 3, 36, 12), "WallFace");
}

TEST_F(RendererTest, SingleMarkersInBothStates) {
  MakeBoard(6, 5);
  QImage pic = Draw();
  DrawJumpMarker(pic, 1, 2, 2, 2);
  DrawTurnMarker(pic, 2, 1, 4, 2);
  DrawTurnMarker(pic, 2, 1, 2, 1);
  EXPECT_EQ(In(pic, 1, 2, 36, 20), "Jump2b");
  EXPECT_EQ(In(pic, 2, 1, 12, 36), "Turn4b");
  EXPECT_EQ(In(pic, 2, 1, 36, 12), "Turn2a");
  const QImage before = pic;
  DrawJumpMarker(pic, 1, 2, 0, 1);
  DrawJumpMarker(pic, 1, 2, 5, 1);
  DrawJumpMarker(pic, 1, 2, 1, 3);
  DrawTurnMarker(pic, 2, 1, 1, 0);
  DrawTurnMarker(pic, 2, 1, 5, 1);
  DrawJumpMarker(pic, 40, 40, 1, 1);  // outside the picture
  DrawTurnMarker(pic, -3, 1, 1, 1);
  EXPECT_EQ(pic, before);
}

// ---- status texts ----

TEST_F(RendererTest, BeforeAGameTheNameAndAuthorLinesTakeTheirSlots) {
  MakeBoard(10, 6);
  const int base = 6 * 48;
  App().Config.GameMode = 1;
  B().Title.Assign("Alpha");
  QImage pic = Draw();
  EXPECT_EQ(LineAt(pic, base + 20), std::make_pair(10 * 24 - 13 * 4, std::string("Board : Alpha")));
  EXPECT_EQ(LineAt(pic, base + 15).first, -1);

  B().Author.Assign("Bob");
  pic = Draw();
  EXPECT_EQ(LineAt(pic, base + 15), std::make_pair(10 * 24 - 13 * 4, std::string("Board : Alpha")));
  EXPECT_EQ(LineAt(pic, base + 25), std::make_pair(10 * 24 - 6 * 4, std::string("By Bob")));

  B().Title.Assign("");
  pic = Draw();
  EXPECT_EQ(LineAt(pic, base + 20), std::make_pair(10 * 24 - 6 * 4, std::string("By Bob")));

  B().Author.Assign("");
  pic = Draw();
  for (int y = base; y < base + 48; ++y) EXPECT_EQ(LineAt(pic, y).first, -1) << y;

  App().Config.IPFromPuzzle = 1;
  App().Game().Puzzle.Title.Assign("P1");
  App().Game().Puzzle.Author.Assign("Zed");
  pic = Draw();
  EXPECT_EQ(LineAt(pic, base + 15).second, "Puzzle : P1");
  EXPECT_EQ(LineAt(pic, base + 25).second, "By Zed");

  App().Config.GameMode = 3;
  App().Game().Campaign.Title.Assign("Tour");
  App().Game().Campaign.Author.Assign("Ann");
  pic = Draw();
  EXPECT_EQ(LineAt(pic, base + 15).second, "Campaign : Tour");
  EXPECT_EQ(LineAt(pic, base + 25).second, "By Ann");
}

TEST_F(RendererTest, DuringAGameThePlayerModeAndCountersAreShown) {
  MakeBoard(10, 6);
  const int base = 6 * 48, right = 10 * 48 - 15;
  App().State.GameRunning = true;
  App().Config.PlayerName.Assign("Kim");
  App().Game().Seconds = 12;
  App().Game().Moves = 345;
  B().Title.Assign("Hidden");

  App().Config.GameMode = 2;
  App().State.HumanTurn = false;
  QImage pic = Draw();
  EXPECT_EQ(TextAt(pic, 15, base + 15, 9), "Computer ");
  EXPECT_EQ(LineAt(pic, base + 15).first, 15);
  EXPECT_EQ(TextAt(pic, right - 5 * 8, base + 15, 5), "345 M");
  EXPECT_EQ(TextAt(pic, 15, base + 25, 8), "Vs. Kim ");
  EXPECT_EQ(TextAt(pic, right - 4 * 8, base + 25, 4), "12 S");
  EXPECT_EQ(LineAt(pic, base + 22).first, -1);  // between the upper and the lower line

  App().State.HumanTurn = true;
  pic = Draw();
  EXPECT_EQ(TextAt(pic, 15, base + 15, 4), "Kim ");
  EXPECT_EQ(TextAt(pic, 15, base + 25, 13), "Vs. Computer ");

  App().Config.GameMode = 1;
  pic = Draw();
  EXPECT_EQ(TextAt(pic, 15, base + 25, 12), "Single Game ");

  App().Config.GameMode = 3;
  App().Game().Level = 7;
  pic = Draw();
  EXPECT_EQ(TextAt(pic, 15, base + 25, 13), "Campaign L:7 ");
}

TEST_F(RendererTest, TheComputersOpponentLineIsCutTo24Characters) {
  MakeBoard(20, 6);
  App().State.GameRunning = true;
  App().State.HumanTurn = false;
  App().Config.GameMode = 2;
  App().Config.PlayerName.Assign("ABCDEFGHIJKLMNOPQRST");
  // A length byte larger than the field reads as the whole field.
  App().Config.PlayerName.Len = 30;
  const QImage pic = Draw();
  EXPECT_EQ(LineAt(pic, 6 * 48 + 25).second.substr(0, 24), "Vs. ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(TextAt(pic, 15 + 24 * 8, 6 * 48 + 25, 1), " ");
}

TEST_F(RendererTest, StatusTextSlotsAndTheCutLength) {
  MakeBoard(5, 4);
  const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
  QImage pic = Draw();
  const int base = 4 * 48;
  DrawStatusText(pic, 5, 4, text, 1);
  EXPECT_EQ(TextAt(pic, 15, base + 25, 27), text.substr(0, 26) + " ");  // 5*6-4 = 26 characters

  pic = Draw();
  DrawStatusText(pic, 5, 4, text, 6);
  EXPECT_EQ(LineAt(pic, base + 20), std::make_pair(5 * 48 - 15 - 26 * 8, text.substr(0, 26)));

  pic = Draw();
  DrawStatusText(pic, 5, 4, "Hi", 8);
  EXPECT_EQ(LineAt(pic, base + 15), std::make_pair(5 * 24 - 2 * 4, std::string("Hi")));

  pic = Draw();
  DrawStatusText(pic, 5, 4, std::string("A\x01" "B\xC9" "C", 5), 4);
  EXPECT_EQ(LineAt(pic, base + 20), std::make_pair(15, std::string("A B C")));

  // No slot 0 or 10; nothing under the text is cleared.
  const QImage before = Draw();
  pic = before;
  DrawStatusText(pic, 5, 4, "X", 0);
  DrawStatusText(pic, 5, 4, "X", 10);
  DrawStatusText(pic, 5, 4, "", 5);
  EXPECT_EQ(pic, before);
  DrawStatusText(pic, 5, 4, " ", 5);
  EXPECT_EQ(pic, before);
}

TEST_F(RendererTest, CountersRepaintTheirCellsAndSkipTheSecondsOfAHurriedComputer) {
  MakeBoard(10, 6);
  const int base = 6 * 48, right = 10 * 48 - 15;
  App().State.GameRunning = true;
  App().Config.GameMode = 2;
  App().Game().Seconds = 12;
  App().Game().Moves = 3;
  QImage pic = Draw();
  App().Game().Seconds = 99;
  App().Game().Moves = 4;
  App().State.HumanTurn = false;
  App().State.ComputerHurry = true;
  DrawCounters(pic);
  EXPECT_EQ(TextAt(pic, right - 3 * 8, base + 15, 3), "4 M");
  EXPECT_EQ(TextAt(pic, right - 4 * 8, base + 25, 4), "    ");
  EXPECT_EQ(Flat.At(pic, 8 * 48 + 24, base + 40), "StatusMiddle");
  App().State.ComputerHurry = false;
  DrawCounters(pic);
  EXPECT_EQ(TextAt(pic, right - 4 * 8, base + 25, 4), "99 S");
}

// ---- refused-move marks ----

class InvertMarkTest : public ::testing::Test {
 protected:
  static constexpr QRgb Colour = 0xFF0A141E;  // (10, 20, 30)
  QImage Pic{96, 96, QImage::Format_RGB32};
  void SetUp() override { Pic.fill(Colour); }
  bool Inverted(int dx, int dy) const { return Pic.pixel(48 + dx, 48 + dy) == qRgb(245, 235, 225); }
  int ChangedPixels() const {
    int n = 0;
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 96; ++x)
        if (Pic.pixel(x, y) != Colour) ++n;
    return n;
  }
};

TEST_F(InvertMarkTest, EveryKindInvertsItsRectanglesAndTwiceRestores) {
  const int expected[9] = {0, 256, 256, 256, 256, 32 * 32 - 16 * 16, 4 * 32 * 2 - 2 * 16, 16 * 32 * 2 - 2 * 256, 1024 - 512 + 128};
  for (int kind = 0; kind <= 9; ++kind) {
    Pic.fill(Colour);
    InvertMark(Pic, 2, 2, kind);
    EXPECT_EQ(ChangedPixels(), kind <= 8 ? expected[kind] : 0) << kind;
    InvertMark(Pic, 2, 2, kind);
    EXPECT_EQ(ChangedPixels(), 0) << kind;
  }
}

TEST_F(InvertMarkTest, ShapesOfTheMarks) {
  InvertMark(Pic, 2, 2, 1);
  EXPECT_TRUE(Inverted(32, 8) && Inverted(39, 39));
  EXPECT_FALSE(Inverted(31, 8) || Inverted(40, 20) || Inverted(35, 40));

  Pic.fill(Colour);
  InvertMark(Pic, 2, 2, 5);  // a square ring
  EXPECT_TRUE(Inverted(8, 8) && Inverted(39, 39) && Inverted(15, 24) && Inverted(32, 24));
  EXPECT_FALSE(Inverted(16, 16) || Inverted(24, 24) || Inverted(31, 31) || Inverted(7, 20) || Inverted(40, 40));

  Pic.fill(Colour);
  InvertMark(Pic, 2, 2, 6);  // a cross whose centre is not inverted
  EXPECT_TRUE(Inverted(22, 8) && Inverted(25, 39) && Inverted(8, 22) && Inverted(39, 25));
  EXPECT_FALSE(Inverted(22, 22) || Inverted(25, 25) || Inverted(10, 10) || Inverted(26, 10));

  Pic.fill(Colour);
  InvertMark(Pic, 2, 2, 4);
  EXPECT_TRUE(Inverted(8, 8) && Inverted(39, 15));
  EXPECT_FALSE(Inverted(20, 16));

  Pic.fill(Colour);
  InvertMark(Pic, 2, 2, 8);
  EXPECT_TRUE(Inverted(10, 10) && Inverted(20, 24) && Inverted(35, 35));
  EXPECT_FALSE(Inverted(20, 10) || Inverted(20, 19) || Inverted(20, 28));
}

TEST_F(InvertMarkTest, MarksOutsideThePictureAreClipped) {
  InvertMark(Pic, 3, 3, 5);
  InvertMark(Pic, -2, 1, 8);
  EXPECT_EQ(ChangedPixels(), 0);
  InvertMark(Pic, 1, 1, 3);
  EXPECT_EQ(ChangedPixels(), 256);
  QImage empty;
  InvertMark(empty, 1, 1, 5);
  EXPECT_TRUE(empty.isNull());
}

// ---- copies ----

TEST(BlitTest, OpaqueCopiesAreClippedToTheTarget) {
  QImage target(10, 10, QImage::Format_RGB32);
  target.fill(Sentinel);
  QImage src(4, 4, QImage::Format_RGB32);
  src.fill(qRgb(1, 2, 3));
  src.setPixel(0, 0, qRgb(9, 9, 9));
  Blit(target, -1, -1, src);
  EXPECT_EQ(target.pixel(0, 0), qRgb(1, 2, 3));
  EXPECT_EQ(target.pixel(2, 2), qRgb(1, 2, 3));
  EXPECT_EQ(target.pixel(3, 3), Sentinel);
  Blit(target, 8, 9, src);
  EXPECT_EQ(target.pixel(8, 9), qRgb(9, 9, 9));
  EXPECT_EQ(target.pixel(9, 9), qRgb(1, 2, 3));
  Blit(target, 10, 0, src);
  Blit(target, -4, 0, src);
  Blit(target, 0, 0, QImage());
  EXPECT_EQ(target.pixel(5, 5), Sentinel);

  // Other source forms are copied the same way.
  QImage rgb888 = src.convertToFormat(QImage::Format_RGB888);
  QImage other(10, 10, QImage::Format_RGB32);
  other.fill(Sentinel);
  Blit(other, 5, 5, rgb888);
  EXPECT_EQ(other.pixel(5, 5), qRgb(9, 9, 9));
  EXPECT_EQ(other.pixel(8, 8), qRgb(1, 2, 3));
  EXPECT_EQ(other.pixel(9, 9), Sentinel);
}

TEST(BlitTest, KeyedCopiesLeaveEveryPixelOfTheBottomLeftColour) {
  QImage src(3, 3, QImage::Format_RGB32);
  src.fill(qRgb(0, 255, 0));       // the key, bottom-left
  src.setPixel(1, 1, qRgb(7, 7, 7));
  src.setPixel(2, 0, qRgb(8, 8, 8));
  for (const QImage& s : {src, src.convertToFormat(QImage::Format_RGB888)}) {
    QImage target(5, 5, QImage::Format_RGB32);
    target.fill(Sentinel);
    BlitKeyed(target, 1, 1, s);
    EXPECT_EQ(target.pixel(2, 2), qRgb(7, 7, 7));
    EXPECT_EQ(target.pixel(3, 1), qRgb(8, 8, 8));
    EXPECT_EQ(target.pixel(1, 1), Sentinel);
    EXPECT_EQ(target.pixel(1, 3), Sentinel);
    EXPECT_EQ(target.pixel(3, 3), Sentinel);
    BlitKeyed(target, 3, -1, s);  // clipped on two sides
    EXPECT_EQ(target.pixel(4, 0), qRgb(7, 7, 7));
  }
}

// ---- the shipped boards in the shipped graphics, for looking at ----

// With PAVILORE_SHARE_DIR naming an installation image (build/share/pavilore) and
// PAVILORE_RENDER_DIR a folder, every board is drawn in every graphics set there
// and saved as a PNG file. Without them the test is skipped.
TEST(ShippedBoardsTest, RenderEveryBoardInEveryGraphicsSet) {
  const char* share = std::getenv("PAVILORE_SHARE_DIR");
  const char* out = std::getenv("PAVILORE_RENDER_DIR");
  if (!share || !out) GTEST_SKIP() << "set PAVILORE_SHARE_DIR and PAVILORE_RENDER_DIR to render the shipped boards";
  // A copy of the pictures: loading a JPEG writes the working file beside them.
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("Graphics");
  const QDir graphics(QString(share) + "/Graphics");
  for (const QString& f : graphics.entryList(QDir::Files))
    QFile::copy(graphics.filePath(f), dir.path() + "/Graphics/" + f);
  std::vector<std::string> messages;
  SetMessageHook([&messages](const std::string& text, TMessageIcon) { messages.push_back(text); });
  ResetApp();
  App().AppFolder = dir.path().toStdString();
  CreateSkinBitmaps();
  const QStringList boards = QDir(QString(share) + "/Boards").entryList(QStringList{"*.BRD"}, QDir::Files);
  ASSERT_FALSE(boards.isEmpty());
  for (const QString& gb : ListGraphics("*.BMP", "bk", "ts") + ListGraphics("*.JPG", "bk", "ts"))
    for (const QString& ts : ListGraphics("*.BMP", "bk", "gb") + ListGraphics("*.JPG", "bk", "gb")) {
      App().Config.BoardGraphics.Assign(gb.toStdString());
      App().Config.TileSet.Assign(ts.toStdString());
      LoadBackgroundPicture();
      ASSERT_TRUE(LoadGraphicsSet()) << gb.toStdString() << " " << ts.toStdString();
      for (const QString& name : boards) {
        LoadBoard(QString(share).toStdString() + "/Boards/" + name.toStdString(), App().Game().Board);
        App().Game().Current = App().Game().Board.Pattern;
        App().State.GameRunning = false;
        QImage pic;
        DrawBoard(pic, true);
        const QString file = QString(out) + "/" + gb + " + " + ts + " - " + name.chopped(4) + ".png";
        EXPECT_TRUE(pic.save(file)) << file.toStdString();
        // The corners four times enlarged, where the pieces meet.
        if (name == boards.front()) {
          const QString zoom = QString(out) + "/zoom " + gb + " + " + ts + " - ";
          pic.copy(0, 0, 192, 192).scaled(768, 768).save(zoom + "top-left.png");
          pic.copy(pic.width() - 192, pic.height() - 192, 192, 192).scaled(768, 768).save(zoom + "bottom-right.png");
        }
      }
    }
  SetMessageHook(nullptr);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

}  // namespace
}  // namespace pav
