// The main window: its size for the board and the side panel, the hit areas and
// pictures of the side panel's top cell, the window drag, creation and closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <memory>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "app/UnitWelcome.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "render/Renderer.h"
#include "render/Skin.h"
#include "ui/UnitMain.h"

namespace pav::test {
namespace {

QRgb Colour(const QImage& piece) { return piece.pixel(10, 10); }

// ---- Pure geometry -----------------------------------------------------------------

TEST(MainWindowGeometry, SizeFollowsTheBoardAndTheSidePanel) {
  EXPECT_EQ(MainWindowSize(6, 5, true), QSize(7 * 48, 6 * 48));
  EXPECT_EQ(MainWindowSize(6, 5, false), QSize(6 * 48, 6 * 48));
  EXPECT_EQ(MainWindowSize(20, 15, true), QSize(1008, 768));
  EXPECT_EQ(MainWindowSize(3, 3, false), QSize(144, 192));
}

TEST(MainWindowGeometry, TopCellCommandsAndTheirMiddleLines) {
  const int w = 6;  // the column spans 288 < x < 336; its middle line is x = 312
  EXPECT_EQ(TopCellCommand(w, 300, 10), 1);
  EXPECT_EQ(TopCellCommand(w, 289, 1), 1);
  EXPECT_EQ(TopCellCommand(w, 311, 23), 1);
  EXPECT_EQ(TopCellCommand(w, 313, 10), 2);
  EXPECT_EQ(TopCellCommand(w, 335, 23), 2);
  EXPECT_EQ(TopCellCommand(w, 300, 25), 3);
  EXPECT_EQ(TopCellCommand(w, 312, 30), 3);
  EXPECT_EQ(TopCellCommand(w, 335, 47), 3);
  // Exactly on the middle lines: nothing.
  EXPECT_EQ(TopCellCommand(w, 312, 10), 0);
  EXPECT_EQ(TopCellCommand(w, 300, 24), 0);
  EXPECT_EQ(TopCellCommand(w, 320, 24), 0);
  EXPECT_EQ(TopCellCommand(w, 312, 24), 0);
  // Outside the cell or the column.
  EXPECT_EQ(TopCellCommand(w, 288, 10), 0);
  EXPECT_EQ(TopCellCommand(w, 336, 10), 0);
  EXPECT_EQ(TopCellCommand(w, 300, 0), 0);
  EXPECT_EQ(TopCellCommand(w, 300, 48), 0);
  EXPECT_EQ(TopCellCommand(w, 250, 10), 0);
}

TEST(MainWindowGeometry, SidePanelColumnAndTileZone) {
  EXPECT_TRUE(InSidePanelColumn(6, 289, 1));
  EXPECT_TRUE(InSidePanelColumn(6, 335, 191));
  EXPECT_FALSE(InSidePanelColumn(6, 288, 100));
  EXPECT_FALSE(InSidePanelColumn(6, 300, 192));
  EXPECT_FALSE(InSidePanelColumn(6, 300, 0));
  EXPECT_EQ(SidePanelCell(47), 1);
  EXPECT_EQ(SidePanelCell(48), 2);
  EXPECT_EQ(SidePanelCell(191), 4);
  EXPECT_TRUE(InTileZone(6, 5, 25, 25));
  EXPECT_FALSE(InTileZone(6, 5, 24, 100));
  EXPECT_FALSE(InTileZone(6, 5, 100, 24));
  EXPECT_TRUE(InTileZone(6, 5, 263, 215));
  EXPECT_FALSE(InTileZone(6, 5, 264, 100));
  EXPECT_FALSE(InTileZone(6, 5, 100, 216));
}

// ---- The window, on a board of flat colours -----------------------------------------

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    App().Game().Board = *MakeBoard(6, 5, "Alpha");
    App().Game().Current = App().Game().Board.Pattern;
    Form = std::make_unique<TFormMain>(false);
    Form->ResizeMainWindow(false, false, true);
  }
  void TearDown() override { RestoreNormalPointerShape(); }
  static void RestoreNormalPointerShape() {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  }
  QRgb TopCell() const { return MainPicture().pixel(6 * 48 + 10, 10); }
  void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) { SendPress(Form.get(), x, y, b); }
  void Move(int x, int y, Qt::MouseButtons b = Qt::NoButton) { SendMove(Form.get(), x, y, b); }
  void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) { SendRelease(Form.get(), x, y, b); }
  TempInstallation Inst;
  MessageCatcher Messages;
  std::unique_ptr<TFormMain> Form;
};

