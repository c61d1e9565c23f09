// The game configuration window's choices of files and its close check: the checks
// of a picked puzzle or campaign, and applying every choice when the window closes.
#include <QComboBox>
#include <QRadioButton>
#include <QCheckBox>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "app/AppState.h"
#include "files/GameFiles.h"
#include "files/UnitGame.h"
#include "platform/Paths.h"
#include "platform/qt/MessageBox.h"
#include "render/Renderer.h"
#include "ui/UnitMain.h"

namespace pav {

namespace {

std::string NoLevelsMessage(const TCampaign& campaign) {
  return "There aren't any levels defined in the Campaign \"" + campaign.Title.Str() + "\"." + "\r" +
         "Plase define at least one level with the Campaign Editor.";
}

}  // namespace

// ---- Picks --------------------------------------------------------------------------

void TFormGame::ComboBoxBoardChange() {
  TPreviewHold hold(this);
  SelectDefaultSources();
  SelectEntry(ComboBoxPuzzle, "");
  SelectEntry(ComboBoxCampaign, "");
  ApplyPuzzleOptionRule();
  RefreshPreview();
}

bool TFormGame::BoardUsable(const std::string& boardName, const char* neededFor) {
  if (!FileExists(BoardFile(boardName))) {
    ShowMessage("The board '" + boardName + "' needed for this " + neededFor + " is missing.",
                TMessageIcon::Warning);
    ResetPuzzleChoice();
    return false;
  }
  auto board = std::make_unique<TBoard>();
  if (!LoadReported([&] { LoadBoard(BoardFile(boardName), *board); })) {
    ResetPuzzleChoice();
    return false;
  }
  return true;
}

void TFormGame::ComboBoxPuzzleChange() {
  TPreviewHold hold(this);
  const std::string name = ListText(ComboBoxPuzzle);
  if (name.empty()) return;
  auto puzzle = std::make_unique<TPuzzle>();
  if (!LoadReported([&] { LoadPuzzle(PuzzleFile(name), *puzzle); })) {
    ResetPuzzleChoice();
    return;
  }
  const std::string boardName = puzzle->BoardName.Str();
  if (!BoardUsable(boardName, "Puzzle")) return;
  // The puzzle is chosen: its four options become available and selected.
  ApplyPuzzleOptionRule();
  SelectEntry(ComboBoxBoard, boardName);
  SelectEntry(ComboBoxCampaign, "");
  RefreshPreview();
}

void TFormGame::ComboBoxCampaignChange() {
  TPreviewHold hold(this);
  const std::string name = ListText(ComboBoxCampaign);
  if (name.empty()) return;
  auto campaign = std::make_unique<TCampaign>();
  if (!LoadReported([&] { LoadCampaign(CampaignFile(name), *campaign); })) {
    ResetPuzzleChoice();
    return;
  }
  if (campaign->Levels[0].Empty()) {
    ShowMessage(NoLevelsMessage(*campaign), TMessageIcon::Warning);
    SelectEntry(ComboBoxCampaign, "");
    ApplyPuzzleOptionRule();
    return;
  }
  const std::string level = campaign->Levels[0].Str();
  if (!LevelPuzzleExists(level)) {
    ShowMessage("The puzzle '" + level + "' needed for this Campaign is missing.", TMessageIcon::Warning);
    ResetPuzzleChoice();
    return;
  }
  auto puzzle = std::make_unique<TPuzzle>();
  if (!LoadReported([&] { LoadPuzzle(LevelPuzzleFile(level), *puzzle); })) {
    ResetPuzzleChoice();
    return;
  }
  const std::string boardName = puzzle->BoardName.Str();
  if (!BoardUsable(boardName, "Campaign")) return;
  RadioButtonIPFromPuzzle->setChecked(true);
  SelectEntry(ComboBoxBoard, boardName);
  // A level kept only among the campaign levels is not in the puzzle list.
  SelectEntry(ComboBoxPuzzle, FileExists(PuzzleFile(level)) ? level : std::string());
  RefreshPreview();
}

// ---- Closing ------------------------------------------------------------------------------

bool TFormGame::FormCloseQuery() {
  const int mode = SelectedMode();
  if (mode == 3 && ComboBoxCampaign->currentIndex() < 0) {
    ShowMessage("Please choose a Campaign File or change the Game Mode", TMessageIcon::Warning);
    return false;
  }
  if (ComboBoxBoard->count() == 0) {
    ShowMessage("There aren't any boards in the 'Boards' folder.", TMessageIcon::Warning);
    return false;
  }
  const std::string boardName = ListText(ComboBoxBoard);
  if (boardName.empty()) {
    ShowMessage("Please choose a Board File.", TMessageIcon::Warning);
    return false;
  }

  // Everything is read first; Config and Game change only when every file could be used.
  const std::string campaignName = ListText(ComboBoxCampaign).substr(0, TName50::Capacity);
  std::unique_ptr<TCampaign> campaign;
  if (!campaignName.empty()) {
    campaign = std::make_unique<TCampaign>();
    if (!LoadReported([&] { LoadCampaign(CampaignFile(campaignName), *campaign); })) {
      ResetPuzzleChoice();
      return false;
    }
  }
  auto board = std::make_unique<TBoard>();
  if (!LoadReported([&] { LoadBoard(BoardFile(boardName), *board); })) {
    SelectEntry(ComboBoxBoard, "");
    ResetPuzzleChoice();
    return false;
  }
  std::string puzzleName, puzzlePath;
  if (mode == 3) {
    puzzleName = campaign->Levels[0].Str();
    if (puzzleName.empty()) {
      ShowMessage(NoLevelsMessage(*campaign), TMessageIcon::Warning);
      ResetPuzzleChoice();
      return false;
    }
    puzzlePath = LevelPuzzleFile(puzzleName);
  } else {
    puzzleName = ListText(ComboBoxPuzzle);
    puzzlePath = PuzzleFile(puzzleName);
  }
  std::unique_ptr<TPuzzle> puzzle;
  if (!puzzleName.empty()) {
    puzzle = std::make_unique<TPuzzle>();
    if (!LoadReported([&] { LoadPuzzle(puzzlePath, *puzzle); })) {
      ResetPuzzleChoice();
      return false;
    }
  }

  TApp& app = App();
  TConfig& c = app.Config;
  TGame& g = app.Game();
  c.GameMode = static_cast<std::uint8_t>(mode);
  c.CampaignName.Assign(campaignName);
  c.BoardName.Assign(boardName);
  c.PuzzleName.Assign(puzzleName);
  if (campaign) g.Campaign = *campaign;
  g.Board = *board;
  if (puzzle) g.Puzzle = *puzzle;
  // Without a puzzle nothing can come from one.
  c.IPFromPuzzle = puzzle && RadioButtonIPFromPuzzle->isChecked();
  c.OPFromPuzzle = puzzle && RadioButtonOPFromPuzzle->isChecked();
  c.TLFromPuzzle = puzzle && RadioButtonTLFromPuzzle->isChecked();
  c.MLFromPuzzle = puzzle && RadioButtonMLFromPuzzle->isChecked();
  c.ComputerSpeed = static_cast<std::uint8_t>(std::max(0, ComboBoxSpeed->currentIndex()));
  c.ComputerAccuracy = static_cast<std::uint8_t>(std::max(0, ComboBoxAccuracy->currentIndex()));
  c.HumanPlaysFirst = CheckBoxTurn->isChecked();
  c.UseOpponentTime = CheckBoxOpoTime->isChecked();
  c.UseOpponentMoves = CheckBoxOpoMoves->isChecked();
  c.OpponentAnd = RadioButtonOpoAnd->isChecked();
  // The main window shows the objective until a game starts.
  g.Current = c.IPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern;

  TFormMain* main = FormMain();
  if (c.BoardName.Str() != ShownBoardName) {
    app.OPPlacementPending = true;
    if (main) {
      const QScreen* screen = main->screen();
      const QSize area = screen ? screen->geometry().size() : QSize();
      main->ResizeMainWindow(true, !MainWindowFits(main->x(), main->y(), g.Board.Width, g.Board.Height, area), true);
    } else {
      DrawBoard(true);
    }
  } else {
    DrawBoard(true);
    if (main) main->update();
  }
  FlushPaints();
  return true;
}

void TFormGame::done(int result) {
  if (!FormCloseQuery()) return;
  TSkinnedDialog::done(result);
}

void TFormGame::ButtonOKClick() { done(Accepted); }

}  // namespace pav
