// The graphics window: its pick lists, a board graphics or tile set chosen with the
// keyboard reaching the board, the objective window and the dialogs on screen, a
// picture that cannot be read, and its buttons and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QKeyEvent>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skin.h"
#include "render/UnitLoadPic.h"
#include "render/UnitOP.h"
#include "render/UnitSkin.h"
#include "render/WindowTargets.h"
#include "ui/UnitStop.h"

namespace pav::test {
namespace {

constexpr QRgb DefaultFloor = qRgb(120, 110, 100);
constexpr QRgb SlateFloor = qRgb(40, 60, 90);
constexpr QRgb TileKey = qRgb(255, 0, 255);

QRgb DefaultTile(int k) { return qRgb(200, 4 * k, 10); }
QRgb BlueTile(int k) { return qRgb(10, 4 * k, 220); }

// A board-graphics picture of one colour: every piece, the floor included, is that colour.
QImage BoardGraphics(QRgb colour) {
  QImage img(480, 192, QImage::Format_RGB32);
  img.fill(colour);
  return img;
}

// 10 x 5 tiles, each its colour, keyed out in a 4 x 4 corner at its bottom-left.
QImage TileSet(QRgb (*colour)(int)) {
  QImage img(480, 240, QImage::Format_RGB32);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 480; ++x)
      img.setPixel(x, y, (x % 48 < 4 && y % 48 >= 44) ? TileKey : colour(y / 48 * 10 + x / 48 + 1));
  return img;
}

// A key pressed on a control; what it leaves goes on to its window.
void SendKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

QPoint Centre(QWidget* w) { return w->rect().center(); }

void Press(QWidget* w) {
  SendPress(w, Centre(w).x(), Centre(w).y());
  SendRelease(w, Centre(w).x(), Centre(w).y());
}

QStringList Entries(const QComboBox* list) {
  QStringList v;
  for (int i = 0; i < list->count(); ++i) v << list->itemText(i);
  return v;
}

class GraphicsWindowTest : public ::testing::Test {
 protected:
  TempInstallation Inst;
  MessageCatcher Catcher;
  std::unique_ptr<QWidget> Main;
  TFormOP* Op = nullptr;
  TFormSkin* Form = nullptr;
  TFormLoadPic* Picture = nullptr;
  std::vector<std::string> Events;

