// The pixel art on HiDPI screens: at a whole device-pixel ratio every picture pixel
// becomes a square of device pixels, exactly; at a fractional ratio the pictures are
// smoothed, and a repaint of part of the main window matches the whole repaint there.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QSet>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/AppState.h"
#include "gui/FlatSkin.h"
#include "gui/TempInstallation.h"
#include "render/PixelScale.h"
#include "render/Renderer.h"
#include "render/Skinning.h"
#include "ui/UnitMain.h"

namespace pav::test {
namespace {

// A picture whose every pixel differs from its neighbours, so any smoothing shows.
QImage Speckled(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, ((x ^ y) * 29) % 256));
  return image;
}

// `image` enlarged by a whole factor, each pixel repeated.
QImage Repeated(const QImage& image, int factor) {
  QImage out(image.size() * factor, QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, image.pixel(x / factor, y / factor));
  return out;
}

bool HasColoursNotIn(const QImage& shown, const QImage& source) {
  QSet<QRgb> known;
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x) known.insert(source.pixel(x, y) | 0xFF000000u);
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (!known.contains(shown.pixel(x, y) | 0xFF000000u)) return true;
  return false;
}

// `widget` drawn into an image of `ratio` device pixels per logical pixel; only
// `region` when given (the rest stays black).
QImage Rendered(QWidget& widget, qreal ratio, const QRegion& region = QRegion()) {
  QImage image(qRound(widget.width() * ratio), qRound(widget.height() * ratio), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::black);
  const QPoint offset = region.isEmpty() ? QPoint() : region.boundingRect().topLeft();
  widget.render(&image, offset, region, QWidget::DrawChildren);
  image.setDevicePixelRatio(1);
  return image;
}

TEST(PixelScaleTest, DevicePixmapsRepeatPixelsAtWholeRatiosAndSmoothEverythingElse) {
  const QImage tile = Speckled(QSize(12, 8));
  struct TCase {
    QSize Size;  // logical pixels
    qreal Ratio;
    QSize Device;
    bool Repeats;  // each picture pixel a square of ratio x ratio device pixels
  };
  const TCase cases[] = {
      {{12, 8}, 1, {12, 8}, true},      // as it is
      {{12, 8}, 2, {24, 16}, true},     // HiDPI: sharp
      {{12, 8}, 3, {36, 24}, true},
      {{12, 8}, 1.5, {18, 12}, false},  // fractional: smoothed
      {{6, 4}, 2, {12, 8}, true},       // shrunk by the ratio: the picture itself
      {{6, 4}, 1, {6, 4}, false},       // shrunk: smoothed
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Size.width() << "x" << c.Size.height() << " at " << c.Ratio);
    const QPixmap pixmap = DevicePixmap(tile, c.Size, c.Ratio);
    EXPECT_EQ(pixmap.size(), c.Device);
    EXPECT_EQ(pixmap.devicePixelRatio(), c.Ratio);
    const QImage shown = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    if (c.Repeats) {
      const int factor = c.Device.width() / tile.width();
      EXPECT_EQ(shown, Repeated(tile, factor));
    } else {
      EXPECT_TRUE(HasColoursNotIn(shown, tile));
    }
  }
}

class PixelScaleWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    App().Game().Board = *MakeBoard(6, 5, "Alpha");
    App().Game().Current = App().Game().Board.Pattern;
    Form = std::make_unique<TFormMain>(false);
    Form->ResizeMainWindow(false, false, true);
    MainPicture() = Speckled(MainPicture().size());
  }
  TempInstallation Inst;
  MessageCatcher Messages;
  std::unique_ptr<TFormMain> Form;
};

TEST_F(PixelScaleWindowTest, MainWindowAndSkinnedDialogsAreSharpAtWholeRatios) {
  TSkinnedDialog dialog(nullptr, "SHARP", 5, 4);
  for (const int ratio : {1, 2, 3}) {
    SCOPED_TRACE(ratio);
    EXPECT_EQ(Rendered(*Form, ratio), Repeated(MainPicture(), ratio));
    // The skin around the panel: the frame and the title row with its letters.
    const QImage shown = Rendered(dialog, ratio);
    const QImage skin = Repeated(dialog.Background().convertToFormat(QImage::Format_RGB32), ratio);
    EXPECT_EQ(shown.copy(0, 0, shown.width(), 8 * ratio), skin.copy(0, 0, skin.width(), 8 * ratio));
    const int titleTop = (dialog.height() - 48) * ratio;
    EXPECT_EQ(shown.copy(0, titleTop, shown.width(), 48 * ratio), skin.copy(0, titleTop, skin.width(), 48 * ratio));
  }
}

TEST_F(PixelScaleWindowTest, AtAFractionalRatioThePictureIsSmoothedAndPartRepaintsShowNoSeams) {
  const qreal ratio = 1.5;
  const QImage whole = Rendered(*Form, ratio);
  EXPECT_EQ(whole.size(), Form->size() * 1.5);
  EXPECT_TRUE(HasColoursNotIn(whole, MainPicture()));
  // A repaint of two cells at 48, 48 (the board's cells fall on whole device pixels).
  const QRect cells(48, 48, 96, 48);
  const QImage part = Rendered(*Form, ratio, QRegion(cells));
  const QRect device(72, 72, 144, 72);
  // The same up to the rounding of the smoothing, also on the region's edges, where a
  // picture cut to the region would repeat its last pixels instead of its neighbours'.
  int worst = 0;
  for (int y = device.top(); y <= device.bottom(); ++y)
    for (int x = device.left(); x <= device.right(); ++x) {
      const QRgb a = part.pixel(x, y), b = whole.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b))});
    }
  EXPECT_LE(worst, 2);
}

}  // namespace
}  // namespace pav::test
