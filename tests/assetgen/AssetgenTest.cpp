// Tests of the graphics sets drawn by pavilore-assetgen: the files the build
// wrote, their formats, the colour keys, and that the pieces join up when the
// game's rules assemble them.
#include "Board.h"
#include "Files.h"
#include "Generator.h"
#include "Glue.h"
#include "Layout.h"
#include "PixelFont.h"
#include "Skin.h"
#include "TileSets.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <vector>

using namespace assetgen;

namespace {

QString GraphicsPath(const char *name) { return QStringLiteral(PAVILORE_GRAPHICS_DIR "/") + QLatin1String(name); }

QImage Load(const char *name) { return ReadPicture(GraphicsPath(name)); }

int Luma(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }

double MeanLuma(const QImage &img, int x, int y, int w, int h) {
  double sum = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) sum += Luma(img.pixel(i, j));
  return sum / (w * h);
}

bool Same(QRgb a, QRgb b) { return (a | 0xff000000u) == (b | 0xff000000u); }

struct NamedSet {
  const char *file;
  const Theme *theme;
};
const NamedSet kBoardGraphics[] = {{"GB - Default.BMP", &DefaultTheme()}, {"GB - Slate.BMP", &SlateTheme()}};

std::uint32_t Le32(const QByteArray &b, int at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
int Le16(const QByteArray &b, int at) { return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8; }

// A random board of w x h cells: a solid ring and blocks of values 1..3 inside.
SampleBoard RandomBoard(std::mt19937 &rng, int w, int h) {
  SampleBoard b;
  b.width = w;
  b.height = h;
  std::uniform_int_distribution<int> pick(0, 5);
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      const bool ring = x == 1 || y == 1 || x == w || y == h;
      const int v = pick(rng);
      b.cells[size_t(x)][size_t(y)] = std::uint8_t(ring ? 1 : v <= 2 ? 0 : v - 2);
    }
  }
  return b;
}

Around AroundOf(const SampleBoard &b, int x, int y) {
  auto cell = [&](int cx, int cy) { return (cx < 0 || cy < 0 || cx > 21 || cy > 16) ? 0 : b.cells[size_t(cx)][size_t(cy)]; };
  const int v = cell(x, y);
  Around a;
  a.L = cell(x - 1, y) != v;
  a.R = cell(x + 1, y) != v;
  a.U = cell(x, y - 1) != v;
  a.D = cell(x, y + 1) != v;
  a.UL = cell(x - 1, y - 1) != v;
  a.UR = cell(x + 1, y - 1) != v;
  a.DL = cell(x - 1, y + 1) != v;
  a.DR = cell(x + 1, y + 1) != v;
  return a;
}

SkinSet SkinOf(const char *gb) {
  return LoadSkinSet(Load(gb), QImage(), Load("TS - Default.BMP"), Load("TS - Default.BMP"));
}

}  // namespace

// --- The files ---------------------------------------------------------------

TEST(GraphicsFiles, EveryPictureHasItsSize) {
  const struct {
    const char *name;
    int w, h;
  } sizes[] = {{"GB - Default.BMP", 480, 192}, {"GB - Slate.BMP", 480, 192}, {"TS - Default.BMP", 480, 240},
               {"TS - Marble.JPG", 480, 240},  {"TS - Dots.BMP", 480, 240},  {"TS - Pips.BMP", 240, 240},
               {"BK - Slate.JPG", 240, 240}};
  for (const auto &s : sizes) {
    const QImage img = Load(s.name);
    ASSERT_FALSE(img.isNull()) << s.name;
    EXPECT_EQ(img.width(), s.w) << s.name;
    EXPECT_EQ(img.height(), s.h) << s.name;
  }
}