TEST_F(MainWindowTest, ResizeWithThePanelShownAndHidden) {
  EXPECT_EQ(Form->size(), QSize(7 * 48, 6 * 48));
  EXPECT_EQ(MainPicture().size(), QSize(7 * 48, 6 * 48));
  App().SidePanelShown = false;
  Form->ResizeMainWindow(false, false, true);
  EXPECT_EQ(Form->size(), QSize(6 * 48, 6 * 48));
  // The picture keeps its column for the side panel; the window shows less of it.
  EXPECT_EQ(MainPicture().size(), QSize(7 * 48, 6 * 48));

  App().Game().Board = *MakeBoard(20, 15, "Big");
  App().SidePanelShown = true;
  Form->ResizeMainWindow(false, false, true);
  EXPECT_EQ(Form->size(), QSize(21 * 48, 16 * 48));
}

TEST_F(MainWindowTest, ResizeCentresOnTheScreenAndHidesOnlyWhenAsked) {
  Form->show();
  Form->ResizeMainWindow(false, true, false);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(Form->pos(), QPoint(screen.x() + (screen.width() - 7 * 48) / 2, screen.y() + (screen.height() - 6 * 48) / 2));
  EXPECT_TRUE(Form->isVisible());
  Form->move(5, 7);
  Form->ResizeMainWindow(true, false, false);
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Form->pos(), QPoint(5, 7));
}

