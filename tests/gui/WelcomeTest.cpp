// The welcome window: the name it accepts and refuses, and what accepting does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/UnitWelcome.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"

namespace pav::test {
namespace {

class WelcomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    App().Config.ShowWelcome = 1;
    App().Config.PlayerName.Assign("");
    Welcome = std::make_unique<TFormWelcome>();
  }
  // Types the name and asks the window to close.
  bool TryName(const std::string& name) {
    Welcome->EditName->setText(QString::fromStdString(name));
    return Welcome->FormCloseQuery();
  }
  TempInstallation Inst;
  MessageCatcher Messages;
  std::unique_ptr<TFormWelcome> Welcome;
};

TEST_F(WelcomeTest, WindowHasTheGamesTexts) {
  EXPECT_EQ(Welcome->windowTitle(), "Welcome");
  EXPECT_EQ(Welcome->Title(), "WELCOME !");
  EXPECT_EQ(Welcome->LabelWelcome->text(), "Welcome to Pavilore !");
  EXPECT_EQ(Welcome->LabelPrompt->text(), "Insert your name here: (Max 12 chars)");
  EXPECT_EQ(Welcome->ButtonPlay->text(), "&OK");
  EXPECT_EQ(Welcome->width() % 48, 0);
  EXPECT_EQ(Welcome->height() % 48, 0);
  EXPECT_EQ(FormWelcome(), Welcome.get());
}

TEST_F(WelcomeTest, NameLengthAndEmptiness) {
  // 13 characters: refused with its message, nothing changes.
  EXPECT_FALSE(TryName("ABCDEFGHIJKLM"));
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_EQ(Messages.Text(0), "Player's name can't be longer than 12 characters.");
  EXPECT_EQ(Messages.Icon(0), TMessageIcon::Warning);
  EXPECT_EQ(App().Config.ShowWelcome, 1);
  EXPECT_TRUE(App().Config.PlayerName.Empty());

  EXPECT_FALSE(TryName(""));
  ASSERT_EQ(Messages.Messages.size(), 2u);
  EXPECT_EQ(Messages.Text(1), "You must type a name here.");
  EXPECT_EQ(Messages.Icon(1), TMessageIcon::Warning);
  EXPECT_EQ(App().Config.ShowWelcome, 1);

  // Exactly 12: accepted; the player's file is created with the buffered lines.
  LogLine("Application Started.", true);
  EXPECT_TRUE(TryName("ABCDEFGHIJKL"));
  EXPECT_EQ(Messages.Messages.size(), 2u);
  EXPECT_EQ(App().Config.PlayerName.Str(), "ABCDEFGHIJKL");
  EXPECT_EQ(App().Config.ShowWelcome, 0);
  const auto lines = Inst.ReadLines("Players/ABCDEFGHIJKL.TXT");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[1], " Pavilore's log file for the player 'ABCDEFGHIJKL'");
  EXPECT_NE(lines[6].find("Application Started."), std::string::npos);
  EXPECT_EQ(LogBufferCount(), 0);
}

TEST_F(WelcomeTest, NamesThatWouldLeaveThePlayersFolderAreRefused) {
  // Each refusal names its problem; typed text is UTF-8.
  const struct {
    std::string Typed;
    std::string Message;
  } cases[] = {
      {"../x", "Player's name can't begin with a dot."},
      {"a/b", "Player's name can't contain '/' or '\\'."},
      {"a\\b", "Player's name can't contain '/' or '\\'."},
      {".hidden", "Player's name can't begin with a dot."},
      {"..", "Player's name can't begin with a dot."},
      {"x..y", "Player's name can't contain '..'."},
      {"tab\there", "Player's name can't contain control characters (such as a tab)."},
      {" Ann", "Player's name can't begin or end with a space."},
      {"Ann ", "Player's name can't begin or end with a space."},
      {"\xE5\x90\x8D", "Player's name can't contain the character U+540D: it can't be stored."},
  };
  for (const auto& c : cases) {
    Messages.Messages.clear();
    EXPECT_FALSE(TryName(c.Typed)) << c.Typed;
    ASSERT_EQ(Messages.Messages.size(), 1u) << c.Typed;
    EXPECT_EQ(Messages.Text(), c.Message) << c.Typed;
    EXPECT_EQ(Messages.Icon(), TMessageIcon::Warning);
  }
  EXPECT_EQ(App().Config.ShowWelcome, 1);
  EXPECT_TRUE(App().Config.PlayerName.Empty());
  EXPECT_TRUE(QDir(QString::fromStdString(Inst.File("Players"))).isEmpty());

  // A character of the code page is stored as its byte and names the file.
  Messages.Messages.clear();
  EXPECT_TRUE(TryName("Zo\xC3\xAB"));
  EXPECT_TRUE(Messages.Empty());
  EXPECT_EQ(App().Config.PlayerName.Str(), "Zo\xEB");
}

TEST_F(WelcomeTest, ShowingPutsTheCurrentNameInTheEditField) {
  App().Config.PlayerName.Assign("Ann");
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect(
      [](QWidget* w) {
        auto* welcome = qobject_cast<TFormWelcome*>(w);
        ASSERT_NE(welcome, nullptr);
        EXPECT_EQ(welcome->EditName->text(), "Ann");
      },
      ModalDriver::Click("OK")));
  Welcome->exec();
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(driver.TimedOut());
  EXPECT_EQ(App().Config.ShowWelcome, 0);
}

TEST_F(WelcomeTest, EnterInTheEditFieldClosesAndEscapeDoesNot) {
  ModalDriver driver;
  driver.Then([](QWidget* w) {
    auto* welcome = qobject_cast<TFormWelcome*>(w);
    ASSERT_NE(welcome, nullptr);
    welcome->EditName->setText(QStringLiteral("Zed"));
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(welcome->EditName, &esc);
    EXPECT_TRUE(welcome->isVisible());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(welcome->EditName, &enter);
  });
  Welcome->exec();
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(driver.TimedOut());
  EXPECT_TRUE(Messages.Empty());
  EXPECT_EQ(App().Config.PlayerName.Str(), "Zed");
  EXPECT_FALSE(Welcome->isVisible());
}

TEST_F(WelcomeTest, ARefusedNameKeepsTheWindowOpen) {
  ModalDriver driver;
  driver.Then([](QWidget* w) {
    auto* welcome = qobject_cast<TFormWelcome*>(w);
    ASSERT_NE(welcome, nullptr);
    welcome->EditName->setText(QStringLiteral("ThirteenChars"));
    welcome->ButtonPlay->click();
    EXPECT_TRUE(welcome->isVisible());
    welcome->EditName->setText(QStringLiteral("Thirteen"));
    welcome->ButtonPlay->click();
  });
  // Every press of the button clicks, the refused one too; Enter in the field does not.
  App().Config.SoundsOn = 1;
  App().Config.ClickSound.Assign("Click");
  Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
  int clicks = 0;
  SetWavePlayer([&clicks](TEffect e, const std::string&) { clicks += e == TEffect::Click; });
  Welcome->exec();
  SetWavePlayer(nullptr);
  EXPECT_FALSE(driver.TimedOut());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_EQ(App().Config.PlayerName.Str(), "Thirteen");
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace pav::test