TEST(GraphicsFiles, BitmapsAreUncompressed24Bit) {
  for (const char *name : {"GB - Default.BMP", "GB - Slate.BMP", "TS - Default.BMP", "TS - Dots.BMP", "TS - Pips.BMP"}) {
    const QByteArray b = ReadFile(GraphicsPath(name));
    ASSERT_GE(b.size(), 54) << name;
    EXPECT_EQ(b.left(2), QByteArray("BM")) << name;
    EXPECT_EQ(Le32(b, 2), std::uint32_t(b.size())) << name;
    EXPECT_EQ(Le32(b, 10), 54u) << name;   // pixels right after the headers
    EXPECT_EQ(Le32(b, 14), 40u) << name;   // BITMAPINFOHEADER
    EXPECT_EQ(Le16(b, 26), 1) << name;     // planes
    EXPECT_EQ(Le16(b, 28), 24) << name;    // bits per pixel
    EXPECT_EQ(Le32(b, 30), 0u) << name;    // BI_RGB, no compression
    const int w = int(Le32(b, 18)), h = int(Le32(b, 22));
    EXPECT_GT(h, 0) << name << ": rows stored bottom-up";
    EXPECT_EQ(b.size(), 54 + ((w * 3 + 3) / 4 * 4) * h) << name;
  }
}

TEST(GraphicsFiles, JpegsAreBaseline) {
  for (const char *name : {"TS - Marble.JPG", "BK - Slate.JPG"}) {
    const QByteArray b = ReadFile(GraphicsPath(name));
    ASSERT_GE(b.size(), 4) << name;
    EXPECT_EQ(std::uint8_t(b[0]), 0xff);
    EXPECT_EQ(std::uint8_t(b[1]), 0xd8);
    // Walk the marker segments up to the start of the scan.
    std::set<int> frames;
    int at = 2;
    while (at + 4 <= b.size() && std::uint8_t(b[at]) == 0xff) {
      const int marker = std::uint8_t(b[at + 1]);
      if (marker == 0xda) break;
      if (marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc)
        frames.insert(marker);
      at += 2 + (std::uint8_t(b[at + 2]) << 8 | std::uint8_t(b[at + 3]));
    }
    EXPECT_EQ(frames, std::set<int>{0xc0}) << name << ": one baseline frame, nothing progressive";
  }
}

TEST(GraphicsFiles, SameBytesOnEveryRun) {
  const std::vector<GeneratedFile> first = GenerateGraphics();
  const std::vector<GeneratedFile> second = GenerateGraphics();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].bytes, second[i].bytes) << qPrintable(first[i].name);
    // And the same as the build's own run of the generator.
    EXPECT_EQ(first[i].bytes, ReadFile(QStringLiteral(PAVILORE_GRAPHICS_DIR "/") + first[i].name))
        << qPrintable(first[i].name);
  }
}

// --- Fonts -------------------------------------------------------------------

TEST(Fonts, EveryGlyphIsKeyedByItsBottomLeftPixel) {
  for (const NamedSet &set : kBoardGraphics) {
    const QImage gb = Load(set.file);
    for (int top : {gb::kWallFontTop, gb::kStatusFontTop}) {
      std::set<std::vector<bool>> shapes;
      for (int c = 32; c <= 127; ++c) {
        const Rect r = gb::Glyph(top, c);
        const QRgb key = gb.pixel(r.x, r.y + 7);
        EXPECT_TRUE(Same(key, kFontKey)) << set.file << " glyph " << c;
        std::vector<bool> ink;
        int inked = 0;
        for (int y = 0; y < 8; ++y) {
          for (int x = 0; x < 8; ++x) {
            const bool on = !Same(gb.pixel(r.x + x, r.y + y), key);
            ink.push_back(on);
            inked += on;
            if (x == 0) {
              EXPECT_FALSE(on) << set.file << " glyph " << c << ": the left column spaces letters";
            }
          }
        }
        if (c == 32) {
          EXPECT_EQ(inked, 0) << set.file << ": space has no ink";
        } else {
          EXPECT_GT(inked, 0) << set.file << " glyph " << c;
          EXPECT_TRUE(shapes.insert(ink).second) << set.file << " glyph " << c << " looks like another one";
        }
      }
    }
  }
}

