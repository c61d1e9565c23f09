// Pictures and graphics sets: the bitmap reader on every form and on damaged
// files, JPEG conversion, cutting the skin from a graphics set in a temporary
// installation, the wall background, the pick lists and the custom picture.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "app/AppState.h"
#include "gui/RenderTestSkin.h"
#include "platform/Jpeg.h"
#include "platform/qt/Bmp.h"
#include "platform/qt/MessageBox.h"
#include "render/Graphics.h"
#include "render/Skin.h"

namespace pav {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- writing test files byte by byte ----

void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct TBmpSpec {
  int W = 5, H = 3, Bpp = 24;
  std::uint32_t Compression = 0;
  int HeaderSize = 40;
  bool TopDown = false;
  std::vector<QRgb> Palette;
  std::uint32_t ClrUsed = 0;
  std::uint32_t Masks[3] = {0, 0, 0};
  bool MasksAfterHeader = false;      // BI_BITFIELDS with a 40-byte header
  std::function<std::uint32_t(int x, int y)> Value;  // index, raw 16/32-bit value, or RGB for 24 bits
  Bytes Compressed;                   // the pixel data as it is, for run-length files
};

Bytes EncodeBmp(const TBmpSpec& s) {
  Bytes h;
  const bool core = s.HeaderSize == 12;
  Put32(h, static_cast<std::uint32_t>(s.HeaderSize));
  if (core) {
    Put16(h, static_cast<std::uint32_t>(s.W));
    Put16(h, static_cast<std::uint32_t>(s.H));
    Put16(h, 1);
    Put16(h, static_cast<std::uint32_t>(s.Bpp));
  } else {
    Put32(h, static_cast<std::uint32_t>(s.W));
    Put32(h, static_cast<std::uint32_t>(s.TopDown ? -s.H : s.H));
    Put16(h, 1);
    Put16(h, static_cast<std::uint32_t>(s.Bpp));
    Put32(h, s.Compression);
    Put32(h, 0);
    Put32(h, 2835);
    Put32(h, 2835);
    Put32(h, s.ClrUsed);
    Put32(h, 0);
    if (s.HeaderSize >= 52)
      for (std::uint32_t m : s.Masks) Put32(h, m);
    while (static_cast<int>(h.size()) < s.HeaderSize) h.push_back(0);
    if (s.MasksAfterHeader)
      for (std::uint32_t m : s.Masks) Put32(h, m);
  }
  for (QRgb c : s.Palette) {
    h.push_back(static_cast<std::uint8_t>(qBlue(c)));
    h.push_back(static_cast<std::uint8_t>(qGreen(c)));
    h.push_back(static_cast<std::uint8_t>(qRed(c)));
    if (!core) h.push_back(0);
  }
  Bytes px = s.Compressed;
  if (px.empty()) {
    const std::size_t stride = (static_cast<std::size_t>(s.W) * static_cast<std::size_t>(s.Bpp) + 31) / 32 * 4;
    for (int r = 0; r < s.H; ++r) {
      const int y = s.TopDown ? r : s.H - 1 - r;
      Bytes row(stride, 0);
      for (int x = 0; x < s.W; ++x) {
        const std::uint32_t v = s.Value(x, y);
        if (s.Bpp < 8) {
          const int perByte = 8 / s.Bpp;
          row[static_cast<std::size_t>(x / perByte)] |=
              static_cast<std::uint8_t>(v << (8 - s.Bpp * (x % perByte + 1)));
        } else if (s.Bpp == 8) {
          row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(v);
        } else if (s.Bpp == 16) {
          row[2 * static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(v);
          row[2 * static_cast<std::size_t>(x) + 1] = static_cast<std::uint8_t>(v >> 8);
        } else if (s.Bpp == 24) {
          row[3 * static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(qBlue(v));
          row[3 * static_cast<std::size_t>(x) + 1] = static_cast<std::uint8_t>(qGreen(v));
          row[3 * static_cast<std::size_t>(x) + 2] = static_cast<std::uint8_t>(qRed(v));
        } else {
          for (int i = 0; i < 4; ++i) row[4 * static_cast<std::size_t>(x) + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
        }
      }
      px.insert(px.end(), row.begin(), row.end());
    }
  }
  Bytes f = {'B', 'M'};
  Put32(f, static_cast<std::uint32_t>(14 + h.size() + px.size()));
  Put32(f, 0);
  Put32(f, static_cast<std::uint32_t>(14 + h.size()));
  f.insert(f.end(), h.begin(), h.end());
  f.insert(f.end(), px.begin(), px.end());
  return f;
}

// A 24-bit bitmap of a picture.
Bytes BmpOf(const QImage& img) {
  TBmpSpec s;
  s.W = img.width();
  s.H = img.height();
  s.Value = [&img](int x, int y) { return static_cast<std::uint32_t>(img.pixel(x, y)); };
  return EncodeBmp(s);
}

QByteArray Qb(const Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size())); }

void WriteFile(const std::string& path, const Bytes& b) {
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path;
  f.write(Qb(b));
}

// A JPEG of raw rows (1 or 3 components), through libjpeg.
void WriteJpeg(const std::string& path, int w, int h, int comps, const Bytes& pixels, int quality = 95) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = comps;
  c.in_color_space = comps == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + static_cast<std::size_t>(c.next_scanline) * static_cast<std::size_t>(w * comps));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::fclose(f);
}

void WriteJpegOf(const std::string& path, const QImage& img) {
  Bytes px;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y);
      px.push_back(static_cast<std::uint8_t>(qRed(p)));
      px.push_back(static_cast<std::uint8_t>(qGreen(p)));
      px.push_back(static_cast<std::uint8_t>(qBlue(p)));
    }
  WriteJpeg(path, img.width(), img.height(), 3, px);
}

QImage FlatImage(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
bool AllPixels(const QImage& img, QRgb c) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != c) return false;
  return true;
}

// ---- the bitmap reader ----

QRgb Pal(int i) { return qRgb((i * 37) % 256, 255 - (i * 11) % 256, (i * 3) % 256); }

TBmpSpec PaletteSpec(int bpp, int colours) {
  TBmpSpec s;
  s.Bpp = bpp;
  for (int i = 0; i < colours; ++i) s.Palette.push_back(Pal(i));
  s.Value = [colours](int x, int y) { return static_cast<std::uint32_t>((x * 3 + y * 7) % colours); };
  return s;
}

