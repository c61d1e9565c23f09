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
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>


#include "app/AppState.h"
#include "gui/JpegFiles.h"
#include "gui/RenderTestSkin.h"
#include "platform/Jpeg.h"
#include "platform/qt/Bmp.h"
#include "platform/qt/MessageBox.h"
#include "render/Graphics.h"
#include "render/Skin.h"

namespace pav {
namespace {
using test::WriteJpeg;

using Bytes = std::vector<std::uint8_t>;

// ---- test files written byte by byte ----

void Put(Bytes& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct TBmpSpec {
  int W = 5, H = 3, Bpp = 24, HeaderSize = 40;
  std::uint32_t Compression = 0, ClrUsed = 0;
  bool TopDown = false, MasksAfterHeader = false;
  std::vector<QRgb> Palette;
  std::vector<std::uint32_t> Masks;
  std::function<std::uint32_t(int x, int y)> Value;  // index, raw 16/32-bit value, or RGB for 24 bits
  Bytes Compressed;                                   // run-length pixel data as it is
};

Bytes EncodeBmp(const TBmpSpec& s) {
  Bytes h;
  const bool core = s.HeaderSize == 12;
  Put(h, static_cast<std::uint32_t>(s.HeaderSize), 4);
  Put(h, static_cast<std::uint32_t>(s.W), core ? 2 : 4);
  Put(h, static_cast<std::uint32_t>(s.TopDown ? -s.H : s.H), core ? 2 : 4);
  Put(h, 1, 2);
  Put(h, static_cast<std::uint32_t>(s.Bpp), 2);
  if (!core) {
    for (std::uint32_t v : {s.Compression, 0u, 2835u, 2835u, s.ClrUsed, 0u}) Put(h, v, 4);
    if (s.HeaderSize >= 52 && !s.MasksAfterHeader)
      for (std::uint32_t m : s.Masks) Put(h, m, 4);
    h.resize(static_cast<std::size_t>(s.HeaderSize), 0);
    if (s.MasksAfterHeader)
      for (std::uint32_t m : s.Masks) Put(h, m, 4);
  }
  for (QRgb c : s.Palette) Put(h, c & 0xFFFFFF, core ? 3 : 4);
  Bytes px = s.Compressed;
  const std::size_t stride = (static_cast<std::size_t>(s.W) * static_cast<std::size_t>(s.Bpp) + 31) / 32 * 4;
  if (s.Compressed.empty())
    for (int r = 0; r < s.H; ++r) {
      Bytes row;
      const int y = s.TopDown ? r : s.H - 1 - r;
      for (int x = 0; x < s.W; ++x) {
        const std::uint32_t v = s.Value(x, y);
        if (s.Bpp < 8) {
          if (x % (8 / s.Bpp) == 0) row.push_back(0);
          row.back() |= static_cast<std::uint8_t>(v << (8 - s.Bpp * (x % (8 / s.Bpp) + 1)));
        } else {
          Put(row, s.Bpp == 24 ? (v & 0xFFFFFF) : v, s.Bpp / 8);  // 24 bits: blue, green, red
        }
      }
      row.resize(stride, 0);
      px.insert(px.end(), row.begin(), row.end());
    }
  Bytes f = {'B', 'M'};
  Put(f, static_cast<std::uint32_t>(14 + h.size() + px.size()), 4);
  Put(f, 0, 4);
  Put(f, static_cast<std::uint32_t>(14 + h.size()), 4);
  f.insert(f.end(), h.begin(), h.end());
  f.insert(f.end(), px.begin(), px.end());
  return f;
}

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

Bytes ReadAll(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray a = f.readAll();
  return Bytes(a.begin(), a.end());
}


QImage Flat(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}
bool Near(QRgb a, QRgb b, int t) {
  return std::abs(qRed(a) - qRed(b)) <= t && std::abs(qGreen(a) - qGreen(b)) <= t && std::abs(qBlue(a) - qBlue(b)) <= t;
}
bool AllPixels(const QImage& img, QRgb c) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != c) return false;
  return true;
}

// ---- the bitmap reader ----

QRgb Pal(int i) { return qRgb((i * 37) % 256, 255 - (i * 11) % 256, (i * 3) % 256); }
QRgb Colour(int x, int y) { return qRgb(40 * x + 10, 60 * y + 5, 200 - 30 * x); }
int Scale(int v, int max) { return (v * 255 + max / 2) / max; }

TBmpSpec PaletteSpec(int bpp, int colours, int headerSize = 40) {
  TBmpSpec s;
  s.Bpp = bpp;
  s.HeaderSize = headerSize;
  for (int i = 0; i < colours; ++i) s.Palette.push_back(Pal(i));
  s.Value = [colours](int x, int y) { return static_cast<std::uint32_t>((x * 3 + y * 7) % colours); };
  return s;
}
TBmpSpec ColourSpec(int headerSize, bool topDown) {
  TBmpSpec s;
  s.HeaderSize = headerSize;
  s.TopDown = topDown;
  s.Value = [](int x, int y) { return static_cast<std::uint32_t>(Colour(x, y)); };
  return s;
}
TBmpSpec MaskSpec(int bpp, int headerSize, std::vector<std::uint32_t> masks, bool after) {
  TBmpSpec s;
  s.Bpp = bpp;
  s.HeaderSize = headerSize;
  s.Compression = masks.empty() ? 0 : 3;
  s.Masks = masks;
  s.MasksAfterHeader = after;
  return s;
}

TEST(BmpReaderTest, EveryCommonForm) {
  struct TCase {
    std::string Name;
    TBmpSpec Spec;
    std::function<QRgb(int x, int y)> Expected;
    int Tolerance = 0;
  };
  std::vector<TCase> cases;
  for (int bpp : {1, 2, 4, 8})
    cases.push_back({"palette " + std::to_string(bpp), PaletteSpec(bpp, 1 << bpp),
                     [bpp](int x, int y) { return Pal((x * 3 + y * 7) % (1 << bpp)); }});
  cases.push_back({"core palette", PaletteSpec(8, 256, 12), [](int x, int y) { return Pal((x * 3 + y * 7) % 256); }});
  TBmpSpec wide = PaletteSpec(1, 2);  // 9 pixels: two bytes, padded to four
  wide.W = 9;
  cases.push_back({"1 bit, 9 wide", wide, [](int x, int y) { return Pal((x * 3 + y * 7) % 2); }});
  TBmpSpec shortPalette = PaletteSpec(8, 3);
  shortPalette.ClrUsed = 3;
  shortPalette.Value = [](int x, int) { return static_cast<std::uint32_t>(x == 4 ? 200 : x % 3); };
  cases.push_back({"short palette", shortPalette, [](int x, int) { return x == 4 ? qRgb(0, 0, 0) : Pal(x % 3); }});
  for (auto [header, topDown] : std::initializer_list<std::pair<int, bool>>{{40, false}, {40, true}, {124, true}, {12, false}})
    cases.push_back({"24 bit, header " + std::to_string(header), ColourSpec(header, topDown), Colour});
  TBmpSpec x32 = MaskSpec(32, 40, {}, false);
  x32.Value = [](int x, int y) { return static_cast<std::uint32_t>(Colour(x, y)) & 0xFFFFFF; };
  cases.push_back({"32 bit", x32, Colour});
  auto rgbx = [](int x, int y) {
    const QRgb c = Colour(x, y);
    return static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
  };
  for (auto [header, after] : std::initializer_list<std::pair<int, bool>>{{108, false}, {40, true}}) {
    TBmpSpec s = MaskSpec(32, header, {0xFF, 0xFF00, 0xFF0000}, after);  // red in the low byte
    s.Value = rgbx;
    cases.push_back({"32 bit masks, header " + std::to_string(header), s, Colour});
  }
  TBmpSpec x555 = MaskSpec(16, 40, {}, false);
  x555.Value = [](int x, int y) { return static_cast<std::uint32_t>(((x * 7) << 10) | ((y * 15) << 5) | (31 - x)); };
  cases.push_back({"5-5-5", x555, [](int x, int y) { return qRgb(Scale(x * 7, 31), Scale(y * 15, 31), Scale(31 - x, 31)); }, 1});
  TBmpSpec x565 = MaskSpec(16, 40, {0xF800, 0x07E0, 0x001F}, true);
  x565.Value = [](int x, int y) { return static_cast<std::uint32_t>(((x * 7) << 11) | ((y * 31) << 5) | (31 - x)); };
  cases.push_back({"5-6-5", x565, [](int x, int y) { return qRgb(Scale(x * 7, 31), Scale(y * 31, 63), Scale(31 - x, 31)); }, 1});
  TBmpSpec rle8 = PaletteSpec(8, 8);
  rle8.Compression = 1;
  rle8.Compressed = {5, 1, 0, 0,                      // bottom row: five of index 1
                     0, 3, 2, 3, 2, 0, 2, 4, 0, 0,    // absolute 2 3 2 (padded), two of index 4
                     0, 2, 2, 0, 3, 5, 0, 1};         // skip two, three of index 5, end
  cases.push_back({"run-length 8", rle8, [](int x, int y) {
                     const int rows[3][5] = {{0, 0, 5, 5, 5}, {2, 3, 2, 4, 4}, {1, 1, 1, 1, 1}};
                     return Pal(rows[y][x]);
                   }});
  TBmpSpec rle4 = PaletteSpec(4, 16);
  rle4.Compression = 2;
  rle4.H = 2;
  rle4.Compressed = {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1};  // a run, then absolute nibbles
  cases.push_back({"run-length 4", rle4, [](int x, int y) { return Pal(y == 1 ? 1 + x % 2 : 3 + x); }});

  for (const TCase& c : cases) {
    std::string error;
    const QImage img = ReadBmp(Qb(EncodeBmp(c.Spec)), &error);
    ASSERT_EQ(img.size(), QSize(c.Spec.W, c.Spec.H)) << c.Name << ": " << error;
    EXPECT_EQ(img.format(), QImage::Format_RGB32) << c.Name;
    for (int y = 0; y < c.Spec.H; ++y)
      for (int x = 0; x < c.Spec.W; ++x)
        EXPECT_TRUE(Near(img.pixel(x, y), c.Expected(x, y), c.Tolerance)) << c.Name << " at " << x << "," << y;
  }
}

TEST(BmpReaderTest, DamagedFilesGiveAnErrorAndNeverCrash) {
  std::string error;
  EXPECT_TRUE(ReadBmp(QByteArray("\x89PNG\r\n\x1a\n0000000000000000000000", 30), &error).isNull());
  EXPECT_EQ(error, "not a bitmap file");
  const Bytes good = EncodeBmp(ColourSpec(40, false));
  for (auto [at, value] : std::initializer_list<std::pair<std::size_t, std::uint32_t>>{
           {18, 0}, {18, 0xFFFFFFF0u}, {22, 0}, {22, 0x80000000u}, {18, 100000},  // sizes
           {10, 1000000}, {14, 1000000},                                         // offsets past the end
           {30, 4}, {30, 9}, {30, 1}, {28, 7}}) {                                // compression, depth
    Bytes b = good;
    for (int i = 0; i < (at == 28 ? 2 : 4); ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    EXPECT_TRUE(ReadBmp(Qb(b), &error).isNull()) << at << " = " << value;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(error, "unsupported colour depth of 7 bits");
  EXPECT_TRUE(ReadBmp(Qb(Bytes(good.begin(), good.begin() + 60)), &error).isNull());
  EXPECT_EQ(error, "the pixel data is cut short");
  TBmpSpec rle = PaletteSpec(8, 8);
  rle.Compression = 1;
  rle.TopDown = true;
  rle.Compressed = {5, 1, 0, 1};
  EXPECT_TRUE(ReadBmp(Qb(EncodeBmp(rle)), &error).isNull());  // run-length data cannot be top-down
  rle.TopDown = false;
  rle.Compressed = {255, 1, 0, 2, 200, 200, 0, 250, 1, 2};  // a run and a delta past the picture: clipped
  EXPECT_FALSE(ReadBmp(Qb(EncodeBmp(rle)), &error).isNull());
  rle.Compressed = {0, 250, 1, 2};  // an absolute run longer than the data
  EXPECT_TRUE(ReadBmp(Qb(EncodeBmp(rle)), &error).isNull());

  // Every prefix of a file, and random damage to every form: an error or a picture.
  rle.Compressed = {5, 1, 0, 0, 0, 3, 2, 3, 2, 0, 2, 4, 0, 0, 0, 2, 2, 0, 3, 5, 0, 1};
  TBmpSpec x565 = MaskSpec(16, 40, {0xF800, 0x07E0, 0x001F}, true);
  x565.Value = [](int x, int y) { return static_cast<std::uint32_t>(x * 1000 + y); };
  const std::vector<Bytes> forms = {good, EncodeBmp(PaletteSpec(4, 16)), EncodeBmp(PaletteSpec(1, 2, 12)),
                                    EncodeBmp(rle), EncodeBmp(x565)};
  for (const Bytes& form : forms)
    for (std::size_t n = 0; n < form.size(); ++n)
      if (ReadBmp(Qb(Bytes(form.begin(), form.begin() + static_cast<std::ptrdiff_t>(n))), &error).isNull()) {
        EXPECT_FALSE(error.empty()) << n;
      }
  std::mt19937 random(12345);
  for (int round = 0; round < 10000; ++round) {
    Bytes b = forms[static_cast<std::size_t>(round) % forms.size()];
    for (int i = 0, hits = 1 + static_cast<int>(random() % 4); i < hits; ++i)
      b[random() % b.size()] = static_cast<std::uint8_t>(random());
    (void)ReadBmp(Qb(b), &error);
  }
  QTemporaryDir dir;
  EXPECT_TRUE(LoadBmp(dir.path().toStdString() + "/none.bmp", &error).isNull());
  EXPECT_EQ(error, "the file cannot be opened");
}

// ---- JPEG ----

TEST(JpegTest, ColourBecomesA24BitBitmapAndGreyAn8BitOne) {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString() + "/";
  QImage colour = Flat(32, 16, qRgb(220, 30, 30));
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) colour.setPixel(x, y, qRgb(30, 30, 220));
  ASSERT_TRUE(WriteJpeg(d + "c.jpg", colour));
  std::string error;
  ASSERT_TRUE(ConvertJpegToBitmap(d + "c.jpg", d + "c.bmp", &error)) << error;
  Bytes bmp = ReadAll(d + "c.bmp");
  ASSERT_EQ(bmp.size(), 54u + 32 * 3 * 16);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp[18], 32);
  QImage img = LoadBmp(d + "c.bmp", &error);
  EXPECT_TRUE(Near(img.pixel(4, 4), qRgb(220, 30, 30), 8));
  EXPECT_TRUE(Near(img.pixel(27, 12), qRgb(30, 30, 220), 8));

  QImage grey = Flat(22, 16, qRgb(100, 0, 0));  // rows of 22 bytes, padded to 24
  for (int y = 8; y < 16; ++y)
    for (int x = 0; x < 22; ++x) grey.setPixel(x, y, qRgb(200, 0, 0));
  ASSERT_TRUE(WriteJpeg(d + "g.jpg", grey, true));
  ASSERT_TRUE(ConvertJpegToBitmap(d + "g.jpg", d + "g.bmp", &error)) << error;
  bmp = ReadAll(d + "g.bmp");
  ASSERT_EQ(bmp.size(), 54u + 1024 + 24 * 16);
  EXPECT_EQ(bmp[28], 8);
  EXPECT_TRUE(bmp[54 + 4 * 77] == 77 && bmp[54 + 4 * 77 + 2] == 77);  // a grey palette
  img = LoadBmp(d + "g.bmp", &error);
  EXPECT_TRUE(Near(img.pixel(10, 2), qRgb(100, 100, 100), 6));
  EXPECT_TRUE(Near(img.pixel(10, 13), qRgb(200, 200, 200), 6));
}

TEST(JpegTest, DamagedFilesAreErrorsNotTheEndOfTheProgram) {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString() + "/";
  std::string error;
  TJpegPicture pic;
  EXPECT_FALSE(DecodeJpeg(d + "missing.jpg", pic, &error));
  EXPECT_EQ(error, "the file cannot be opened");
  const std::uint8_t notJpeg[] = {'B', 'M', 0, 0, 0, 0};
  EXPECT_FALSE(DecodeJpegData(notJpeg, sizeof notJpeg, pic, &error));
  EXPECT_EQ(error, "not a JPEG file");
  const std::uint8_t garbage[] = {0xFF, 0xD8, 0xFF, 0x12, 0x00, 0x02, 0x33, 0x44, 0x55, 0x66};
  EXPECT_FALSE(DecodeJpegData(garbage, sizeof garbage, pic, &error));
  EXPECT_EQ(error.rfind("the JPEG data is damaged (", 0), 0u) << error;

  QImage noise(48, 48, QImage::Format_RGB32);
  for (int i = 0; i < 48 * 48; ++i) noise.setPixel(i % 48, i / 48, static_cast<QRgb>(i * 2654435761u));
  ASSERT_TRUE(WriteJpeg(d + "n.jpg", noise));
  const Bytes file = ReadAll(d + "n.jpg");
  ASSERT_TRUE(DecodeJpegData(file.data(), file.size(), pic, &error));
  EXPECT_TRUE(pic.Width == 48 && pic.Height == 48 && pic.Components == 3);
  EXPECT_FALSE(DecodeJpegData(file.data(), 40, pic, &error));  // cut inside the header
  (void)DecodeJpegData(file.data(), file.size() / 2, pic, &error);  // inside the pixels: what was read
  std::mt19937 random(777);
  for (int round = 0; round < 300; ++round) {
    Bytes b = file;
    for (int i = 0; i < 3; ++i) b[2 + random() % (b.size() - 2)] = static_cast<std::uint8_t>(random());
    if (DecodeJpegData(b.data(), b.size(), pic, &error)) {
      EXPECT_EQ(pic.Pixels.size(), static_cast<std::size_t>(pic.Width * pic.Height * pic.Components));
    }
  }
  EXPECT_FALSE(WriteWorkingBitmap(TJpegPicture(), d + "x.bmp", &error));
  TJpegPicture one{1, 1, 3, {1, 2, 3}};
  EXPECT_FALSE(WriteWorkingBitmap(one, d + "no/such/folder/x.bmp", &error));
  EXPECT_NE(error.find("cannot be created"), std::string::npos);
}

// ---- graphics sets in a temporary installation ----

constexpr QRgb TileKey = qRgb(0, 255, 0);
QRgb TileColour(int k) { return qRgb(200, 4 * k, 30); }
QRgb DefaultTileColour(int k) { return qRgb(100, 4 * k, 90); }
QRgb BackgroundColour(int a, int b) { return qRgb(50 + 30 * a, 60 + 30 * b, 250); }

// The board-graphics picture drawn from the tests' table and glyphs.
QImage BoardGraphicsPicture() {
  QImage img = Flat(480, 192, qRgb(1, 1, 1));
  int i = 0;
  for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable()) {
    const QRgb c = rtest::PieceColour(i++, 100);
    for (int y = p.Top; y < p.Top + p.Height; ++y)
      for (int x = p.Left; x < p.Left + p.Width; ++x) img.setPixel(x, y, c);
  }
  for (int c = 32; c <= 127; ++c)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const int gx = 8 * ((c - 32) % 32) + x, gy = 8 * ((c - 32) / 32) + y;
        img.setPixel(gx, 144 + gy, rtest::Glyph(c, rtest::WallInk(c)).pixel(x, y));
        img.setPixel(gx, 168 + gy, rtest::Glyph(c, rtest::StatusInk(c)).pixel(x, y));
      }
  return img;
}

