// The objective window: its size from the preview, the layout of the preview and
// the limits line, the limits texts, its placement beside the main window and its input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstring>
#include <memory>

#include "app/AppState.h"
#include "gui/FlatSkin.h"
#include "render/Skin.h"
#include "render/UnitOP.h"

namespace pav::test {
namespace {

std::unique_ptr<TBoard> Board(int width, int height) {
  auto board = std::make_unique<TBoard>();
  std::memset(board.get(), 0, sizeof(TBoard));
  board->Width = static_cast<std::uint8_t>(width);
  board->Height = static_cast<std::uint8_t>(height);
  for (int x = 1; x <= width; ++x)
    for (int y = 1; y <= height; ++y)
      board->Cells[x][y] = (x == 1 || y == 1 || x == width || y == height) ? 1 : 0;
  board->Pattern.Tiles[2][2] = 1;
  return board;
}

void SendKey(QWidget* w, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(w, &press);
}

class ObjectiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApp();
    FillFlatSkin();
    App().Config.GameMode = 1;
    SetMainWindow(nullptr);
  }
  void TearDown() override { SetMainWindow(nullptr); }

  void Limits(int moves, int seconds) {
    App().Game().MovesLimit = moves;
    App().Game().TimeLimit = seconds;
  }
  void Opponent(int moves, int seconds, bool useMoves, bool useTime, bool joinedByAnd) {
    App().Config.GameMode = 2;
    App().State.OpponentMoves = moves;
    App().State.OpponentTime = seconds;
    App().Config.UseOpponentMoves = useMoves;
    App().Config.UseOpponentTime = useTime;
    App().Config.OpponentAnd = joinedByAnd;
  }
};

// --- Limits texts ---

TEST_F(ObjectiveTest, LimitsOfSingleGamesAndCampaignLevels) {
  for (int mode : {1, 3}) {
    App().Config.GameMode = static_cast<std::uint8_t>(mode);
    Limits(0, 0);
    EXPECT_EQ(ObjectiveLimitsText(), "Limits : None");
    Limits(20, 0);
    EXPECT_EQ(ObjectiveLimitsText(), "Limit : 20 M");
    Limits(0, 30);
    EXPECT_EQ(ObjectiveLimitsText(), "Limit : 30 S");
    Limits(20, 30);
    EXPECT_EQ(ObjectiveLimitsText(), "Limits :\n20 M or 30 S");
    // Opponent figures play no part outside games against the computer.
    App().State.OpponentMoves = 40;
    App().Config.UseOpponentMoves = 1;
    App().Config.OpponentAnd = 1;
    EXPECT_EQ(ObjectiveLimitsText(), "Limits :\n20 M or 30 S");
  }
}

TEST_F(ObjectiveTest, LimitsAgainstTheComputerAreTheOpponentsFigures) {
  Limits(99, 999);  // a puzzle's limits never apply against the computer
  Opponent(40, 50, true, true, false);
  EXPECT_EQ(ObjectiveLimitsText(), "Limits :\n40 M or 50 S");
  Opponent(40, 50, true, true, true);
  EXPECT_EQ(ObjectiveLimitsText(), "Limits :\n40 M and 50 S");
  Opponent(40, 0, true, true, true);
  EXPECT_EQ(ObjectiveLimitsText(), "Limit : 40 M");
  Opponent(0, 50, true, true, true);
  EXPECT_EQ(ObjectiveLimitsText(), "Limit : 50 S");
  // The first turn has no opponent figures yet.
  Opponent(0, 0, true, true, false);
  EXPECT_EQ(ObjectiveLimitsText(), "Limits : None");
}

TEST_F(ObjectiveTest, OpponentFiguresTheConfigurationDoesNotUseAreNoLimit) {
  Opponent(40, 50, true, false, true);
  EXPECT_EQ(ObjectiveLimitsText(), "Limit : 40 M");
  Opponent(40, 50, false, true, false);
  EXPECT_EQ(ObjectiveLimitsText(), "Limit : 50 S");
  Opponent(40, 50, false, false, true);
  EXPECT_EQ(ObjectiveLimitsText(), "Limits : None");
}

// --- Size and layout ---

struct SizeCase {
  int Width, Height;     // board cells
  int Cols, Rows;        // window cells
};