void ExpectPalettePicture(const QImage& img, int colours, int w = 5, int h = 3) {
  ASSERT_EQ(img.size(), QSize(w, h));
  ASSERT_EQ(img.format(), QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(img.pixel(x, y), Pal((x * 3 + y * 7) % colours)) << x << "," << y;
}

QRgb Colour24(int x, int y) { return qRgb(40 * x + 10, 60 * y + 5, 200 - 30 * x); }

void ExpectColourPicture(const QImage& img, int tolerance = 0) {
  ASSERT_EQ(img.size(), QSize(5, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_TRUE(Near(img.pixel(x, y), Colour24(x, y), tolerance)) << x << "," << y << " " << std::hex << img.pixel(x, y);
}

TEST(BmpReaderTest, PaletteFormsOf1To8Bits) {
  std::string error;
  for (int bpp : {1, 2, 4, 8}) {
    const int colours = 1 << bpp;
    ExpectPalettePicture(ReadBmp(Qb(EncodeBmp(PaletteSpec(bpp, colours))), &error), colours);
  }
  // A 9-pixel-wide 1-bit row spans two bytes and pads to four.
  TBmpSpec wide = PaletteSpec(1, 2);
  wide.W = 9;
  ExpectPalettePicture(ReadBmp(Qb(EncodeBmp(wide))), 2, 9, 3);
  // Grey pictures are palette pictures with a grey palette.
  TBmpSpec grey;
  grey.Bpp = 8;
  for (int i = 0; i < 256; ++i) grey.Palette.push_back(qRgb(i, i, i));
  grey.Value = [](int x, int y) { return static_cast<std::uint32_t>(x * 50 + y); };
  const QImage g = ReadBmp(Qb(EncodeBmp(grey)));
  EXPECT_EQ(g.pixel(3, 2), qRgb(152, 152, 152));
  // A short palette (ClrUsed) is read as far as it goes; other indices are black.
  TBmpSpec shortPal = PaletteSpec(8, 3);
  shortPal.ClrUsed = 3;
  ExpectPalettePicture(ReadBmp(Qb(EncodeBmp(shortPal))), 3);
  shortPal.Value = [](int, int) { return 200u; };
  EXPECT_EQ(ReadBmp(Qb(EncodeBmp(shortPal))).pixel(0, 0), qRgb(0, 0, 0));
}

TEST(BmpReaderTest, TrueColourFormsBottomUpAndTopDown) {
  TBmpSpec s;
  s.Value = [](int x, int y) { return static_cast<std::uint32_t>(Colour24(x, y)); };
  ExpectColourPicture(ReadBmp(Qb(EncodeBmp(s))));
  s.TopDown = true;
  ExpectColourPicture(ReadBmp(Qb(EncodeBmp(s))));
  s.HeaderSize = 124;  // V5 header
  ExpectColourPicture(ReadBmp(Qb(EncodeBmp(s))));
  s.HeaderSize = 12;  // core header
  s.TopDown = false;
  ExpectColourPicture(ReadBmp(Qb(EncodeBmp(s))));

  TBmpSpec x32;
  x32.Bpp = 32;
  x32.Value = [](int x, int y) { return static_cast<std::uint32_t>(Colour24(x, y)) & 0xFFFFFFu; };
  ExpectColourPicture(ReadBmp(Qb(EncodeBmp(x32))));
  // Colour masks in another order (R in the low byte), in a V4 header.
  x32.HeaderSize = 108;
  x32.Compression = 3;
  x32.Masks[0] = 0x000000FF;
  x32.Masks[1] = 0x0000FF00;
  x32.Masks[2] = 0x00FF0000;
  x32.Value = [](int x, int y) {
    const QRgb c = Colour24(x, y);
    return static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
  };
  ExpectColourPicture(ReadBmp(Qb(EncodeBmp(x32))));
  // The same masks after a 40-byte header.
  x32.HeaderSize = 40;
  x32.MasksAfterHeader = true;
  ExpectColourPicture(ReadBmp(Qb(EncodeBmp(x32))));
}

TEST(BmpReaderTest, SixteenBitFiveFiveFiveAndFiveSixFive) {
  auto scale = [](int v, int max) { return (v * 255 + max / 2) / max; };
  TBmpSpec s;
  s.Bpp = 16;
  s.Value = [](int x, int y) { return static_cast<std::uint32_t>(((x * 7) << 10) | ((y * 15) << 5) | (31 - x)); };
  QImage img = ReadBmp(Qb(EncodeBmp(s)));
  ASSERT_FALSE(img.isNull());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_TRUE(Near(img.pixel(x, y), qRgb(scale(x * 7, 31), scale(y * 15, 31), scale(31 - x, 31)), 1)) << x << "," << y;
  EXPECT_EQ(img.pixel(0, 2), qRgb(0, 247, 255));  // 30 of 31 steps of green

  s.Compression = 3;
  s.MasksAfterHeader = true;
  s.Masks[0] = 0xF800;
  s.Masks[1] = 0x07E0;
  s.Masks[2] = 0x001F;
  s.Value = [](int x, int y) { return static_cast<std::uint32_t>(((x * 7) << 11) | ((y * 31) << 5) | (31 - x)); };
  img = ReadBmp(Qb(EncodeBmp(s)));
  ASSERT_FALSE(img.isNull());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_TRUE(Near(img.pixel(x, y), qRgb(scale(x * 7, 31), scale(y * 31, 63), scale(31 - x, 31)), 1)) << x << "," << y;
}

TEST(BmpReaderTest, CorePaletteAndRunLengthCompression) {
  TBmpSpec core = PaletteSpec(8, 256);
  core.HeaderSize = 12;
  ExpectPalettePicture(ReadBmp(Qb(EncodeBmp(core))), 256);

  TBmpSpec rle = PaletteSpec(8, 8);
  rle.Compression = 1;
  rle.Compressed = {5, 1, 0, 0,              // bottom row: five of index 1
                    0, 3, 2, 3, 2, 0,        // middle row: absolute 2 3 2 (padded) ...
                    2, 4, 0, 0,              // ... then two of index 4
                    0, 2, 2, 0, 3, 5, 0, 1}; // top row: skip two, three of index 5, end
  QImage img = ReadBmp(Qb(EncodeBmp(rle)));
  ASSERT_EQ(img.size(), QSize(5, 3));
  const int expected[3][5] = {{0, 0, 5, 5, 5}, {2, 3, 2, 4, 4}, {1, 1, 1, 1, 1}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(img.pixel(x, y), Pal(expected[y][x])) << x << "," << y;

  TBmpSpec rle4 = PaletteSpec(4, 16);
  rle4.Compression = 2;
  rle4.H = 1;
  rle4.Compressed = {5, 0x12, 0, 1};
  img = ReadBmp(Qb(EncodeBmp(rle4)));
  ASSERT_EQ(img.size(), QSize(5, 1));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(img.pixel(x, 0), Pal(x % 2 == 0 ? 1 : 2)) << x;
  rle4.Compressed = {0, 5, 0x34, 0x56, 0x70, 0, 0, 1};  // absolute nibbles 3 4 5 6 7
  img = ReadBmp(Qb(EncodeBmp(rle4)));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(img.pixel(x, 0), Pal(3 + x)) << x;
}

TEST(BmpReaderTest, DamagedFilesGiveAnErrorAndNeverCrash) {
  std::string error;
  EXPECT_TRUE(ReadBmp(QByteArray(), &error).isNull());
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(ReadBmp(QByteArray("\x89PNG\r\n\x1a\n0000000000000000000000", 30), &error).isNull());
  EXPECT_EQ(error, "not a bitmap file");

  TBmpSpec s;
  s.Value = [](int x, int y) { return static_cast<std::uint32_t>(Colour24(x, y)); };
  const Bytes good = EncodeBmp(s);
  auto patched = [&](std::size_t at, std::uint32_t v) {
    Bytes b = good;
    Set32(b, at, v);
    return ReadBmp(Qb(b), &error);
  };
  EXPECT_TRUE(patched(18, 0).isNull());             // width 0
  EXPECT_TRUE(patched(18, 0xFFFFFFF0u).isNull());   // negative width
  EXPECT_TRUE(patched(22, 0).isNull());             // height 0
  EXPECT_TRUE(patched(18, 100000).isNull());        // absurd sizes
  EXPECT_NE(error.find("not usable"), std::string::npos) << error;
  EXPECT_TRUE(patched(22, 0x80000000u).isNull());
  EXPECT_TRUE(patched(10, 1000000).isNull());       // pixels past the end
  EXPECT_TRUE(patched(14, 1000000).isNull());       // header larger than the file
  EXPECT_TRUE(patched(30, 4).isNull());             // embedded JPEG
  EXPECT_TRUE(patched(30, 9).isNull());             // unknown compression
  EXPECT_TRUE(patched(30, 1).isNull());             // run-length on 24 bits
  {
    Bytes b = good;
    b[28] = 7;  // 7 bits per pixel
    EXPECT_TRUE(ReadBmp(Qb(b), &error).isNull());
    EXPECT_NE(error.find("7 bits"), std::string::npos);
  }
  TBmpSpec topDownRle = PaletteSpec(8, 4);
  topDownRle.Compression = 1;
  topDownRle.TopDown = true;
  topDownRle.Compressed = {5, 1, 0, 1};
  EXPECT_TRUE(ReadBmp(Qb(EncodeBmp(topDownRle)), &error).isNull());

  // Every prefix of a file: an error or a picture, never a crash.
  TBmpSpec rle = PaletteSpec(8, 8);
  rle.Compression = 1;
  rle.Compressed = {5, 1, 0, 0, 0, 3, 2, 3, 2, 0, 2, 4, 0, 0, 0, 2, 2, 0, 3, 5, 0, 1};
  for (const Bytes& file : {good, EncodeBmp(PaletteSpec(4, 16)), EncodeBmp(rle)}) {
    for (std::size_t n = 0; n < file.size(); ++n) {
      const QImage img = ReadBmp(QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(n)), &error);
      if (img.isNull()) {
        EXPECT_FALSE(error.empty()) << n;
      }
    }
  }
  EXPECT_TRUE(ReadBmp(Qb(Bytes(good.begin(), good.begin() + 60)), &error).isNull());
  EXPECT_EQ(error, "the pixel data is cut short");

  // Runs and deltas that point outside the picture are clipped.
  rle.Compressed = {255, 1, 0, 2, 200, 200, 0, 250, 1, 2, 3, 0, 1};
  EXPECT_FALSE(ReadBmp(Qb(EncodeBmp(rle)), &error).isNull());
  rle.Compressed = {0, 250, 1, 2};  // an absolute run longer than the data
  EXPECT_TRUE(ReadBmp(Qb(EncodeBmp(rle)), &error).isNull());

  // Random damage to every form.
  std::mt19937 random(12345);
  TBmpSpec masks = s;
  masks.Bpp = 16;
  masks.Compression = 3;
  masks.MasksAfterHeader = true;
  masks.Masks[0] = 0xF800;
  masks.Masks[1] = 0x07E0;
  masks.Masks[2] = 0x001F;
  masks.Value = [](int x, int y) { return static_cast<std::uint32_t>(x * 1000 + y); };
  const std::vector<Bytes> forms = {good, EncodeBmp(PaletteSpec(1, 2)), EncodeBmp(PaletteSpec(8, 256)), EncodeBmp(rle),
                                    EncodeBmp(masks)};
  for (const Bytes& form : forms)
    for (int round = 0; round < 2000; ++round) {
      Bytes b = form;
      const int hits = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < hits; ++i) b[random() % b.size()] = static_cast<std::uint8_t>(random());
      if (random() % 4 == 0) b.resize(random() % b.size());
      (void)ReadBmp(Qb(b), &error);
    }
}

TEST(BmpReaderTest, FilesOnDisk) {
  QTemporaryDir dir;
  std::string error;
  EXPECT_TRUE(LoadBmp(dir.path().toStdString() + "/none.bmp", &error).isNull());
  EXPECT_EQ(error, "the file cannot be opened");
  const std::string path = dir.path().toStdString() + "/x.bmp";
  WriteFile(path, BmpOf(FlatImage(7, 2, qRgb(1, 2, 3))));
  const QImage img = LoadBmp(path, &error);
  EXPECT_EQ(img.size(), QSize(7, 2));
  EXPECT_TRUE(AllPixels(img, qRgb(1, 2, 3)));
}

// ---- JPEG ----

class JpegTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  std::string P(const std::string& name) const { return Dir.path().toStdString() + "/" + name; }
  static Bytes ReadAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray a = f.readAll();
    return Bytes(a.begin(), a.end());
  }
};