// Tiles of `columns` columns, each its colour with a 4 x 4 key square at its bottom-left.
QImage TileSetPicture(int columns, QRgb (*colour)(int), QRgb key = TileKey) {
  QImage img = Flat(columns * 48, 240, key);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < columns * 48; ++x)
      if (!(x % 48 < 4 && y % 48 >= 44)) img.setPixel(x, y, colour(y / 48 * 10 + x / 48 + 1));
  return img;
}

class GraphicsSetTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  rtest::TTestSkin Pieces;
  std::vector<std::string> Messages;

  void SetUp() override {
    ResetApp();
    App().AppFolder = Dir.path().toStdString();
    QDir(Dir.path()).mkdir("Graphics");
    SetMessageHook([this](const std::string& text, TMessageIcon icon) {
      EXPECT_EQ(icon, TMessageIcon::Error);
      Messages.push_back(text);
    });
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
  void Remove(const std::string& name) { QFile::remove(QString::fromStdString(G(name))); }
  void WriteDefaultSet() {
    Bmp("GB - Test.BMP", BoardGraphicsPicture());
    Bmp("TS - Test.BMP", TileSetPicture(10, TileColour));
  }
  static std::vector<QImage> Tiles() {
    std::vector<QImage> v(Skin().TilePicture + 1, Skin().TilePicture + 51);
    return v;
  }
  static std::vector<QImage> Snapshot() {
    std::vector<QImage> v = Tiles();
    for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable()) v.push_back(*p.Target);
    for (int c = 32; c <= 127; ++c) v.push_back(Skin().WallFont[c]);
    return v;
  }
};