TEST(Fonts, StatusLettersAreLightOnTheDisplayAndWallLettersDarkOnTheWall) {
  for (const NamedSet &set : kBoardGraphics) {
    const QImage gb = Load(set.file);
    const double display = MeanLuma(gb, gb::StatusMiddle.x + 10, gb::StatusMiddle.y + 20, 28, 8);
    const double wall = MeanLuma(gb, gb::WallFace.x, gb::WallFace.y, 48, 48);
    // The stroke pixels of 'H', whose rows 0..6 of column 1 are all ink.
    const Rect s = gb::Glyph(gb::kStatusFontTop, 'H'), w = gb::Glyph(gb::kWallFontTop, 'H');
    for (int y = 0; y < 7; ++y) {
      EXPECT_GT(Luma(gb.pixel(s.x + 1, s.y + y)), display + 100) << set.file;
      EXPECT_LT(Luma(gb.pixel(w.x + 1, w.y + y)), wall - 25) << set.file;
    }
  }
}

// --- Tile sets -----------------------------------------------------------------

// Every key pixel of a cell must reach the cell's border through key pixels:
// no key colour inside the art, where the floor would show through.
void ExpectKeyOnlyAroundTiles(const QImage &img, const char *name) {
  const QRgb key = img.pixel(0, img.height() - 1);
  for (int k = 1; k <= 50; ++k) {
    const Rect r = TileCell(k);
    if (r.x + r.w > img.width()) continue;
    std::vector<int> seen(48 * 48, 0);
    std::vector<std::pair<int, int>> todo;
    for (int i = 0; i < 48; ++i)
      for (auto p : {std::pair{i, 0}, std::pair{i, 47}, std::pair{0, i}, std::pair{47, i}})
        if (Same(img.pixel(r.x + p.first, r.y + p.second), key) && !seen[size_t(p.second * 48 + p.first)]) {
          seen[size_t(p.second * 48 + p.first)] = 1;
          todo.push_back(p);
        }
    while (!todo.empty()) {
      const auto [x, y] = todo.back();
      todo.pop_back();
      const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
      for (int d = 0; d < 4; ++d) {
        const int nx = x + dx[d], ny = y + dy[d];
        if (nx < 0 || ny < 0 || nx > 47 || ny > 47 || seen[size_t(ny * 48 + nx)]) continue;
        if (!Same(img.pixel(r.x + nx, r.y + ny), key)) continue;
        seen[size_t(ny * 48 + nx)] = 1;
        todo.push_back({nx, ny});
      }
    }
    int holes = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) holes += Same(img.pixel(r.x + x, r.y + y), key) && !seen[size_t(y * 48 + x)];
    EXPECT_EQ(holes, 0) << name << " tile " << k;
    EXPECT_FALSE(Same(img.pixel(r.x + 24, r.y + 24), key)) << name << " tile " << k;
    EXPECT_TRUE(Same(img.pixel(r.x, r.y), key)) << name << " tile " << k << ": rounded corners show the floor";
  }
}

TEST(TileSets, KeyedSetsShowTheFloorOnlyAroundTheirTiles) {
  for (const char *name : {"TS - Default.BMP", "TS - Dots.BMP", "TS - Pips.BMP"}) {
    const QImage img = Load(name);
    EXPECT_TRUE(Same(img.pixel(0, 239), kDefaultTileKey)) << name;
    ExpectKeyOnlyAroundTiles(img, name);
  }
}

TEST(TileSets, EveryTileLooksDifferent) {
  for (const char *name : {"TS - Default.BMP", "TS - Marble.JPG", "TS - Dots.BMP", "TS - Pips.BMP"}) {
    const QImage img = Load(name);
    std::set<QByteArray> seen;
    for (int k = 1; k <= 50; ++k) {
      const Rect r = TileCell(k);
      if (r.x + r.w > img.width()) continue;
      const QImage tile = img.copy(r.x, r.y, r.w, r.h).convertToFormat(QImage::Format_RGB32);
      EXPECT_TRUE(seen.insert(QByteArray(reinterpret_cast<const char *>(tile.constBits()), tile.sizeInBytes())).second)
          << name << " tile " << k;
    }
  }
}