TEST_F(JpegTest, ColourBecomesA24BitBitmapAndGreyAn8BitOne) {
  // Colour: left half red, right half blue, 32 x 16.
  Bytes rgb;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const QRgb c = x < 16 ? qRgb(220, 30, 30) : qRgb(30, 30, 220);
      rgb.insert(rgb.end(), {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)), static_cast<std::uint8_t>(qBlue(c))});
    }
  WriteJpeg(P("c.jpg"), 32, 16, 3, rgb);
  std::string error;
  ASSERT_TRUE(ConvertJpegToBitmap(P("c.jpg"), P("c.bmp"), &error)) << error;
  Bytes bmp = ReadAll(P("c.bmp"));
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp[18], 32);
  EXPECT_EQ(bmp[22], 16);
  EXPECT_EQ(bmp.size(), 54u + 32 * 3 * 16);
  QImage img = LoadBmp(P("c.bmp"), &error);
  ASSERT_EQ(img.size(), QSize(32, 16));
  EXPECT_TRUE(Near(img.pixel(4, 4), qRgb(220, 30, 30), 8));
  EXPECT_TRUE(Near(img.pixel(27, 12), qRgb(30, 30, 220), 8));

  // Grey: 100 above, 200 below, 24 x 16 (rows of 24 bytes need no padding; 22 would).
  Bytes grey;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 22; ++x) grey.push_back(y < 8 ? 100 : 200);
  WriteJpeg(P("g.jpg"), 22, 16, 1, grey);
  ASSERT_TRUE(ConvertJpegToBitmap(P("g.jpg"), P("g.bmp"), &error)) << error;
  bmp = ReadAll(P("g.bmp"));
  ASSERT_GE(bmp.size(), 54u + 1024);
  EXPECT_EQ(bmp[28], 8);
  EXPECT_EQ(bmp[54 + 4 * 77], 77);  // a grey palette
  EXPECT_EQ(bmp[54 + 4 * 77 + 2], 77);
  EXPECT_EQ(bmp.size(), 54u + 1024 + 24 * 16);
  img = LoadBmp(P("g.bmp"), &error);
  ASSERT_EQ(img.size(), QSize(22, 16));
  EXPECT_TRUE(Near(img.pixel(10, 2), qRgb(100, 100, 100), 6));
  EXPECT_TRUE(Near(img.pixel(10, 13), qRgb(200, 200, 200), 6));
}

