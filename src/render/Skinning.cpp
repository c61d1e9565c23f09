#include "render/Skinning.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <algorithm>
#include <memory>

#include "app/AppState.h"
#include "platform/qt/Platform.h"
#include "render/PixelScale.h"
#include "render/Renderer.h"
#include "render/Skin.h"

namespace pav {

namespace {

QPointer<QWidget> TheMainWindow;
std::unique_ptr<QCursor> TheMoveCursor;

// Shows the busy pointer for as long as it lives.
class TBusyPointer {
 public:
  TBusyPointer() : Active(qGuiApp != nullptr) {
    if (Active) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~TBusyPointer() {
    if (Active) QGuiApplication::restoreOverrideCursor();
  }
  TBusyPointer(const TBusyPointer&) = delete;
  TBusyPointer& operator=(const TBusyPointer&) = delete;

 private:
  bool Active;
};

// Puts back the board, the live pattern and the side-panel flag that a preview
// borrows, however the drawing ends.
class TPreviewRestore {
 public:
  TPreviewRestore()
      : Board(std::make_unique<TBoard>(App().Game().Board)),
        Current(App().Game().Current),
        SidePanelShown(App().SidePanelShown) {}
  ~TPreviewRestore() {
    TApp& app = App();
    app.Game().Board = *Board;
    app.Game().Current = Current;
    app.SidePanelShown = SidePanelShown;
  }
  TPreviewRestore(const TPreviewRestore&) = delete;
  TPreviewRestore& operator=(const TPreviewRestore&) = delete;

 private:
  std::unique_ptr<TBoard> Board;
  TPattern Current;
  bool SidePanelShown;
};

// Swallows the application's quit request while repaints are flushed.
class TQuitCatcher : public QObject {
 public:
  bool Met = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
      Met = true;
      return true;
    }
    return false;
  }
};

QColor MeanColour(const QImage& image) {
  if (image.isNull()) return QColor();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  long long r = 0, g = 0, b = 0;
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb p = rgb.pixel(x, y);
      r += qRed(p);
      g += qGreen(p);
      b += qBlue(p);
    }
  const long long n = static_cast<long long>(rgb.width()) * rgb.height();
  return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

}  // namespace

void SetMainWindow(QWidget* window) { TheMainWindow = window; }
QWidget* MainWindow() { return TheMainWindow.data(); }

void SetMoveCursor(const QCursor& cursor) { TheMoveCursor = std::make_unique<QCursor>(cursor); }
QCursor MoveCursor() { return TheMoveCursor ? *TheMoveCursor : QCursor(Qt::SizeAllCursor); }

void RestoreNormalPointer() {
  if (qGuiApp == nullptr) return;
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
}

void SkinWindow(QImage& image, const std::string& title) {
  if (image.isNull()) return;
  const TSkin& s = Skin();
  const int cols = image.width() / CellSize;
  const int rows = image.height() / CellSize - 1;  // the last row is the title row
  const int right = cols * CellSize - EdgeSize;
  const int bottom = rows * CellSize - EdgeSize;

  for (int x = 1; x <= cols; ++x) {
    const int px = (x - 1) * CellSize;
    Blit(image, px, 0, s.FrameTopLeft);
    Blit(image, px + 8, 0, s.FrameEdgeT);
    Blit(image, px + 40, 0, s.FrameTopRight);
    Blit(image, px, bottom, s.JoinBottomLeft);
    Blit(image, px + 8, bottom, s.JoinEdgeB);
    Blit(image, px + 40, bottom, s.JoinBottomRight);
  }
  for (int y = 1; y <= rows; ++y) {
    const int py = (y - 1) * CellSize;
    Blit(image, 0, py, s.FrameLeftTop);
    Blit(image, 0, py + 8, s.FrameEdgeL);
    Blit(image, 0, py + 40, s.FrameLeftBottom);
    Blit(image, right, py, s.FrameRightTop);
    Blit(image, right, py + 8, s.FrameEdgeR);
    Blit(image, right, py + 40, s.FrameRightBottom);
  }
  Blit(image, 0, 0, s.FrameCornerTL);
  Blit(image, right, 0, s.FrameCornerTR);
  Blit(image, right, bottom, s.JoinCornerBR);
  Blit(image, 0, bottom, s.JoinCornerBL);

  const int titleTop = rows * CellSize;
  Blit(image, 0, titleTop, s.StatusLeft);
  for (int x = 2; x <= cols - 1; ++x) Blit(image, (x - 1) * CellSize, titleTop, s.StatusMiddle);
  Blit(image, (cols - 1) * CellSize, titleTop, s.StatusRight);

  DrawStatusText(image, cols, rows, title, 5);
}