TEST(TileSets, MarbleKeyFallsOnlyOnTheGrout) {
  // The JPEG set fills its cells with stone; only its dark grout may decode to
  // the key colour, where the floor showing through looks like grout too.
  const QImage img = Load("TS - Marble.JPG");
  const QRgb key = img.pixel(0, 239);
  EXPECT_LT(Luma(key), 60);
  int matches = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (!Same(img.pixel(x, y), key)) continue;
      ++matches;
      const int cx = x % 48, cy = y % 48;
      EXPECT_TRUE(cx <= 1 || cy <= 1 || cx >= 46 || cy >= 46) << "key colour inside a slab at " << x << "," << y;
    }
  }
  EXPECT_GE(matches, 1);
}

TEST(TileSets, HalfWidthSetTakesTheOtherColumnsFromTheDefault) {
  const QImage gb = Load("GB - Default.BMP"), def = Load("TS - Default.BMP"), pips = Load("TS - Pips.BMP");
  const SkinSet withPips = LoadSkinSet(gb, QImage(), pips, def);
  const SkinSet plain = LoadSkinSet(gb, QImage(), def, def);
  for (int k = 1; k <= 50; ++k) {
    const Rect r = TileCell(k);
    if ((k - 1) % 10 < 5) {
      EXPECT_NE(withPips.tiles[size_t(k)], plain.tiles[size_t(k)]) << "tile " << k << " comes from the pips";
    } else {
      EXPECT_EQ(withPips.tiles[size_t(k)], def.copy(r.x, r.y, 48, 48)) << "tile " << k << " is the default, opaque";
    }
  }
}

TEST(TileSets, OnlyGluedFacesReachOutToTheirNeighbours) {
  // Faces 41-50 are the glued ones: as the game loads each set, a clasp runs
  // out to the middle of every side of their cells, where the other faces
  // leave the floor (or grout) alone. Each face is compared with the one a
  // row above it, of the same shape.
  const QImage gb = Load("GB - Default.BMP"), def = Load("TS - Default.BMP");
  for (const char *name : {"TS - Default.BMP", "TS - Marble.JPG", "TS - Dots.BMP", "TS - Pips.BMP"}) {
    const SkinSet skin = LoadSkinSet(gb, QImage(), Load(name), def);
    for (int k = 11; k <= 50; ++k) {
      const QImage &face = skin.tiles[size_t(k)], &above = skin.tiles[size_t(k - 10)];
      int apart = 0;
      for (int i = 22; i <= 25; ++i)
        for (auto [x, y] : {std::pair{i, 0}, std::pair{i, 47}, std::pair{0, i}, std::pair{47, i}}) {
          const QRgb a = face.pixel(x, y), b = above.pixel(x, y);
          apart += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 60;
        }
      EXPECT_EQ(apart, IsGluedFace(k) ? 16 : 0) << name << " face " << k;
    }
  }
}

// --- Wall background --------------------------------------------------------------

TEST(Background, RepeatsWithoutASeam) {
  const QImage bk = Load("BK - Slate.JPG");
  ASSERT_GE(bk.width(), 240);
  ASSERT_GE(bk.height(), 240);
  auto step = [&](int x0, int y0, int x1, int y1) {
    const QRgb a = bk.pixel(x0, y0), b = bk.pixel(x1, y1);
    return double(std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)));
  };
  double inside = 0, seam = 0, insideRows = 0, seamRows = 0;
  for (int i = 0; i < 240; ++i) {
    seam += step(239, i, 0, i);
    seamRows += step(i, 239, i, 0);
    for (int x = 0; x < 239; ++x) inside += step(x, i, x + 1, i) / 239.0;
    for (int y = 0; y < 239; ++y) insideRows += step(i, y, i, y + 1) / 239.0;
  }
  EXPECT_LT(seam, 1.5 * inside + 240) << "across the left and right edges";
  EXPECT_LT(seamRows, 1.5 * insideRows + 240) << "across the top and bottom edges";
}