TEST_F(JpegTest, DamagedFilesAreErrorsNotTheEndOfTheProgram) {
  std::string error;
  TJpegPicture pic;
  EXPECT_FALSE(DecodeJpeg(P("missing.jpg"), pic, &error));
  EXPECT_EQ(error, "the file cannot be opened");

  const std::uint8_t notJpeg[] = {'B', 'M', 0, 0, 0, 0};
  EXPECT_FALSE(DecodeJpegData(notJpeg, sizeof notJpeg, pic, &error));
  EXPECT_EQ(error, "not a JPEG file");

  const std::uint8_t garbage[] = {0xFF, 0xD8, 0xFF, 0x12, 0x00, 0x02, 0x33, 0x44, 0x55, 0x66};
  EXPECT_FALSE(DecodeJpegData(garbage, sizeof garbage, pic, &error));
  EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  EXPECT_EQ(pic.Width, 0);

  Bytes rgb(48 * 48 * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7);
  WriteJpeg(P("n.jpg"), 48, 48, 3, rgb, 80);
  const Bytes file = ReadAll(P("n.jpg"));
  ASSERT_TRUE(DecodeJpegData(file.data(), file.size(), pic, &error));
  EXPECT_EQ(pic.Width, 48);
  EXPECT_EQ(pic.Components, 3);
  // Cut inside the header: an error. Cut inside the pixel data: what was read.
  EXPECT_FALSE(DecodeJpegData(file.data(), 40, pic, &error));
  (void)DecodeJpegData(file.data(), file.size() / 2, pic, &error);

  std::mt19937 random(777);
  for (int round = 0; round < 300; ++round) {
    Bytes b = file;
    for (int i = 0; i < 3; ++i) b[2 + random() % (b.size() - 2)] = static_cast<std::uint8_t>(random());
    if (DecodeJpegData(b.data(), b.size(), pic, &error)) {
      EXPECT_EQ(pic.Pixels.size(), static_cast<std::size_t>(pic.Width * pic.Height * pic.Components));
    }
  }

  EXPECT_FALSE(WriteWorkingBitmap(TJpegPicture(), P("x.bmp"), &error));
  TJpegPicture one;
  one.Width = one.Height = 1;
  one.Components = 3;
  one.Pixels = {1, 2, 3};
  EXPECT_FALSE(WriteWorkingBitmap(one, P("no/such/folder/x.bmp"), &error));
  EXPECT_NE(error.find("cannot be created"), std::string::npos);
}

// ---- graphics sets in a temporary installation ----

constexpr QRgb TileKey = qRgb(0, 255, 0);
constexpr QRgb GroundColour = qRgb(1, 1, 1);

QRgb TileColour(int k) { return qRgb(200, 4 * k, 30); }
QRgb DefaultTileColour(int k) { return qRgb(100, 4 * k, 90); }
QRgb BackgroundColour(int a, int b) { return qRgb(50 + 30 * a, 60 + 30 * b, 250); }

// The board-graphics picture drawn from the table: every piece a flat colour,
// the glyphs as the tests' glyphs, the rest GroundColour.
QImage BoardGraphicsPicture(int w = 480, int h = 192) {
  QImage img = FlatImage(w, h, GroundColour);
  int i = 0;
  for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable()) {
    const QRgb c = rtest::PieceColour(i++, 100);
    for (int y = p.Top; y < p.Top + p.Height; ++y)
      for (int x = p.Left; x < p.Left + p.Width; ++x) img.setPixel(x, y, c);
  }
  for (int c = 32; c <= 127; ++c) {
    const QImage wall = rtest::Glyph(c, rtest::WallInk(c)), status = rtest::Glyph(c, rtest::StatusInk(c));
    const int gx = 8 * ((c - 32) % 32);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        img.setPixel(gx + x, 144 + 8 * ((c - 32) / 32) + y, wall.pixel(x, y));
        img.setPixel(gx + x, 168 + 8 * ((c - 32) / 32) + y, status.pixel(x, y));
      }
  }
  return img;
}

// A tile-set picture of `columns` tile columns: each tile its colour with a
// 4 x 4 key square in its bottom-left corner.
QImage TileSetPicture(int columns, QRgb (*colour)(int), QRgb key = TileKey) {
  QImage img = FlatImage(columns * 48, 240, key);
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < columns; ++col) {
      const int k = row * 10 + col + 1;
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
          if (!(x < 4 && y >= 44)) img.setPixel(col * 48 + x, row * 48 + y, colour(k));
    }
  return img;
}

class GraphicsSetTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  rtest::TTestSkin Flat;
  std::vector<std::pair<std::string, TMessageIcon>> Messages;

  void SetUp() override {
    ResetApp();
    App().AppFolder = Dir.path().toStdString();
    QDir(Dir.path()).mkdir("Graphics");
    SetMessageHook([this](const std::string& text, TMessageIcon icon) { Messages.emplace_back(text, icon); });
    CreateSkinBitmaps();
    App().Config.BoardGraphics.Assign("GB - Test");
    App().Config.TileSet.Assign("TS - Test");
  }
  void TearDown() override {
    SetMessageHook(nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the busy pointer is always restored
  }
  std::string G(const std::string& name) const { return Dir.path().toStdString() + "/Graphics/" + name; }
  void Bmp(const std::string& name, const QImage& img) { WriteFile(G(name), BmpOf(img)); }
  bool Exists(const std::string& name) const { return QFile::exists(QString::fromStdString(G(name))); }

  // Every skin bitmap, for comparing before and after.
  static std::vector<QImage> Snapshot() {
    std::vector<QImage> v;
    for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable()) v.push_back(*p.Target);
    for (int k = 1; k <= 50; ++k) v.push_back(Skin().TilePicture[k]);
    for (auto& column : Skin().BackgroundPiece)
      for (QImage& piece : column) v.push_back(piece);
    for (int c = 32; c <= 127; ++c) v.push_back(Skin().WallFont[c]);
    return v;
  }
  static std::vector<QImage> Tiles() {
    std::vector<QImage> v;
    for (int k = 1; k <= 50; ++k) v.push_back(Skin().TilePicture[k]);
    return v;
  }
};

TEST_F(GraphicsSetTest, CreateSkinBitmapsGivesEveryPieceItsSize) {
  for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable())
    EXPECT_EQ(p.Target->size(), QSize(p.Width, p.Height)) << p.Name;
  for (int k = 1; k <= 50; ++k) EXPECT_EQ(Skin().TilePicture[k].size(), QSize(48, 48));
  for (int c = 32; c <= 127; ++c) EXPECT_EQ(Skin().StatusFont[c].size(), QSize(8, 8));
  EXPECT_EQ(Skin().BackgroundPiece[4][4].size(), QSize(48, 48));
}

TEST_F(GraphicsSetTest, EveryPieceIsCutFromItsRectangle) {
  Bmp("GB - Test.BMP", BoardGraphicsPicture());
  Bmp("TS - Test.BMP", TileSetPicture(10, TileColour));
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Messages.empty());
  int i = 0;
  for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable()) {
    EXPECT_EQ(p.Target->size(), QSize(p.Width, p.Height)) << p.Name;
    EXPECT_EQ(p.Target->format(), QImage::Format_RGB32) << p.Name;
    EXPECT_TRUE(AllPixels(*p.Target, rtest::PieceColour(i++, 100))) << p.Name;
  }
  for (int c = 32; c <= 127; ++c) {
    EXPECT_EQ(Skin().WallFont[c], rtest::Glyph(c, rtest::WallInk(c))) << c;
    EXPECT_EQ(Skin().StatusFont[c], rtest::Glyph(c, rtest::StatusInk(c))) << c;
  }
  // Tiles over the floor: the tile's key square shows the floor.
  const QRgb floor = Skin().Floor.pixel(0, 0);
  for (int k = 1; k <= 50; ++k) {
    EXPECT_EQ(Skin().TilePicture[k].pixel(24, 24), TileColour(k)) << k;
    EXPECT_EQ(Skin().TilePicture[k].pixel(1, 46), floor) << k;
    EXPECT_EQ(Skin().TilePicture[k].pixel(47, 47), TileColour(k)) << k;
  }
}

TEST_F(GraphicsSetTest, JpegIsPreferredAndTheWorkingFileDoesNotRemain) {
  Bmp("GB - Test.BMP", BoardGraphicsPicture());
  WriteJpegOf(G("GB - Test.JPG"), FlatImage(480, 192, qRgb(30, 60, 200)));
  Bmp("TS - Test.BMP", TileSetPicture(10, TileColour));
  WriteFile(G("Temp.BMP"), Bytes{'o', 'l', 'd'});  // an old working file is replaced
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().WallFace.pixel(24, 24), qRgb(30, 60, 200), 8));
  EXPECT_TRUE(Near(Skin().Floor.pixel(24, 24), qRgb(30, 60, 200), 8));
  EXPECT_FALSE(Exists("Temp.BMP"));
  EXPECT_TRUE(Messages.empty());

  // A grey JPEG tile set works too (through an 8-bit working bitmap); its
  // bottom-left corner is black, the key.
  Bytes grey(480 * 240, 90);
  for (int y = 224; y < 240; ++y)
    for (int x = 0; x < 16; ++x) grey[static_cast<std::size_t>(y * 480 + x)] = 0;
  WriteJpeg(G("TS - Test.JPG"), 480, 240, 1, grey);
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().TilePicture[17].pixel(24, 24), qRgb(90, 90, 90), 6));
  EXPECT_FALSE(Exists("Temp.BMP"));
}

TEST_F(GraphicsSetTest, AHalfWideTileSetTakesTheOtherTilesFromTheDefaultSet) {
  Bmp("GB - Test.BMP", BoardGraphicsPicture());
  Bmp("TS - Test.BMP", TileSetPicture(5, TileColour));
  // The default set is drawn opaque: its own key squares stay as they are.
  Bmp("TS - Default.BMP", TileSetPicture(10, DefaultTileColour, qRgb(7, 7, 7)));
  WriteJpegOf(G("TS - Default.JPG"), FlatImage(480, 240, qRgb(0, 0, 200)));  // the bitmap is the one used
  ASSERT_TRUE(LoadGraphicsSet());
  const QRgb floor = Skin().Floor.pixel(0, 0);
  for (int k = 1; k <= 50; ++k) {
    const bool own = (k - 1) % 10 < 5;
    EXPECT_EQ(Skin().TilePicture[k].pixel(24, 24), own ? TileColour(k) : DefaultTileColour(k)) << k;
    EXPECT_EQ(Skin().TilePicture[k].pixel(1, 46), own ? floor : qRgb(7, 7, 7)) << k;
  }

  // Only as a JPEG: that is used.
  QFile::remove(QString::fromStdString(G("TS - Default.BMP")));
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().TilePicture[6].pixel(24, 24), qRgb(0, 0, 200), 8));
  EXPECT_EQ(Skin().TilePicture[5].pixel(24, 24), TileColour(5));
  EXPECT_FALSE(Exists("Temp.BMP"));

  // Without the default set: the message, and the tiles stay as they were.
  QFile::remove(QString::fromStdString(G("TS - Default.JPG")));
  const std::vector<QImage> before = Tiles();
  EXPECT_FALSE(LoadGraphicsSet());
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].first, "Unable to open the image 'TS - Default'.");
  EXPECT_EQ(Tiles(), before);
}

