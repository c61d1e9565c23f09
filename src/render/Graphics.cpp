#include "render/Graphics.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/AppState.h"
#include "platform/Jpeg.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/qt/Bmp.h"
#include "platform/qt/MessageBox.h"
#include "render/Renderer.h"
#include "render/Skin.h"

namespace pav {

namespace {

// The hourglass while pictures load; restored on every way out.
class TBusyPointer {
 public:
  TBusyPointer() : On(QGuiApplication::instance() != nullptr) {
    if (On) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~TBusyPointer() {
    if (On) QGuiApplication::restoreOverrideCursor();
  }
  TBusyPointer(const TBusyPointer&) = delete;
  TBusyPointer& operator=(const TBusyPointer&) = delete;

 private:
  bool On;
};

QImage CurrentSource;
QImage Background;

// One board-graphics piece: where it goes and the rectangle it is cut from.
struct TPiece {
  QImage* Target;
  int Left, Top, Width, Height;
};

std::vector<TPiece> BoardPieces() {
  TSkin& s = Skin();
  std::vector<TPiece> p = {
      {&s.FrameCornerTL, 0, 0, 8, 8},        {&s.FrameCornerTR, 40, 0, 8, 8},
      {&s.FrameCornerBR, 40, 40, 8, 8},      {&s.FrameCornerBL, 0, 40, 8, 8},
      {&s.FrameEdgeL, 0, 8, 8, 32},          {&s.FrameEdgeR, 40, 8, 8, 32},
      {&s.FrameEdgeT, 8, 0, 32, 8},          {&s.FrameEdgeB, 8, 40, 32, 8},
      {&s.FrameLeftTop, 8, 16, 8, 8},        {&s.FrameLeftBottom, 8, 24, 8, 8},
      {&s.FrameRightTop, 32, 16, 8, 8},      {&s.FrameRightBottom, 32, 24, 8, 8},
      {&s.FrameTopLeft, 16, 8, 8, 8},        {&s.FrameTopRight, 24, 8, 8, 8},
      {&s.FrameBottomLeft, 16, 32, 8, 8},    {&s.FrameBottomRight, 24, 32, 8, 8},
      {&s.JoinCornerBR, 40, 56, 8, 8},       {&s.JoinCornerTRPanel, 56, 0, 8, 8},
      {&s.JoinCornerBRPanel, 56, 40, 8, 8},  {&s.JoinCornerBL, 0, 56, 8, 8},
      {&s.JoinEdgeRPanel, 56, 8, 8, 32},     {&s.JoinEdgeB, 8, 56, 32, 8},
      {&s.JoinRightTopPanel, 48, 16, 8, 8},  {&s.JoinRightBottomPanel, 48, 24, 8, 8},
      {&s.JoinBottomLeft, 16, 48, 8, 8},     {&s.JoinBottomRight, 24, 48, 8, 8},
      {&s.Floor, 48, 48, 48, 48},            {&s.WallFace, 144, 0, 48, 48},
      {&s.WallOuterTL, 96, 0, 8, 8},         {&s.WallOuterTR, 136, 0, 8, 8},
      {&s.WallOuterBL, 96, 40, 8, 8},        {&s.WallOuterBR, 136, 40, 8, 8},
      {&s.WallEdgeL, 96, 8, 8, 32},          {&s.WallEdgeR, 136, 8, 8, 32},
      {&s.WallEdgeT, 104, 0, 32, 8},         {&s.WallEdgeB, 104, 40, 32, 8},
      {&s.WallInnerTL, 112, 16, 8, 8},       {&s.WallInnerTR, 120, 16, 8, 8},
      {&s.WallInnerBL, 112, 24, 8, 8},       {&s.WallInnerBR, 120, 24, 8, 8},
      {&s.WallLeftGoesDown, 112, 8, 8, 8},   {&s.WallRightGoesDown, 120, 8, 8, 8},
      {&s.WallLeftGoesUp, 112, 32, 8, 8},    {&s.WallRightGoesUp, 120, 32, 8, 8},
      {&s.WallTopGoesRight, 104, 16, 8, 8},  {&s.WallTopGoesLeft, 128, 16, 8, 8},
      {&s.WallBottomGoesRight, 104, 24, 8, 8}, {&s.WallBottomGoesLeft, 128, 24, 8, 8},
      {&s.JumpMarker[1][1], 104, 64, 8, 16}, {&s.JumpMarker[2][1], 128, 64, 8, 16},
      {&s.JumpMarker[3][1], 112, 56, 16, 8}, {&s.JumpMarker[4][1], 112, 80, 16, 8},
      {&s.JumpMarker[1][2], 152, 64, 8, 16}, {&s.JumpMarker[2][2], 176, 64, 8, 16},
      {&s.JumpMarker[3][2], 160, 56, 16, 8}, {&s.JumpMarker[4][2], 160, 80, 16, 8},
      {&s.TurnMarker[1][1], 104, 56, 8, 8},  {&s.TurnMarker[2][1], 128, 56, 8, 8},
      {&s.TurnMarker[3][1], 128, 80, 8, 8},  {&s.TurnMarker[4][1], 104, 80, 8, 8},
      {&s.TurnMarker[1][2], 152, 56, 8, 8},  {&s.TurnMarker[2][2], 176, 56, 8, 8},
      {&s.TurnMarker[3][2], 176, 80, 8, 8},  {&s.TurnMarker[4][2], 152, 80, 8, 8},
      {&s.StatusLeft, 0, 96, 48, 48},        {&s.StatusMiddle, 48, 96, 48, 48},
      {&s.StatusRight, 96, 96, 48, 48},      {&s.StatusRightPanel, 144, 96, 48, 48},
      {&s.StatusCorner, 192, 96, 48, 48},    {&s.PanelBottom, 192, 48, 48, 48},
      {&s.PanelFiller, 288, 144, 48, 48},    {&s.PanelTop, 192, 0, 48, 48},
      {&s.ButtonMinimize[1], 240, 0, 48, 48}, {&s.ButtonMinimize[2], 288, 0, 48, 48},
      {&s.ButtonClose[1], 240, 48, 48, 48},  {&s.ButtonClose[2], 288, 48, 48, 48},
      {&s.ButtonPanel[1], 240, 96, 48, 48},  {&s.ButtonPanel[2], 288, 96, 48, 48},
  };
  QImage* rows[4] = {s.ButtonPlay, s.ButtonStop, s.ButtonConfig, s.ButtonInfo};
  for (int r = 0; r < 4; ++r)
    for (int state = 0; state < 3; ++state) p.push_back({&rows[r][state], 336 + 48 * state, 48 * r, 48, 48});
  // The glyphs row by row: glyph row r = 0..2, column i = 0..31 is character 32 + 32r + i.
  for (int r = 0; r < 3; ++r)
    for (int i = 0; i < 32; ++i) {
      const int c = 32 + 32 * r + i;
      p.push_back({&s.WallFont[c], 8 * i, 144 + 8 * r, 8, 8});
      p.push_back({&s.StatusFont[c], 8 * i, 168 + 8 * r, 8, 8});
    }
  return p;
}

QImage Blank(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::black);
  return img;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ReportMissing(const std::string& name) {
  ShowMessage("Unable to open the image '" + name + "'.", TMessageIcon::Error);
}
void ReportDamaged(const std::string& path, const std::string& why) { ReportPictureProblem(path, why); }

// The 48 x 48 cells of the first 10 x 5 of the working canvas, by column range.
void FloorCells(QImage& canvas, int firstColumn, int lastColumn) {
  for (int row = 0; row < 5; ++row)
    for (int col = firstColumn; col <= lastColumn; ++col) Blit(canvas, col * CellSize, row * CellSize, Skin().Floor);
}

std::string SizeOf(const QImage& img) {
  return "the picture is " + std::to_string(img.width()) + " x " + std::to_string(img.height()) + " pixels";
}

// Why a picture cannot serve as its part of a graphics set, or "": every piece
// is cut from a fixed rectangle, and a smaller picture would leave pieces black.
std::string BoardGraphicsProblem(const QImage& img) {
  if (img.width() >= 480 && img.height() >= 192) return {};
  return SizeOf(img) + ", a board-graphics picture needs at least 480 x 192";
}
std::string TileSetProblem(const QImage& img) {
  if ((img.width() >= 480 || img.width() == 240) && img.height() >= 240) return {};
  return SizeOf(img) + ", a tile set needs at least 480 x 240, or 240 x 240 for half a set";
}
std::string DefaultTilesProblem(const QImage& img) {
  if (img.width() >= 480 && img.height() >= 240) return {};
  return SizeOf(img) + ", the default tile set needs at least 480 x 240 to complete half a set";
}

// The picture file of a graphics name that fits its format, or a message naming
// it (and why it does not fit) and nothing.
QImage LoadNamed(const std::string& name, std::string (*problemOf)(const QImage&)) {
  const std::string file = GraphicsFile(name);
  if (file.empty()) {
    ReportMissing(name);
    return QImage();
  }
  std::string why;
  QImage img = LoadPicture(file, &why);
  if (!img.isNull()) why = problemOf(img);
  if (why.empty()) return img;
  ReportDamaged(file, why);
  return QImage();
}

// The pictures the tile pictures are cut from: the tile set and, for a set of
// half the width, the default set completing it.
struct TTilePictures {
  QImage TileSet;
  QImage Defaults;
};

// Reads and checks both before anything is cut; a message and false when one
// cannot be used.
bool LoadTilePictures(TTilePictures& out) {
  out.TileSet = LoadNamed(App().Config.TileSet.Str(), TileSetProblem);
  if (out.TileSet.isNull()) return false;
  if (out.TileSet.width() != 240) return true;
  // The other half of the tiles comes from the default set's bitmap; an
  // installation that has the default set only as a JPEG uses that.
  std::string file = App().Path("\\Graphics\\TS - Default.BMP");
  if (!FileExists(file)) file = GraphicsFile("TS - Default");
  if (file.empty()) {
    ReportMissing("TS - Default");
    return false;
  }
  std::string why;
  out.Defaults = LoadPicture(file, &why);
  if (!out.Defaults.isNull()) why = DefaultTilesProblem(out.Defaults);
  if (why.empty()) return true;
  ReportDamaged(file, why);
  return false;
}

// The tile pictures over the floor (the board pieces are cut already): the tile
// set colour-keyed, over the default set drawn opaque for a set of half width.
void CutTiles(const TTilePictures& pictures) {
  const QImage& tileSet = pictures.TileSet;
  QImage canvas = Blank(std::max(480, tileSet.width()), std::max(240, tileSet.height()));
  FloorCells(canvas, 0, 9);
  if (tileSet.width() == 240) {
    Blit(canvas, 0, 0, pictures.Defaults);
    FloorCells(canvas, 0, 4);
  }
  BlitKeyed(canvas, 0, 0, tileSet);
  for (int k = 1; k <= MaxTileFace; ++k)
    CutPiece(canvas, ((k - 1) % 10) * CellSize, ((k - 1) / 10) * CellSize, CellSize, CellSize, Skin().TilePicture[k]);
}

// A path from the configuration: its bytes as they are, or read as Windows-1252.
std::string ExistingPath(const std::string& stored) {
  if (stored.empty()) return {};
  if (FileExists(stored)) return stored;
  const std::string utf8 = Cp1252ToUtf8(stored);
  if (FileExists(utf8)) return utf8;
  const std::string resolved = ResolvePath(utf8);
  return FileExists(resolved) ? resolved : std::string();
}

}  // namespace

QImage LoadPicture(const std::string& path, std::string* error, int neededSide) {
  if (!FileExists(path)) {
    if (error) *error = "the file does not exist";
    return QImage();
  }
  std::string ext = path.size() >= 3 ? path.substr(path.size() - 3) : path;
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (ext != "JPG") return LoadBmp(path, error);
  // A JPEG goes through the working bitmap, which never stays behind.
  const std::string work = App().Path("\\Graphics\\Temp.BMP");
  std::remove(work.c_str());
  if (!ConvertJpegToBitmap(path, work, error, neededSide)) {
    std::remove(work.c_str());
    return QImage();
  }
  QImage img = LoadBmp(work, error);
  std::remove(work.c_str());
  return img;
}

std::string GraphicsFile(const std::string& name) {
  const std::string jpg = App().Path("\\Graphics\\" + name + ".JPG");
  if (FileExists(jpg)) return jpg;
  const std::string bmp = App().Path("\\Graphics\\" + name + ".BMP");
  if (FileExists(bmp)) return bmp;
  return {};
}

void CreateSkinBitmaps() {
  for (const TPiece& p : BoardPieces()) *p.Target = Blank(p.Width, p.Height);
  TSkin& s = Skin();
  for (int k = 1; k <= MaxTileFace; ++k) s.TilePicture[k] = Blank(CellSize, CellSize);
  for (auto& column : s.BackgroundPiece)
    for (QImage& piece : column) piece = Blank(CellSize, CellSize);
}

void SetSourcePicture(const QImage& source) {
  CurrentSource = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
}

void CutPiece(int left, int top, int width, int height, QImage& target) {
  CutPiece(CurrentSource, left, top, width, height, target);
}

void CutPiece(const QImage& source, int left, int top, int width, int height, QImage& target) {
  target = Blank(std::max(0, width), std::max(0, height));
  if (target.isNull() || source.isNull()) return;
  if (source.format() == QImage::Format_RGB32) {
    Blit(target, -left, -top, source);
  } else {
    Blit(target, -left, -top, source.convertToFormat(QImage::Format_RGB32));
  }
}

void LoadBackgroundPicture() {
  TApp& app = App();
  app.BackgroundLoaded = false;
  Background = QImage();
  const std::string gb = app.Config.BoardGraphics.Str();
  const std::string base = "\\Graphics\\BK - " + (gb.size() > 5 ? gb.substr(5) : std::string());
  for (const char* ext : {".BMP", ".JPG"}) {
    const std::string file = app.Path(base + ext);
    if (!FileExists(file)) continue;
    std::string why;
    QImage img = LoadPicture(file, &why);
    if (img.isNull()) {
      ReportDamaged(file, why);
      continue;
    }
    Background = std::move(img);
    app.BackgroundLoaded = true;
  }
}

const QImage& BackgroundPicture() { return Background; }

bool LoadGraphicsSet(TGraphicsFault* fault) {
  TBusyPointer busy;
  TApp& app = App();
  if (fault) *fault = TGraphicsFault::None;
  // Both pictures are read and checked before anything is cut: a refused tile
  // set never leaves the new board pieces with the old tiles.
  const QImage boardGraphics = LoadNamed(app.Config.BoardGraphics.Str(), BoardGraphicsProblem);
  if (boardGraphics.isNull()) {
    if (fault) *fault = TGraphicsFault::BoardGraphics;
    return false;
  }
  TTilePictures tiles;
  if (!LoadTilePictures(tiles)) {
    if (fault) *fault = TGraphicsFault::TileSet;
    return false;
  }
  SetSourcePicture(boardGraphics);
  for (const TPiece& p : BoardPieces()) CutPiece(p.Left, p.Top, p.Width, p.Height, *p.Target);

  if (app.BackgroundLoaded && !Background.isNull()) {
    // The top-left 240 x 240 pixels; a smaller picture is repeated to fill them.
    QImage canvas = Blank(5 * CellSize, 5 * CellSize);
    const QImage bk = Background.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < canvas.height(); y += bk.height())
      for (int x = 0; x < canvas.width(); x += bk.width()) Blit(canvas, x, y, bk);
    SetSourcePicture(canvas);
    for (int a = 0; a < 5; ++a)
      for (int b = 0; b < 5; ++b) CutPiece(48 * a, 48 * b, CellSize, CellSize, Skin().BackgroundPiece[a][b]);
  }
  CurrentSource = QImage();
  CutTiles(tiles);
  return true;
}

bool LoadTileSet() {
  TBusyPointer busy;
  TTilePictures tiles;
  if (!LoadTilePictures(tiles)) return false;
  CutTiles(tiles);
  return true;
}

// The file's name on the disk is UTF-8; the message box shows Windows-1252.
void ReportPictureProblem(const std::string& path, const std::string& why) {
  ShowMessage("Unable to open the image '" + Utf8ToCp1252(FileNameOf(path)) + "' : " + why + ".", TMessageIcon::Error);
}

std::string CustomPictureFile(const std::string& stored) { return ExistingPath(stored); }

QImage LoadCustomPicture(const std::string& path, std::string* error) {
  const std::string file = ExistingPath(path);
  if (file.empty()) {
    if (error) *error = "the file does not exist";
    return QImage();
  }
  QImage picture = LoadPicture(file, error, LargestPictureSide);
  if (picture.width() > LargestPictureSide || picture.height() > LargestPictureSide) {
    // Area averaging: a photograph shrunk this way keeps its detail.
    picture = picture
                  .scaled(std::min(picture.width(), LargestPictureSide), std::min(picture.height(), LargestPictureSide),
                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
  }
  return picture;
}

void ApplyCustomPicture() {
  const TConfig& cfg = App().Config;
  if (!cfg.PictureOn) return;
  const std::string file = ExistingPath(cfg.PicturePath.Str());
  if (file.empty()) return;
  TBusyPointer busy;
  std::string why;
  const QImage picture = LoadCustomPicture(file, &why);
  if (picture.isNull()) {
    ReportDamaged(file, why);
    return;
  }
  LayPictureOnBlock(BlockPicture(), picture, cfg.PictureX, cfg.PictureY, cfg.PictureW, cfg.PictureH);
}

QImage BlockPicture() {
  QImage canvas = Blank(5 * CellSize, 5 * CellSize);
  for (int a = 1; a <= 5; ++a)
    for (int b = 1; b <= 5; ++b) Blit(canvas, (a - 1) * CellSize, (b - 1) * CellSize, Skin().TilePicture[a + 5 + 10 * (b - 1)]);
  return canvas;
}

void LayPictureOnBlock(const QImage& base, const QImage& picture, int x, int y, int w, int h) {
  QImage canvas = Blank(5 * CellSize, 5 * CellSize);
  Blit(canvas, 0, 0, base.format() == QImage::Format_RGB32 ? base : base.convertToFormat(QImage::Format_RGB32));
  // The rectangle in canvas pixels; it may reach past the canvas on any side.
  const std::int64_t left = (static_cast<std::int64_t>(x) - 1) * CellSize;
  const std::int64_t top = (static_cast<std::int64_t>(y) - 1) * CellSize;
  const std::int64_t width = static_cast<std::int64_t>(w) * CellSize;
  const std::int64_t height = static_cast<std::int64_t>(h) * CellSize;
  const bool visible = width > 0 && height > 0 && left < canvas.width() && top < canvas.height() &&
                       left + width > 0 && top + height > 0 && !picture.isNull();
  if (visible) {
    if (width * height <= 4LL * 1024 * 1024) {
      // Scaled once with area averaging, which keeps fine detail when the picture shrinks.
      const QImage scaled = picture.scaled(static_cast<int>(width), static_cast<int>(height), Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_RGB32);
      Blit(canvas, static_cast<int>(left), static_cast<int>(top), scaled);
    } else {
      // A rectangle far larger than the block: only its visible part is computed.
      QPainter p(&canvas);
      p.setRenderHint(QPainter::SmoothPixmapTransform, true);
      p.drawImage(QRectF(static_cast<qreal>(left), static_cast<qreal>(top), static_cast<qreal>(width),
                         static_cast<qreal>(height)),
                  picture);
    }
  }
  for (int a = 1; a <= 5; ++a)
    for (int b = 1; b <= 5; ++b) {
      QImage& tile = Skin().TilePicture[a + 5 + 10 * (b - 1)];
      CutPiece(canvas, (a - 1) * CellSize, (b - 1) * CellSize, CellSize, CellSize, tile);
      const bool inside = x <= a && a < static_cast<std::int64_t>(x) + w && y <= b && b < static_cast<std::int64_t>(y) + h;
      if (inside) BevelTile(tile);
    }
}

QRgb ShiftColour(QRgb colour, int amount) {
  auto shift = [amount](int c) { return std::min(255, std::max(0, c + amount)); };
  return qRgb(shift(qRed(colour)), shift(qGreen(colour)), shift(qBlue(colour)));
}

void BevelTile(QImage& tile) {
  if (tile.isNull()) return;
  if (tile.format() != QImage::Format_RGB32) tile = tile.convertToFormat(QImage::Format_RGB32);
  auto shift = [&tile](int px, int py, int amount) {
    if (px >= tile.width() || py >= tile.height()) return;
    auto* line = reinterpret_cast<QRgb*>(tile.scanLine(py));
    line[px] = ShiftColour(line[px], amount);
  };
  for (int i = 0; i <= 47; ++i) {
    shift(i, 0, 65);
    shift(0, i, 65);
    shift(47, i, -65);
    shift(i, 47, -65);
  }
}

QStringList ListGraphics(const QString& mask, const QString& skip1, const QString& skip2) {
  const QDir folder(QString::fromStdString(App().Path("\\Graphics")));
  const QStringList files =
      folder.entryList(QStringList{mask}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
  auto skipped = [](const QString& name, const QString& skip) {
    return !skip.isEmpty() && name.left(skip.size()).compare(skip, Qt::CaseInsensitive) == 0;
  };
  QStringList names;
  for (const QString& f : files) {
    if (f.startsWith('.') || f.size() >= 51 || skipped(f, skip1) || skipped(f, skip2)) continue;
    names << f.left(std::max<qsizetype>(0, f.size() - 4));
  }
  return names;
}

void ListGraphics(QComboBox* list, const QString& mask, const QString& current, bool clear, const QString& skip1,
                  const QString& skip2) {
  if (!list) return;
  QStringList entries;
  if (!clear)
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
  entries << ListGraphics(mask, skip1, skip2);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  const QSignalBlocker quiet(list);
  list->clear();
  list->addItems(entries);
  int selected = -1;
  for (int i = 0; i < entries.size(); ++i)
    if (entries[i].compare(current, Qt::CaseInsensitive) == 0) {
      selected = i;
      break;
    }
  list->setCurrentIndex(selected);
}

bool ChooseBoardTileSet(const TBoard& board, bool recommend) {
  TConfig& c = App().Config;
  const std::string recommended = board.RecommendedTileSet.Str();
  if (recommend && c.AutoTileSet && !recommended.empty() &&
      (!SameTextIgnoringCase(recommended, c.TileSet.Str()) || c.PictureOn) && !GraphicsFile(recommended).empty()) {
    const auto before = c.TileSet;
    c.TileSet.Assign(recommended);
    if (!LoadGraphicsSet()) {
      // Refused (its message was shown): the set in use stays, and is the one kept.
      c.TileSet = before;
      return false;
    }
    c.PictureOn = 0;
    return true;
  }
  if (recommended.empty() &&
      (!SameTextIgnoringCase(c.TileSet.Str(), c.UserTileSet.Str()) || c.PictureOn != c.UserPictureOn)) {
    c.TileSet.Assign(c.UserTileSet.Str());
    c.PictureOn = c.UserPictureOn;
    LoadGraphicsSet();
    ApplyCustomPicture();
    return true;
  }
  return false;
}

}  // namespace pav