// --- Walls -----------------------------------------------------------------------

TEST(Walls, PiecesSetByTheRulesRebuildTheWholeBevel) {
  // Assembled by the renderer's neighbour rules, the pieces must give exactly
  // the bevel the generator defines for every pixel of every solid cell.
  std::mt19937 rng(20240611);
  for (const NamedSet &set : kBoardGraphics) {
    const SkinSet skin = SkinOf(set.file);
    for (int n = 0; n < 12; ++n) {
      const SampleBoard b = RandomBoard(rng, 9 + n % 4, 6 + n % 3);
      const QImage img = DrawWalls(skin, b, false);
      int wrong = 0;
      for (int x = 1; x <= b.width; ++x) {
        for (int y = 1; y <= b.height; ++y) {
          if (b.cells[size_t(x)][size_t(y)] == 0) continue;
          const Around a = AroundOf(b, x, y);
          for (int ly = 0; ly < 48; ++ly)
            for (int lx = 0; lx < 48; ++lx)
              wrong += !Same(img.pixel((x - 1) * 48 + lx, (y - 1) * 48 + ly), WallPixel(*set.theme, a, lx, ly));
        }
      }
      EXPECT_EQ(wrong, 0) << set.file << " board " << n;
    }
  }
}

TEST(Walls, NoSeamWhereCellsOfOneBlockMeet) {
  // Colour steps across the border of two cells of one block are no larger
  // than the steps inside a cell.
  std::mt19937 rng(77);
  for (const NamedSet &set : kBoardGraphics) {
    const SkinSet skin = SkinOf(set.file);
    double across = 0, within = 0;
    int nAcross = 0, nWithin = 0;
    for (int n = 0; n < 10; ++n) {
      const SampleBoard b = RandomBoard(rng, 10, 8);
      const QImage img = DrawWalls(skin, b, false);
      for (int x = 1; x < b.width; ++x) {
        for (int y = 1; y <= b.height; ++y) {
          const int v = b.cells[size_t(x)][size_t(y)];
          if (v == 0 || b.cells[size_t(x + 1)][size_t(y)] != v) continue;
          for (int ly = 0; ly < 48; ++ly) {
            const int py = (y - 1) * 48 + ly, edge = x * 48;
            across += std::abs(Luma(img.pixel(edge - 1, py)) - Luma(img.pixel(edge, py)));
            ++nAcross;
            for (int lx = edge - 24; lx < edge - 2; ++lx) {
              within += std::abs(Luma(img.pixel(lx, py)) - Luma(img.pixel(lx + 1, py)));
              ++nWithin;
            }
          }
        }
      }
    }
    ASSERT_GT(nAcross, 0);
    EXPECT_LT(across / nAcross, 1.5 * within / nWithin + 1.0) << set.file;
  }
}

// --- Frame, status bar and side panel ---------------------------------------------

TEST(Frame, PiecesRebuildTheBezelAroundAnyBoard) {
  for (const NamedSet &set : kBoardGraphics) {
    const SkinSet skin = SkinOf(set.file);
    for (bool panel : {true, false}) {
      for (int w : {5, 8, 13}) {
        const int h = 7;
        SampleBoard b;
        b.width = w;
        b.height = h;
        const QImage img = DrawBoard(skin, b, panel, {});
        const QImage model = BezelModel(*set.theme, w, h, panel, true);
        int wrong = 0;
        for (int y = 0; y < (h + 1) * 48; ++y) {
          for (int x = 0; x < w * 48; ++x) {
            const bool ring = x < 8 || y < 8 || x >= w * 48 - 8 || (y >= h * 48 - 8 && y < h * 48);
            const bool statusRow = y >= h * 48;
            if (!ring && !statusRow) continue;
            wrong += !Same(img.pixel(x, y), model.pixel(x, y));
          }
        }
        // The side panel's filler cells.
        if (panel)
          for (int y = 192; y < (h - 1) * 48; ++y)
            for (int x = w * 48; x < (w + 1) * 48; ++x) wrong += !Same(img.pixel(x, y), model.pixel(x, y));
        EXPECT_EQ(wrong, 0) << set.file << " width " << w << (panel ? " with" : " without") << " the panel";
      }
    }
  }
}