TEST_F(GraphicsSetTest, AMissingPictureKeepsThePreviousSkin) {
  Bmp("GB - Test.BMP", BoardGraphicsPicture());
  Bmp("TS - Test.BMP", TileSetPicture(10, TileColour));
  ASSERT_TRUE(LoadGraphicsSet());
  const std::vector<QImage> before = Snapshot();

  App().Config.BoardGraphics.Assign("GB - Missing");
  EXPECT_FALSE(LoadGraphicsSet());
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].first, "Unable to open the image 'GB - Missing'.");
  EXPECT_EQ(Messages[0].second, TMessageIcon::Error);
  EXPECT_EQ(Snapshot(), before);

  // A missing tile set: the board pieces are new, the tiles stay.
  Bmp("GB - Other.BMP", FlatImage(480, 192, qRgb(9, 9, 9)));
  App().Config.BoardGraphics.Assign("GB - Other");
  App().Config.TileSet.Assign("TS - Gone");
  const std::vector<QImage> tiles = Tiles();
  EXPECT_FALSE(LoadGraphicsSet());
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[1].first, "Unable to open the image 'TS - Gone'.");
  EXPECT_EQ(Skin().WallFace.pixel(3, 3), qRgb(9, 9, 9));
  EXPECT_EQ(Tiles(), tiles);
}

TEST_F(GraphicsSetTest, ADamagedPictureIsReportedWithItsReasonAndTheSkinKept) {
  Bmp("GB - Test.BMP", BoardGraphicsPicture());
  Bmp("TS - Test.BMP", TileSetPicture(10, TileColour));
  ASSERT_TRUE(LoadGraphicsSet());
  const std::vector<QImage> before = Snapshot();

  Bytes broken = BmpOf(FlatImage(480, 192, qRgb(9, 9, 9)));
  broken.resize(2000);
  WriteFile(G("GB - Broken.BMP"), broken);
  App().Config.BoardGraphics.Assign("GB - Broken");
  EXPECT_FALSE(LoadGraphicsSet());
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].first, "Unable to open the image 'GB - Broken.BMP' : the pixel data is cut short.");
  EXPECT_EQ(Messages[0].second, TMessageIcon::Error);
  EXPECT_EQ(Snapshot(), before);

  WriteFile(G("GB - Broken.JPG"), Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 9, 9, 9});
  EXPECT_FALSE(LoadGraphicsSet());
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[1].first.rfind("Unable to open the image 'GB - Broken.JPG' : the JPEG data is damaged", 0), 0u)
      << Messages[1].first;
  EXPECT_FALSE(Exists("Temp.BMP"));
  EXPECT_EQ(Snapshot(), before);

  // A JPEG in a file named as a bitmap is read as a bitmap, and refused.
  QFile::rename(QString::fromStdString(G("GB - Broken.JPG")), QString::fromStdString(G("GB - Renamed.BMP")));
  App().Config.BoardGraphics.Assign("GB - Renamed");
  EXPECT_FALSE(LoadGraphicsSet());
  ASSERT_EQ(Messages.size(), 3u);
  EXPECT_EQ(Messages[2].first, "Unable to open the image 'GB - Renamed.BMP' : not a bitmap file.");
}

TEST_F(GraphicsSetTest, SmallPicturesLeaveTheRestBlackOrFloor) {
  Bmp("GB - Test.BMP", FlatImage(100, 60, qRgb(40, 40, 40)));
  QImage tiles = FlatImage(50, 50, qRgb(200, 0, 0));
  tiles.setPixel(0, 49, TileKey);
  Bmp("TS - Test.BMP", tiles);
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_EQ(Skin().Floor.pixel(10, 10), qRgb(40, 40, 40));
  EXPECT_EQ(Skin().Floor.pixel(10, 20), qRgb(0, 0, 0));  // below the picture
  EXPECT_EQ(Skin().ButtonInfo[2].pixel(10, 10), qRgb(0, 0, 0));
  EXPECT_EQ(Skin().TilePicture[1].pixel(1, 1), qRgb(200, 0, 0));
  EXPECT_EQ(Skin().TilePicture[2].pixel(1, 1), qRgb(200, 0, 0));   // x = 49
  const QRgb floor = Skin().Floor.pixel(10, 10);
  EXPECT_EQ(Skin().TilePicture[2].pixel(10, 10), floor);  // beyond the tile-set picture
  EXPECT_EQ(Skin().TilePicture[50].pixel(10, 10), floor);
}

TEST_F(GraphicsSetTest, WallBackgroundByName) {
  QImage bk(240, 240, QImage::Format_RGB32);
  for (int a = 0; a < 5; ++a)
    for (int b = 0; b < 5; ++b)
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) bk.setPixel(48 * a + x, 48 * b + y, BackgroundColour(a, b));
  Bmp("BK - Test.BMP", bk);
  Bmp("GB - Test.BMP", BoardGraphicsPicture());
  Bmp("TS - Test.BMP", TileSetPicture(10, TileColour));
  LoadBackgroundPicture();
  EXPECT_TRUE(App().BackgroundLoaded);
  ASSERT_TRUE(LoadGraphicsSet());
  for (int a = 0; a < 5; ++a)
    for (int b = 0; b < 5; ++b) EXPECT_TRUE(AllPixels(Skin().BackgroundPiece[a][b], BackgroundColour(a, b))) << a << b;

  // Both forms: the JPEG is the one in use.
  WriteJpegOf(G("BK - Test.JPG"), FlatImage(240, 240, qRgb(200, 100, 50)));
  LoadBackgroundPicture();
  EXPECT_TRUE(App().BackgroundLoaded);
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().BackgroundPiece[3][1].pixel(20, 20), qRgb(200, 100, 50), 8));
  EXPECT_FALSE(Exists("Temp.BMP"));

  // A small background is repeated over the 240 x 240 pixels.
  QFile::remove(QString::fromStdString(G("BK - Test.JPG")));
  Bmp("BK - Test.BMP", bk.copy(0, 0, 96, 96));
  LoadBackgroundPicture();
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_EQ(Skin().BackgroundPiece[2][3], Skin().BackgroundPiece[0][1]);
  EXPECT_TRUE(AllPixels(Skin().BackgroundPiece[3][0], BackgroundColour(1, 0)));

  // No background for another set; a name of five characters looks for "BK - ".
  App().Config.BoardGraphics.Assign("GB - Plain");
  LoadBackgroundPicture();
  EXPECT_FALSE(App().BackgroundLoaded);
  Bmp("BK - .BMP", bk);
  App().Config.BoardGraphics.Assign("GB - ");
  LoadBackgroundPicture();
  EXPECT_TRUE(App().BackgroundLoaded);
  App().Config.BoardGraphics.Assign("GB");
  LoadBackgroundPicture();
  EXPECT_TRUE(App().BackgroundLoaded);

  // A damaged background: reported, and no background.
  WriteFile(G("BK - Bad.BMP"), Bytes{'B', 'M', 1, 2, 3});
  App().Config.BoardGraphics.Assign("GB - Bad");
  LoadBackgroundPicture();
  EXPECT_FALSE(App().BackgroundLoaded);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].first.rfind("Unable to open the image 'BK - Bad.BMP' : ", 0), 0u);
}

