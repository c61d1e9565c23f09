// Graphics sets: cutting the skin from a graphics set in a temporary installation,
// refusing pictures that are damaged or do not fit their format, the wall
// background, the pick lists and the custom picture.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>


#include "app/AppState.h"
#include "gui/BmpFiles.h"
#include "gui/JpegFiles.h"
#include "gui/RenderTestSkin.h"
#include "platform/qt/MessageBox.h"
#include "render/Graphics.h"
#include "render/Skin.h"

namespace pav {
namespace {
using namespace test;

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
  ASSERT_TRUE(WriteJpeg(G("GB - Half.JPG"), Flat(480, 192, qRgb(9, 9, 9))));
  Bytes half = ReadAll(G("GB - Half.JPG"));
  half.resize(half.size() / 2);
  WriteFile(G("GB - Half.JPG"), half);
  for (const char* name : {"GB - Missing", "GB - Cut", "GB - Bad", "GB - Renamed", "GB - Half"}) {
    App().Config.BoardGraphics.Assign(name);
    TGraphicsFault fault = TGraphicsFault::None;
    EXPECT_FALSE(LoadGraphicsSet(&fault)) << name;
    EXPECT_EQ(fault, TGraphicsFault::BoardGraphics) << name;
    EXPECT_EQ(Snapshot(), before) << name;
  }
  ASSERT_EQ(Messages.size(), 5u);
  EXPECT_EQ(Messages[0], "Unable to open the image 'GB - Missing'.");
  EXPECT_EQ(Messages[1], "Unable to open the image 'GB - Cut.BMP' : the pixel data is cut short.");
  EXPECT_EQ(Messages[2].rfind("Unable to open the image 'GB - Bad.JPG' : the JPEG data is damaged (", 0), 0u);
  EXPECT_EQ(Messages[3], "Unable to open the image 'GB - Renamed.BMP' : not a bitmap file.");
  EXPECT_EQ(Messages[4], "Unable to open the image 'GB - Half.JPG' : the JPEG data is damaged (Premature end of JPEG file).");
  EXPECT_FALSE(Exists("Temp.BMP"));

  // A new board graphics with a tile set that cannot be used: nothing is cut, the
  // new board pieces never go with the old tiles.
  Bmp("GB - Other.BMP", Flat(480, 192, qRgb(9, 9, 9)));
  App().Config.BoardGraphics.Assign("GB - Other");
  Bytes cutTiles = BmpOf(TileSetPicture(10, TileColour));
  cutTiles.resize(cutTiles.size() - 1);
  WriteFile(G("TS - Cut.BMP"), cutTiles);
  for (const char* name : {"TS - Gone", "TS - Cut"}) {
    App().Config.TileSet.Assign(name);
    TGraphicsFault fault = TGraphicsFault::None;
    EXPECT_FALSE(LoadGraphicsSet(&fault));
    EXPECT_EQ(fault, TGraphicsFault::TileSet);
    EXPECT_EQ(Snapshot(), before) << name;
  }
  EXPECT_EQ(Messages[5], "Unable to open the image 'TS - Gone'.");
  EXPECT_EQ(Messages[6], "Unable to open the image 'TS - Cut.BMP' : the pixel data is cut short.");
}

TEST_F(GraphicsSetTest, PicturesSmallerThanTheirFormatAreRefused) {
  struct TCase {
    QSize Board, Tiles;
    std::string Message;  // "" when the set is taken
  };
  const std::string board = ", a board-graphics picture needs at least 480 x 192.";
  const std::string tiles = ", a tile set needs at least 480 x 240, or 240 x 240 for half a set.";
  const std::vector<TCase> cases = {
      {{1, 1}, {480, 240}, "Unable to open the image 'GB - Test.BMP' : the picture is 1 x 1 pixels" + board},
      {{100, 50}, {480, 240}, "Unable to open the image 'GB - Test.BMP' : the picture is 100 x 50 pixels" + board},
      {{479, 192}, {480, 240}, "Unable to open the image 'GB - Test.BMP' : the picture is 479 x 192 pixels" + board},
      {{480, 191}, {480, 240}, "Unable to open the image 'GB - Test.BMP' : the picture is 480 x 191 pixels" + board},
      {{480, 192}, {1, 1}, "Unable to open the image 'TS - Test.BMP' : the picture is 1 x 1 pixels" + tiles},
      {{480, 192}, {300, 240}, "Unable to open the image 'TS - Test.BMP' : the picture is 300 x 240 pixels" + tiles},
      {{480, 192}, {239, 240}, "Unable to open the image 'TS - Test.BMP' : the picture is 239 x 240 pixels" + tiles},
      {{480, 192}, {240, 239}, "Unable to open the image 'TS - Test.BMP' : the picture is 240 x 239 pixels" + tiles},
      {{480, 192}, {480, 239}, "Unable to open the image 'TS - Test.BMP' : the picture is 480 x 239 pixels" + tiles},
      {{480, 192}, {480, 240}, ""},
      {{481, 200}, {240, 241}, ""},
      {{960, 384}, {482, 480}, ""},
  };
  Bmp("TS - Default.BMP", TileSetPicture(10, DefaultTileColour));
  for (const TCase& c : cases) {
    Pieces.Fill();
    const std::vector<QImage> before = Snapshot();
    Bmp("GB - Test.BMP", Flat(c.Board.width(), c.Board.height(), qRgb(40, 40, 40)));
    Bmp("TS - Test.BMP", Flat(c.Tiles.width(), c.Tiles.height(), qRgb(200, 0, 0)));
    Messages.clear();
    EXPECT_EQ(LoadGraphicsSet(), c.Message.empty()) << c.Message;
    EXPECT_EQ(Messages, c.Message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Message});
    if (c.Message.empty())
      EXPECT_EQ(Skin().WallFace.pixel(5, 5), qRgb(40, 40, 40));
    else
      EXPECT_EQ(Snapshot(), before) << c.Message;
  }
  // The default set completing a half set must hold the other half.
  Bmp("TS - Test.BMP", TileSetPicture(5, TileColour));
  Bmp("TS - Default.BMP", Flat(240, 240, qRgb(1, 2, 3)));
  Messages.clear();
  EXPECT_FALSE(LoadTileSet());
  EXPECT_EQ(Messages, std::vector<std::string>{"Unable to open the image 'TS - Default.BMP' : the picture is 240 x 240 "
                                               "pixels, the default tile set needs at least 480 x 240 to complete half a "
                                               "set."});
}

