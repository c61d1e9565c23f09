#include "app/UnitWelcome.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "media/Effects.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"

namespace pav {

namespace {

TFormWelcome* TheWelcome = nullptr;

constexpr int WelcomeCols = 7;
constexpr int WelcomeRows = 4;

}  // namespace

TFormWelcome* FormWelcome() { return TheWelcome; }

std::string WelcomeNameMessage(const std::string& typed) {
  const std::string name = Utf8ToCp1252(typed);
  if (name.size() > static_cast<std::size_t>(TFormWelcome::MaxNameLength))
    return "Player's name can't be longer than 12 characters.";
  if (name.empty()) return "You must type a name here.";
  return TypedPlayerNameProblem(typed);
}

TFormWelcome::TFormWelcome(QWidget* parent) : TSkinnedDialog(parent, "WELCOME !", WelcomeCols, WelcomeRows) {
  setWindowTitle(QStringLiteral("Welcome"));
  setModal(true);

  LabelWelcome = new QLabel(QStringLiteral("Welcome to Pavilore !"), Panel());
  LabelWelcome->setObjectName(QStringLiteral("LabelWelcome"));
  LabelWelcome->setAlignment(Qt::AlignCenter);
  QFont bold = LabelWelcome->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  LabelWelcome->setFont(bold);

  LabelPrompt = new QLabel(QStringLiteral("Insert your name here: (Max 12 chars)"), Panel());
  LabelPrompt->setObjectName(QStringLiteral("LabelPrompt"));

  EditName = new QLineEdit(Panel());
  EditName->setObjectName(QStringLiteral("EditName"));
  EditName->installEventFilter(this);

  ButtonPlay = new QPushButton(QStringLiteral("&OK"), Panel());
  ButtonPlay->setObjectName(QStringLiteral("ButtonPlay"));
  // Enter is the edit field's own; the button is pressed only by itself.
  MakeOwnKeyButton(ButtonPlay);
  connect(ButtonPlay, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonPlay, &QPushButton::clicked, this, &TFormWelcome::ButtonPlayClick);

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(6);
  layout->addWidget(LabelWelcome);
  layout->addWidget(LabelPrompt);
  layout->addWidget(EditName);
  layout->addWidget(ButtonPlay, 0, Qt::AlignHCenter);

  TheWelcome = this;
}

TFormWelcome::~TFormWelcome() {
  if (TheWelcome == this) TheWelcome = nullptr;
}

void TFormWelcome::FormShow() {
  EditName->setText(QString::fromStdString(Cp1252ToUtf8(App().Config.PlayerName.Str())));
  EditName->selectAll();
  EditName->setFocus();
}

void TFormWelcome::ButtonPlayClick() { done(Accepted); }

bool TFormWelcome::FormCloseQuery() {
  const std::string typed = EditName->text().toStdString();
  const std::string refusal = WelcomeNameMessage(typed);
  if (!refusal.empty()) {
    ShowMessage(refusal, TMessageIcon::Warning);
    return false;
  }
  const std::string name = Utf8ToCp1252(typed);
  TConfig& c = App().Config;
  c.PlayerName.Assign(name);
  // A failure keeps the lines in the buffer for the next write.
  WritePlayerLog(name);
  c.ShowWelcome = 0;
  return true;
}

void TFormWelcome::done(int result) {
  if (!FormCloseQuery()) return;
  TSkinnedDialog::done(result);
}

void TFormWelcome::keyPressEvent(QKeyEvent* e) {
  // No cancel: Escape does not close the window.
  if (e->key() == Qt::Key_Escape) {
    e->accept();
    return;
  }
  TSkinnedDialog::keyPressEvent(e);
}

bool TFormWelcome::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditName && event->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      done(Accepted);
      return true;
    }
  }
  return TSkinnedDialog::eventFilter(watched, event);
}

}  // namespace pav