TEST_F(GraphicsSetTest, CutPieceCopiesARectangleOfTheSource) {
  QImage src = FlatImage(20, 10, qRgb(5, 6, 7));
  src.setPixel(3, 4, qRgb(1, 1, 1));
  SetSourcePicture(src);
  QImage target;
  CutPiece(3, 4, 8, 8, target);
  EXPECT_EQ(target.size(), QSize(8, 8));
  EXPECT_EQ(target.pixel(0, 0), qRgb(1, 1, 1));
  EXPECT_EQ(target.pixel(7, 5), qRgb(5, 6, 7));
  EXPECT_EQ(target.pixel(7, 6), qRgb(0, 0, 0));  // past the source's bottom
  CutPiece(-2, 0, 4, 4, target);
  EXPECT_EQ(target.pixel(1, 0), qRgb(0, 0, 0));
  EXPECT_EQ(target.pixel(2, 0), qRgb(5, 6, 7));
}

TEST_F(GraphicsSetTest, PickListsOfPictureNames) {
  for (const char* name : {"GB - A.BMP", "gb - b.jpg", "GB - A.JPG", "TS - X.BMP", "ts - y.jpg", "BK - Y.BMP",
                           ".GB - Hidden.BMP", "Temp.BMP", "GB - C.PNG"})
    WriteFile(G(name), Bytes{1});
  const std::string longest = "GB - " + std::string(41, 'x') + ".BMP";  // 50 characters
  const std::string tooLong = "GB - " + std::string(42, 'x') + ".BMP";  // 51
  WriteFile(G(longest), Bytes{1});
  WriteFile(G(tooLong), Bytes{1});
  QDir(Dir.path()).mkdir("Graphics/GB - Folder.BMP");

  QStringList bmp = ListGraphics("*.BMP", "bk", "ts");
  bmp.sort(Qt::CaseInsensitive);
  EXPECT_EQ(bmp, (QStringList{"GB - A", QString::fromStdString(longest.substr(0, 46)), "Temp"}));
  EXPECT_EQ(ListGraphics("*.JPG", "bk", "gb"), QStringList{"ts - y"});

  QComboBox combo;
  combo.addItem("stale");
  ListGraphics(&combo, "*.JPG", "GB - b", true, "bk", "ts");
  ListGraphics(&combo, "*.BMP", "GB - b", false, "bk", "ts");
  QStringList shown;
  for (int i = 0; i < combo.count(); ++i) shown << combo.itemText(i);
  EXPECT_EQ(shown, (QStringList{"GB - A", "GB - A", "gb - b", QString::fromStdString(longest.substr(0, 46)), "Temp"}));
  EXPECT_EQ(combo.currentText(), "gb - b");
  ListGraphics(&combo, "*.BMP", "none", true, "bk", "gb");
  EXPECT_EQ(combo.count(), 2);  // "TS - X" and "Temp"
  EXPECT_EQ(combo.currentIndex(), -1);
}

// ---- custom picture ----

class CustomPictureTest : public GraphicsSetTest {
 protected:
  void SetUp() override {
    GraphicsSetTest::SetUp();
    Flat.Fill();
    App().Config.PictureOn = 1;
  }
  // A picture of cols x rows blocks of 48 pixels, each a flat colour.
  static QRgb Block(int col, int row) { return qRgb(20 + 40 * col, 30 + 40 * row, 90); }
  static QImage BlockPicture(int cols, int rows) {
    QImage img(cols * 48, rows * 48, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, Block(x / 48, y / 48));
    return img;
  }
  void UsePicture(const std::string& name, int x, int y, int w, int h) {
    App().Config.PicturePath.Assign(G(name));
    App().Config.PictureX = x;
    App().Config.PictureY = y;
    App().Config.PictureW = static_cast<std::uint8_t>(w);
    App().Config.PictureH = static_cast<std::uint8_t>(h);
  }
  static int TileOf(int a, int b) { return a + 5 + 10 * (b - 1); }
  static QImage Tile(int k) { return Skin().TilePicture[k]; }
  // The tile exactly as the flat skin made it.
  bool Untouched(int k) const { return AllPixels(Tile(k), rtest::PieceColour(k, 140)); }
  static bool Bevelled(const QImage& t, QRgb c) {
    return t.pixel(0, 0) == ShiftColour(c, 130) && t.pixel(20, 0) == ShiftColour(c, 65) &&
           t.pixel(0, 20) == ShiftColour(c, 65) && t.pixel(47, 20) == ShiftColour(c, -65) &&
           t.pixel(20, 47) == ShiftColour(c, -65) && t.pixel(47, 47) == ShiftColour(c, -130) &&
           t.pixel(20, 20) == c;
  }
};

TEST_F(CustomPictureTest, TheWholeBlockShowsThePictureBevelled) {
  Bmp("pic.bmp", BlockPicture(5, 5));
  UsePicture("pic.bmp", 1, 1, 5, 5);
  ApplyCustomPicture();
  for (int a = 1; a <= 5; ++a)
    for (int b = 1; b <= 5; ++b) EXPECT_TRUE(Bevelled(Tile(TileOf(a, b)), Block(a - 1, b - 1))) << a << "," << b;
  for (int k = 1; k <= 50; ++k)
    if ((k - 1) % 10 < 5) {
      EXPECT_TRUE(Untouched(k)) << k;
    }
  EXPECT_TRUE(Messages.empty());
}

TEST_F(CustomPictureTest, ARectangleStartingInsideTheBlock) {
  Bmp("pic.bmp", BlockPicture(5, 5));
  UsePicture("pic.bmp", 3, 3, 5, 5);
  ApplyCustomPicture();
  for (int a = 1; a <= 5; ++a)
    for (int b = 1; b <= 5; ++b) {
      if (a >= 3 && b >= 3) {
        EXPECT_TRUE(Bevelled(Tile(TileOf(a, b)), Block(a - 3, b - 3))) << a << "," << b;
      } else {
        EXPECT_TRUE(Untouched(TileOf(a, b))) << a << "," << b;
      }
    }
}