TEST_F(GraphicsSetTest, EveryPieceIsCutFromItsRectangleAndTilesLieOnTheFloor) {
  for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable())  // created at their sizes
    EXPECT_EQ(p.Target->size(), QSize(p.Width, p.Height)) << p.Name;
  EXPECT_EQ(Skin().TilePicture[50].size(), QSize(48, 48));
  WriteDefaultSet();
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Messages.empty());
  int i = 0;
  for (const rtest::TPieceSpec& p : rtest::BoardGraphicsTable()) {
    EXPECT_EQ(p.Target->size(), QSize(p.Width, p.Height)) << p.Name;
    EXPECT_TRUE(AllPixels(*p.Target, rtest::PieceColour(i++, 100))) << p.Name;
  }
  for (int c = 32; c <= 127; ++c) {
    EXPECT_EQ(Skin().WallFont[c], rtest::Glyph(c, rtest::WallInk(c))) << c;
    EXPECT_EQ(Skin().StatusFont[c], rtest::Glyph(c, rtest::StatusInk(c))) << c;
  }
  for (int k = 1; k <= 50; ++k) {
    EXPECT_EQ(Skin().TilePicture[k].pixel(24, 24), TileColour(k)) << k;
    EXPECT_EQ(Skin().TilePicture[k].pixel(1, 46), Skin().Floor.pixel(0, 0)) << k;  // the key shows the floor
  }
}

