// The main window's public keys: which window each function key opens and when it
// does nothing, Esc for the side panel, and the letters that switch options.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Startup.h"
#include "gui/FlatSkin.h"
#include "gui/TempInstallation.h"
#include "render/WindowTargets.h"
#include "ui/UnitMain.h"

namespace pav::test {
namespace {

const std::vector<std::pair<TWindowTarget, const char*>> Targets = {
    {TWindowTarget::Help, "help"},           {TWindowTarget::Game, "game"},
    {TWindowTarget::Options, "options"},     {TWindowTarget::Graphics, "graphics"},
    {TWindowTarget::Sounds, "sounds"},       {TWindowTarget::Music, "music"},
    {TWindowTarget::ShortCuts, "shortcuts"}, {TWindowTarget::Records, "records"},
    {TWindowTarget::About, "about"},         {TWindowTarget::CustomPicture, "picture"},
};

class MainKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    App().Game().Board = *MakeBoard(6, 5, "Alpha");
    App().Game().Current = App().Game().Board.Pattern;
    Form = std::make_unique<TFormMain>(false);
    Form->ResizeMainWindow(false, false, true);
    RegisterPointerShapes();
    for (const auto& [target, name] : Targets)
      SetWindowOpener(target, [this, n = name] { Opened.push_back(n); });
  }
  void TearDown() override {
    ClearWindowOpeners();
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    App().State.GameRunning = false;
    App().SidePanelShown = true;
  }
  // The key as the window receives it.
  void Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QCoreApplication::sendEvent(Form.get(), &press);
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::unique_ptr<TFormMain> Form;
  std::vector<std::string> Opened;
};

TEST_F(MainKeysTest, FunctionKeysOpenTheirWindowsUnderTheirConditions) {
  struct Case {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    bool Running;
    const char* Opens;  // nullptr: nothing opens
  };
  const Case cases[] = {
      {Qt::Key_F1, Qt::NoModifier, false, "help"},
      {Qt::Key_F1, Qt::ShiftModifier, true, "help"},
      {Qt::Key_F2, Qt::NoModifier, false, "game"},
      {Qt::Key_F2, Qt::NoModifier, true, nullptr},  // not during a game
      {Qt::Key_F3, Qt::NoModifier, true, "options"},
      {Qt::Key_F4, Qt::NoModifier, false, "graphics"},
      {Qt::Key_F4, Qt::ControlModifier, true, "graphics"},
      {Qt::Key_F4, Qt::AltModifier, false, nullptr},  // Alt+F4 belongs to the desktop
      {Qt::Key_F5, Qt::NoModifier, true, "sounds"},
      {Qt::Key_F6, Qt::NoModifier, false, "music"},
      {Qt::Key_F7, Qt::NoModifier, true, "shortcuts"},
      {Qt::Key_F8, Qt::NoModifier, false, "records"},
      {Qt::Key_F9, Qt::ControlModifier, true, "about"},
      {Qt::Key_P, Qt::NoModifier, false, "picture"},
      {Qt::Key_P, Qt::ControlModifier, true, "picture"},
      {Qt::Key_H, Qt::NoModifier, false, nullptr},
      {Qt::Key_Left, Qt::NoModifier, false, nullptr},
      {Qt::Key_Return, Qt::NoModifier, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QKeySequence(c.Key).toString().toStdString() + (c.Running ? " in a game" : ""));
    Opened.clear();
    App().State.GameRunning = c.Running;
    Key(c.Key, c.Modifiers);
    if (c.Opens)
      EXPECT_EQ(Opened, std::vector<std::string>{c.Opens});
    else
      EXPECT_TRUE(Opened.empty());
  }
}

TEST_F(MainKeysTest, EscTogglesTheSidePanelAlsoDuringAGame) {
  for (const bool running : {false, true}) {
    App().State.GameRunning = running;
    Key(Qt::Key_Escape);
    EXPECT_FALSE(App().SidePanelShown);
    EXPECT_EQ(Form->size(), QSize(6 * 48, 6 * 48));
    Key(Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(App().SidePanelShown);
    EXPECT_EQ(Form->size(), QSize(7 * 48, 6 * 48));
  }
}

TEST_F(MainKeysTest, LettersSwitchTheirOptionsButNotWithCtrl) {
  struct Case {
    int Key;
    std::uint8_t TConfig::*Field;
  };
  const Case cases[] = {
      {Qt::Key_S, &TConfig::SoundsOn}, {Qt::Key_W, &TConfig::WheelMoves}, {Qt::Key_M, &TConfig::MusicOn}};
  for (const Case& c : cases) {
    SCOPED_TRACE(QKeySequence(c.Key).toString().toStdString());
    TConfig& config = App().Config;
    const std::uint8_t before = config.*c.Field ? 1 : 0;
    Key(c.Key, Qt::ControlModifier);
    EXPECT_EQ(config.*c.Field ? 1 : 0, before);
    Key(c.Key);
    EXPECT_EQ(config.*c.Field ? 1 : 0, 1 - before);
    Key(c.Key, Qt::ShiftModifier);
    EXPECT_EQ(config.*c.Field ? 1 : 0, before);
  }
  EXPECT_TRUE(Opened.empty());
}

TEST_F(MainKeysTest, WheelKeySwitchesThePointerOnlyDuringTheHumansTurn) {
  App().Config.WheelMoves = 0;
  Key(Qt::Key_W);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "no game: the pointer stays";
  App().State.GameRunning = true;
  App().State.HumanTurn = false;
  Key(Qt::Key_W);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the computer's turn: the pointer stays";
  App().State.HumanTurn = true;
  for (const int shape : {ColoUpDown, ColoFlat}) {
    Key(Qt::Key_W);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().cacheKey(), PointerShape(shape).pixmap().cacheKey());
    EXPECT_EQ(App().Config.WheelMoves != 0, shape == ColoUpDown);
  }
}

}  // namespace
}  // namespace pav::test