TEST_F(CustomPictureTest, ARectangleStartingLeftOfTheBlock) {
  Bmp("pic.bmp", BlockPicture(4, 5));
  UsePicture("pic.bmp", -1, 1, 4, 5);
  ApplyCustomPicture();
  for (int b = 1; b <= 5; ++b) {
    EXPECT_TRUE(Bevelled(Tile(TileOf(1, b)), Block(2, b - 1))) << b;
    EXPECT_TRUE(Bevelled(Tile(TileOf(2, b)), Block(3, b - 1))) << b;
    for (int a = 3; a <= 5; ++a) EXPECT_TRUE(Untouched(TileOf(a, b))) << a << "," << b;
  }
}

TEST_F(CustomPictureTest, NothingChangesWhenOffMissingOrDamaged) {
  Bmp("pic.bmp", BlockPicture(5, 5));
  UsePicture("pic.bmp", 1, 1, 5, 5);
  App().Config.PictureOn = 0;
  ApplyCustomPicture();
  for (int k = 1; k <= 50; ++k) EXPECT_TRUE(Untouched(k)) << k;

  App().Config.PictureOn = 1;
  UsePicture("gone.bmp", 1, 1, 5, 5);
  ApplyCustomPicture();
  for (int k = 1; k <= 50; ++k) EXPECT_TRUE(Untouched(k)) << k;
  EXPECT_TRUE(Messages.empty());

  WriteFile(G("bad.bmp"), Bytes{'B', 'M', 0, 0});
  UsePicture("bad.bmp", 1, 1, 5, 5);
  ApplyCustomPicture();
  for (int k = 1; k <= 50; ++k) EXPECT_TRUE(Untouched(k)) << k;
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].first.rfind("Unable to open the image 'bad.bmp' : ", 0), 0u) << Messages[0].first;

  // A rectangle entirely off the block changes nothing and bevels nothing.
  UsePicture("pic.bmp", -10, 1, 5, 5);
  ApplyCustomPicture();
  for (int k = 1; k <= 50; ++k) EXPECT_TRUE(Untouched(k)) << k;
}

TEST_F(CustomPictureTest, JpegPicturesGoThroughTheWorkingFile) {
  WriteJpegOf(G("photo.JPG"), FlatImage(64, 64, qRgb(180, 40, 120)));
  UsePicture("photo.JPG", 2, 2, 1, 1);
  ApplyCustomPicture();
  EXPECT_TRUE(Near(Tile(TileOf(2, 2)).pixel(24, 24), qRgb(180, 40, 120), 8));
  EXPECT_TRUE(Untouched(TileOf(1, 1)));
  EXPECT_FALSE(Exists("Temp.BMP"));
}

TEST_F(CustomPictureTest, ThePictureIsStretchedSmoothly) {
  // A one-pixel checkerboard shrunk to a tenth averages to grey.
  QImage checker(480, 480, QImage::Format_RGB32);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 480; ++x) checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  Bmp("checker.bmp", checker);
  UsePicture("checker.bmp", 1, 1, 1, 1);
  ApplyCustomPicture();
  const QRgb centre = Tile(6).pixel(24, 24);
  EXPECT_TRUE(Near(centre, qRgb(128, 128, 128), 40)) << std::hex << centre;
}

TEST_F(CustomPictureTest, PathsAndExtremeRectangles) {
  // A path stored as Windows-1252 bytes names the file of the same name on disk.
  Bmp("Caf\xC3\xA9.bmp", BlockPicture(5, 5));
  App().Config.PicturePath.Assign(G("Caf\xE9.bmp"));
  App().Config.PictureX = App().Config.PictureY = 1;
  App().Config.PictureW = App().Config.PictureH = 5;
  ApplyCustomPicture();
  EXPECT_TRUE(Bevelled(Tile(6), Block(0, 0)));

  Flat.Fill();
  Bmp("pic.bmp", BlockPicture(5, 5));
  UsePicture("pic.bmp", -2147483647, 2147483647, 255, 255);
  ApplyCustomPicture();
  for (int k = 1; k <= 50; ++k) EXPECT_TRUE(Untouched(k)) << k;
  // Covers the whole block, 51 times larger: the block lies inside picture block (2, 2).
  UsePicture("pic.bmp", -116, -116, 255, 255);
  ApplyCustomPicture();
  EXPECT_TRUE(Bevelled(Tile(6), Block(2, 2)));
  EXPECT_TRUE(Bevelled(Tile(50), Block(2, 2)));
  UsePicture("pic.bmp", 1, 1, 0, 0);
  Flat.Fill();
  ApplyCustomPicture();
  for (int k = 1; k <= 50; ++k) EXPECT_TRUE(Untouched(k)) << k;
}

TEST(BevelTest, EdgesRaisedAndLoweredInOrderWithClamping) {
  QImage tile = FlatImage(48, 48, qRgb(30, 100, 240));
  BevelTile(tile);
  EXPECT_EQ(tile.pixel(0, 0), qRgb(160, 230, 255));   // raised twice
  EXPECT_EQ(tile.pixel(47, 47), qRgb(0, 0, 110));     // lowered twice
  EXPECT_EQ(tile.pixel(47, 0), qRgb(65, 100, 240));   // lowered (clamped), then raised
  EXPECT_EQ(tile.pixel(0, 47), qRgb(65, 100, 240));
  EXPECT_EQ(tile.pixel(20, 0), qRgb(95, 165, 255));
  EXPECT_EQ(tile.pixel(0, 20), qRgb(95, 165, 255));
  EXPECT_EQ(tile.pixel(47, 20), qRgb(0, 35, 175));
  EXPECT_EQ(tile.pixel(20, 47), qRgb(0, 35, 175));
  EXPECT_EQ(tile.pixel(1, 1), qRgb(30, 100, 240));
  EXPECT_EQ(tile.pixel(46, 46), qRgb(30, 100, 240));

  QImage other = FlatImage(48, 48, qRgb(30, 100, 240)).convertToFormat(QImage::Format_RGB888);
  BevelTile(other);
  EXPECT_EQ(other.pixel(0, 0), qRgb(160, 230, 255));
  QImage small = FlatImage(10, 10, qRgb(1, 2, 3));
  BevelTile(small);
  EXPECT_EQ(small.pixel(0, 0), qRgb(131, 132, 133));
}

TEST(BevelTest, ShiftColourClampsEachComponent) {
  EXPECT_EQ(ShiftColour(qRgb(10, 128, 250), 10), qRgb(20, 138, 255));
  EXPECT_EQ(ShiftColour(qRgb(10, 128, 250), -20), qRgb(0, 108, 230));
  EXPECT_EQ(ShiftColour(qRgba(10, 20, 30, 0), 0), qRgb(10, 20, 30));
}

}  // namespace
}  // namespace pav