TEST_F(GraphicsSetTest, JpegIsPreferredAndTheWorkingFileDoesNotRemain) {
  WriteDefaultSet();
  ASSERT_TRUE(WriteJpeg(G("GB - Test.JPG"), Flat(480, 192, qRgb(30, 60, 200))));
  WriteFile(G("Temp.BMP"), Bytes{'o', 'l', 'd'});  // an old working file is replaced
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().Floor.pixel(24, 24), qRgb(30, 60, 200), 8));
  EXPECT_FALSE(Exists("Temp.BMP"));
  // A grey JPEG tile set (an 8-bit working bitmap), black at its bottom-left: the key.
  QImage grey = Flat(480, 240, qRgb(90, 0, 0));
  for (int y = 224; y < 240; ++y)
    for (int x = 0; x < 16; ++x) grey.setPixel(x, y, qRgb(0, 0, 0));
  ASSERT_TRUE(WriteJpeg(G("TS - Test.JPG"), grey, true));
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().TilePicture[17].pixel(24, 24), qRgb(90, 90, 90), 6));
  EXPECT_FALSE(Exists("Temp.BMP"));
  EXPECT_TRUE(Messages.empty());
}

TEST_F(GraphicsSetTest, AHalfWideTileSetTakesTheOtherTilesFromTheDefaultSet) {
  Bmp("GB - Test.BMP", BoardGraphicsPicture());
  Bmp("TS - Test.BMP", TileSetPicture(5, TileColour));
  Bmp("TS - Default.BMP", TileSetPicture(10, DefaultTileColour, qRgb(7, 7, 7)));  // drawn opaque
  ASSERT_TRUE(WriteJpeg(G("TS - Default.JPG"), Flat(480, 240, qRgb(0, 0, 200))));              // the bitmap wins
  ASSERT_TRUE(LoadGraphicsSet());
  for (int k = 1; k <= 50; ++k) {
    const bool own = (k - 1) % 10 < 5;
    EXPECT_EQ(Skin().TilePicture[k].pixel(24, 24), own ? TileColour(k) : DefaultTileColour(k)) << k;
    EXPECT_EQ(Skin().TilePicture[k].pixel(1, 46), own ? Skin().Floor.pixel(0, 0) : qRgb(7, 7, 7)) << k;
  }
  Remove("TS - Default.BMP");  // only the JPEG: that is used
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().TilePicture[6].pixel(24, 24), qRgb(0, 0, 200), 8));
  Remove("TS - Default.JPG");  // none: the message, and the tiles stay
  const std::vector<QImage> before = Tiles();
  EXPECT_FALSE(LoadGraphicsSet());
  EXPECT_EQ(Messages, std::vector<std::string>{"Unable to open the image 'TS - Default'."});
  EXPECT_EQ(Tiles(), before);
}

