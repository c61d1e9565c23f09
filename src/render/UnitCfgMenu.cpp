#include "render/UnitCfgMenu.h"

#include "app/AppState.h"

namespace pav {

namespace {

TFormCfgMenu* TheFormCfgMenu = nullptr;

constexpr int GameEntry = 0;

std::vector<TMenuEntry> CfgEntries() {
  return {
      {QStringLiteral("   Game"), TMenuIcon::Game, Qt::Key_F2, QStringLiteral("F2"), TWindowTarget::Game,
       QStringLiteral("Game")},
      {QStringLiteral("  Options"), TMenuIcon::Options, Qt::Key_F3, QStringLiteral("F3"), TWindowTarget::Options,
       QStringLiteral("Options")},
      {QStringLiteral(" Graphics        "), TMenuIcon::Graphics, Qt::Key_F4, QStringLiteral("F4"),
       TWindowTarget::Graphics, QStringLiteral("Graphics")},
      {QStringLiteral("  Sounds"), TMenuIcon::Sounds, Qt::Key_F5, QStringLiteral("F5"), TWindowTarget::Sounds,
       QStringLiteral("Sounds")},
      {QStringLiteral("   Music"), TMenuIcon::Music, Qt::Key_F6, QStringLiteral("F6"), TWindowTarget::Music,
       QStringLiteral("Music")},
  };
}

}  // namespace

TFormCfgMenu* FormCfgMenu() { return TheFormCfgMenu; }

void ShowCfgMenu() {
  if (TheFormCfgMenu != nullptr) TheFormCfgMenu->ShowMenu();
}

TFormCfgMenu::TFormCfgMenu(QWidget* parent)
    : TMenuDialog(parent, TMenuKind::Cfg, "CONFIGURATION", CfgEntries(), TMenuKind::Info,
                  Qt::Key_F12),
      ButtonGame(EntryButton(0)),
      ButtonOptions(EntryButton(1)),
      ButtonGraphics(EntryButton(2)),
      ButtonSounds(EntryButton(3)),
      ButtonMusic(EntryButton(4)),
      LabelF2(EntryKeyLabel(0)),
      LabelF3(EntryKeyLabel(1)),
      LabelF4(EntryKeyLabel(2)),
      LabelF5(EntryKeyLabel(3)),
      LabelF6(EntryKeyLabel(4)) {
  setObjectName(QStringLiteral("FormCfgMenu"));
  setWindowTitle(QStringLiteral("Configuration"));
  TheFormCfgMenu = this;
}

TFormCfgMenu::~TFormCfgMenu() {
  if (TheFormCfgMenu == this) TheFormCfgMenu = nullptr;
}

bool TFormCfgMenu::EntryAvailable(int index) const {
  // What is played cannot change under a running game.
  return index != GameEntry || !App().State.GameRunning;
}

}  // namespace pav
