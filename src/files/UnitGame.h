// The game configuration window: the game mode, the board, puzzle or campaign, where
// the patterns and limits come from, and the settings of a game against the computer.
// Every way of closing it applies what it shows; it also hosts the cheat word.
#pragma once

#include <string>

#include "files/UnitGameSelection.h"
#include "render/Skinning.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pav {

class TFormGame : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormGame(QWidget* parent = nullptr);
  ~TFormGame() override;

  // The close check: false keeps the window open (a refused choice, said in a
  // message box); true when every choice was written to Config and Game.
  bool FormCloseQuery();
  void ButtonOKClick();
  void ComboBoxBoardChange();
  void ComboBoxPuzzleChange();
  void ComboBoxCampaignChange();
  // A mode radio selected: the puzzle-option rule, then the mode rules.
  void ModeClick();
  void CheckBoxOpoClick();
  // The preview of the chosen board with the pattern the game would start from.
  void RefreshPreview();
  // One key for the cheat word (32..255).
  void CheatKey(int code);

  // 1 single game, 2 against the computer, 3 campaign, by the mode radios.
  int SelectedMode() const;

  QGroupBox* GroupBoxMode;
  QRadioButton* RadioButtonSingle;
  QRadioButton* RadioButtonBot;
  QRadioButton* RadioButtonCamp;
  QGroupBox* GroupBoxFiles;
  QLabel* Label1;
  QComboBox* ComboBoxBoard;
  QLabel* Label2;
  QComboBox* ComboBoxPuzzle;
  QLabel* Label3;
  QComboBox* ComboBoxCampaign;
  QFrame* BevelPreview;
  QLabel* ImagePreview;
  QGroupBox* GroupBoxIP;
  QRadioButton* RadioButtonIPRandom;
  QRadioButton* RadioButtonIPFromPuzzle;
  QGroupBox* GroupBoxOP;
  QRadioButton* RadioButtonOPFromBoard;
  QRadioButton* RadioButtonOPFromPuzzle;
  QGroupBox* GroupBoxTL;
  QRadioButton* RadioButtonTLNone;
  QRadioButton* RadioButtonTLFromPuzzle;
  QGroupBox* GroupBoxML;
  QRadioButton* RadioButtonMLNone;
  QRadioButton* RadioButtonMLFromPuzzle;
  QGroupBox* GroupBoxComputer;
  QLabel* Label4;
  QComboBox* ComboBoxSpeed;
  QLabel* Label5;
  QComboBox* ComboBoxAccuracy;
  QCheckBox* CheckBoxTurn;
  QCheckBox* CheckBoxOpoTime;
  QCheckBox* CheckBoxOpoMoves;
  QRadioButton* RadioButtonOpoAnd;
  QRadioButton* RadioButtonOpoOr;
  QLabel* LabelCheats;
  QPushButton* ButtonOK;

  TCheatWordBuffer CheatWordBuffer;

 public slots:
  // Every way of closing (OK, Enter, Esc) goes through the close check.
  void done(int result) override;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TPreviewHold;
  void BuildLayout();
  void ApplyModeRules();
  void ApplyPuzzleOptionRule();
  // The puzzle and campaign selections cleared, the patterns and limits back to
  // "Random", "From Board File", "None", "None", then the puzzle-option rule.
  void ResetPuzzleChoice();
  // The board a picked puzzle or campaign level needs is there and can be read;
  // otherwise its message ("... needed for this Puzzle is missing.", or the reading's
  // problem) is shown and the choice is reset.
  bool BoardUsable(const std::string& boardName, const char* neededFor);
  void SelectDefaultSources();
  void UpdateAndOr();
  void IPRandomClick();
  void IPFromPuzzleClick();
  void OPFromBoardClick();
  void OPFromPuzzleClick();
  // The tile set the chosen board recommends, or the player's own back.
  void ApplyRecommendedTileSet(const TBoard& board);
  // Enter and Esc close; keys 32..255 go to the cheat word. True when the key was used up.
  bool FormKeyDown(const QKeyEvent* event);
  bool SeesKeysOf(const QObject* control) const;

  std::string ShownBoardName;  // the configured board when the window was shown
  int PreviewHolds = 0;
  bool PreviewWanted = false;
};

// Refreshes of the preview asked for while it lives are made once, when the last
// hold ends: one handler's rules may ask for several.
class TPreviewHold {
 public:
  explicit TPreviewHold(TFormGame* form) : Form(form) { ++Form->PreviewHolds; }
  ~TPreviewHold() {
    if (--Form->PreviewHolds == 0 && Form->PreviewWanted) Form->RefreshPreview();
  }
  TPreviewHold(const TPreviewHold&) = delete;
  TPreviewHold& operator=(const TPreviewHold&) = delete;

 private:
  TFormGame* Form;
};

// The one game configuration window, once it is created.
TFormGame* FormGame();

}  // namespace pav
