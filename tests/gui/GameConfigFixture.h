// The game configuration window's tests share one installation: boards Alpha and
// Beta, the puzzle "Beta Slide" on Beta and the campaign "Tour", with the helpers
// that press, type and pick as a player does.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "files/UnitGame.h"
#include "files/UnitGameSelection.h"
#include "gui/FlatSkin.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "ui/UnitMain.h"

namespace pav::test {

inline void SendKey(QWidget* target, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
}

// Each character as the key the platform reports: letters as upper-case key codes.
inline void Type(QWidget* target, const std::string& keys) {
  for (const char c : keys) {
    const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
    SendKey(target, key, QString(QChar(c)));
  }
}

// A real pointer press and release on a button: on the indicator of a radio or
// check box, in the middle of a push button.
inline void PressButton(QAbstractButton* button) {
  const bool pushButton = qobject_cast<QPushButton*>(button) != nullptr;
  const int x = pushButton ? button->width() / 2 : 8, y = button->height() / 2;
  SendPress(button, x, y);
  SendRelease(button, x, y);
}

// The player picks an entry of a list.
inline void Pick(QComboBox* list, const QString& entry) {
  const int i = list->findText(entry);
  ASSERT_GE(i, 0) << entry.toStdString();
  list->setCurrentIndex(i);
  emit list->activated(i);
}

inline QStringList Entries(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

inline std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < LogBufferCount(); ++i) lines.push_back(LogBufferLine(i));
  return lines;
}

inline bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Boards Alpha (6 x 5) and Beta (8 x 6); the puzzle "Beta Slide" on Beta; the
// campaign "Tour" whose only level is "Beta Slide"; sounds on and heard.
class GameConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    SetMainWindow(nullptr);
    TApp& app = App();
    app.AppFolder = Inst.Folder();
    app.Config = MakeConfig("Alpha");
    app.Config.SoundsOn = 1;
    app.Config.ClickSound.Assign("Click");
    app.Config.SolvedSound.Assign("Solved");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    Inst.WriteBytes("Sounds/Solved.WAV", "RIFF");
    SetWavePlayer([this](TEffect effect, const std::string&) { Played.push_back(effect); });
    Inst.AddBoard("Alpha", *MakeBoard(6, 5, "Alpha Board"));
    Inst.AddBoard("Beta", *MakeBoard(8, 6, "Beta Board"));
    auto puzzle = MakePuzzle("Beta", "Beta Slide");
    puzzle->TimeLimit = 60;
    Inst.AddPuzzle("Puzzles", "Beta Slide", *puzzle);
    Inst.AddCampaign("Tour", {"Beta Slide"}, "Grand Tour");
    app.Game().Board = *MakeBoard(6, 5, "Alpha Board");
    app.Game().Current = app.Game().Board.Pattern;
    Form = std::make_unique<TFormGame>();
  }
  void TearDown() override {
    Form.reset();
    SetWavePlayer(nullptr);
  }

  // The four pattern and limit groups: true where "From Puzzle File" is selected.
  std::vector<bool> Sources() const {
    return {Form->RadioButtonIPFromPuzzle->isChecked(), Form->RadioButtonOPFromPuzzle->isChecked(),
            Form->RadioButtonTLFromPuzzle->isChecked(), Form->RadioButtonMLFromPuzzle->isChecked()};
  }
  std::vector<bool> PuzzleOptionsEnabled() const {
    return {Form->RadioButtonIPFromPuzzle->isEnabled(), Form->RadioButtonOPFromPuzzle->isEnabled(),
            Form->RadioButtonTLFromPuzzle->isEnabled(), Form->RadioButtonMLFromPuzzle->isEnabled()};
  }
  void ExpectDefaults() const {
    EXPECT_EQ(Sources(), std::vector<bool>(4, false));
    EXPECT_TRUE(Form->RadioButtonIPRandom->isChecked());
    EXPECT_TRUE(Form->RadioButtonOPFromBoard->isChecked());
    EXPECT_TRUE(Form->RadioButtonTLNone->isChecked());
    EXPECT_TRUE(Form->RadioButtonMLNone->isChecked());
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : Messages.Messages) texts.push_back(m.first);
    return texts;
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Played;
  std::unique_ptr<TFormGame> Form;
};

}  // namespace pav::test
