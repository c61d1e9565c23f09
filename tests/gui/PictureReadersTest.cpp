// The picture readers: the bitmap reader on every form, on damaged files and on
// pictures larger than the game reads; JPEG conversion to the working bitmap and
// JPEG files that are damaged, cut short or too large.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "gui/BmpFiles.h"
#include "gui/JpegFiles.h"
#include "platform/Jpeg.h"
#include "platform/qt/Bmp.h"

namespace pav {
namespace {
using namespace test;

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
  for (const Bytes& data : {Bytes{0, 250, 1, 2},          // an absolute run longer than the data
                            Bytes{5, 1, 0, 0, 5, 2, 0, 0},  // two rows of three, no end of picture
                            Bytes{5, 1, 0, 2, 1}}) {        // a delta cut in half
    rle.Compressed = data;
    EXPECT_TRUE(ReadBmp(Qb(EncodeBmp(rle)), &error).isNull());
    EXPECT_EQ(error, "the compressed pixel data is cut short");
  }

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

TEST(BmpReaderTest, LargePicturesAreRefusedFromTheHeaderOrTheFileSize) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/large.bmp";
  auto sized = [](int w, int h, int header) {
    TBmpSpec s = PaletteSpec(1, 2, header);
    s.W = w;
    s.H = h;
    return s;
  };
  // Headers declaring more than the game reads, with no pixels after them.
  struct TCase {
    int W, H, Header;
    std::string Error;
  };
  const std::string limit = "; the game reads at most 16384 pixels a side and 16 million pixels in all";
  for (const TCase& c : std::vector<TCase>{{60000, 60000, 40, "the picture is 60000 x 60000 pixels" + limit},
                                           {16385, 1, 124, "the picture is 16385 x 1 pixels" + limit},
                                           {4097, 4096, 40, "the picture is 4097 x 4096 pixels" + limit},
                                           {30000, 2, 12, "the picture is 30000 x 2 pixels" + limit}}) {
    Bytes b = EncodeBmp(sized(1, 1, c.Header));
    const bool core = c.Header == 12;
    for (int i = 0; i < (core ? 2 : 4); ++i) {
      b[18 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.W >> (8 * i));
      b[(core ? 20 : 22) + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.H >> (8 * i));
    }
    b.resize(14 + static_cast<std::size_t>(c.Header));
    WriteFile(path, b);
    std::string error;
    EXPECT_TRUE(LoadBmp(path, &error).isNull());
    EXPECT_EQ(error, c.Error);
    EXPECT_TRUE(ReadBmp(Qb(b), &error).isNull());
    EXPECT_EQ(error, c.Error);
  }
  // The largest picture allowed is read.
  std::string error;
  EXPECT_EQ(ReadBmp(Qb(EncodeBmp(sized(4096, 4096, 40))), &error).size(), QSize(4096, 4096)) << error;
  // A 300 MB file holding a small picture: refused from its size, without reading it.
  WriteFile(path, EncodeBmp(sized(4, 4, 40)));
  ASSERT_TRUE(QFile::resize(QString::fromStdString(path), 300LL * 1024 * 1024));
  EXPECT_TRUE(LoadBmp(path, &error).isNull());
  EXPECT_EQ(error, "the file is 300 MB; the game reads at most 64 MB for a bitmap");
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
  WriteFile(d + "huge.jpg", Bytes{0xFF, 0xD8, 0xFF});  // 300 MB: refused from its size
  ASSERT_TRUE(QFile::resize(QString::fromStdString(d + "huge.jpg"), 300LL * 1024 * 1024));
  EXPECT_FALSE(DecodeJpeg(d + "huge.jpg", pic, &error));
  EXPECT_EQ(error, "the file is 300 MB; the game reads at most 64 MB for a JPEG");
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
  // Cut inside the pixels or with a damaged segment: libjpeg only warns and fills
  // in grey, but the picture is refused, never kept as a fragment.
  EXPECT_FALSE(DecodeJpegData(file.data(), file.size() / 2, pic, &error));
  EXPECT_EQ(error, "the JPEG data is damaged (Premature end of JPEG file)");
  EXPECT_TRUE(pic.Pixels.empty());
  Bytes marker = file;
  marker[file.size() / 2] = 0xFF;  // a marker in the middle of the entropy-coded data
  marker[file.size() / 2 + 1] = 0xD0;
  EXPECT_FALSE(DecodeJpegData(marker.data(), marker.size(), pic, &error));
  EXPECT_EQ(error.rfind("the JPEG data is damaged (Corrupt JPEG data: ", 0), 0u) << error;
  // Stray bytes between two segments, as some cameras write them, leave the picture whole.
  Bytes stray = file;
  const std::size_t app0End = 4 + (std::size_t{stray[4]} << 8 | stray[5]);
  ASSERT_EQ(stray[app0End], 0xFF);
  stray.insert(stray.begin() + static_cast<std::ptrdiff_t>(app0End), {0x00, 0x12, 0x34});
  ASSERT_TRUE(DecodeJpegData(stray.data(), stray.size(), pic, &error)) << error;
  EXPECT_TRUE(pic.Width == 48 && pic.Height == 48 && pic.Components == 3);
  // A header declaring more than the game reads, unless decoded at a smaller scale.
  Bytes large = file;
  const std::size_t sof = [&large] {
    for (std::size_t i = 2; i + 8 < large.size(); ++i)
      if (large[i] == 0xFF && large[i + 1] == 0xC0) return i;
    return std::size_t{0};
  }();
  ASSERT_NE(sof, 0u);
  for (std::size_t at : {sof + 5, sof + 7}) {  // height, width: 20000
    large[at] = 20000 >> 8;
    large[at + 1] = 20000 & 255;
  }
  EXPECT_FALSE(DecodeJpegData(large.data(), large.size(), pic, &error));
  EXPECT_EQ(error, "the picture is 20000 x 20000 pixels; the game reads at most 16384 pixels a side and 16 million "
                   "pixels in all");
  EXPECT_FALSE(DecodeJpegData(large.data(), large.size(), pic, &error, 960));
  // Past the size: the data of a 48 x 48 picture ends long before the 2500 x 2500 rows.
  EXPECT_EQ(error, "the JPEG data is damaged (Corrupt JPEG data: premature end of data segment)");
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

}  // namespace
}  // namespace pav
