#include "render/UnitShortCut.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "media/Effects.h"
#include "render/Skin.h"

namespace pav {

namespace {

TFormShortCut* TheFormShortCut = nullptr;

constexpr int ShortCutCols = 9;
constexpr int ShortCutRows = 4;
constexpr int ColumnCount = 3;
constexpr int SideMargin = 10;
constexpr int EndMargin = 6;
constexpr int KeyGap = 6;      // a key to its description
constexpr int MinButtonWidth = 88;
constexpr qreal SmallestPointSize = 6.5;

}  // namespace

const std::vector<TShortCut>& ShortCutList() {
  static const std::vector<TShortCut> list = {
      {"F1", "Help Index", 0},
      {"F2", "Game Cfg.", 0},
      {"F3", "General Options", 0},
      {"F4", "Graphics Cfg.", 0},
      {"F5", "Sounds Cfg.", 0},
      {"F6", "Music Cfg.", 0},
      {"F7", "ShortCut List", 0},
      {"F8", "Top 10 Scores", 1},
      {"F9", "About Pavilore", 1},
      {"F10", "Play / Stop Game", 1},
      {"F11", "Cfg. Menu", 1},
      {"F12", "Info Menu", 1},
      {"Esc", "Show / Hide Menu Bar", 1},
      {"Spc", "Show / Hide Objective", 1},
      {"M", "Music On / Off", 2},
      {"S", "Sounds On / Off", 2},
      {"W", "Mouse Wheel On / Off", 2},
      {"P", "Custom Picture Setup", 2},
  };
  return list;
}

TFormShortCut* FormShortCut() { return TheFormShortCut; }

TFormShortCut::TFormShortCut(QWidget* parent)
    : TSkinnedDialog(parent, "SHORTCUT LIST", ShortCutCols, ShortCutRows),
      ButtonOK(new QPushButton(QStringLiteral("&OK"), Panel())) {
  setObjectName(QStringLiteral("FormShortCut"));
  setWindowTitle(QStringLiteral("ShortCut List"));
  setModal(true);

  for (const TShortCut& s : ShortCutList()) {
    auto* key = new QLabel(QString::fromLatin1(s.Key), Panel());
    key->setTextFormat(Qt::PlainText);
    QFont bold = key->font();
    bold.setBold(true);
    key->setFont(bold);
    auto* text = new QLabel(QString::fromLatin1(s.Text), Panel());
    text->setTextFormat(Qt::PlainText);
    LabelKeys.push_back(key);
    LabelTexts.push_back(text);
  }

  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  MakeOwnKeyButton(ButtonOK);
  connect(ButtonOK, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, &TFormShortCut::ButtonOKClick);
  ButtonOK->installEventFilter(this);

  Arrange();
  TheFormShortCut = this;
}

TFormShortCut::~TFormShortCut() {
  if (TheFormShortCut == this) TheFormShortCut = nullptr;
}

void TFormShortCut::Arrange() {
  const auto& list = ShortCutList();
  const int panelWidth = Panel()->width();
  const int panelHeight = Panel()->height();
  const QSize button = ButtonOK->sizeHint().expandedTo(QSize(MinButtonWidth, 0));

  std::array<int, ColumnCount> rows{};
  for (const TShortCut& s : list) ++rows[static_cast<std::size_t>(s.Column)];
  const int mostRows = *std::max_element(rows.begin(), rows.end());

  // The desktop's font, made smaller only as far as needed to fit the panel.
  QFont keyFont = LabelKeys.front()->font();
  QFont textFont = LabelTexts.front()->font();
  std::array<int, ColumnCount> keyWidth{};
  std::array<int, ColumnCount> textWidth{};
  int lineHeight = 0;
  int columnGap = 0;
  for (;;) {
    const QFontMetrics keys(keyFont);
    const QFontMetrics texts(textFont);
    keyWidth.fill(0);
    textWidth.fill(0);
    for (const TShortCut& s : list) {
      const auto c = static_cast<std::size_t>(s.Column);
      keyWidth[c] = std::max(keyWidth[c], keys.horizontalAdvance(QString::fromLatin1(s.Key)));
      textWidth[c] = std::max(textWidth[c], texts.horizontalAdvance(QString::fromLatin1(s.Text)) + 2);
    }
    lineHeight = std::max(keys.height(), texts.height());
    int used = 2 * SideMargin;
    for (std::size_t c = 0; c < ColumnCount; ++c) used += keyWidth[c] + KeyGap + textWidth[c];
    columnGap = (panelWidth - used) / (ColumnCount - 1);
    const int lastColumnHeight = rows[ColumnCount - 1] * lineHeight + 4 + button.height();
    const bool fits = columnGap >= 8 && mostRows * lineHeight <= panelHeight - 2 * EndMargin &&
                      lastColumnHeight <= panelHeight - 2 * EndMargin;
    if (fits || textFont.pointSizeF() <= SmallestPointSize) break;
    keyFont.setPointSizeF(keyFont.pointSizeF() - 0.5);
    textFont.setPointSizeF(textFont.pointSizeF() - 0.5);
  }
  columnGap = std::max(columnGap, 4);

  // The lines spread over the panel's height, the button in the last column's free rows.
  const int spare = panelHeight - 2 * EndMargin - mostRows * lineHeight;
  const int lineStep = lineHeight + std::max(0, spare / std::max(1, mostRows));
  const int top = EndMargin + std::max(0, spare - (spare / std::max(1, mostRows)) * mostRows) / 2;

  std::array<int, ColumnCount> left{};
  int x = SideMargin;
  for (std::size_t c = 0; c < ColumnCount; ++c) {
    left[c] = x;
    x += keyWidth[c] + KeyGap + textWidth[c] + columnGap;
  }
  std::array<int, ColumnCount> row{};
  for (std::size_t i = 0; i < list.size(); ++i) {
    const auto c = static_cast<std::size_t>(list[i].Column);
    const int y = top + row[c]++ * lineStep;
    LabelKeys[i]->setFont(keyFont);
    LabelTexts[i]->setFont(textFont);
    LabelKeys[i]->setGeometry(left[c], y, keyWidth[c], lineStep);
    LabelTexts[i]->setGeometry(left[c] + keyWidth[c] + KeyGap, y, textWidth[c], lineStep);
    LabelKeys[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LabelTexts[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }

  // Under the last column, centred on it, level with the bottom line of the others.
  const std::size_t last = ColumnCount - 1;
  const int lastWidth = keyWidth[last] + KeyGap + textWidth[last];
  const int buttonTop = top + (mostRows - 1) * lineStep + (lineStep - button.height()) / 2;
  const int lowest = top + rows[last] * lineStep + 2;
  ButtonOK->setGeometry(left[last] + (lastWidth - button.width()) / 2, std::max(buttonTop, lowest) , button.width(),
                        button.height());
}

void TFormShortCut::FormShow() { ButtonOK->setFocus(); }

void TFormShortCut::ButtonOKClick() { done(Accepted); }

void TFormShortCut::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

bool TFormShortCut::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsDialogCloseKey(static_cast<QKeyEvent*>(event)->key())) {
    done(Accepted);
    return true;
  }
  return TSkinnedDialog::eventFilter(watched, event);
}

}  // namespace pav