  void SetUp() override { Build(); }
  // The installation's pictures and a fresh set of windows on a board.
  void Build() {
    Save("GB - Default.BMP", BoardGraphics(DefaultFloor));
    Save("GB - Slate.BMP", BoardGraphics(SlateFloor));
    Save("BK - Slate.BMP", BoardGraphics(qRgb(5, 90, 5)));
    Save("TS - Default.BMP", TileSet(DefaultTile));
    Save("TS - Blue.BMP", TileSet(BlueTile));
    Inst.WriteBytes("Graphics/GB - Wrecked.BMP", "BM broken");
    Inst.WriteBytes("Graphics/TS - Wrecked.BMP", "BM broken");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");

    TApp& app = App();
    app.AppFolder = Inst.Folder();
    app.Config = MakeConfig("Alpha");
    app.Config.SoundsOn = 1;
    app.Config.ClickSound.Assign("Click");
    const auto board = MakeBoard(6, 5, "Alpha");
    board->Pattern.Tiles[3][3] = 17;
    app.Game().Board = *board;
    app.Game().Current = board->Pattern;
    SetWavePlayer([this](TEffect e, const std::string&) {
      if (e == TEffect::Click) Events.push_back("click");
    });

    CreateSkinBitmaps();
    LoadBackgroundPicture();
    ASSERT_TRUE(LoadGraphicsSet());
    Main = std::make_unique<QWidget>();
    Main->setGeometry(300, 200, 7 * 48, 6 * 48);
    SetMainWindow(Main.get());
    DrawBoard(true);
    Op = new TFormOP(Main.get());
    Form = new TFormSkin(Main.get());
    Picture = new TFormLoadPic(Main.get());
    SetWindowOpener(TWindowTarget::CustomPicture, [this] { Picture->exec(); });
  }
  void TearDown() override {
    ClearWindowOpeners();
    SetWavePlayer(nullptr);
    SetMainWindow(nullptr);
    Main.reset();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  }
  void Save(const std::string& name, const QImage& img) {
    ASSERT_TRUE(img.save(QString::fromStdString(Inst.File("Graphics/" + name)), "BMP"));
  }
  // Pixel in the middle of board cell (x, y) of the main picture.
  static QRgb Cell(int x, int y) { return MainPicture().pixel((x - 1) * 48 + 24, (y - 1) * 48 + 24); }
  QImage OpPreview() const { return Op->ImagePreview->pixmap().toImage(); }
};

TEST_F(GraphicsWindowTest, ListsHoldThePicturesOfTheirKindWithTheOnesInUseSelected) {
  Inst.WriteBytes("Graphics/gb - Night.JPG", "x");  // listed by name, sorted without regard to case
  App().Config.TileSet.Assign("ts - blue");
  Form->show();
  EXPECT_EQ(Entries(Form->ComboGB), (QStringList{"GB - Default", "gb - Night", "GB - Slate", "GB - Wrecked"}));
  EXPECT_EQ(Entries(Form->ComboTS), (QStringList{"TS - Blue", "TS - Default", "TS - Wrecked"}));
  EXPECT_EQ(Form->ComboGB->currentText(), "GB - Default");
  EXPECT_EQ(Form->ComboTS->currentText(), "TS - Blue");
  // Filling the lists chose nothing: the configuration is as it was.
  EXPECT_EQ(App().Config.TileSet.Str(), "ts - blue");
  EXPECT_TRUE(Catcher.Empty());
  Form->hide();
}

TEST_F(GraphicsWindowTest, AChoiceReachesTheBoardTheObjectiveAndEveryDialogOnScreen) {
  struct TCase {
    const char* Name;
    bool BoardGraphics;  // else the tile set
    int Key;
    const char* Entry;
  };
  for (const TCase& c : {TCase{"board graphics", true, Qt::Key_Down, "GB - Slate"},
                         TCase{"tile set", false, Qt::Key_Home, "TS - Blue"}}) {
    SCOPED_TRACE(c.Name);
    Build();
    // A custom picture over tile 17 (block cell 2, 2) survives the reload.
    ASSERT_TRUE(BoardGraphics(qRgb(250, 0, 0)).save(QString::fromStdString(Inst.File("red.bmp")), "BMP"));
    TConfig& cfg = App().Config;
    cfg.PicturePath.Assign(Inst.File("red.bmp"));
    cfg.PictureX = cfg.PictureY = 2;
    cfg.PictureW = cfg.PictureH = 1;
    cfg.PictureOn = 1;
    ApplyCustomPicture();
    DrawBoard(true);
    auto* stop = new TFormStop(Main.get());
    stop->show();
    Op->show();
    Op->DrawObjective(App().Game().Board.Pattern, App().Game().Board);
    const QImage opBefore = OpPreview();
    const QRgb stopFrameBefore = stop->Background().pixel(2, 2);
    Form->show();
    ASSERT_EQ(Cell(4, 2), DefaultFloor);

    Form->activateWindow();
    QComboBox* list = c.BoardGraphics ? Form->ComboGB : Form->ComboTS;
    list->setFocus();
    SendKey(list, c.Key);
    ASSERT_EQ(list->currentText(), c.Entry);

    EXPECT_TRUE(Catcher.Empty()) << (Catcher.Empty() ? "" : Catcher.Text());
    if (c.BoardGraphics) {
      EXPECT_EQ(cfg.BoardGraphics.Str(), "GB - Slate");
      EXPECT_TRUE(App().BackgroundLoaded);
      EXPECT_EQ(Cell(4, 2), SlateFloor);  // the floor of the board on the main window
      EXPECT_EQ(Skin().FrameCornerTL.pixel(0, 0), SlateFloor);
      // Every dialog on screen is dressed in the new skin.
      EXPECT_EQ(Form->Background().pixel(2, 2), SlateFloor);
      EXPECT_EQ(Op->Background().pixel(2, 2), SlateFloor);
      EXPECT_EQ(stop->Background().pixel(2, 2), SlateFloor);
      EXPECT_NE(stop->Background().pixel(2, 2), stopFrameBefore);
    } else {
      EXPECT_EQ(cfg.TileSet.Str(), "TS - Blue");
      EXPECT_EQ(cfg.UserTileSet.Str(), "TS - Blue");
      EXPECT_EQ(cfg.BoardGraphics.Str(), "GB - Default");
      EXPECT_EQ(Cell(4, 2), DefaultFloor);
      EXPECT_EQ(Skin().TilePicture[1].pixel(24, 24), BlueTile(1));
    }
    // Tile 1 shows the tile set in use; tile 17 still has the custom picture on it.
    EXPECT_EQ(Skin().TilePicture[1].pixel(24, 24), c.BoardGraphics ? DefaultTile(1) : BlueTile(1));
    EXPECT_EQ(Cell(3, 3), qRgb(250, 0, 0));
    EXPECT_EQ(Skin().TilePicture[17].pixel(0, 0), qRgb(255, 130, 130));  // bevelled
    EXPECT_NE(OpPreview(), opBefore);
    Form->hide();
    stop->hide();
    Op->hide();
  }
}

TEST_F(GraphicsWindowTest, APictureThatCannotBeReadLeavesTheSetInUse) {
  struct TCase {
    bool BoardGraphics;
    const char* Message;
  };
  for (const TCase& c : {TCase{true, "Unable to open the image 'GB - Wrecked.BMP' : "},
                         TCase{false, "Unable to open the image 'TS - Wrecked.BMP' : "}}) {
    Catcher.Messages.clear();
    Form->show();
    QComboBox* list = c.BoardGraphics ? Form->ComboGB : Form->ComboTS;
    list->setFocus();
    SendKey(list, Qt::Key_End);
    ASSERT_EQ(Catcher.Messages.size(), 1u) << c.Message;
    EXPECT_EQ(Catcher.Text().rfind(c.Message, 0), 0u) << Catcher.Text();
    EXPECT_EQ(App().Config.BoardGraphics.Str(), "GB - Default");
    EXPECT_EQ(App().Config.TileSet.Str(), "TS - Default");
    EXPECT_EQ(App().Config.UserTileSet.Str(), "TS - Default");
    EXPECT_EQ(list->currentText(), c.BoardGraphics ? "GB - Default" : "TS - Default");
    EXPECT_EQ(Cell(4, 2), DefaultFloor);
    EXPECT_EQ(Skin().TilePicture[17].pixel(24, 24), DefaultTile(17));
    Form->hide();
  }
}

TEST_F(GraphicsWindowTest, OkEnterAndEscCloseAndTheButtonsClickOnThePress) {
  for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    Form->show();
    Form->ComboGB->setFocus();  // the list leaves the window's keys to the window
    SendKey(Form->ComboGB, key);
    EXPECT_FALSE(Form->isVisible()) << key;
  }
  EXPECT_TRUE(Events.empty());

  Form->show();
  SendPress(Form->ButtonOK, 5, 5);
  EXPECT_EQ(Events, std::vector<std::string>{"click"});  // on the press, before the release
  EXPECT_TRUE(Form->isVisible());
  SendRelease(Form->ButtonOK, 5, 5);
  EXPECT_FALSE(Form->isVisible());

  // "Custom Picture .." clicks, then opens the custom-picture window below this one.
  Events.clear();
  Form->show();
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect(
      [this](QWidget* w) {
        Events.push_back(w == Picture ? "picture window" : "another window");
        EXPECT_EQ(w->y(), Form->y() + Form->height());
        EXPECT_EQ(w->x() + w->width(), Form->x() + Form->width());
      },
      ModalDriver::Key(Qt::Key_Escape)));
  Press(Form->ButtonPicture);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(Events, (std::vector<std::string>{"click", "picture window"}));
  EXPECT_TRUE(Form->isVisible());
  Form->hide();
}

}  // namespace
}  // namespace pav::test
