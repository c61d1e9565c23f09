// Dialog skinning, placement, dragging, repaint flushing and board previews,
// drawn offscreen from a skin of flat colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "app/AppState.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "render/Skin.h"
#include "render/Skinning.h"

namespace pav::test {
namespace {

QRgb Colour(const QImage& piece) { return piece.pixel(0, 0); }

// A board of width x height cells: a solid ring around floor, tiles 1.. on the
// second row from the left.
std::unique_ptr<TBoard> RingBoard(int width, int height, int tiles = 3) {
  auto board = std::make_unique<TBoard>();
  std::memset(board.get(), 0, sizeof(TBoard));
  board->Width = static_cast<std::uint8_t>(width);
  board->Height = static_cast<std::uint8_t>(height);
  for (int x = 1; x <= width; ++x)
    for (int y = 1; y <= height; ++y)
      board->Cells[x][y] = (x == 1 || y == 1 || x == width || y == height) ? 1 : 0;
  for (int k = 1; k <= tiles && k + 1 < width; ++k) board->Pattern.Tiles[k + 1][2] = static_cast<std::uint8_t>(k);
  return board;
}

void Press(QWidget* w, QPoint local, QPoint global, Qt::MouseButton button) {
  QMouseEvent e(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}
void MoveTo(QWidget* w, QPoint local, QPoint global, Qt::MouseButtons buttons) {
  QMouseEvent e(QEvent::MouseMove, local, global, Qt::NoButton, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}
void Release(QWidget* w, QPoint local, QPoint global, Qt::MouseButton button) {
  QMouseEvent e(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// Glyph ink along one pixel row: how many pixels, and the first one.
struct InkRow {
  int Count = 0;
  int First = -1;
};
InkRow InkAt(const QImage& image, int y) {
  InkRow row;
  for (int x = 0; x < image.width(); ++x)
    if (image.pixel(x, y) == FlatGlyphInk) {
      if (row.First < 0) row.First = x;
      ++row.Count;
    }
  return row;
}

class SkinningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApp();
    FillFlatSkin();
    SetMainWindow(nullptr);
    SetMoveCursor(QCursor(Qt::SizeAllCursor));
    RestoreNormalPointer();
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    RestoreNormalPointer();
  }
};

// --- SkinWindow ---

TEST_F(SkinningTest, DialogOf240x240GetsFiveColumnsFourRowsAndTheTitleRowAt192) {
  const TSkin& s = Skin();
  const QRgb inside = qRgb(1, 2, 3);
  QImage image(240, 240, QImage::Format_RGB32);
  image.fill(inside);
  SkinWindow(image, "AB");

  // Top edge and the join above the title row, for each of the 5 columns.
  for (int x = 1; x <= 5; ++x) {
    const int px = (x - 1) * 48;
    if (x > 1) {
      EXPECT_EQ(image.pixel(px, 0), Colour(s.FrameTopLeft)) << x;
    }
    EXPECT_EQ(image.pixel(px + 8, 0), Colour(s.FrameEdgeT)) << x;
    EXPECT_EQ(image.pixel(px + 39, 7), Colour(s.FrameEdgeT)) << x;
    if (x < 5) {
      EXPECT_EQ(image.pixel(px + 40, 0), Colour(s.FrameTopRight)) << x;
    }
    if (x > 1) {
      EXPECT_EQ(image.pixel(px, 184), Colour(s.JoinBottomLeft)) << x;
    }
    EXPECT_EQ(image.pixel(px + 8, 184), Colour(s.JoinEdgeB)) << x;
    if (x < 5) {
      EXPECT_EQ(image.pixel(px + 40, 191), Colour(s.JoinBottomRight)) << x;
    }
  }
  // Left and right edges for each of the 4 frame rows.
  for (int y = 1; y <= 4; ++y) {
    const int py = (y - 1) * 48;
    if (y > 1) {
      EXPECT_EQ(image.pixel(0, py), Colour(s.FrameLeftTop)) << y;
    }
    EXPECT_EQ(image.pixel(0, py + 8), Colour(s.FrameEdgeL)) << y;
    if (y < 4) {
      EXPECT_EQ(image.pixel(7, py + 40), Colour(s.FrameLeftBottom)) << y;
    }
    if (y > 1) {
      EXPECT_EQ(image.pixel(232, py), Colour(s.FrameRightTop)) << y;
    }
    EXPECT_EQ(image.pixel(239, py + 39), Colour(s.FrameEdgeR)) << y;
    if (y < 4) {
      EXPECT_EQ(image.pixel(232, py + 40), Colour(s.FrameRightBottom)) << y;
    }
  }
  // Corners: the lower two join the title row.
  EXPECT_EQ(image.pixel(0, 0), Colour(s.FrameCornerTL));
  EXPECT_EQ(image.pixel(239, 7), Colour(s.FrameCornerTR));
  EXPECT_EQ(image.pixel(232, 184), Colour(s.JoinCornerBR));
  EXPECT_EQ(image.pixel(0, 191), Colour(s.JoinCornerBL));

  // The title row from y = 192.
  EXPECT_EQ(image.pixel(0, 192), Colour(s.StatusLeft));
  EXPECT_EQ(image.pixel(47, 239), Colour(s.StatusLeft));
  for (int px : {48, 96, 144}) EXPECT_EQ(image.pixel(px, 239), Colour(s.StatusMiddle)) << px;
  EXPECT_EQ(image.pixel(192, 192), Colour(s.StatusRight));
  EXPECT_EQ(image.pixel(239, 239), Colour(s.StatusRight));

  // The inside of the frame is left alone.
  for (QPoint p : {QPoint(8, 8), QPoint(120, 100), QPoint(231, 183), QPoint(8, 183), QPoint(231, 8)})
    EXPECT_EQ(image.pixel(p), inside) << p.x() << "," << p.y();

  // "AB" centred on the middle line: glyph rows 212..218, starting at 5*24 - 2*4 = 112.
  EXPECT_EQ(InkAt(image, 211).Count, 0);
  for (int y = 212; y <= 218; ++y) {
    const InkRow row = InkAt(image, y);
    EXPECT_EQ(row.Count, 14) << y;
    EXPECT_EQ(row.First, 113) << y;  // the glyph's left column is its key
  }
  EXPECT_EQ(InkAt(image, 219).Count, 0);
  EXPECT_EQ(image.pixel(112, 212), Colour(s.StatusMiddle));  // keyed pixels show the title row
}

TEST_F(SkinningTest, WideAndLowDialogsKeepTheirRowsAndColumns) {
  const TSkin& s = Skin();
  QImage image(432, 192, QImage::Format_RGB32);  // 9 columns, 3 frame rows and the title row
  image.fill(Qt::black);
  SkinWindow(image, "SHORTCUT LIST");
  EXPECT_EQ(image.pixel(424, 0), Colour(s.FrameCornerTR));
  EXPECT_EQ(image.pixel(424, 136), Colour(s.JoinCornerBR));
  EXPECT_EQ(image.pixel(0, 136), Colour(s.JoinCornerBL));
  EXPECT_EQ(image.pixel(424, 96), Colour(s.FrameRightTop));
  EXPECT_EQ(image.pixel(0, 144), Colour(s.StatusLeft));
  EXPECT_EQ(image.pixel(384, 144), Colour(s.StatusRight));
  EXPECT_EQ(image.pixel(336, 144), Colour(s.StatusMiddle));
  // 13 characters (12 with ink) centred at 9*24 - 13*4 = 164 on the line 144 + 20.
  EXPECT_EQ(InkAt(image, 164).First, 165);
  EXPECT_EQ(InkAt(image, 164).Count, 12 * 7);
  // A two-column dialog has no middle piece and still shows the title row's ends.
  QImage narrow(96, 144, QImage::Format_RGB32);
  SkinWindow(narrow, "");
  EXPECT_EQ(narrow.pixel(0, 96), Colour(s.StatusLeft));
  EXPECT_EQ(narrow.pixel(48, 96), Colour(s.StatusRight));
  EXPECT_EQ(InkAt(narrow, 116).Count, 0);
}

TEST_F(SkinningTest, TitlesLongerThanSixCharactersPerColumnLessFourAreCut) {
  // Five columns hold 5*6 - 4 = 26 characters.
  struct Case {
    int Length;
    int Drawn;
  };
  for (const Case c : {Case{25, 25}, Case{26, 26}, Case{27, 26}, Case{60, 26}}) {
    QImage image(240, 240, QImage::Format_RGB32);
    image.fill(Qt::black);
    SkinWindow(image, std::string(static_cast<std::size_t>(c.Length), 'W'));
    const InkRow row = InkAt(image, 212);
    EXPECT_EQ(row.Count, c.Drawn * 7) << c.Length;
    EXPECT_EQ(row.First, 120 - c.Drawn * 4 + 1) << c.Length;
  }
}

// --- PlaceDialog ---

TEST_F(SkinningTest, PlaceDialogPutsTheRightEdge24PixelsLeftOfTheBoardsRightEdge) {
  // A board of 10 x 8 cells: the main window is 11 columns wide with the side panel, 10 without.
  QWidget main(nullptr, Qt::FramelessWindowHint);
  SetMainWindow(&main);
  TSkinnedDialog dialog(nullptr, "GAME PAUSED", 5, 4);
  const int boardRight = 300 + 10 * 48;

  App().SidePanelShown = true;
  main.setGeometry(300, 200, 11 * 48, 9 * 48);
  PlaceDialog(&dialog);
  EXPECT_EQ(dialog.pos(), QPoint(300 + 528 - 240 - 72, 224));
  EXPECT_EQ(dialog.x() + dialog.width(), boardRight - 24);

  App().SidePanelShown = false;
  main.setGeometry(300, 200, 10 * 48, 9 * 48);
  PlaceDialog(&dialog);
  EXPECT_EQ(dialog.pos(), QPoint(300 + 480 - 240 - 72 + 48, 224));
  EXPECT_EQ(dialog.x() + dialog.width(), boardRight - 24);

  // Without a main window nothing moves.
  SetMainWindow(nullptr);
  dialog.move(5, 6);
  PlaceDialog(&dialog);
  EXPECT_EQ(dialog.pos(), QPoint(5, 6));
}

TEST_F(SkinningTest, ShowingADialogPlacesItAgainstTheMainWindow) {
  QWidget main(nullptr, Qt::FramelessWindowHint);
  main.setGeometry(100, 80, 11 * 48, 9 * 48);
  SetMainWindow(&main);
  TSkinnedDialog dialog(nullptr, "GAME SAVED", 4, 3);
  dialog.show();
  EXPECT_EQ(dialog.pos(), QPoint(100 + 528 - 192 - 72, 104));
  dialog.hide();
}

// --- The dialog base ---

TEST_F(SkinningTest, DialogIsBorderlessWholeCellsWithAPanelInsideTheFrame) {
  TSkinnedDialog dialog(nullptr, "GAME RESULTS", 5, 5);
  EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(dialog.windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
  EXPECT_EQ(dialog.size(), QSize(240, 240));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.Panel()->geometry(), QRect(8, 8, 224, 176));
  auto* frame = qobject_cast<QFrame*>(dialog.Panel());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->frameShadow(), QFrame::Sunken);
  EXPECT_NE(frame->frameShape(), QFrame::NoFrame);

  dialog.SetCells(9, 4);
  EXPECT_EQ(dialog.size(), QSize(432, 192));
  EXPECT_EQ(dialog.Panel()->geometry(), QRect(8, 8, 416, 128));
  EXPECT_EQ(dialog.Cols(), 9);
  EXPECT_EQ(dialog.Rows(), 4);
  // The background follows: its title row now starts at 3 * 48.
  EXPECT_EQ(dialog.Background().size(), QSize(432, 192));
  EXPECT_EQ(dialog.Background().pixel(0, 144), Colour(Skin().StatusLeft));
  EXPECT_EQ(InkAt(dialog.Background(), 164).Count, 11 * 7);  // "GAME RESULTS": 11 glyphs with ink
}

TEST_F(SkinningTest, ReskinAndSetTitleRedressTheBackground) {
  TSkinnedDialog dialog(nullptr, "SOUNDS CONFIGURATION", 6, 4);
  EXPECT_EQ(InkAt(dialog.Background(), 164).Count, 19 * 7);  // the space has no ink
  dialog.SetTitle("MUSIC");
  EXPECT_EQ(InkAt(dialog.Background(), 164).Count, 5 * 7);
  EXPECT_EQ(dialog.Title(), "MUSIC");

  // A new graphics set: the next Reskin shows it, and the panel takes its colour.
  Skin().StatusLeft.fill(qRgb(200, 10, 10));
  Skin().Floor.fill(qRgb(20, 90, 40));
  EXPECT_NE(dialog.Background().pixel(0, 144), qRgb(200, 10, 10));
  dialog.Reskin();
  EXPECT_EQ(dialog.Background().pixel(0, 144), qRgb(200, 10, 10));
  const QColor panel = dialog.Panel()->palette().color(QPalette::Window);
  EXPECT_EQ(panel, PanelColour());
  EXPECT_GT(panel.greenF(), panel.redF());  // the floor's green shows through
  EXPECT_GT(panel.lightnessF(), 0.75);      // but light enough for dark texts
}

TEST_F(SkinningTest, PanelColourIsLightWhateverTheFloor) {
  for (QRgb floor : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(120, 20, 20), qRgb(10, 10, 160)}) {
    Skin().Floor.fill(floor);
    const QColor c = PanelColour();
    EXPECT_GT(c.lightnessF(), 0.75) << std::hex << floor;
    EXPECT_LT(c.lightnessF(), 0.95) << std::hex << floor;
  }
  Skin().Floor = QImage();
  EXPECT_TRUE(PanelColour().isValid());
}

TEST_F(SkinningTest, DialogPaletteReadsWellAndReachesPopUpWindows) {
  // Relative luminance contrast, as for text on a background.
  auto luminance = [](const QColor& c) {
    auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
  };
  auto contrast = [&](const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
  };
  for (QRgb floor : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(120, 20, 20), qRgb(10, 10, 160), qRgb(60, 70, 80)}) {
    SCOPED_TRACE(floor);
    Skin().Floor.fill(floor);
    const QPalette pal = DialogPalette();
    EXPECT_EQ(pal.color(QPalette::Window), PanelColour());
    for (QPalette::ColorRole back : {QPalette::Window, QPalette::Base, QPalette::Button})
      EXPECT_GE(contrast(pal.color(QPalette::Active, QPalette::Text), pal.color(back)), 7.0) << back;
    EXPECT_GE(contrast(pal.color(QPalette::HighlightedText), pal.color(QPalette::Highlight)), 4.5);
    EXPECT_GT(pal.color(QPalette::Base).lightnessF(), pal.color(QPalette::Window).lightnessF());
    // Disabled controls look disabled, yet stay legible.
    const QColor off = pal.color(QPalette::Disabled, QPalette::WindowText);
    EXPECT_NE(off, pal.color(QPalette::Active, QPalette::WindowText));
    EXPECT_GE(contrast(off, pal.color(QPalette::Disabled, QPalette::Window)), 2.0);
    TSkinnedDialog dialog(nullptr, "PALETTE", 5, 4);
    dialog.Reskin();
    EXPECT_EQ(dialog.Panel()->palette().color(QPalette::Base), pal.color(QPalette::Base));
    // A pick list's pop-up, a message box and the file dialog are windows of their own.
    EXPECT_EQ(QApplication::palette().color(QPalette::Base), pal.color(QPalette::Base));
  }
}

// --- Dragging by the skin ---

TEST_F(SkinningTest, DraggingMovesTheWindowByThePointersTravel) {
  TSkinnedDialog dialog(nullptr, "DRAG", 5, 4);
  dialog.move(100, 100);
  dialog.show();
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
    dialog.move(100, 100);
    Press(&dialog, {20, 170}, {120, 270}, button);
    EXPECT_TRUE(dialog.IsDragging());
    MoveTo(&dialog, {50, 210}, {150, 310}, button);
    EXPECT_EQ(dialog.pos(), QPoint(130, 140));
    // The recorded point stays under the pointer, wherever the window went since.
    MoveTo(&dialog, {0, 0}, {90, 95}, button);
    EXPECT_EQ(dialog.pos(), QPoint(70, -75));
    Release(&dialog, {0, 0}, {90, 95}, button);
    EXPECT_FALSE(dialog.IsDragging());
    MoveTo(&dialog, {5, 5}, {300, 300}, Qt::NoButton);
    EXPECT_EQ(dialog.pos(), QPoint(70, -75));
  }
  dialog.hide();
}