TEST_F(GraphicsSetTest, MissingOrDamagedPicturesKeepThePreviousSkin) {
  WriteDefaultSet();
  ASSERT_TRUE(LoadGraphicsSet());
  const std::vector<QImage> before = Snapshot();
  Bytes cut = BmpOf(Flat(480, 192, qRgb(9, 9, 9)));
  cut.resize(2000);
  WriteFile(G("GB - Cut.BMP"), cut);
  WriteFile(G("GB - Bad.JPG"), Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 9, 9, 9});
  WriteFile(G("GB - Renamed.BMP"), Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 9, 9, 9});
  for (const char* name : {"GB - Missing", "GB - Cut", "GB - Bad", "GB - Renamed"}) {
    App().Config.BoardGraphics.Assign(name);
    EXPECT_FALSE(LoadGraphicsSet()) << name;
    EXPECT_EQ(Snapshot(), before) << name;
  }
  ASSERT_EQ(Messages.size(), 4u);
  EXPECT_EQ(Messages[0], "Unable to open the image 'GB - Missing'.");
  EXPECT_EQ(Messages[1], "Unable to open the image 'GB - Cut.BMP' : the pixel data is cut short.");
  EXPECT_EQ(Messages[2].rfind("Unable to open the image 'GB - Bad.JPG' : the JPEG data is damaged (", 0), 0u);
  EXPECT_EQ(Messages[3], "Unable to open the image 'GB - Renamed.BMP' : not a bitmap file.");
  EXPECT_FALSE(Exists("Temp.BMP"));

  // A missing tile set: the board pieces are new, the tiles stay.
  Bmp("GB - Other.BMP", Flat(480, 192, qRgb(9, 9, 9)));
  App().Config.BoardGraphics.Assign("GB - Other");
  App().Config.TileSet.Assign("TS - Gone");
  EXPECT_FALSE(LoadGraphicsSet());
  EXPECT_EQ(Messages.back(), "Unable to open the image 'TS - Gone'.");
  EXPECT_EQ(Skin().WallFace.pixel(3, 3), qRgb(9, 9, 9));
  EXPECT_EQ(Tiles(), std::vector<QImage>(before.begin(), before.begin() + 50));
}

