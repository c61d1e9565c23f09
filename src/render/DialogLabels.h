// The labels of the game's dialogs: plain-text labels, bold ones, and the colours
// that name a player: maroon for the human, navy for the computer; and the button
// that closes a dialog.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace pav {

inline const QColor HumanColour(128, 0, 0);
inline const QColor ComputerColour(0, 0, 128);

// A plain-text label named `name`, vertically centred.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, Qt::Alignment align);
void MakeBold(QLabel* label);
// An invalid colour gives the label back the panel's own text colour.
void SetTextColour(QLabel* label, const QColor& colour);
// A limit of 0 is no limit: "None" in the panel's own text colour; otherwise the
// value and its unit (" S", " M") in maroon.
void ShowLimit(QLabel* label, std::int32_t value, const char* unit);
// A button of `dialog`'s panel that sounds the click when pressed and accepts the
// dialog when clicked; Enter and Esc stay the dialog's own keys.
QPushButton* MakeCloseButton(QDialog* dialog, QWidget* panel, const char* name, const char* text);

}  // namespace pav