TEST_F(SkinningTest, PressesOnThePanelAndItsControlsNeverDrag) {
  TSkinnedDialog dialog(nullptr, "DRAG", 5, 4);
  auto* label = new QLabel("Time Limit :", dialog.Panel());
  label->setGeometry(10, 10, 100, 20);
  dialog.move(100, 100);
  dialog.show();
  Press(label, {5, 5}, {123, 123}, Qt::LeftButton);  // a label ignores it: the panel takes it
  EXPECT_FALSE(dialog.IsDragging());
  Press(dialog.Panel(), {50, 50}, {158, 158}, Qt::LeftButton);
  EXPECT_FALSE(dialog.IsDragging());
  MoveTo(dialog.Panel(), {60, 60}, {168, 168}, Qt::LeftButton);
  EXPECT_EQ(dialog.pos(), QPoint(100, 100));
  dialog.hide();
}

TEST_F(SkinningTest, RightButtonNeverDragsAndClosesOnlyWhereAllowed) {
  TSkinnedDialog dialog(nullptr, "GRAPHICS CONFIGURATION", 5, 4);
  dialog.show();
  dialog.move(100, 100);
  Press(&dialog, {20, 170}, {120, 270}, Qt::RightButton);
  EXPECT_FALSE(dialog.IsDragging());
  EXPECT_TRUE(dialog.isVisible());
  MoveTo(&dialog, {40, 190}, {140, 290}, Qt::RightButton);
  EXPECT_EQ(dialog.pos(), QPoint(100, 100));

  dialog.RightClickCloses = true;
  Press(&dialog, {20, 170}, {120, 270}, Qt::RightButton);
  EXPECT_FALSE(dialog.isVisible());

  // Run modally, a right click on the skin ends the dialog's loop as a cancel.
  ModalDriver driver;
  driver.Then([](QWidget* w) { Press(w, {20, 170}, {w->x() + 20, w->y() + 170}, Qt::RightButton); });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(driver.TimedOut());
}