void PlaceDialog(QWidget* dialog) {
  QWidget* main = MainWindow();
  if (dialog == nullptr || main == nullptr) return;
  int left = main->x() + main->width() - dialog->width() - 72;
  if (!App().SidePanelShown) left += CellSize;
  dialog->move(left, main->y() + 24);
}

bool IsDialogCloseKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

void MakeOwnKeyButton(QPushButton* button) {
  button->setAutoDefault(false);
  button->setDefault(false);
}

QPushButton* MakeDialogButton(QWidget* parent, const char* name, const char* text) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  MakeOwnKeyButton(button);
  return button;
}

void FlushPaints() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return;
  TQuitCatcher catcher;
  app->installEventFilter(&catcher);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  if (!catcher.Met) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  // Painting and the events just handled may have asked for more repaints.
  if (!catcher.Met) QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  app->removeEventFilter(&catcher);
  if (catcher.Met) QCoreApplication::postEvent(app, new QEvent(QEvent::Quit));
}

QImage PreviewPicture(const TPattern& pattern, const TBoard& board) {
  TBusyPointer busy;
  const int width = board.Width;
  const int height = board.Height;
  QImage picture;
  {
    TPreviewRestore restore;
    TApp& app = App();
    if (&app.Game().Board != &board) app.Game().Board = board;
    if (&app.Game().Current != &pattern) app.Game().Current = pattern;
    app.SidePanelShown = false;
    DrawBoard(picture, true);
  }
  if (width <= 0 || height <= 0 || picture.isNull()) return QImage();

  // Close the frame at the bottom, where the status bar joined it.
  const TSkin& s = Skin();
  const int bottom = height * CellSize - EdgeSize;
  for (int x = 1; x <= width; ++x) {
    const int px = (x - 1) * CellSize;
    Blit(picture, px, bottom, s.FrameBottomLeft);
    Blit(picture, px + 8, bottom, s.FrameEdgeB);
    Blit(picture, px + 40, bottom, s.FrameBottomRight);
  }
  Blit(picture, 0, bottom, s.FrameCornerBL);
  Blit(picture, width * CellSize - EdgeSize, bottom, s.FrameCornerBR);
  return picture.copy(0, 0, width * CellSize, height * CellSize);
}

void DrawPreview(QLabel* target, int offsetLeft, int offsetTop, int scale, const TPattern& pattern,
                 const TBoard& board, int areaHeight, int areaWidth) {
  if (target == nullptr) return;
  if (scale < 1) scale = 1;
  const QImage picture = PreviewPicture(pattern, board);
  const int w = (board.Width * CellSize) / scale;
  const int h = (board.Height * CellSize) / scale;
  target->setScaledContents(true);
  // Shrunk straight to the screen's pixels: on a HiDPI screen the label would
  // otherwise enlarge the shrunk picture again, blurred.
  if (picture.isNull() || w <= 0 || h <= 0)
    target->setPixmap(QPixmap());
  else
    target->setPixmap(DevicePixmap(picture, QSize(w, h), target->devicePixelRatioF()));
  // C++ division truncates toward zero, as the placement asks.
  target->setGeometry((areaWidth - w) / 2 + offsetLeft, (areaHeight - h) / 2 + offsetTop, w, h);
}

QColor PanelColour() {
  QColor base = MeanColour(Skin().Floor);
  if (!base.isValid()) base = QColor(196, 190, 178);
  // Keep the skin's hue, but light and quiet enough for dark, maroon and navy texts.
  const float hue = base.hslHueF();
  const float saturation = std::min(base.hslSaturationF(), 0.30f);
  return QColor::fromHslF(hue < 0 ? 0 : hue, saturation, 0.86f);
}

