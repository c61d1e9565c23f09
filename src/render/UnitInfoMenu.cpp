#include "render/UnitInfoMenu.h"


namespace pav {

namespace {

TFormInfoMenu* TheFormInfoMenu = nullptr;

std::vector<TMenuEntry> InfoEntries() {
  return {
      {QStringLiteral("     Help"), TMenuIcon::Help, Qt::Key_F1, QStringLiteral("F1"), TWindowTarget::Help,
       QStringLiteral("Help")},
      {QStringLiteral(" ShortCuts       "), TMenuIcon::ShortCuts, Qt::Key_F7, QStringLiteral("F7"),
       TWindowTarget::ShortCuts, QStringLiteral("ShortCuts")},
      {QStringLiteral("  Records"), TMenuIcon::Records, Qt::Key_F8, QStringLiteral("F8"), TWindowTarget::Records,
       QStringLiteral("Records")},
      {QStringLiteral("   About .."), TMenuIcon::About, Qt::Key_F9, QStringLiteral("F9"), TWindowTarget::About,
       QStringLiteral("About")},
  };
}

}  // namespace

TFormInfoMenu* FormInfoMenu() { return TheFormInfoMenu; }

void ShowInfoMenu() {
  if (TheFormInfoMenu != nullptr) TheFormInfoMenu->ShowMenu();
}

TFormInfoMenu::TFormInfoMenu(QWidget* parent)
    : TMenuDialog(parent, TMenuKind::Info, "INFORMATION", InfoEntries(), TMenuKind::Cfg,
                  Qt::Key_F11),
      ButtonHelp(EntryButton(0)),
      ButtonShortCuts(EntryButton(1)),
      ButtonRecords(EntryButton(2)),
      ButtonAbout(EntryButton(3)),
      LabelF1(EntryKeyLabel(0)),
      LabelF7(EntryKeyLabel(1)),
      LabelF8(EntryKeyLabel(2)),
      LabelF9(EntryKeyLabel(3)) {
  setObjectName(QStringLiteral("FormInfoMenu"));
  setWindowTitle(QStringLiteral("Information"));
  TheFormInfoMenu = this;
}

TFormInfoMenu::~TFormInfoMenu() {
  if (TheFormInfoMenu == this) TheFormInfoMenu = nullptr;
}

}  // namespace pav