TEST_F(GraphicsSetTest, SmallPicturesLeaveTheRestBlackOrFloor) {
  Bmp("GB - Test.BMP", Flat(100, 60, qRgb(40, 40, 40)));
  QImage tiles = Flat(50, 50, qRgb(200, 0, 0));
  tiles.setPixel(0, 49, TileKey);
  Bmp("TS - Test.BMP", tiles);
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_EQ(Skin().Floor.pixel(10, 10), qRgb(40, 40, 40));
  EXPECT_EQ(Skin().Floor.pixel(10, 20), qRgb(0, 0, 0));  // below the picture
  EXPECT_EQ(Skin().ButtonInfo[2].pixel(10, 10), qRgb(0, 0, 0));
  EXPECT_EQ(Skin().TilePicture[2].pixel(1, 1), qRgb(200, 0, 0));
  EXPECT_EQ(Skin().TilePicture[2].pixel(10, 10), Skin().Floor.pixel(10, 10));  // beyond the tile set
  QImage target;
  CutPiece(Flat(20, 10, qRgb(5, 6, 7)), -2, 4, 8, 8, target);
  EXPECT_EQ(target.size(), QSize(8, 8));
  EXPECT_TRUE(target.pixel(1, 0) == qRgb(0, 0, 0) && target.pixel(2, 0) == qRgb(5, 6, 7) && target.pixel(2, 6) == qRgb(0, 0, 0));
}