TEST_F(GraphicsSetTest, ARecommendedTileSetThatIsRefusedLeavesTheSetInUse) {
  WriteDefaultSet();
  Bmp("TS - Small.BMP", Flat(100, 100, qRgb(1, 2, 3)));
  ASSERT_TRUE(LoadGraphicsSet());
  const std::vector<QImage> before = Snapshot();
  TConfig& c = App().Config;
  c.AutoTileSet = 1;
  c.PictureOn = 1;
  auto board = std::make_unique<TBoard>();
  board->RecommendedTileSet.Assign("TS - Small");
  EXPECT_FALSE(ChooseBoardTileSet(*board));
  EXPECT_EQ(c.TileSet.Str(), "TS - Test");
  EXPECT_EQ(c.PictureOn, 1);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Messages, std::vector<std::string>{"Unable to open the image 'TS - Small.BMP' : the picture is 100 x 100 "
                                               "pixels, a tile set needs at least 480 x 240, or 240 x 240 for half a "
                                               "set."});
}

TEST(CutPieceTest, PartsOutsideTheSourceAreBlack) {
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
  Bytes cut = BmpOf(bk);
  cut.resize(cut.size() - 100);
  WriteFile(G("BK - Cut.BMP"), cut);
  for (const char* name : {"GB - Bad", "GB - Cut"}) {
    App().Config.BoardGraphics.Assign(name);
    LoadBackgroundPicture();
    EXPECT_FALSE(App().BackgroundLoaded) << name;
  }
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[0].rfind("Unable to open the image 'BK - Bad.BMP' : ", 0), 0u);
  EXPECT_EQ(Messages[1], "Unable to open the image 'BK - Cut.BMP' : the pixel data is cut short.");
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
  ASSERT_TRUE(WriteJpeg(G("cut.jpg"), Flat(240, 240, qRgb(180, 40, 120))));  // no smallest size, but whole
  Bytes cut = ReadAll(G("cut.jpg"));
  cut.resize(cut.size() * 2 / 3);
  WriteFile(G("cut.jpg"), cut);
  Use("cut.jpg", 1, 1, 5, 5);
  Check(None);
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[0], "Unable to open the image 'b\xE4" "d.bmp' : the file is too short for a bitmap header.");
  EXPECT_EQ(Messages[1], "Unable to open the image 'cut.jpg' : the JPEG data is damaged (Premature end of JPEG file).");
  EXPECT_FALSE(Exists("Temp.BMP"));
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