TEST_F(MainWindowTest, TheWindowShowsTheMainPicture) {
  Form->show();
  const QImage shown = Form->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, MainPicture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(MainWindowTest, SidePanelButtonTogglesThePanelOnRelease) {
  Form->show();
  Form->move(40, 30);
  const TSkin& s = Skin();
  Press(300, 40);  // lower part of the top cell
  EXPECT_EQ(Form->PanelCommand, 3);
  EXPECT_EQ(TopCell(), Colour(s.ButtonPanel[2]));
  EXPECT_TRUE(App().SidePanelShown);  // nothing runs before the release

  // Released anywhere in the column: the pressed command runs.
  Release(320, 150);
  EXPECT_EQ(Form->PanelCommand, 0);
  EXPECT_FALSE(App().SidePanelShown);
  EXPECT_EQ(Form->size(), QSize(6 * 48, 6 * 48));
  EXPECT_EQ(Form->pos(), QPoint(40, 30));
  EXPECT_EQ(TopCell(), Colour(s.PanelTop));

  // Escape's twin: the same command brings it back (called directly: the column is hidden).
  Form->PanelCommand = 3;
  Form->DispatchPanelCommand();
  EXPECT_TRUE(App().SidePanelShown);
  EXPECT_EQ(Form->size(), QSize(7 * 48, 6 * 48));
  EXPECT_EQ(Form->pos(), QPoint(40, 30));
}

TEST_F(MainWindowTest, ShowingAndHidingThePanelRepaintsOnlyWhatDependsOnIt) {
  const TSkin& s = Skin();
  QImage& pic = MainPicture();
  const int edgeX = 6 * 48 - 8 + 2;  // the right frame column
  EXPECT_EQ(pic.pixel(edgeX, 20), s.JoinEdgeRPanel.pixel(2, 12));
  EXPECT_EQ(pic.pixel(5 * 48 + 10, 5 * 48 + 40), s.StatusRightPanel.pixel(10, 40));
  // A short-lived mark on the floor survives the change.
  pic.setPixel(100, 100, qRgb(1, 2, 3));

  App().SidePanelShown = false;
  Form->ApplySidePanelShown();
  EXPECT_EQ(pic.pixel(edgeX, 20), s.FrameEdgeR.pixel(2, 12));
  EXPECT_EQ(pic.pixel(6 * 48 - 8 + 2, 2), s.FrameCornerTR.pixel(2, 2));
  EXPECT_EQ(pic.pixel(5 * 48 + 10, 5 * 48 + 40), s.StatusRight.pixel(10, 40));
  EXPECT_EQ(pic.pixel(100, 100), qRgb(1, 2, 3));
  EXPECT_EQ(Form->width(), 6 * 48);

  App().SidePanelShown = true;
  Form->ApplySidePanelShown();
  EXPECT_EQ(pic.pixel(edgeX, 20), s.JoinEdgeRPanel.pixel(2, 12));
  EXPECT_EQ(pic.pixel(6 * 48 - 8 + 2, 2), s.JoinCornerTRPanel.pixel(2, 2));
  EXPECT_EQ(pic.pixel(100, 100), qRgb(1, 2, 3));
  EXPECT_EQ(Form->width(), 7 * 48);
}

TEST_F(MainWindowTest, ReleaseOutsideTheColumnCancelsAndMiddleLinesSelectNothing) {
  Press(300, 40);
  Release(200, 40);
  EXPECT_TRUE(App().SidePanelShown);
  EXPECT_EQ(Form->PanelCommand, 0);

  // On the vertical middle line of the upper half: no command, no pressed picture.
  Press(312, 10);
  EXPECT_EQ(Form->PanelCommand, 0);
  EXPECT_EQ(TopCell(), Colour(Skin().PanelTop));
  Release(312, 10);
  EXPECT_TRUE(App().SidePanelShown);
  EXPECT_FALSE(Form->isMinimized());
  // On the horizontal one.
  Press(300, 24);
  EXPECT_EQ(Form->PanelCommand, 0);
  Release(300, 24);
  EXPECT_TRUE(App().SidePanelShown);
}

TEST_F(MainWindowTest, HoverPicturesAndTheButtonsOffTimer) {
  const TSkin& s = Skin();
  Move(300, 10);
  EXPECT_EQ(TopCell(), Colour(s.ButtonMinimize[1]));
  EXPECT_TRUE(Form->TimerButtsOff->isActive());
  EXPECT_EQ(Form->TimerButtsOff->interval(), 500);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
  Move(320, 10);
  EXPECT_EQ(TopCell(), Colour(s.ButtonClose[1]));
  Move(320, 30);
  EXPECT_EQ(TopCell(), Colour(s.ButtonPanel[1]));
  // On a middle line only the rest picture shows.
  Move(312, 10);
  EXPECT_EQ(TopCell(), Colour(s.PanelTop));
  Move(320, 30);
  Form->TimerButtsOffTimer();
  EXPECT_EQ(TopCell(), Colour(s.PanelTop));
  EXPECT_FALSE(Form->TimerButtsOff->isActive());

  // Leaving the column over the status row puts the rest pictures back at once.
  Move(320, 30);
  Move(100, 270);
  EXPECT_EQ(TopCell(), Colour(s.PanelTop));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // While a button is held its pressed picture stays wherever the pointer goes.
  Press(300, 10);
  Move(320, 30, Qt::LeftButton);
  EXPECT_EQ(TopCell(), Colour(s.ButtonMinimize[2]));
  Move(100, 270, Qt::LeftButton);
  EXPECT_EQ(TopCell(), Colour(s.ButtonMinimize[2]));
  Release(100, 270);
  EXPECT_EQ(TopCell(), Colour(s.PanelTop));
  EXPECT_FALSE(Form->isMinimized());
}

TEST_F(MainWindowTest, MinimiseButton) {
  Form->show();
  Press(300, 10);
  EXPECT_EQ(Form->PanelCommand, 1);
  EXPECT_EQ(TopCell(), Colour(Skin().ButtonMinimize[2]));
  Release(300, 10);
  EXPECT_TRUE(Form->windowState() & Qt::WindowMinimized);
}

TEST_F(MainWindowTest, PressOutsideTheColumnDragsTheWindow) {
  Form->show();
  Form->move(100, 100);
  Press(10, 10);  // the frame
  EXPECT_TRUE(Form->WindowDragging);
  Move(30, 25, Qt::LeftButton);
  EXPECT_EQ(Form->pos(), QPoint(120, 115));
  // The grabbed point stays under the pointer: client positions are taken from the press.
  Move(15, 10, Qt::LeftButton);
  EXPECT_EQ(Form->pos(), QPoint(125, 115));
  Release(15, 10);
  EXPECT_FALSE(Form->WindowDragging);
  Move(40, 40);
  EXPECT_EQ(Form->pos(), QPoint(125, 115));

  // The whole board drags while no game runs; the status row too.
  Press(150, 120);
  EXPECT_TRUE(Form->WindowDragging);
  Release(150, 120);
  Press(150, 270);
  EXPECT_TRUE(Form->WindowDragging);
  Release(150, 270);

  // Not with the right button.
  Press(10, 10, Qt::RightButton);
  EXPECT_FALSE(Form->WindowDragging);
  Move(60, 60, Qt::RightButton);
  EXPECT_EQ(Form->pos(), QPoint(125, 115));
  Release(60, 60, Qt::RightButton);
}

TEST_F(MainWindowTest, ActivationShowsTheWelcomeWindowOnlyWhileAsked) {
  TFormWelcome welcome(Form.get());
  App().Config.ShowWelcome = 0;
  Form->FormActivate();  // no window: nothing to answer
  EXPECT_FALSE(welcome.isVisible());

  App().Config.ShowWelcome = 1;
  ModalDriver driver;
  driver.Then([](QWidget* w) {
    auto* shown = qobject_cast<TFormWelcome*>(w);
    ASSERT_NE(shown, nullptr);
    shown->EditName->setText(QStringLiteral("Newcomer"));
    shown->ButtonPlay->click();
  });
  Form->FormActivate();
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(driver.TimedOut());
  EXPECT_EQ(App().Config.PlayerName.Str(), "Newcomer");
  EXPECT_EQ(App().Config.ShowWelcome, 0);
}

// ---- Creation and closing on a whole installation -------------------------------------

TEST(MainWindowLife, CreationStartsTheGameAndTheCloseButtonRunsTheExit) {
  TempInstallation inst;
  MessageCatcher messages;
  inst.AddBoard("Alpha", *MakeBoard(8, 6, "Alpha"));
  inst.WriteConfig(MakeConfig("Alpha"));
  const std::string before = inst.ReadBytes("System/Pavilore.CFG");

  TFormMain form;
  ASSERT_FALSE(TerminationRequested()) << (messages.Empty() ? "" : messages.Text());
  EXPECT_EQ(form.size(), QSize(9 * 48, 7 * 48));
  EXPECT_EQ(form.cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(form.windowTitle(), "Pavilore");
  EXPECT_EQ(FormMain(), &form);
  LogApplicationStarted();

  form.show();
  const int column = 8 * 48;
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(column + 40, 8), QPointF(column + 40, 8), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &press);
  EXPECT_EQ(form.PanelCommand, 2);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(column + 40, 8), QPointF(column + 40, 8),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &release);
  EXPECT_FALSE(form.isVisible());

  EXPECT_EQ(inst.ReadBytes("System/Pavilore.CFG"), before);
  const auto lines = inst.ReadLines("Players/Tester.TXT");
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines[lines.size() - 3].find("Application Started."), std::string::npos);
  EXPECT_NE(lines.back().find("Application Terminated."), std::string::npos);
  EXPECT_TRUE(messages.Empty()) << messages.Text();

  // A second close request runs the exit steps no more.
  form.close();
  EXPECT_EQ(inst.ReadLines("Players/Tester.TXT").size(), lines.size());
}

TEST(MainWindowLife, CreationWithoutConfigurationRequestsTermination) {
  TempInstallation inst;
  MessageCatcher messages;
  TFormMain form;
  EXPECT_TRUE(TerminationRequested());
  ASSERT_EQ(messages.Messages.size(), 1u);
  EXPECT_EQ(messages.Text(), "The configuration file : '..\\System\\Pavilore.CFG' is missing.");
}

}  // namespace
}  // namespace pav::test
