// The labels of the game's dialogs: plain-text labels, bold ones, and the colours
// that name a player: maroon for the human, navy for the computer.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

class QLabel;
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

}  // namespace pav
