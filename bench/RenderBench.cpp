// The board renderer on the largest board: the full redraw (new game, graphics
// change, end of a refused-move flash) and the floor-only redraw that follows
// every move. Targets: DrawBoard(true) <= 1 ms, DrawBoard(false) <= 0.25 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "BenchSkin.h"
#include "gui/JpegFiles.h"
#include "app/AppState.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skin.h"

namespace pav {
namespace {

// 20 x 15: the ring, inner wall blocks of several values (a third of the inner
// cells), 50 tiles on the floor, text on every text cell, full marker lists, a
// running game with its status texts.
void BuildBoard() {
  ResetApp();
  TBoard& b = App().Game().Board;
  TPattern& cur = App().Game().Current;
  std::memset(&b, 0, sizeof b);
  std::memset(&cur, 0, sizeof cur);
  b.Width = 20;
  b.Height = 15;
  int face = 1;
  for (int x = 1; x <= 20; ++x)
    for (int y = 1; y <= 15; ++y) {
      const bool ring = x == 1 || y == 1 || x == 20 || y == 15;
      if (ring) b.Cells[x][y] = 1;
      else if ((x * 7 + y * 3) % 3 == 0) b.Cells[x][y] = static_cast<std::uint8_t>(2 + (x / 4 + y / 3) % 3);
      else if (face <= 50) cur.Tiles[x][y] = static_cast<std::uint8_t>(face++);
    }
  for (int cx = 0; cx < CellTextCols; ++cx)
    for (int cy = 0; cy < CellTextRows; ++cy) b.CellText[cx][cy] = static_cast<std::uint8_t>(33 + (cx + cy) % 90);
  for (int i = 0; i < MaxJumps; ++i) b.Jumps[i] = {1, static_cast<std::uint8_t>(2 + i % 13), 2, 20, static_cast<std::uint8_t>(2 + i % 13), 1};
  for (int i = 0; i < MaxTurns; ++i) b.Turns[i] = {static_cast<std::uint8_t>(2 + i % 18), 1, 3};
  App().State.GameRunning = true;
  App().Config.GameMode = 2;
  App().Config.PlayerName.Assign("Benchmark");
  App().Game().Moves = 1234;
  App().Game().Seconds = 567;
}

void BM_DrawBoardFull(benchmark::State& state) {
  FillSkin();
  BuildBoard();
  App().BackgroundLoaded = state.range(0) != 0;
  if (state.range(1) == 0) std::memset(App().Game().Board.CellText, 0, sizeof App().Game().Board.CellText);
  QImage pic;
  DrawBoard(pic, true);
  for (auto _ : state) {
    DrawBoard(pic, true);
    benchmark::DoNotOptimize(pic.constBits());
  }
}
BENCHMARK(BM_DrawBoardFull)
    ->ArgNames({"background", "text"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_DrawBoardFloor(benchmark::State& state) {
  FillSkin();
  BuildBoard();
  QImage pic;
  DrawBoard(pic, true);
  for (auto _ : state) {
    DrawBoard(pic, false);
    benchmark::DoNotOptimize(pic.constBits());
  }
}
BENCHMARK(BM_DrawBoardFloor)->Unit(benchmark::kMicrosecond);

// The refused-move mark and its removal by a full redraw, as the 200 ms timer does.
void BM_InvertMark(benchmark::State& state) {
  FillSkin();
  BuildBoard();
  QImage pic;
  DrawBoard(pic, true);
  for (auto _ : state) {
    InvertMark(pic, 5, 5, 8);
    benchmark::DoNotOptimize(pic.constBits());
  }
}
BENCHMARK(BM_InvertMark)->Unit(benchmark::kMicrosecond);

// ---- The custom picture --------------------------------------------------------

// A photograph-sized picture (6000 x 4000, a gradient with a grid over it) written as
// a JPEG and as a 24-bit bitmap into a folder of its own, which is also AppFolder.
struct TLargePictures {
  QTemporaryDir Dir;
  std::string Jpeg, Bmp;
  TLargePictures() {
    QImage img(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) line[x] = qRgb(x * 255 / 6000, y * 255 / 4000, (x ^ y) & 0xFF);
    }
    QPainter p(&img);
    p.setPen(Qt::white);
    for (int x = 0; x < img.width(); x += 200) p.drawLine(x, 0, x, img.height());
    p.end();
    Jpeg = (Dir.path() + "/photo.jpg").toStdString();
    Bmp = (Dir.path() + "/photo.bmp").toStdString();
    test::WriteJpeg(Jpeg, img, false, 90);
    img.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(Bmp), "BMP");
    // The folder is the installation too: JPEG pictures go through its working bitmap.
    QDir(Dir.path()).mkdir(QStringLiteral("Graphics"));
  }
};

TLargePictures& LargePictures() {
  static TLargePictures pictures;
  return pictures;
}

// Choosing a 6000 x 4000 picture in the custom picture window: read and shrunk once.
void BM_LoadLargeCustomPicture(benchmark::State& state) {
  ResetApp();
  App().AppFolder = LargePictures().Dir.path().toStdString();
  const std::string& path = state.range(0) == 0 ? LargePictures().Jpeg : LargePictures().Bmp;
  for (auto _ : state) {
    std::string why;
    QImage picture = LoadCustomPicture(path, &why);
    benchmark::DoNotOptimize(picture);
    if (picture.isNull()) state.SkipWithError(("the picture did not load: " + why).c_str());
  }
  state.SetLabel(state.range(0) == 0 ? "JPEG" : "BMP");
}
BENCHMARK(BM_LoadLargeCustomPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One step of a spin control in the window: the loaded picture laid over the block
// again, 5 x 5 cells.
void BM_LayPictureOnBlock(benchmark::State& state) {
  FillSkin();
  ResetApp();
  App().AppFolder = LargePictures().Dir.path().toStdString();
  const QImage picture = LoadCustomPicture(LargePictures().Jpeg);
  const QImage base = BlockPicture();
  for (auto _ : state) LayPictureOnBlock(base, picture, 1, 1, 5, 5);
}
BENCHMARK(BM_LayPictureOnBlock)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pav

int main(int argc, char** argv) {
  // The pictures are read and written with Qt's image plug-ins.
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