TEST_F(ObjectiveTest, WindowSizeFollowsThePreviewAndNeverGoesBelowThreeColumns) {
  // Preview at scale 4: 12 pixels a cell. cols = (w + 16) div 48 + 1, at least 3;
  // rows = (h + 88) div 48 + 1.
  for (const SizeCase c : {SizeCase{20, 15, 6, 6}, SizeCase{3, 3, 3, 3}, SizeCase{5, 4, 3, 3},
                           SizeCase{8, 8, 3, 4}, SizeCase{10, 8, 3, 4}, SizeCase{11, 12, 4, 5},
                           SizeCase{16, 13, 5, 6}, SizeCase{12, 4, 4, 3}}) {
    TFormOP op;
    const auto board = Board(c.Width, c.Height);
    op.DrawObjective(board->Pattern, *board);
    EXPECT_EQ(op.ImagePreview->size(), QSize(c.Width * 12, c.Height * 12));
    op.show();
    EXPECT_EQ(op.size(), QSize(c.Cols * 48, c.Rows * 48)) << c.Width << "x" << c.Height;
    EXPECT_GE(op.width(), 144);
    EXPECT_EQ(op.Panel()->geometry(), QRect(8, 8, c.Cols * 48 - 16, c.Rows * 48 - 64));
    // The whole preview lies on the panel.
    EXPECT_TRUE(QRect(QPoint(0, 0), op.Panel()->size()).contains(op.ImagePreview->geometry()))
        << c.Width << "x" << c.Height;
    op.hide();
  }
}

TEST_F(ObjectiveTest, PreviewSitsTwelvePixelsAboveCentreWithTheLimitsFourBelowIt) {
  Limits(20, 30);
  const auto board = Board(20, 15);
  TFormOP op;
  op.DrawObjective(board->Pattern, *board);
  op.show();
  // Panel 272 x 224, preview 240 x 180.
  EXPECT_EQ(op.ImagePreview->geometry(), QRect(16, 10, 240, 180));
  EXPECT_EQ(op.LabelInfo->x(), 0);
  EXPECT_EQ(op.LabelInfo->y(), 194);
  EXPECT_EQ(op.LabelInfo->width(), 272);
  EXPECT_EQ(op.LabelInfo->text(), QString("Limits :\n20 M or 30 S"));
  EXPECT_TRUE(op.LabelInfo->wordWrap());
  EXPECT_TRUE(op.LabelInfo->alignment() & Qt::AlignHCenter);
  op.hide();
}

TEST_F(ObjectiveTest, TwoLinesOfLimitsFitBelowEveryPreview) {
  Limits(120, 300);
  for (int height = 3; height <= 15; ++height) {
    TFormOP op;
    const auto board = Board(12, height);
    op.DrawObjective(board->Pattern, *board);
    op.show();
    const QRect label = op.LabelInfo->geometry();
    EXPECT_LE(label.bottom(), op.Panel()->height() - 1) << height;
    EXPECT_LE(QFontMetrics(op.LabelInfo->font()).lineSpacing() * 2, label.height()) << height;
    op.hide();
  }
}

TEST_F(ObjectiveTest, TheLimitsAreReadAgainAtEveryShow) {
  const auto board = Board(6, 6);
  TFormOP op;
  op.DrawObjective(board->Pattern, *board);
  op.show();
  EXPECT_EQ(op.LabelInfo->text(), QString("Limits : None"));
  op.hide();
  Limits(0, 45);
  op.show();
  EXPECT_EQ(op.LabelInfo->text(), QString("Limit : 45 S"));
  op.hide();
}

TEST_F(ObjectiveTest, ANewObjectiveWhileShownLaysTheWindowOutAgain) {
  const auto small = Board(4, 4);
  const auto large = Board(20, 15);
  TFormOP op;
  op.DrawObjective(small->Pattern, *small);
  op.show();
  EXPECT_EQ(op.size(), QSize(144, 144));
  op.DrawObjective(large->Pattern, *large);
  EXPECT_EQ(op.size(), QSize(288, 288));
  EXPECT_EQ(op.ImagePreview->geometry(), QRect(16, 10, 240, 180));
  op.hide();
}