TEST_F(SkinningTest, TheSkinCarriesTheMovePointerAndMovesRestoreTheNormalOne) {
  TSkinnedDialog dialog(nullptr, "POINTER", 5, 4);
  auto* button = new QPushButton("&OK", dialog.Panel());
  EXPECT_EQ(dialog.cursor().shape(), Qt::SizeAllCursor);
  EXPECT_EQ(dialog.Panel()->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);  // the panel's controls inherit the arrow

  // The start-up code registers the game's own move pointer; dialogs shown later carry it.
  SetMoveCursor(QCursor(Qt::OpenHandCursor));
  dialog.show();
  EXPECT_EQ(dialog.cursor().shape(), Qt::OpenHandCursor);

  // A pointer shape left over from the board (e.g. a grab) goes on any move over the skin or the panel.
  for (QWidget* over : {static_cast<QWidget*>(&dialog), dialog.Panel()}) {
    QGuiApplication::setOverrideCursor(Qt::ClosedHandCursor);
    QGuiApplication::setOverrideCursor(Qt::SplitHCursor);
    MoveTo(over, {30, 30}, {130, 130}, Qt::NoButton);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  }
  dialog.hide();
}

// --- FlushPaints ---

class PaintCounter : public QWidget {
 public:
  int Paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++Paints; }
};

