// The picture buttons of the two menus: a small icon drawn by the game itself at
// the left, the caption's words after it, all captions of a menu lined up.
#pragma once

#include <QIcon>
#include <QPushButton>
#include <QString>

namespace pav {

// The pictures of the menu entries.
enum class TMenuIcon { Game, Options, Graphics, Sounds, Music, Help, ShortCuts, Records, About };

// An icon of `size` x `size` logical pixels, drawn for the screen's pixel ratio.
QIcon MenuIcon(TMenuIcon icon, int size = 16);

class TMenuButton : public QPushButton {
  Q_OBJECT
 public:
  // `caption` is the button's text exactly; it is drawn without its padding spaces.
  TMenuButton(const QString& caption, TMenuIcon icon, QWidget* parent);
  TMenuIcon Picture() const { return PictureKind; }

  static constexpr int IconSize = 16;
  static constexpr int IconLeft = 6;   // button's left edge to the icon
  static constexpr int TextLeft = 28;  // button's left edge to the caption

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  TMenuIcon PictureKind;
  QIcon IconImage;
};

}  // namespace pav
