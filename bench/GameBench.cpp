// The game on the largest board, through its windows: a pointer event that makes a
// push, up to the repainted window (target: 2 ms), and the single game's start
// window shown with a fresh scramble (target: 50 ms). Offscreen Qt; the skin is
// made of flat pieces of the right sizes, which cost the renderer what real ones do.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "BenchSkin.h"
#include "app/AppState.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skin.h"
#include "render/UnitOP.h"
#include "ui/UnitInfoSingle.h"
#include "ui/UnitMain.h"

namespace pav {
namespace {

// 20 x 15 with the solid ring, a few inner blocks and 50 tiles: row 2 holds ten
// tiles on X 2..11, the other forty fill rows 6 to 9 from the left.
void BuildBoard() {
  ResetApp();
  TBoard& b = App().Game().Board;
  std::memset(&b, 0, sizeof b);
  b.Width = 20;
  b.Height = 15;
  b.StepsPerMove = 1;
  for (int x = 1; x <= 20; ++x)
    for (int y = 1; y <= 15; ++y)
      if (x == 1 || y == 1 || x == 20 || y == 15 || (x % 5 == 0 && y >= 11 && y <= 12)) b.Cells[x][y] = 1;
  TPattern& p = b.Pattern;
  ClearPattern(p);
  int face = 1;
  for (int x = 2; x <= 11; ++x) p.Tiles[x][2] = static_cast<std::uint8_t>(face++);
  for (int y = 6; y <= 9 && face <= 50; ++y)
    for (int x = 2; x <= 11 && face <= 50; ++x) p.Tiles[x][y] = static_cast<std::uint8_t>(face++);
  App().Game().Current = p;
  App().Config.GameMode = 1;
  App().Config.PlayerName.Assign("Benchmark");
  App().Config.ShowInvalid = 1;
  App().Config.HighlightElements = 1;
}

void Send(QWidget* w, QEvent::Type type, int x, int y) {
  QMouseEvent e(type, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// One drag step of the row of ten tiles, right and back left in turn, each followed
// by the window's repaint.
void BM_PointerPushToRepaint(benchmark::State& state) {
  FillSkin();
  BuildBoard();
  auto form = std::make_unique<TFormMain>(false);
  form->ResizeMainWindow(false, false, true);
  form->show();
  QApplication::processEvents();
  App().Game().OP = App().Game().Board.Pattern;
  App().Game().OP.Tiles[19][14] = 7;  // never reached
  App().State.GameRunning = true;
  App().State.HumanTurn = true;
  Send(form.get(), QEvent::MouseButtonPress, 24 + 48, 24 + 48);  // tile 1 at (2, 2)
  int column = 2;
  for (auto _ : state) {
    column = column == 2 ? 3 : 2;
    Send(form.get(), QEvent::MouseMove, (column - 1) * 48 + 24, 24 + 48);
    form->repaint(QRect(0, 0, 20 * 48, 15 * 48));
  }
  if (App().Game().Moves < static_cast<int>(state.iterations())) state.SkipWithError("a drag step did not push");
  Send(form.get(), QEvent::MouseButtonRelease, (column - 1) * 48 + 24, 24 + 48);
  App().State.GameRunning = false;
}
BENCHMARK(BM_PointerPushToRepaint)->Unit(benchmark::kMicrosecond);

// Showing the start window with a random initial pattern: the scramble of the
// board's 50 tiles, both previews, the skin, and the window painted.
void BM_ScrambleAndStartWindow(benchmark::State& state) {
  FillSkin();
  BuildBoard();
  auto form = std::make_unique<TFormMain>(false);
  form->ResizeMainWindow(false, false, true);
  auto* op = new TFormOP(form.get());
  auto* info = new TFormInfoSingle(form.get());
  (void)op;
  App().Config.IPFromPuzzle = 0;
  App().Config.OPFromPuzzle = 0;
  for (auto _ : state) {
    App().Game().Current = App().Game().Board.Pattern;
    info->show();
    info->repaint();
    state.PauseTiming();
    info->hide();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["scrambleLength"] = App().State.ScrambleLength;
}
BENCHMARK(BM_ScrambleAndStartWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pav

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