TEST_F(SkinningTest, FlushPaintsHandlesPendingRepaintsBeforeReturning) {
  PaintCounter widget;
  widget.resize(100, 100);
  widget.show();
  FlushPaints();
  const int before = widget.Paints;
  widget.update();
  EXPECT_EQ(widget.Paints, before);
  FlushPaints();
  EXPECT_EQ(widget.Paints, before + 1);
  FlushPaints();  // nothing pending: no repaint
  EXPECT_EQ(widget.Paints, before + 1);
}

TEST_F(SkinningTest, FlushPaintsPutsBackAQuitRequestItMeets) {
  // Counts the quit requests delivered later, and keeps them from reaching the application.
  class QuitCounter : public QObject {
   public:
    int Quits = 0;

   protected:
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() != QEvent::Quit) return false;
      ++Quits;
      return true;
    }
  };
  PaintCounter widget;
  widget.show();
  FlushPaints();
  QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
  widget.update();
  FlushPaints();
  QuitCounter counter;
  qApp->installEventFilter(&counter);
  QCoreApplication::sendPostedEvents(qApp, QEvent::Quit);
  qApp->removeEventFilter(&counter);
  EXPECT_EQ(counter.Quits, 1);
}

// --- Previews ---

TEST_F(SkinningTest, PreviewPictureIsTheBoardWithItsFrameClosedAtTheBottom) {
  const TSkin& s = Skin();
  App().SidePanelShown = true;
  const auto board = RingBoard(10, 8);
  TPattern pattern = board->Pattern;
  pattern.Tiles[5][5] = 7;
  const QImage picture = PreviewPicture(pattern, *board);
  ASSERT_EQ(picture.size(), QSize(480, 384));  // status bar and side panel cut off

  // The bottom of the frame is closed where the status bar joined it.
  EXPECT_EQ(picture.pixel(0, 376), Colour(s.FrameCornerBL));
  EXPECT_EQ(picture.pixel(479, 383), Colour(s.FrameCornerBR));
  for (int x = 2; x <= 9; ++x) {
    const int px = (x - 1) * 48;
    EXPECT_EQ(picture.pixel(px, 376), Colour(s.FrameBottomLeft)) << x;
    EXPECT_EQ(picture.pixel(px + 8, 383), Colour(s.FrameEdgeB)) << x;
    EXPECT_EQ(picture.pixel(px + 40, 376), Colour(s.FrameBottomRight)) << x;
  }
  // Drawn as if the side panel were hidden: the plain right frame, not the panel's join.
  EXPECT_EQ(picture.pixel(472, 56), Colour(s.FrameEdgeR));
  EXPECT_EQ(picture.pixel(472, 0), Colour(s.FrameCornerTR));
  // The given pattern's tiles, not the live ones.
  EXPECT_EQ(picture.pixel(4 * 48 + 24, 4 * 48 + 24), Colour(s.TilePicture[7]));
  EXPECT_EQ(picture.pixel(1 * 48 + 24, 1 * 48 + 24), Colour(s.TilePicture[1]));
  EXPECT_EQ(picture.pixel(6 * 48 + 24, 5 * 48 + 24), Colour(s.Floor));
}