TEST_F(GraphicsSetTest, WallBackgroundByName) {
  QImage bk(240, 240, QImage::Format_RGB32);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 240; ++x) bk.setPixel(x, y, BackgroundColour(x / 48, y / 48));
  Bmp("BK - Test.BMP", bk);
  WriteDefaultSet();
  LoadBackgroundPicture();
  EXPECT_TRUE(App().BackgroundLoaded);
  ASSERT_TRUE(LoadGraphicsSet());
  for (int a = 0; a < 5; ++a)
    for (int b = 0; b < 5; ++b) EXPECT_TRUE(AllPixels(Skin().BackgroundPiece[a][b], BackgroundColour(a, b))) << a << b;
  ASSERT_TRUE(WriteJpeg(G("BK - Test.JPG"), Flat(240, 240, qRgb(200, 100, 50))));  // both: the JPEG is used
  LoadBackgroundPicture();
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_TRUE(Near(Skin().BackgroundPiece[3][1].pixel(20, 20), qRgb(200, 100, 50), 8));
  EXPECT_FALSE(Exists("Temp.BMP"));
  Remove("BK - Test.JPG");
  Bmp("BK - Test.BMP", bk.copy(0, 0, 96, 96));  // a small one is repeated
  LoadBackgroundPicture();
  ASSERT_TRUE(LoadGraphicsSet());
  EXPECT_EQ(Skin().BackgroundPiece[2][3], Skin().BackgroundPiece[0][1]);
  EXPECT_TRUE(AllPixels(Skin().BackgroundPiece[3][0], BackgroundColour(1, 0)));

  Bmp("BK - .BMP", bk);
  for (auto [name, loaded] : std::initializer_list<std::pair<const char*, bool>>{{"GB - Plain", false}, {"GB - ", true}, {"GB", true}}) {
    App().Config.BoardGraphics.Assign(name);  // five characters or fewer look for "BK - "
    LoadBackgroundPicture();
    EXPECT_EQ(App().BackgroundLoaded, loaded) << name;
  }
  WriteFile(G("BK - Bad.BMP"), Bytes{'B', 'M', 1, 2, 3});
  App().Config.BoardGraphics.Assign("GB - Bad");
  LoadBackgroundPicture();
  EXPECT_FALSE(App().BackgroundLoaded);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].rfind("Unable to open the image 'BK - Bad.BMP' : ", 0), 0u);
}

TEST_F(GraphicsSetTest, PickListsOfPictureNames) {
  const std::string longest = "GB - " + std::string(41, 'x') + ".BMP";  // 50 characters
  for (const std::string& name : {std::string("GB - A.BMP"), std::string("gb - b.jpg"), std::string("GB - A.JPG"),
                                  std::string("TS - X.BMP"), std::string("ts - y.jpg"), std::string("BK - Y.BMP"),
                                  std::string(".GB - Hidden.BMP"), std::string("Temp.BMP"), std::string("GB - C.PNG"),
                                  longest, "GB - " + std::string(42, 'x') + ".BMP"})
    WriteFile(G(name), Bytes{1});
  QDir(Dir.path()).mkdir("Graphics/GB - Folder.BMP");
  const QString longName = QString::fromStdString(longest.substr(0, 46));
  QStringList bmp = ListGraphics("*.BMP", "bk", "ts");
  bmp.sort(Qt::CaseInsensitive);
  EXPECT_EQ(bmp, (QStringList{"GB - A", longName, "Temp"}));
  EXPECT_EQ(ListGraphics("*.JPG", "bk", "gb"), QStringList{"ts - y"});

  QComboBox combo;
  combo.addItem("stale");
  ListGraphics(&combo, "*.JPG", "GB - b", true, "bk", "ts");
  ListGraphics(&combo, "*.BMP", "GB - b", false, "bk", "ts");
  QStringList shown;
  for (int i = 0; i < combo.count(); ++i) shown << combo.itemText(i);
  EXPECT_EQ(shown, (QStringList{"GB - A", "GB - A", "gb - b", longName, "Temp"}));
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
    Pieces.Fill();
    App().Config.PictureOn = 1;
  }
  static QRgb Block(int col, int row) { return qRgb(20 + 40 * col, 30 + 40 * row, 90); }
  // cols x rows blocks of 48 pixels, each a flat colour, as a bitmap file.
  void BlockFile(const std::string& name, int cols, int rows) {
    QImage img(cols * 48, rows * 48, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, Block(x / 48, y / 48));
    Bmp(name, img);
  }
  void Use(const std::string& name, int x, int y, int w, int h) {
    App().Config.PicturePath.Assign(G(name));
    App().Config.PictureX = x;
    App().Config.PictureY = y;
    App().Config.PictureW = static_cast<std::uint8_t>(w);
    App().Config.PictureH = static_cast<std::uint8_t>(h);
  }
  static const QImage& Tile(int a, int b) { return Skin().TilePicture[a + 5 + 10 * (b - 1)]; }
  // Block cell (a, b) shows colour c bevelled, or, with no colour, its own tile untouched.
  static bool Shows(int a, int b, std::optional<QRgb> c) {
    const QImage& t = Tile(a, b);
    if (!c) return AllPixels(t, rtest::PieceColour(a + 5 + 10 * (b - 1), 140));
    return t.pixel(0, 0) == ShiftColour(*c, 130) && t.pixel(20, 0) == ShiftColour(*c, 65) &&
           t.pixel(0, 20) == ShiftColour(*c, 65) && t.pixel(47, 20) == ShiftColour(*c, -65) &&
           t.pixel(20, 47) == ShiftColour(*c, -65) && t.pixel(47, 47) == ShiftColour(*c, -130) && t.pixel(20, 20) == *c;
  }
  // Applies the picture and checks every block cell against expected(a, b).
  void Check(const std::function<std::optional<QRgb>(int a, int b)>& expected) {
    ApplyCustomPicture();
    for (int a = 1; a <= 5; ++a)
      for (int b = 1; b <= 5; ++b) EXPECT_TRUE(Shows(a, b, expected(a, b))) << a << "," << b;
    for (int k = 1; k <= 50; k += (k % 10 == 5) ? 6 : 1)  // tiles 1-5, 11-15, ... never change
      EXPECT_TRUE(AllPixels(Skin().TilePicture[k], rtest::PieceColour(k, 140))) << k;
  }
  static std::optional<QRgb> None(int, int) { return std::nullopt; }
};

