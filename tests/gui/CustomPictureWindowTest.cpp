// The custom-picture window: the rectangle set with its spin controls over the
// 5 x 5 block and shown on the board at once, the previews, the box, the closing
// rules (OK keeps, Cancel puts back the stored picture's tiles), pictures chosen
// with the file dialog that the game cannot read, and large pictures shrunk on loading.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>


#include "app/AppState.h"
#include "gui/JpegFiles.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "platform/Jpeg.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skin.h"
#include "render/UnitLoadPic.h"
#include "render/UnitOP.h"
#include "render/UnitSkin.h"

namespace pav::test {
namespace {

constexpr QRgb Floor = qRgb(120, 110, 100);
constexpr QRgb TileKey = qRgb(255, 0, 255);

QRgb TileColour(int k) { return qRgb(200, 4 * k, 10); }
QRgb Block(int col, int row) { return qRgb(20 + 40 * col, 30 + 40 * row, 90); }

QImage Flat(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

QImage TileSet() {
  QImage img(480, 240, QImage::Format_RGB32);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 480; ++x)
      img.setPixel(x, y, (x % 48 < 4 && y % 48 >= 44) ? TileKey : TileColour(y / 48 * 10 + x / 48 + 1));
  return img;
}

// cols x rows blocks of 48 pixels, each a flat colour.
QImage Blocks(int cols, int rows) {
  QImage img(cols * 48, rows * 48, QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, Block(x / 48, y / 48));
  return img;
}


bool Near(QRgb a, QRgb b, int t) {
  return std::abs(qRed(a) - qRed(b)) <= t && std::abs(qGreen(a) - qGreen(b)) <= t && std::abs(qBlue(a) - qBlue(b)) <= t;
}

void SendKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

void Press(QWidget* w) {
  const QPoint c = w->rect().center();
  SendPress(w, c.x(), c.y());
  SendRelease(w, c.x(), c.y());
}

// The spin control stepped with its arrow keys towards `value`, as far as it goes.
void StepTo(QSpinBox* spin, int value) {
  for (int last = value; spin->value() != value && spin->value() != last;) {
    last = spin->value();
    SendKey(spin, spin->value() < value ? Qt::Key_Up : Qt::Key_Down);
  }
}

using TTiles = std::vector<QImage>;
TTiles Tiles() { return TTiles(Skin().TilePicture + 1, Skin().TilePicture + 51); }

class CustomPictureWindowTest : public ::testing::Test {
 public:
  TempInstallation Inst;
  MessageCatcher Catcher;
  std::unique_ptr<QWidget> Main;
  TFormOP* Op = nullptr;
  TFormLoadPic* Form = nullptr;
  std::vector<TEffect> Effects;
  QString Chosen;               // what the file dialog answers
  std::vector<QString> Folders;  // where it was asked to start

