#include "render/UnitAbout.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "media/Effects.h"
#include "platform/qt/Shell.h"
#include "render/Skin.h"

#ifndef PAVILORE_VERSION
#error "PAVILORE_VERSION is given by the build"
#endif

namespace pav {

namespace {

TFormAbout* TheFormAbout = nullptr;

constexpr int AboutCols = 6;
constexpr int AboutRows = 5;
constexpr int SideMargin = 12;
constexpr int LineGap = 1;
constexpr int SectionGap = 6;
constexpr int LinkGap = 6;  // a link to the words saying where it leads
constexpr int MinButtonWidth = 88;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

std::string ProgramVersion() { return PAVILORE_VERSION; }

QUrl WebSiteUrl() { return HelpFileUrl(QStringLiteral("about")); }

QUrl MailUrl() { return QUrl(QStringLiteral("mailto:?subject=Pavilore")); }

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  QFont font = this->font();
  font.setUnderline(true);
  setFont(font);
}

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
  Pressed = event->button() == Qt::LeftButton;
  event->accept();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  // Opened on the release over the link, as a link is followed.
  const bool follow = Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  Pressed = false;
  if (follow) OpenUrl(Url);
}

TFormAbout* FormAbout() { return TheFormAbout; }

TFormAbout::TFormAbout(QWidget* parent)
    : TSkinnedDialog(parent, "ABOUT ..", AboutCols, AboutRows),
      LabelName(MakeLabel(Panel(), "LabelName", QStringLiteral("Pavilore"))),
      LabelCredit(MakeLabel(Panel(), "LabelCredit", QStringLiteral("Made by the Pavilore developers"))),
      LabelVersion(MakeLabel(Panel(), "LabelVersion",
                             QStringLiteral("Version ") + QString::fromStdString(ProgramVersion()))),
      LabelFreeware(MakeLabel(Panel(), "LabelFreeware", QStringLiteral("This game may be distributed freely."))),
      LabelWebSite(new TLinkLabel(QStringLiteral("Game's Web Site :"), Panel())),
      LabelEMail(new TLinkLabel(QStringLiteral("Author's E-Mail :"), Panel())),
      LabelWebSiteTarget(MakeLabel(Panel(), "LabelWebSiteTarget", QStringLiteral("the help page"))),
      LabelEMailTarget(MakeLabel(Panel(), "LabelEMailTarget", QStringLiteral("a new mail"))),
      ButtonOK(new QPushButton(QStringLiteral("&OK"), Panel())) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(QStringLiteral("About Pavilore"));
  setModal(true);

  QFont name = LabelName->font();
  name.setBold(true);
  name.setPointSizeF(name.pointSizeF() * 1.4);
  LabelName->setFont(name);

  LabelWebSite->setObjectName(QStringLiteral("LabelWebSite"));
  LabelEMail->setObjectName(QStringLiteral("LabelEMail"));
  for (QLabel* target : {LabelWebSiteTarget, LabelEMailTarget}) {
    QFont italic = target->font();
    italic.setItalic(true);
    target->setFont(italic);
    target->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }

  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  MakeOwnKeyButton(ButtonOK);
  connect(ButtonOK, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, &TFormAbout::ButtonOKClick);
  ButtonOK->installEventFilter(this);

  Arrange();
  TheFormAbout = this;
}

TFormAbout::~TFormAbout() {
  if (TheFormAbout == this) TheFormAbout = nullptr;
}

void TFormAbout::Arrange() {
  const int panelWidth = Panel()->width();
  const int panelHeight = Panel()->height();
  const int width = panelWidth - 2 * SideMargin;
  const QSize button = ButtonOK->sizeHint().expandedTo(QSize(MinButtonWidth, 0));
  const int nameHeight = LabelName->fontMetrics().height();
  const int lineHeight = LabelCredit->fontMetrics().height();

  // The two links with the colons one above the other, the pair centred.
  const int linkWidth = std::max(LabelWebSite->fontMetrics().horizontalAdvance(LabelWebSite->text()),
                                 LabelEMail->fontMetrics().horizontalAdvance(LabelEMail->text())) +
                        2;
  const int targetWidth =
      std::max(LabelWebSiteTarget->fontMetrics().horizontalAdvance(LabelWebSiteTarget->text()),
               LabelEMailTarget->fontMetrics().horizontalAdvance(LabelEMailTarget->text())) +
      2;
  const int linksLeft = std::max(SideMargin, (panelWidth - linkWidth - LinkGap - targetWidth) / 2);

  const int contentHeight = nameHeight + 3 * (lineHeight + LineGap) + SectionGap + 2 * lineHeight + LineGap +
                            SectionGap + button.height();
  int y = std::max(4, (panelHeight - contentHeight) / 2);
  LabelName->setGeometry(SideMargin, y, width, nameHeight);
  y += nameHeight + LineGap;
  for (QLabel* line : {LabelCredit, LabelVersion, LabelFreeware}) {
    line->setGeometry(SideMargin, y, width, lineHeight);
    y += lineHeight + LineGap;
  }
  y += SectionGap - LineGap;
  LabelWebSite->setGeometry(linksLeft, y, linkWidth, lineHeight);
  LabelWebSiteTarget->setGeometry(linksLeft + linkWidth + LinkGap, y, targetWidth, lineHeight);
  y += lineHeight + LineGap;
  LabelEMail->setGeometry(linksLeft, y, linkWidth, lineHeight);
  LabelEMailTarget->setGeometry(linksLeft + linkWidth + LinkGap, y, targetWidth, lineHeight);
  y += lineHeight + SectionGap;
  ButtonOK->setGeometry((panelWidth - button.width()) / 2, y, button.width(), button.height());
}

void TFormAbout::FormShow() {
  // The help page's place follows the installation folder.
  LabelWebSite->Url = WebSiteUrl();
  LabelEMail->Url = MailUrl();
  for (QLabel* link : {static_cast<QLabel*>(LabelWebSite), static_cast<QLabel*>(LabelEMail)}) {
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, Panel()->palette().color(QPalette::Link));
    link->setPalette(palette);
  }
  ButtonOK->setFocus();
}

void TFormAbout::ButtonOKClick() { done(Accepted); }

void TFormAbout::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsDialogCloseKey(static_cast<QKeyEvent*>(event)->key())) {
    done(Accepted);
    return true;
  }
  return TSkinnedDialog::eventFilter(watched, event);
}

}  // namespace pav