TEST_F(SkinningTest, DrawPreviewLeavesTheGameDataExactlyAsItWas) {
  // Arbitrary bytes in the live board and pattern, padding included.
  std::mt19937 random(1234);
  TGame& game = App().Game();
  auto* boardBytes = reinterpret_cast<unsigned char*>(&game.Board);
  for (std::size_t i = 0; i < sizeof(TBoard); ++i) boardBytes[i] = static_cast<unsigned char>(random());
  auto* currentBytes = reinterpret_cast<unsigned char*>(&game.Current);
  for (std::size_t i = 0; i < sizeof(TPattern); ++i) currentBytes[i] = static_cast<unsigned char>(random());
  const auto savedBoard = std::make_unique<TBoard>(game.Board);
  const TPattern savedCurrent = game.Current;

  const auto board = RingBoard(10, 8);
  QLabel label;
  for (bool panel : {true, false}) {
    App().SidePanelShown = panel;
    DrawPreview(&label, 0, 0, 8, board->Pattern, *board, 200, 300);
    EXPECT_EQ(std::memcmp(&game.Board, savedBoard.get(), sizeof(TBoard)), 0);
    EXPECT_EQ(std::memcmp(&game.Current, &savedCurrent, sizeof(TPattern)), 0);
    EXPECT_EQ(App().SidePanelShown, panel);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the busy pointer is gone again
}

TEST_F(SkinningTest, DrawPreviewOfTheLiveBoardAndPatternThemselves) {
  // Callers pass Game.Board and Game.Current directly: they must come back unchanged.
  const auto board = RingBoard(7, 6);
  TGame& game = App().Game();
  game.Board = *board;
  game.Current = board->Pattern;
  game.Current.Tiles[4][4] = 9;
  const auto savedBoard = std::make_unique<TBoard>(game.Board);
  const TPattern savedCurrent = game.Current;
  QLabel label;
  DrawPreview(&label, 0, 0, 4, game.Current, game.Board, 100, 100);
  EXPECT_EQ(std::memcmp(&game.Board, savedBoard.get(), sizeof(TBoard)), 0);
  EXPECT_EQ(std::memcmp(&game.Current, &savedCurrent, sizeof(TPattern)), 0);
  EXPECT_EQ(label.size(), QSize(84, 72));
  EXPECT_EQ(PreviewPicture(game.Current, game.Board).pixel(3 * 48 + 24, 3 * 48 + 24), Colour(Skin().TilePicture[9]));
}

TEST_F(SkinningTest, PreviewControlIsTheBoardShrunkByTheScaleAndCentredInItsArea) {
  const auto board = RingBoard(10, 8);
  QWidget area;
  auto* label = new QLabel(&area);

  DrawPreview(label, 5, 7, 8, board->Pattern, *board, 200, 300);
  EXPECT_EQ(label->size(), QSize(60, 48));
  EXPECT_EQ(label->pos(), QPoint((300 - 60) / 2 + 5, (200 - 48) / 2 + 7));
  EXPECT_TRUE(label->hasScaledContents());
  EXPECT_EQ(label->pixmap().size(), QSize(60, 48));

  // Odd leftovers and an area smaller than the preview: the halves round toward zero.
  DrawPreview(label, 0, 0, 8, board->Pattern, *board, 49, 11);
  EXPECT_EQ(label->pos(), QPoint(-24, 0));

  // The objective window's scale.
  const auto widest = RingBoard(20, 15);
  DrawPreview(label, 0, 0, 4, widest->Pattern, *widest, 200, 272);
  EXPECT_EQ(label->size(), QSize(240, 180));
  EXPECT_EQ(label->pos(), QPoint(16, 10));

  // Sizes that do not divide evenly are cut down: 7 * 48 / 5 = 67.
  const auto odd = RingBoard(7, 5);
  DrawPreview(label, 0, 0, 5, odd->Pattern, *odd, 48, 67);
  EXPECT_EQ(label->size(), QSize(67, 48));
}

TEST_F(SkinningTest, ShrunkPreviewShowsTheBoardsColours) {
  // A one-colour board shrinks to that colour: the scaled picture is the board, not something else.
  const auto board = RingBoard(10, 8, 0);
  TSkin& s = Skin();
  s.Floor.fill(qRgb(0, 200, 0));
  QLabel label;
  DrawPreview(&label, 0, 0, 8, board->Pattern, *board, 48, 60);
  const QImage shown = label.pixmap().toImage();
  EXPECT_EQ(QColor(shown.pixel(30, 24)), QColor(0, 200, 0));
}

// --- ModalDriver ---

TEST_F(SkinningTest, ModalDriverAnswersEachModalWindowInTurn) {
  TSkinnedDialog outer(nullptr, "OUTER", 5, 4);
  outer.setWindowTitle("Outer");
  auto* open = new QPushButton("&Open", outer.Panel());
  auto* ok = new QPushButton("&OK", outer.Panel());
  QObject::connect(ok, &QPushButton::clicked, &outer, &QDialog::accept);
  TSkinnedDialog inner(nullptr, "INNER", 4, 3);
  inner.setWindowTitle("Inner");
  int innerResult = -1;
  QObject::connect(open, &QPushButton::clicked, [&] { innerResult = inner.exec(); });

  ModalDriver driver;
  driver.Then(ModalDriver::Click("Open"))                  // opens the inner window from the outer one
      .Then(ModalDriver::Key(Qt::Key_Escape))              // a dialog cancels on Escape
      .Then(ModalDriver::Click("OK"));                     // back on the outer window
  EXPECT_EQ(outer.exec(), QDialog::Accepted);
  EXPECT_EQ(innerResult, QDialog::Rejected);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(driver.Seen(), QStringList({"Outer", "Inner", "Outer"}));

  // The same window shown again is a new modal window to answer.
  ModalDriver again;
  again.Then(ModalDriver::Accept()).Then(ModalDriver::Reject());
  EXPECT_EQ(inner.exec(), QDialog::Accepted);
  EXPECT_EQ(inner.exec(), QDialog::Rejected);
  EXPECT_TRUE(again.Done());
}

TEST_F(SkinningTest, ModalDriverClosesAWindowItCouldNotAnswerInTime) {
  TSkinnedDialog dialog(nullptr, "STUCK", 4, 3);
  ModalDriver driver(10, 300);
  bool inspected = false;
  driver.Then(ModalDriver::Inspect([&](QWidget* w) { inspected = (w == &dialog); }, [](QWidget*) {}))
      .Then(ModalDriver::Close());  // never comes: the window stays open after the first answer
  dialog.exec();
  EXPECT_TRUE(inspected);
  EXPECT_TRUE(driver.TimedOut());
  EXPECT_FALSE(driver.Done());
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace pav::test
