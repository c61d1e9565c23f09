// One copy of the game per data folder: a second start on a folder that another
// running copy holds says so and ends without touching a file; once the other copy
// has ended the folder is the game's, and a folder where no lock file can be made
// does not keep the game from starting.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <string>

#include "app/AppState.h"
#include "app/Startup.h"
#include "gui/TempInstallation.h"
#include "platform/InstanceLock.h"
#include "platform/LockHolder.h"
#include "ui/UnitMain.h"

namespace pav::test {
namespace {

class SecondCopyTest : public ::testing::Test {
 protected:
  SecondCopyTest() {
    Inst.AddBoard("Alpha", "Alpha");
    Inst.WriteConfig(MakeConfig("Alpha"));
    Inst.WriteBytes("Players/Tester.TXT", "An earlier run.\n");
  }
  // Every file of the installation with its bytes, the folders by name.
  std::string Snapshot() const {
    std::string all;
    QDir root(QString::fromStdString(Inst.Folder()));
    for (const char* sub : {".", "System", "Players", "Saved Games"}) {
      QDir d(root.filePath(QString::fromUtf8(sub)));
      for (const QString& name : d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        const std::string rel = std::string(sub) + "/" + name.toStdString();
        all += rel + "\n";
        if (QFileInfo(d.filePath(name)).isFile()) all += Inst.ReadBytes(rel) + "\n";
      }
    }
    return all;
  }
  TempInstallation Inst;
  MessageCatcher Messages;
};

TEST_F(SecondCopyTest, AFolderHeldByAnotherCopyIsRefusedWithItsMessageAndNothingWritten) {
  TLockHolder other(Inst.Folder());
  ASSERT_EQ(other.Outcome(), TLockOutcome::Taken);
  const std::string before = Snapshot();
  {
    TFormMain form;  // its creation runs the start-up
    EXPECT_TRUE(TerminationRequested());
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Text(), "Pavilore is already running with the data folder '" + Inst.Folder() + "'.");
    EXPECT_EQ(Messages.Icon(), TMessageIcon::Stop);
    // Nothing was read either.
    EXPECT_TRUE(App().Config.BoardName.Empty());
    EXPECT_EQ(App().Game().Board.Width, 0);
    // Closed all the same, it writes nothing back.
    EXPECT_TRUE(form.FormCloseQuery());
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Messages.Messages.size(), 1u);

  // Once the other copy has ended, the folder is the game's.
  other.End(SIGKILL);
  Messages.Messages.clear();
  ClearTerminationRequest();
  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_EQ(TLockHolder(Inst.Folder()).Outcome(), TLockOutcome::HeldElsewhere);
  // Running the start-up again in the same process keeps the lock.
  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
}

TEST_F(SecondCopyTest, AFolderWithoutRoomForTheLockFileStartsAllTheSame) {
  ASSERT_TRUE(QDir(QString::fromStdString(Inst.Folder())).mkdir(QString::fromUtf8(InstanceLockName)));
  ASSERT_TRUE(RunStartup());
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_FALSE(TerminationRequested());
  EXPECT_EQ(App().Config.BoardName.Str(), "Alpha");
}

}  // namespace
}  // namespace pav::test