TEST_F(ObjectiveTest, TitleAndWindowKind) {
  TFormOP op;
  EXPECT_EQ(op.Title(), "OBJECTIVE");
  EXPECT_TRUE(op.RightClickCloses);
  EXPECT_TRUE(op.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(op.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(FormOP(), &op);
  const auto board = Board(20, 15);
  op.DrawObjective(board->Pattern, *board);
  op.show();
  // "OBJECTIVE" on the middle line of the title row: 9 glyphs of 7 ink pixels, centred.
  const QImage& skin = op.Background();
  const int line = 5 * 48 + 20;
  int ink = 0, first = -1;
  for (int x = 0; x < skin.width(); ++x)
    if (skin.pixel(x, line) == FlatGlyphInk) {
      if (first < 0) first = x;
      ++ink;
    }
  EXPECT_EQ(ink, 9 * 7);
  EXPECT_EQ(first, 6 * 24 - 9 * 4 + 1);
  op.hide();
}

// --- Placement ---

TEST_F(ObjectiveTest, PendingPlacementPutsTheWindowLeftOfTheMainWindow) {
  QWidget main(nullptr, Qt::FramelessWindowHint);
  main.setGeometry(400, 100, 528, 432);
  SetMainWindow(&main);
  const auto board = Board(20, 15);
  TFormOP op;
  op.DrawObjective(board->Pattern, *board);
  ASSERT_TRUE(App().OPPlacementPending);
  op.show();
  EXPECT_EQ(op.pos(), QPoint(400 - 288, 100));
  EXPECT_FALSE(App().OPPlacementPending);  // showing settles it

  // Not pending: the window stays where the player left it.
  op.hide();
  op.move(33, 44);
  main.move(600, 300);
  op.show();
  EXPECT_EQ(op.pos(), QPoint(33, 44));
  op.hide();

  // Requested again (another board chosen): placed anew.
  App().OPPlacementPending = true;
  op.show();
  EXPECT_EQ(op.pos(), QPoint(600 - 288, 300));
  op.hide();
}

TEST_F(ObjectiveTest, PendingPlacementWithNoRoomOnTheLeftGoesOverTheMainWindow) {
  QWidget main(nullptr, Qt::FramelessWindowHint);
  SetMainWindow(&main);
  const auto board = Board(20, 15);  // a 288-pixel window
  TFormOP op;
  op.DrawObjective(board->Pattern, *board);

  main.setGeometry(100, 50, 528, 432);
  op.show();
  EXPECT_EQ(op.pos(), QPoint(124, 74));
  op.hide();

  // Exactly room enough: left of the main window, at the screen's edge.
  App().OPPlacementPending = true;
  main.move(288, 50);
  op.show();
  EXPECT_EQ(op.pos(), QPoint(0, 50));
  op.hide();

  App().OPPlacementPending = true;
  main.move(287, 50);
  op.show();
  EXPECT_EQ(op.pos(), QPoint(311, 74));
  op.hide();
}

// --- Input ---

TEST_F(ObjectiveTest, SpaceAndRightClickCloseItOtherKeysDoNot) {
  const auto board = Board(8, 8);
  TFormOP op;
  op.DrawObjective(board->Pattern, *board);

  op.show();
  SendKey(&op, Qt::Key_A, "a");
  EXPECT_TRUE(op.isVisible());
  SendKey(&op, Qt::Key_Escape);
  EXPECT_TRUE(op.isVisible());  // Escape belongs to the main window (the side panel)
  SendKey(&op, Qt::Key_Return);
  EXPECT_TRUE(op.isVisible());
  SendKey(&op, Qt::Key_Space, " ");
  EXPECT_FALSE(op.isVisible());

  op.show();
  QMouseEvent right(QEvent::MouseButtonPress, QPointF(20, 150), QPointF(20, 150), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&op, &right);
  EXPECT_FALSE(op.isVisible());
}

TEST_F(ObjectiveTest, KeysAndWheelGiveTheKeyboardBackToTheMainWindow) {
  QWidget main(nullptr, Qt::FramelessWindowHint);
  main.setFocusPolicy(Qt::StrongFocus);
  main.setGeometry(400, 100, 528, 432);
  SetMainWindow(&main);
  main.show();
  const auto board = Board(8, 8);
  TFormOP op;
  op.DrawObjective(board->Pattern, *board);
  op.show();

  auto focusOnOP = [&] {
    op.activateWindow();
    op.setFocus();
    QCoreApplication::processEvents();
  };
  auto mainHasFocus = [&] {
    QCoreApplication::processEvents();
    return QApplication::focusWidget() == &main;
  };

  focusOnOP();
  ASSERT_FALSE(mainHasFocus());
  SendKey(&op, Qt::Key_F10);
  EXPECT_TRUE(mainHasFocus());
  EXPECT_TRUE(op.isVisible());

  focusOnOP();
  QWheelEvent wheel(QPointF(20, 20), QPointF(420, 120), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&op, &wheel);
  EXPECT_TRUE(mainHasFocus());

  focusOnOP();
  SendKey(&op, Qt::Key_Space, " ");
  EXPECT_TRUE(mainHasFocus());
  EXPECT_FALSE(op.isVisible());
  main.hide();
}

TEST_F(ObjectiveTest, ItIsDraggedByItsSkinButNotByThePreview) {
  const auto board = Board(8, 8);
  TFormOP op;
  op.DrawObjective(board->Pattern, *board);
  op.show();
  op.move(200, 200);
  const QPoint start = op.pos();
  QMouseEvent onPreview(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(300, 300), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
  QCoreApplication::sendEvent(op.ImagePreview, &onPreview);
  EXPECT_FALSE(op.IsDragging());
  QMouseEvent onSkin(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(203, 203), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
  QCoreApplication::sendEvent(&op, &onSkin);
  QMouseEvent move(QEvent::MouseMove, QPointF(13, 8), QPointF(213, 208), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&op, &move);
  EXPECT_EQ(op.pos(), start + QPoint(10, 5));
  op.hide();
}

}  // namespace
}  // namespace pav::test