TEST(Frame, DialogSkinIsClosedAllRound) {
  for (const NamedSet &set : kBoardGraphics) {
    const SkinSet skin = SkinOf(set.file);
    const QImage dialog = SkinWindow(skin, 240, 240, "");
    const QImage model = BezelModel(*set.theme, 5, 4, false, true);
    int wrong = 0;
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 240; ++x)
        if (x < 8 || y < 8 || x >= 232 || y >= 184) wrong += !Same(dialog.pixel(x, y), model.pixel(x, y));
    EXPECT_EQ(wrong, 0) << set.file;
  }
}

TEST(Status, TextLinesSitOnTheDisplay) {
  // The three text lines (rows 15..32 of the status row, from 15 pixels in at
  // either end) must fall on the dark display, not on its lip or the plate.
  for (const NamedSet &set : kBoardGraphics) {
    const QImage gb = Load(set.file);
    const double display = MeanLuma(gb, gb::StatusMiddle.x, gb::StatusMiddle.y + 20, 48, 8);
    auto check = [&](const Rect &cell, int x0, int x1) {
      for (int y = 14; y < 34; ++y)
        for (int x = x0; x < x1; ++x)
          EXPECT_LT(std::abs(Luma(gb.pixel(cell.x + x, cell.y + y)) - display), 14)
              << set.file << " at " << x << "," << y;
    };
    check(gb::StatusLeft, 14, 48);
    check(gb::StatusMiddle, 0, 48);
    check(gb::StatusRight, 0, 34);
    check(gb::StatusRightPanel, 0, 34);
  }
}

TEST(Panel, HoverAndPressedPicturesLightOnlyTheirButton) {
  for (const NamedSet &set : kBoardGraphics) {
    const QImage gb = Load(set.file);
    const QImage rest = gb.copy(gb::PanelTop.x, gb::PanelTop.y, 48, 48);
    const struct {
      const Rect *rects;
      int x0, x1, y0, y1;  // where the button lies
    } buttons[] = {{gb::ButtonMinimize, 0, 23, 0, 23}, {gb::ButtonClose, 25, 47, 0, 23}, {gb::ButtonPanel, 0, 47, 25, 47}};
    for (const auto &b : buttons) {
      for (int s = 0; s < 2; ++s) {
        const QImage lit = gb.copy(b.rects[s].x, b.rects[s].y, 48, 48);
        int changed = 0, outside = 0;
        for (int y = 0; y < 48; ++y)
          for (int x = 0; x < 48; ++x)
            if (!Same(lit.pixel(x, y), rest.pixel(x, y))) {
              ++changed;
              outside += x < b.x0 || x > b.x1 || y < b.y0 || y > b.y1;
            }
        EXPECT_GT(changed, 40) << set.file;
        EXPECT_EQ(outside, 0) << set.file;
      }
    }
    // The four big buttons differ between rest, hover and pressed.
    for (const Rect *r : {gb::ButtonPlay, gb::ButtonStop, gb::ButtonConfig, gb::ButtonInfo}) {
      const QImage a = gb.copy(r[0].x, r[0].y, 48, 48), h = gb.copy(r[1].x, r[1].y, 48, 48),
                   p = gb.copy(r[2].x, r[2].y, 48, 48);
      EXPECT_NE(a, h);
      EXPECT_NE(a, p);
      EXPECT_NE(h, p);
    }
  }
}

// --- Light and markers --------------------------------------------------------------