  void SetUp() override {
    Save("Graphics/GB - Default.BMP", Flat(480, 192, Floor));
    Save("Graphics/TS - Default.BMP", TileSet());
    Save("pic.bmp", Blocks(5, 5));
    Save("half.bmp", Blocks(4, 5));
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    TApp& app = App();
    app.AppFolder = Inst.Folder();
    app.Config = MakeConfig("Alpha");
    app.Config.SoundsOn = 1;
    app.Config.ClickSound.Assign("Click");
    const auto board = MakeBoard(6, 5, "Alpha");
    board->Pattern.Tiles[3][3] = 6;   // block cell (1, 1)
    board->Pattern.Tiles[4][3] = 50;  // block cell (5, 5)
    app.Game().Board = *board;
    app.Game().Current = board->Pattern;
    SetWavePlayer([this](TEffect e, const std::string&) { Effects.push_back(e); });
    SetPictureChooser([this](QWidget*, const QString& folder) {
      Folders.push_back(folder);
      return Chosen;
    });

    CreateSkinBitmaps();
    ASSERT_TRUE(LoadGraphicsSet());
    Plain = Tiles();
    Main = std::make_unique<QWidget>();
    Main->setGeometry(400, 200, 7 * 48, 6 * 48);
    SetMainWindow(Main.get());
    DrawBoard(true);
    Op = new TFormOP(Main.get());
    Form = new TFormLoadPic(Main.get());
  }
  void TearDown() override {
    SetPictureChooser(nullptr);
    SetWavePlayer(nullptr);
    SetMainWindow(nullptr);
    Main.reset();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  }
  void Save(const std::string& relative, const QImage& img) {
    ASSERT_TRUE(img.save(QString::fromStdString(Inst.File(relative)), "BMP")) << relative;
  }
  void Configure(const std::string& file, bool on, int x, int y, int w, int h) {
    TConfig& c = App().Config;
    c.PicturePath.Assign(file.empty() ? std::string() : Inst.File(file));
    c.PictureOn = c.UserPictureOn = on ? 1 : 0;
    c.PictureX = x;
    c.PictureY = y;
    c.PictureW = static_cast<std::uint8_t>(w);
    c.PictureH = static_cast<std::uint8_t>(h);
  }
  void Rectangle(int x, int y, int w, int h) {
    StepTo(Form->UpDownX, x);
    StepTo(Form->UpDownY, y);
    StepTo(Form->UpDownW, w);
    StepTo(Form->UpDownH, h);
  }
  // Block cell (a, b) shows colour c bevelled, or, with none, the tile set's own tile.
  bool Shows(int a, int b, std::optional<QRgb> c) const {
    const int k = a + 5 + 10 * (b - 1);
    const QImage& t = Skin().TilePicture[k];
    if (!c) return t == Plain[static_cast<std::size_t>(k - 1)];
    return t.pixel(0, 0) == ShiftColour(*c, 130) && t.pixel(20, 0) == ShiftColour(*c, 65) &&
           t.pixel(47, 20) == ShiftColour(*c, -65) && t.pixel(47, 47) == ShiftColour(*c, -130) && t.pixel(20, 20) == *c;
  }
  // The left half of the tile set never changes.
  bool LeftHalfUntouched() const {
    for (int k = 1; k <= 50; ++k)
      if ((k - 1) % 10 < 5 && Skin().TilePicture[k] != Plain[static_cast<std::size_t>(k - 1)]) return false;
    return true;
  }
  static QRgb Cell(int x, int y) { return MainPicture().pixel((x - 1) * 48 + 24, (y - 1) * 48 + 24); }

