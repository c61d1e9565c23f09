#include "render/UnitSkin.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <string>

#include "app/AppState.h"
#include "media/Effects.h"
#include "platform/Text.h"
#include "render/CustomPicture.h"
#include "render/Graphics.h"
#include "render/WindowTargets.h"

namespace pav {

namespace {

TFormSkin* TheFormSkin = nullptr;

constexpr int SkinCols = 6;
constexpr int SkinRows = 6;
constexpr int MinButtonWidth = 96;

QString Shown(const TName50& name) { return QString::fromStdString(Cp1252ToUtf8(name.Str())); }

bool SameName(const QString& entry, const TName50& configured) {
  return entry.compare(Shown(configured), Qt::CaseInsensitive) == 0;
}

void SelectEntry(QComboBox* list, const QString& name) {
  const QSignalBlocker quiet(list);
  list->setCurrentIndex(list->findText(name, Qt::MatchFixedString));
}

}  // namespace

TFormSkin* FormSkin() { return TheFormSkin; }

TFormSkin::TFormSkin(QWidget* parent)
    : TSkinnedDialog(parent, "GRAPHICS CONFIGURATION", SkinCols, SkinRows),
      GroupGB(new QGroupBox(QStringLiteral(" GUI + Board "), Panel())),
      ComboGB(new QComboBox(GroupGB)),
      GroupTS(new QGroupBox(QStringLiteral(" Tile Set "), Panel())),
      ComboTS(new QComboBox(GroupTS)),
      ButtonPicture(new QPushButton(QStringLiteral("Custom &Picture .."), GroupTS)),
      ButtonOK(new QPushButton(QStringLiteral("&OK"), Panel())) {
  setObjectName(QStringLiteral("FormSkin"));
  setWindowTitle(QStringLiteral("Graphics Configuration"));
  setModal(true);

  GroupGB->setObjectName(QStringLiteral("GroupGB"));
  GroupTS->setObjectName(QStringLiteral("GroupTS"));
  ComboGB->setObjectName(QStringLiteral("ComboGB"));
  ComboTS->setObjectName(QStringLiteral("ComboTS"));
  ButtonPicture->setObjectName(QStringLiteral("ButtonPicture"));
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  for (QPushButton* b : {ButtonPicture, ButtonOK}) {
    MakeOwnKeyButton(b);
    connect(b, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  }
  ButtonOK->setMinimumWidth(MinButtonWidth);
  connect(ButtonPicture, &QPushButton::clicked, this, &TFormSkin::ButtonPictureClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormSkin::ButtonOKClick);
  // The lists are filled with their signals blocked: a change is the player's.
  connect(ComboGB, &QComboBox::currentIndexChanged, this, &TFormSkin::ComboGBChange);
  connect(ComboTS, &QComboBox::currentIndexChanged, this, &TFormSkin::ComboTSChange);

  auto* gb = new QVBoxLayout(GroupGB);
  gb->setContentsMargins(10, 6, 10, 8);
  gb->addWidget(ComboGB);
  auto* ts = new QVBoxLayout(GroupTS);
  ts->setContentsMargins(10, 6, 10, 8);
  ts->setSpacing(6);
  ts->addWidget(ComboTS);
  ts->addWidget(ButtonPicture, 0, Qt::AlignRight);

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(12, 8, 12, 10);
  layout->setSpacing(8);
  layout->addWidget(GroupGB);
  layout->addWidget(GroupTS);
  layout->addStretch(1);
  layout->addWidget(ButtonOK, 0, Qt::AlignHCenter);

  TheFormSkin = this;
}

TFormSkin::~TFormSkin() {
  if (TheFormSkin == this) TheFormSkin = nullptr;
}

void TFormSkin::FormShow() {
  FormActivate();
  ButtonOK->setFocus();
}

void TFormSkin::changeEvent(QEvent* event) {
  TSkinnedDialog::changeEvent(event);
  // Back from the custom-picture window (or another program) the lists are read again.
  if (event->type() == QEvent::ActivationChange && isVisible() && isActiveWindow()) FormActivate();
}

void TFormSkin::FormActivate() {
  const TConfig& c = App().Config;
  ListGraphics(ComboGB, QStringLiteral("*.JPG"), Shown(c.BoardGraphics), true, QStringLiteral("bk"),
               QStringLiteral("ts"));
  ListGraphics(ComboGB, QStringLiteral("*.BMP"), Shown(c.BoardGraphics), false, QStringLiteral("bk"),
               QStringLiteral("ts"));
  ListGraphics(ComboTS, QStringLiteral("*.JPG"), Shown(c.TileSet), true, QStringLiteral("bk"),
               QStringLiteral("gb"));
  ListGraphics(ComboTS, QStringLiteral("*.BMP"), Shown(c.TileSet), false, QStringLiteral("bk"),
               QStringLiteral("gb"));
}

bool TFormSkin::ApplyGraphics(bool withBackground) {
  if (withBackground) LoadBackgroundPicture();
  const bool loaded = LoadGraphicsSet();
  ApplyCustomPicture();
  RepaintMainBoard(true);
  Reskin();
  ReskinDialogs();
  RedrawObjectivePreview();
  return loaded;
}

void TFormSkin::ComboGBChange() {
  if (ComboGB->currentIndex() < 0) return;
  const QString entry = ComboGB->currentText();
  TConfig& c = App().Config;
  if (SameName(entry, c.BoardGraphics)) return;
  const TName50 before = c.BoardGraphics;
  c.BoardGraphics.Assign(Utf8ToCp1252(entry.toStdString()));
  if (ApplyGraphics(true)) return;
  // A picture that cannot be read (its message was shown) is not kept: the next
  // start would have no skin at all. The set in use before comes back.
  c.BoardGraphics = before;
  ApplyGraphics(true);
  SelectEntry(ComboGB, Shown(before));
}

void TFormSkin::ComboTSChange() {
  if (ComboTS->currentIndex() < 0) return;
  const QString entry = ComboTS->currentText();
  TConfig& c = App().Config;
  if (SameName(entry, c.TileSet)) return;
  const TName50 before = c.TileSet;
  const TName50 userBefore = c.UserTileSet;
  c.TileSet.Assign(Utf8ToCp1252(entry.toStdString()));
  c.UserTileSet = c.TileSet;
  if (ApplyGraphics(false)) return;
  c.TileSet = before;
  c.UserTileSet = userBefore;
  ApplyGraphics(false);
  SelectEntry(ComboTS, Shown(before));
}

void TFormSkin::ButtonPictureClick() {
  OpenWindowTarget(TWindowTarget::CustomPicture);
}

void TFormSkin::ButtonOKClick() { done(Accepted); }

void TFormSkin::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