TEST(Light, ComesFromTheUpperLeftEverywhere) {
  for (const NamedSet &set : kBoardGraphics) {
    const QImage gb = Load(set.file);
    auto mean = [&](const Rect &r, int x, int y, int w, int h) { return MeanLuma(gb, r.x + x, r.y + y, w, h); };
    // Wall bevels: the slopes facing up and left are lit, the others in shade.
    const double face = mean(gb::WallFace, 8, 8, 32, 32);
    EXPECT_GT(mean(gb::WallEdgeT, 0, 2, 32, 4), face + 8) << set.file;
    EXPECT_GT(mean(gb::WallEdgeL, 2, 0, 4, 32), face + 8) << set.file;
    EXPECT_LT(mean(gb::WallEdgeB, 0, 2, 32, 4), face - 8) << set.file;
    EXPECT_LT(mean(gb::WallEdgeR, 2, 0, 4, 32), face - 8) << set.file;
    // The window's outer rim likewise.
    EXPECT_GT(mean(gb::FrameEdgeT, 0, 1, 32, 1), mean(gb::FrameEdgeB, 0, 6, 32, 1) + 10) << set.file;
    EXPECT_GT(mean(gb::FrameEdgeL, 1, 0, 1, 32), mean(gb::FrameEdgeR, 6, 0, 1, 32) + 10) << set.file;
    // A button's dome: its upper-left edge brighter than its lower-right edge.
    const Rect &play = gb::ButtonPlay[0];
    EXPECT_GT(mean(play, 10, 11, 4, 4), mean(play, 31, 32, 4, 4) + 10) << set.file;
  }
  const QImage tiles = Load("TS - Default.BMP");
  for (int k : {1, 17, 29, 38, 50}) {
    const Rect r = TileCell(k);
    EXPECT_GT(MeanLuma(tiles, r.x + 12, r.y + 4, 24, 2), MeanLuma(tiles, r.x + 12, r.y + 42, 24, 2) + 10) << k;
    EXPECT_GT(MeanLuma(tiles, r.x + 4, r.y + 12, 2, 24), MeanLuma(tiles, r.x + 42, r.y + 12, 2, 24) + 10) << k;
  }
}

TEST(Markers, JumpArrowsPointTheWayTheMouthOpensAndLitIsBrighter) {
  for (const NamedSet &set : kBoardGraphics) {
    const QImage gb = Load(set.file);
    for (int side = 1; side <= 4; ++side) {
      double brightness[2];
      for (int s = 0; s < 2; ++s) {
        const Rect r = gb::JumpMarker[side - 1][s];
        // Bright pixels counted by distance from the side the mouth opens to;
        // an arrow's point is narrow and its back is wide.
        const bool across = side <= 2;
        const int len = across ? r.w : r.h;
        std::vector<int> count(size_t(len), 0);
        for (int y = 1; y < r.h - 1; ++y)
          for (int x = 1; x < r.w - 1; ++x)
            if (Luma(gb.pixel(r.x + x, r.y + y)) > 90) {
              const int along = side == 1 ? x : side == 2 ? r.w - 1 - x : side == 3 ? y : r.h - 1 - y;
              ++count[size_t(along)];
            }
        EXPECT_LT(count[2], count[5]) << set.file << " side " << side;
        brightness[s] = MeanLuma(gb, r.x, r.y, r.w, r.h);
      }
      EXPECT_GT(brightness[1], brightness[0] + 5) << set.file << " side " << side;
    }
    for (int corner = 1; corner <= 4; ++corner) {
      const Rect plain = gb::TurnMarker[corner - 1][0], lit = gb::TurnMarker[corner - 1][1];
      EXPECT_GT(MeanLuma(gb, lit.x, lit.y, 8, 8), MeanLuma(gb, plain.x, plain.y, 8, 8) + 5) << set.file;
      // The rounded side faces the named corner: that corner pixel is not part of the disc.
      const int cx = (corner == 1 || corner == 4) ? 0 : 7, cy = (corner == 1 || corner == 2) ? 0 : 7;
      EXPECT_NE(gb.pixel(plain.x + cx, plain.y + cy), gb.pixel(plain.x + 7 - cx, plain.y + 7 - cy)) << set.file;
    }
  }
}

int main(int argc, char **argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