  TTiles Plain;  // the tile set's own tiles
};

TEST_F(CustomPictureWindowTest, TheRectangleSetWithTheSpinControlsCoversItsBlockCellsAtOnce) {
  struct TCase {
    const char* File;
    int X, Y, W, H;
    std::function<std::optional<QRgb>(int a, int b)> Expected;
  };
  const TCase cases[] = {
      // The whole block: a fifth of the picture per tile each way, all 25 bevelled.
      {"pic.bmp", 1, 1, 5, 5, [](int a, int b) { return std::optional<QRgb>(Block(a - 1, b - 1)); }},
      // From cell (3, 3): only 3..5 x 3..5, with the picture's top-left part.
      {"pic.bmp", 3, 3, 5, 5,
       [](int a, int b) { return a >= 3 && b >= 3 ? std::optional<QRgb>(Block(a - 3, b - 3)) : std::nullopt; }},
      // Two cells left of the block: its columns 1 and 2 show the picture's right half.
      {"half.bmp", -1, 1, 4, 5,
       [](int a, int b) { return a <= 2 ? std::optional<QRgb>(Block(a + 1, b - 1)) : std::nullopt; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y) + " " + std::to_string(c.W) + "x" +
                 std::to_string(c.H));
    Configure(c.File, true, 2, 2, 1, 1);
    Form->show();
    Rectangle(c.X, c.Y, c.W, c.H);
    for (int a = 1; a <= 5; ++a)
      for (int b = 1; b <= 5; ++b) EXPECT_TRUE(Shows(a, b, c.Expected(a, b))) << a << "," << b;
    EXPECT_TRUE(LeftHalfUntouched());
    // The board on the main window shows the new tiles 6 and 50.
    EXPECT_EQ(Cell(3, 3), Skin().TilePicture[6].pixel(24, 24));
    EXPECT_EQ(Cell(4, 3), Skin().TilePicture[50].pixel(24, 24));
    // The values beside their controls and the picture preview over the 50 x 50 block.
    EXPECT_EQ(Form->LabelXValue->text(), QString::number(c.X));
    EXPECT_EQ(Form->LabelHValue->text(), QString::number(c.H));
    EXPECT_EQ(Form->ImageBlock->size(), QSize(50, 50));
    EXPECT_EQ(Form->ImagePicture->geometry(), QRect((c.X - 1) * 10 + 1, (c.Y - 1) * 10 + 1, c.W * 10, c.H * 10));
    EXPECT_TRUE(Form->Changed());
    SendKey(Form, Qt::Key_Escape);
    EXPECT_FALSE(Form->isVisible());
  }
  EXPECT_TRUE(Catcher.Empty());
}

TEST_F(CustomPictureWindowTest, TheSpinControlsKeepToTheirLimits) {
  Configure("pic.bmp", true, 1, 1, 5, 5);
  Form->show();
  Rectangle(-30, 9, 0, 40);
  EXPECT_EQ(Form->UpDownX->value(), -18);
  EXPECT_EQ(Form->UpDownY->value(), 5);
  EXPECT_EQ(Form->UpDownW->value(), 1);
  EXPECT_EQ(Form->UpDownH->value(), 20);
  // The far corner: cell (5, 5) alone holds the picture's top-left part.
  Rectangle(5, 5, 5, 5);
  for (int a = 1; a <= 5; ++a)
    for (int b = 1; b <= 5; ++b)
      EXPECT_TRUE(Shows(a, b, a == 5 && b == 5 ? std::optional<QRgb>(Block(0, 0)) : std::nullopt)) << a << "," << b;
  SendKey(Form, Qt::Key_Escape);
}

TEST_F(CustomPictureWindowTest, CancelAndEscPutBackTheTilesOfTheStoredConfiguration) {
  struct TCase {
    const char* Name;
    bool StoredOn;
    std::function<void(CustomPictureWindowTest&)> Change;
    bool ByButton;
  };
  const TCase cases[] = {
      {"rectangle moved", true, [](CustomPictureWindowTest& t) { t.Rectangle(3, 2, 2, 4); }, false},
      {"box checked", false, [](CustomPictureWindowTest& t) { Press(t.Form->CheckBoxEnabled); }, true},
      {"box unchecked", true, [](CustomPictureWindowTest& t) { Press(t.Form->CheckBoxEnabled); }, false},
      {"another picture", true,
       [](CustomPictureWindowTest& t) {
         t.Chosen = QString::fromStdString(t.Inst.File("half.bmp"));
         Press(t.Form->ButtonBrowse);
       },
       true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Configure("pic.bmp", c.StoredOn, 1, 1, 5, 5);
    const TConfig stored = App().Config;
    Form->show();
    const TTiles shown = Tiles();  // the stored configuration's tiles
    EXPECT_EQ(shown == Plain, !c.StoredOn);
    c.Change(*this);
    ASSERT_NE(Tiles(), shown);
    if (c.ByButton)
      Press(Form->ButtonCancel);
    else
      SendKey(Form, Qt::Key_Escape);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Tiles(), shown);
    EXPECT_EQ(std::memcmp(&App().Config, &stored, sizeof(TConfig)), 0);
    EXPECT_EQ(Cell(3, 3), Skin().TilePicture[6].pixel(24, 24));
  }
  EXPECT_TRUE(Catcher.Empty());
}

TEST_F(CustomPictureWindowTest, OkAndEnterKeepTheChoiceOnlyWhenSomethingChanged) {
  struct TCase {
    const char* Name;
    bool StoredOn;
    std::function<void(CustomPictureWindowTest&)> Change;
    bool ByButton;
    bool On;
    int X, W;
    bool Plain;  // the tile set's own tiles at the end
  };
  const TCase cases[] = {
      {"rectangle", true, [](CustomPictureWindowTest& t) { t.Rectangle(2, 1, 3, 5); }, true, true, 2, 3, false},
      {"box off", true, [](CustomPictureWindowTest& t) { Press(t.Form->CheckBoxEnabled); }, false, false, 1, 5, true},
      {"box on", false, [](CustomPictureWindowTest& t) { Press(t.Form->CheckBoxEnabled); }, true, true, 1, 5, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Configure("pic.bmp", c.StoredOn, 1, 1, 5, 5);
    App().Config.UserPictureOn = 0;
    Form->show();
    c.Change(*this);
    if (c.ByButton)
      Press(Form->ButtonOK);
    else
      SendKey(Form->UpDownW, Qt::Key_Return);  // the control leaves Enter to the window
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(Form->Confirmed());
    const TConfig& cfg = App().Config;
    EXPECT_EQ(cfg.PictureOn, c.On ? 1 : 0);
    EXPECT_EQ(cfg.UserPictureOn, c.On ? 1 : 0);
    EXPECT_EQ(cfg.PictureX, c.X);
    EXPECT_EQ(cfg.PictureW, c.W);
    EXPECT_EQ(cfg.PicturePath.Str(), Inst.File("pic.bmp"));
    EXPECT_EQ(Tiles() == Plain, c.Plain);
  }

  // Unchanged: OK stores nothing, not even the spin controls' idea of a width of 0.
  Configure("", false, 0, 0, 0, 0);
  const TConfig before = App().Config;
  Form->show();
  EXPECT_FALSE(Form->Changed());
  Press(Form->ButtonOK);
  EXPECT_EQ(std::memcmp(&App().Config, &before, sizeof(TConfig)), 0);
  // A click for each press of OK; the box and the keys are silent.
  EXPECT_EQ(Effects, std::vector<TEffect>(3, TEffect::Click));
}

TEST_F(CustomPictureWindowTest, BrowseTakesOnlyAPictureTheGameCanRead) {
  ASSERT_TRUE(WriteJpeg(Inst.File("photo.jpg"), Flat(96, 96, qRgb(30, 160, 60))));
  Inst.WriteBytes("bad.bmp", "BM not really");
  Inst.WriteBytes("notes.jpg", "plain text");
  const std::string deep = "Pictures/" + std::string(100, 'p');
  QDir(QString::fromStdString(Inst.Folder())).mkpath(QString::fromStdString(deep));
  Save(deep + "/long.bmp", Blocks(5, 5));
  struct TCase {
    std::string File;     // "" = the dialog is cancelled
    const char* Message;  // the start of the message, or none
  };
  const TCase cases[] = {
      {"bad.bmp", "Unable to open the image 'bad.bmp' : "},
      {"notes.jpg", "Unable to open the image 'notes.jpg' : "},
      {deep + "/long.bmp", "The path of the picture 'long.bmp' is longer than 100 characters."},
      {"", nullptr},
  };
  Configure("pic.bmp", true, 1, 1, 5, 5);
  Form->show();
  const TTiles shown = Tiles();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    Catcher.Messages.clear();
    Chosen = c.File.empty() ? QString() : QString::fromStdString(Inst.File(c.File));
    Press(Form->ButtonBrowse);
    if (c.Message) {
      ASSERT_EQ(Catcher.Messages.size(), 1u);
      EXPECT_EQ(Catcher.Text().rfind(c.Message, 0), 0u) << Catcher.Text();
    } else {
      EXPECT_TRUE(Catcher.Empty());
    }
    // Nothing of the refused file is taken: the tiles, the name and the path stay.
    EXPECT_EQ(Tiles(), shown);
    EXPECT_EQ(Form->LabelFileName->text(), "pic.bmp");
    EXPECT_EQ(Form->PicturePath().toStdString(), Inst.File("pic.bmp"));
  }
  // The dialog opens in the folder of the picture shown.
  EXPECT_EQ(Folders.front().toStdString(), Inst.Folder());

  Chosen = QString::fromStdString(Inst.File("photo.jpg"));
  Effects.clear();
  Press(Form->ButtonBrowse);
  EXPECT_EQ(Effects, std::vector<TEffect>{TEffect::Click});
  EXPECT_EQ(Form->LabelFileName->text(), "photo.jpg");
  for (int a = 1; a <= 5; ++a)
    for (int b = 1; b <= 5; ++b) EXPECT_TRUE(Near(Skin().TilePicture[a + 5 + 10 * (b - 1)].pixel(24, 24), qRgb(30, 160, 60), 6));
  EXPECT_FALSE(Form->ImagePicture->pixmap().isNull());
  Press(Form->ButtonOK);
  EXPECT_EQ(App().Config.PicturePath.Str(), Inst.File("photo.jpg"));
  EXPECT_FALSE(Inst.Exists("Graphics/Temp.BMP"));
}

TEST_F(CustomPictureWindowTest, AStoredPictureThatIsGoneShowsNoNameAndLeavesTheTileSet) {
  Configure("gone.bmp", true, 1, 1, 5, 5);
  Form->show();
  EXPECT_EQ(Form->LabelFileName->text(), "");
  EXPECT_TRUE(Form->PicturePath().isEmpty());
  EXPECT_EQ(Tiles(), Plain);
  EXPECT_TRUE(Catcher.Empty());
  // Unreadable instead of gone: said once, and the tile set's tiles stay.
  Inst.WriteBytes("gone.bmp", "BM?");
  Form->hide();
  Form->show();
  ASSERT_EQ(Catcher.Messages.size(), 1u);
  EXPECT_EQ(Catcher.Text().rfind("Unable to open the image 'gone.bmp' : ", 0), 0u);
  EXPECT_EQ(Tiles(), Plain);
  EXPECT_EQ(Form->LabelFileName->text(), "gone.bmp");
  SendKey(Form, Qt::Key_Escape);
  EXPECT_EQ(Tiles(), Plain);
}

TEST_F(CustomPictureWindowTest, TheControlsAndPreviewsFollowTheBox) {
  Configure("pic.bmp", false, 1, 1, 5, 5);
  Form->show();
  const std::vector<QWidget*> controlled = {Form->UpDownX, Form->UpDownY, Form->UpDownW, Form->UpDownH,
                                            Form->LabelX,  Form->LabelWValue, Form->ButtonBrowse};
  for (bool on : {false, true, false}) {
    for (QWidget* w : controlled) EXPECT_EQ(w->isEnabled(), on) << w->objectName().toStdString();
    EXPECT_EQ(Form->ImageBlock->isVisible(), on);
    EXPECT_EQ(Form->ImagePicture->isVisible(), on);
    EXPECT_TRUE(Form->ButtonOK->isEnabled());
    EXPECT_TRUE(Form->CheckBoxEnabled->isEnabled());
    Press(Form->CheckBoxEnabled);
  }
  SendKey(Form, Qt::Key_Escape);
}

TEST_F(CustomPictureWindowTest, PlacedBelowTheGraphicsWindowWhenThatIsOnScreen) {
  App().SidePanelShown = true;
  auto* skin = new TFormSkin(Main.get());
  for (bool below : {false, true}) {
    if (below) {
      skin->show();
      skin->move(500, 100);
    }
    Form->show();
    if (below)
      EXPECT_EQ(Form->pos(), QPoint(500 + skin->width() - Form->width(), 100 + skin->height()));
    else  // the usual place: right edge 72 left of the main window's, 24 below its top
      EXPECT_EQ(Form->pos(), QPoint(Main->x() + Main->width() - Form->width() - 72, Main->y() + 24));
    EXPECT_EQ(Form->size(), QSize(Form->Cols() * 48, Form->Rows() * 48));
    SendKey(Form, Qt::Key_Escape);
  }
  skin->hide();
}

// ---- large pictures ----

TEST_F(CustomPictureWindowTest, ALargePictureIsShrunkOnceOnLoading) {
  struct TCase {
    const char* File;
    int Width, Height;
    QSize Loaded;
  };
  const TCase cases[] = {
      {"wide.bmp", 3000, 400, QSize(960, 400)},
      {"tall.jpg", 600, 2500, QSize(600, 960)},
      {"big.jpg", 4000, 2000, QSize(960, 960)},
      {"small.bmp", 300, 200, QSize(300, 200)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    // Left half red, right half blue: the halves must stay where they were.
    QImage img = Flat(c.Width, c.Height, qRgb(220, 20, 20));
    for (int y = 0; y < c.Height; ++y)
      for (int x = c.Width / 2; x < c.Width; ++x) img.setPixel(x, y, qRgb(20, 20, 220));
    const std::string path = Inst.File(c.File);
    if (std::string(c.File).ends_with(".jpg"))
      ASSERT_TRUE(WriteJpeg(path, img));
    else
      Save(c.File, img);
    std::string why;
    const QImage loaded = LoadCustomPicture(path, &why);
    ASSERT_FALSE(loaded.isNull()) << why;
    EXPECT_EQ(loaded.size(), c.Loaded);
    EXPECT_TRUE(Near(loaded.pixel(loaded.width() / 4, loaded.height() / 2), qRgb(220, 20, 20), 12));
    EXPECT_TRUE(Near(loaded.pixel(loaded.width() * 3 / 4, loaded.height() / 2), qRgb(20, 20, 220), 12));
  }
}

TEST(JpegScaledDecodeTest, TheSmallestScaleThatKeepsTheNeededSides) {
  struct TCase {
    int Width, Height, Needed;
    int OutWidth, OutHeight;
  };
  const TCase cases[] = {
      {1000, 800, 100, 125, 100},  // an eighth still gives 100 rows
      {1000, 800, 101, 250, 200},  // a quarter
      {1000, 800, 960, 1000, 800}, // no side may fall below 960: whole
      {1000, 800, 0, 1000, 800},   // no need given: whole
      {64, 3000, 960, 64, 3000},   // the narrow side is needed whole
      {4001, 2001, 960, 2001, 1001},  // a half, its sides rounded up
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height) + " " + std::to_string(c.Needed));
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/p.jpg";
    ASSERT_TRUE(WriteJpeg(path, Flat(c.Width, c.Height, qRgb(90, 140, 30))));
    TJpegPicture picture;
    std::string why;
    ASSERT_TRUE(DecodeJpeg(path, picture, &why, c.Needed)) << why;
    EXPECT_EQ(picture.Width, c.OutWidth);
    EXPECT_EQ(picture.Height, c.OutHeight);
    EXPECT_TRUE(Near(qRgb(picture.Pixels[0], picture.Pixels[1], picture.Pixels[2]), qRgb(90, 140, 30), 8));
  }
}

}  // namespace
}  // namespace pav::test
