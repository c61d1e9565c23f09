#include "render/DialogLabels.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "media/Effects.h"
#include "render/Skinning.h"

namespace pav {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, Qt::Alignment align) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(align | Qt::AlignVCenter);
  return label;
}

void MakeBold(QLabel* label) {
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette;
  if (colour.isValid()) palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

QPushButton* MakeCloseButton(QDialog* dialog, QWidget* panel, const char* name, const char* text) {
  QPushButton* button = MakeDialogButton(panel, name, text);
  QObject::connect(button, &QPushButton::pressed, dialog, [] { PlayEffect(TEffect::Click); });
  QObject::connect(button, &QPushButton::clicked, dialog, [dialog] { dialog->done(QDialog::Accepted); });
  return button;
}

void ShowLimit(QLabel* label, std::int32_t value, const char* unit) {
  if (value != 0) {
    label->setText(QString::fromStdString(std::to_string(value) + unit));
    SetTextColour(label, HumanColour);
  } else {
    label->setText(QStringLiteral("None"));
    SetTextColour(label, QColor());
  }
}

}  // namespace pav
