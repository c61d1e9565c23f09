// Where every piece sits in a board-graphics picture, and the geometry of a
// tile-set picture. The game cuts its skin from exactly these rectangles.
#pragma once

namespace assetgen {

struct Rect {
  int x, y, w, h;
};

inline constexpr int kCell = 48;  // a board cell
inline constexpr int kEdge = 8;   // a border piece

inline constexpr int kBoardGraphicsWidth = 480;
inline constexpr int kBoardGraphicsHeight = 192;
inline constexpr int kTileSetWidth = 480;
inline constexpr int kTileSetHeight = 240;
inline constexpr int kBackgroundSize = 240;

namespace gb {

// Closed frame (a window edge on every side).
inline constexpr Rect FrameCornerTL{0, 0, 8, 8}, FrameCornerTR{40, 0, 8, 8}, FrameCornerBR{40, 40, 8, 8},
    FrameCornerBL{0, 40, 8, 8};
inline constexpr Rect FrameEdgeL{0, 8, 8, 32}, FrameEdgeR{40, 8, 8, 32};
inline constexpr Rect FrameEdgeT{8, 0, 32, 8}, FrameEdgeB{8, 40, 32, 8};
inline constexpr Rect FrameLeftTop{8, 16, 8, 8}, FrameLeftBottom{8, 24, 8, 8}, FrameRightTop{32, 16, 8, 8},
    FrameRightBottom{32, 24, 8, 8};
inline constexpr Rect FrameTopLeft{16, 8, 8, 8}, FrameTopRight{24, 8, 8, 8}, FrameBottomLeft{16, 32, 8, 8},
    FrameBottomRight{24, 32, 8, 8};

// Frame pieces that join the status bar (below) and the side panel (right).
inline constexpr Rect JoinCornerBR{40, 56, 8, 8}, JoinCornerTRPanel{56, 0, 8, 8}, JoinCornerBRPanel{56, 40, 8, 8},
    JoinCornerBL{0, 56, 8, 8};
inline constexpr Rect JoinEdgeRPanel{56, 8, 8, 32};
inline constexpr Rect JoinEdgeB{8, 56, 32, 8};
inline constexpr Rect JoinRightTopPanel{48, 16, 8, 8}, JoinRightBottomPanel{48, 24, 8, 8},
    JoinBottomLeft{16, 48, 8, 8}, JoinBottomRight{24, 48, 8, 8};

inline constexpr Rect Floor{48, 48, 48, 48};
inline constexpr Rect WallFace{144, 0, 48, 48};

inline constexpr Rect WallOuterTL{96, 0, 8, 8}, WallOuterTR{136, 0, 8, 8}, WallOuterBL{96, 40, 8, 8},
    WallOuterBR{136, 40, 8, 8};
inline constexpr Rect WallEdgeL{96, 8, 8, 32}, WallEdgeR{136, 8, 8, 32};
inline constexpr Rect WallEdgeT{104, 0, 32, 8}, WallEdgeB{104, 40, 32, 8};
inline constexpr Rect WallInnerTL{112, 16, 8, 8}, WallInnerTR{120, 16, 8, 8}, WallInnerBL{112, 24, 8, 8},
    WallInnerBR{120, 24, 8, 8};
inline constexpr Rect WallLeftGoesDown{112, 8, 8, 8}, WallRightGoesDown{120, 8, 8, 8},
    WallLeftGoesUp{112, 32, 8, 8}, WallRightGoesUp{120, 32, 8, 8};
inline constexpr Rect WallTopGoesRight{104, 16, 8, 8}, WallTopGoesLeft{128, 16, 8, 8},
    WallBottomGoesRight{104, 24, 8, 8}, WallBottomGoesLeft{128, 24, 8, 8};

// Markers: [side or corner 1..4 - 1][state 1..2 - 1].
inline constexpr Rect JumpMarker[4][2] = {
    {{104, 64, 8, 16}, {152, 64, 8, 16}},  // 1 left
    {{128, 64, 8, 16}, {176, 64, 8, 16}},  // 2 right
    {{112, 56, 16, 8}, {160, 56, 16, 8}},  // 3 top
    {{112, 80, 16, 8}, {160, 80, 16, 8}},  // 4 bottom
};
inline constexpr Rect TurnMarker[4][2] = {
    {{104, 56, 8, 8}, {152, 56, 8, 8}},  // 1 top-left
    {{128, 56, 8, 8}, {176, 56, 8, 8}},  // 2 top-right
    {{128, 80, 8, 8}, {176, 80, 8, 8}},  // 3 bottom-right
    {{104, 80, 8, 8}, {152, 80, 8, 8}},  // 4 bottom-left
};

inline constexpr int kWallFontTop = 144;
inline constexpr int kStatusFontTop = 168;
// The 8 x 8 glyph of character code c (32..127) in a font whose rows start at `top`.
constexpr Rect Glyph(int top, int c) { return {8 * ((c - 32) % 32), top + 8 * ((c - 32) / 32), 8, 8}; }

inline constexpr Rect StatusLeft{0, 96, 48, 48}, StatusMiddle{48, 96, 48, 48}, StatusRight{96, 96, 48, 48},
    StatusRightPanel{144, 96, 48, 48}, StatusCorner{192, 96, 48, 48};
inline constexpr Rect PanelBottom{192, 48, 48, 48}, PanelFiller{288, 144, 48, 48};
inline constexpr Rect PanelTop{192, 0, 48, 48};
// [0] hover, [1] pressed.
inline constexpr Rect ButtonMinimize[2] = {{240, 0, 48, 48}, {288, 0, 48, 48}};
inline constexpr Rect ButtonClose[2] = {{240, 48, 48, 48}, {288, 48, 48, 48}};
inline constexpr Rect ButtonPanel[2] = {{240, 96, 48, 48}, {288, 96, 48, 48}};
// [0] rest, [1] hover, [2] pressed.
inline constexpr Rect ButtonPlay[3] = {{336, 0, 48, 48}, {384, 0, 48, 48}, {432, 0, 48, 48}};
inline constexpr Rect ButtonStop[3] = {{336, 48, 48, 48}, {384, 48, 48, 48}, {432, 48, 48, 48}};
inline constexpr Rect ButtonConfig[3] = {{336, 96, 48, 48}, {384, 96, 48, 48}, {432, 96, 48, 48}};
inline constexpr Rect ButtonInfo[3] = {{336, 144, 48, 48}, {384, 144, 48, 48}, {432, 144, 48, 48}};

}  // namespace gb

// Tile k (1..50) of a tile-set picture.
constexpr Rect TileCell(int k) { return {48 * ((k - 1) % 10), 48 * ((k - 1) / 10), 48, 48}; }

}  // namespace assetgen