QPalette DialogPalette() {
  const QColor face = PanelColour();
  const float hue = std::max(0.0f, face.hslHueF());
  const float saturation = face.hslSaturationF();
  const auto tone = [&](float s, float l) { return QColor::fromHslF(hue, std::min(1.0f, s), l); };
  const QColor ink(24, 24, 24);
  const QColor field = tone(saturation * 0.6f, 0.96f);
  const QColor button = tone(saturation * 1.1f, 0.80f);
  const QColor mark = tone(std::max(0.35f, saturation * 1.6f), 0.36f);
  QPalette pal;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool off = group == QPalette::Disabled;
    pal.setColor(group, QPalette::Window, face);
    pal.setColor(group, QPalette::Base, off ? face : field);
    pal.setColor(group, QPalette::AlternateBase, tone(saturation, 0.91f));
    pal.setColor(group, QPalette::Button, off ? face.darker(104) : button);
    pal.setColor(group, QPalette::Light, face.lighter(118));
    pal.setColor(group, QPalette::Midlight, face.lighter(108));
    pal.setColor(group, QPalette::Mid, face.darker(125));
    pal.setColor(group, QPalette::Dark, face.darker(160));
    pal.setColor(group, QPalette::Shadow, face.darker(260));
    const QColor text = off ? tone(saturation * 0.5f, 0.58f) : ink;
    pal.setColor(group, QPalette::WindowText, text);
    pal.setColor(group, QPalette::ButtonText, text);
    pal.setColor(group, QPalette::Text, text);
    pal.setColor(group, QPalette::PlaceholderText, tone(saturation * 0.5f, 0.55f));
    pal.setColor(group, QPalette::Highlight, off ? face.darker(130) : mark);
    pal.setColor(group, QPalette::HighlightedText, Qt::white);
    pal.setColor(group, QPalette::ToolTipBase, field);
    pal.setColor(group, QPalette::ToolTipText, ink);
  }
  pal.setColor(QPalette::Link, QColor::fromHslF(0.62f, 0.65f, 0.32f));
  pal.setColor(QPalette::LinkVisited, QColor::fromHslF(0.80f, 0.45f, 0.32f));
  return pal;
}

// --- TSkinPanel ---

TSkinPanel::TSkinPanel(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setAutoFillBackground(true);
  setMouseTracking(true);
  setCursor(Qt::ArrowCursor);
  Recolour();
}

void TSkinPanel::Recolour() {
  const QPalette pal = DialogPalette();
  setPalette(pal);
  // Pop-up lists, message boxes and the file dialog are windows of their own, which a
  // panel's palette does not reach: the application takes the same one.
  if (QApplication::palette() != pal) QApplication::setPalette(pal);
}

void TSkinPanel::mousePressEvent(QMouseEvent* event) { event->accept(); }

void TSkinPanel::mouseMoveEvent(QMouseEvent* event) {
  RestoreNormalPointer();
  event->accept();
}

void TSkinPanel::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

// --- TSkinnedDialog ---

TSkinnedDialog::TSkinnedDialog(QWidget* parent, const std::string& title, int cols, int rows)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), TitleText(title), PanelWidget(new TSkinPanel(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(MoveCursor());
  SetCells(cols, rows);
}

void TSkinnedDialog::SetTitle(const std::string& title) {
  TitleText = title;
  Reskin();
}

void TSkinnedDialog::SetCells(int cols, int rows) {
  if (cols < 1) cols = 1;
  if (rows < 2) rows = 2;
  setFixedSize(cols * CellSize, rows * CellSize);
  PanelWidget->setGeometry(8, 8, cols * CellSize - 16, rows * CellSize - 64);
  Reskin();
}

void TSkinnedDialog::Reskin() {
  QImage image(size(), QImage::Format_RGB32);
  image.fill(PanelColour());
  SkinWindow(image, TitleText);
  BackgroundImage = image;
  PanelWidget->Recolour();
  update();
}

void TSkinnedDialog::PlaceOnShow() { PlaceDialog(this); }

void TSkinnedDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  FlushPaints();
  setCursor(MoveCursor());
  FormShow();
  Reskin();
  PlaceOnShow();
  FlushPaints();
}

void TSkinnedDialog::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (event->spontaneous()) return;
  Dragging = false;
  FlushPaints();
}

void TSkinnedDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  SetPictureScaling(painter);
  painter.drawImage(0, 0, BackgroundImage);
}

void TSkinnedDialog::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::RightButton) {
    if (RightClickCloses) close();
    return;
  }
  // Where the compositor alone moves windows, it takes the whole drag.
  if (StartCompositorMove(this)) return;
  Dragging = true;
  DragAnchor = event->globalPosition().toPoint();
  WindowAnchor = pos();
}

void TSkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  RestoreNormalPointer();
  if (Dragging) move(WindowAnchor + (event->globalPosition().toPoint() - DragAnchor));
}

void TSkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  Dragging = false;
}

}  // namespace pav