TEST_F(CustomPictureTest, TheRectangleOverTheBlock) {
  BlockFile("pic.bmp", 5, 5);
  Use("pic.bmp", 1, 1, 5, 5);  // the whole block, a fifth of the picture per tile, all bevelled
  Check([](int a, int b) { return std::optional<QRgb>(Block(a - 1, b - 1)); });
  Pieces.Fill();
  Use("pic.bmp", 3, 3, 5, 5);  // starts inside: only cells 3..5 x 3..5, with the top-left part
  Check([](int a, int b) { return a >= 3 && b >= 3 ? std::optional<QRgb>(Block(a - 3, b - 3)) : std::nullopt; });
  Pieces.Fill();
  BlockFile("half.bmp", 4, 5);
  Use("half.bmp", -1, 1, 4, 5);  // starts two cells left: columns 1 and 2 show its right half
  Check([](int a, int b) { return a <= 2 ? std::optional<QRgb>(Block(a + 1, b - 1)) : std::nullopt; });
  Pieces.Fill();
  Use("pic.bmp", -10, 1, 5, 5);  // wholly off the block
  Check(None);
  Use("pic.bmp", -2147483647, 2147483647, 255, 255);
  Check(None);
  Use("pic.bmp", 1, 1, 0, 0);
  Check(None);
  Use("pic.bmp", -116, -116, 255, 255);  // 51 times larger: the block lies inside picture block (2, 2)
  Check([](int, int) { return std::optional<QRgb>(Block(2, 2)); });
  EXPECT_TRUE(Messages.empty());
}

TEST_F(CustomPictureTest, NothingChangesWhenOffMissingOrDamaged) {
  BlockFile("pic.bmp", 5, 5);
  Use("pic.bmp", 1, 1, 5, 5);
  App().Config.PictureOn = 0;
  Check(None);
  App().Config.PictureOn = 1;
  Use("gone.bmp", 1, 1, 5, 5);
  Check(None);
  EXPECT_TRUE(Messages.empty());
  WriteFile(G("b\xC3\xA4" "d.bmp"), Bytes{'B', 'M', 0, 0});  // named in UTF-8 on the disk
  Use("b\xC3\xA4" "d.bmp", 1, 1, 5, 5);
  Check(None);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], "Unable to open the image 'b\xE4" "d.bmp' : the file is too short for a bitmap header.");
}

TEST_F(CustomPictureTest, JpegPathsAndTheSmoothStretch) {
  ASSERT_TRUE(WriteJpeg(G("photo.JPG"), Flat(64, 64, qRgb(180, 40, 120))));
  Use("photo.JPG", 2, 2, 1, 1);
  ApplyCustomPicture();
  EXPECT_TRUE(Near(Tile(2, 2).pixel(24, 24), qRgb(180, 40, 120), 8));
  EXPECT_FALSE(Exists("Temp.BMP"));
  // A path stored as Windows-1252 bytes names the file of that name on the disk.
  BlockFile("Caf\xC3\xA9.bmp", 5, 5);
  Use("Caf\xE9.bmp", 1, 1, 5, 5);
  ApplyCustomPicture();
  EXPECT_TRUE(Shows(1, 1, Block(0, 0)));
  // A one-pixel checkerboard shrunk to a tenth averages to grey.
  QImage checker(480, 480, QImage::Format_RGB32);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 480; ++x) checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  Bmp("checker.bmp", checker);
  Use("checker.bmp", 1, 1, 1, 1);
  ApplyCustomPicture();
  EXPECT_TRUE(Near(Tile(1, 1).pixel(24, 24), qRgb(128, 128, 128), 40));
}

TEST(BevelTest, EdgesRaisedAndLoweredInOrderWithClamping) {
  for (QImage tile : {Flat(48, 48, qRgb(30, 100, 240)), Flat(48, 48, qRgb(30, 100, 240)).convertToFormat(QImage::Format_RGB888)}) {
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
  }
  EXPECT_EQ(ShiftColour(qRgb(10, 128, 250), 10), qRgb(20, 138, 255));
  EXPECT_EQ(ShiftColour(qRgba(10, 128, 250, 0), -20), qRgb(0, 108, 230));
}

}  // namespace
}  // namespace pav
