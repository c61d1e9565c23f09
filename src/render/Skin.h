// The skin bitmaps: every piece the renderer and the dialogs are drawn from,
// cut from the board-graphics, tile-set and background pictures.
#pragma once

#include <QImage>

namespace pav {

constexpr int CellSize = 48;
constexpr int EdgeSize = 8;

struct TSkin {
  QImage WallFace;
  QImage WallOuterTL, WallOuterTR, WallOuterBL, WallOuterBR;
  QImage WallEdgeL, WallEdgeR, WallEdgeT, WallEdgeB;
  QImage WallInnerTL, WallInnerTR, WallInnerBL, WallInnerBR;
  QImage WallLeftGoesDown, WallRightGoesDown, WallLeftGoesUp, WallRightGoesUp;
  QImage WallTopGoesRight, WallTopGoesLeft, WallBottomGoesRight, WallBottomGoesLeft;
  QImage Floor;
  QImage TilePicture[51];          // 1..50
  QImage BackgroundPiece[5][5];    // [column][row]
  QImage JumpMarker[5][3];         // [side 1..4][state 1..2]
  QImage TurnMarker[5][3];         // [corner 1..4][state 1..2]
  QImage FrameCornerTL, FrameCornerTR, FrameCornerBR, FrameCornerBL;
  QImage FrameEdgeL, FrameEdgeR, FrameEdgeT, FrameEdgeB;
  QImage FrameLeftTop, FrameLeftBottom, FrameRightTop, FrameRightBottom;
  QImage FrameTopLeft, FrameTopRight, FrameBottomLeft, FrameBottomRight;
  QImage JoinCornerBR, JoinCornerTRPanel, JoinCornerBRPanel, JoinCornerBL;
  QImage JoinEdgeRPanel, JoinEdgeB;
  QImage JoinRightTopPanel, JoinRightBottomPanel, JoinBottomLeft, JoinBottomRight;
  QImage StatusLeft, StatusMiddle, StatusRight, StatusRightPanel, StatusCorner;
  QImage PanelBottom, PanelFiller;
  QImage PanelTop;
  QImage ButtonMinimize[3], ButtonClose[3], ButtonPanel[3];  // [1] hover, [2] pressed
  QImage ButtonPlay[3], ButtonStop[3], ButtonConfig[3], ButtonInfo[3];  // [0] rest, [1] hover, [2] pressed
  // Glyphs 32..127, drawn colour-keyed: each glyph's bottom-left pixel is its key.
  QImage WallFont[128];
  QImage StatusFont[128];
};

TSkin& Skin();

}  // namespace pav
