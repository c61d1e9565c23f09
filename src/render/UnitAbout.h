// The about window: the game's name, who made it, its version, that it may be
// given away freely, and two links: the game's pages (the help page the game
// installs) and a mail, each opened with the desktop's handler.
#pragma once

#include <QLabel>
#include <QUrl>
#include <string>

#include "render/Skinning.h"

class QPushButton;

namespace pav {

// The game's version, as the build gives it ("1.0").
std::string ProgramVersion();

// Where the about window's links lead: the "What Pavilore is" part of the installed
// help page, and a new mail about the game in the desktop's mail program.
QUrl WebSiteUrl();
QUrl MailUrl();

// A label that opens its address with the desktop's handler when it is clicked.
class TLinkLabel : public QLabel {
  Q_OBJECT
 public:
  TLinkLabel(const QString& text, QWidget* parent);
  QUrl Url;

 protected:
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  bool Pressed = false;
};

class TFormAbout : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormAbout(QWidget* parent = nullptr);
  ~TFormAbout() override;

  void ButtonOKClick();

  QLabel* LabelName;
  QLabel* LabelCredit;
  QLabel* LabelVersion;
  QLabel* LabelFreeware;
  TLinkLabel* LabelWebSite;
  TLinkLabel* LabelEMail;
  QLabel* LabelWebSiteTarget;
  QLabel* LabelEMailTarget;
  QPushButton* ButtonOK;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Arrange();
};

// The one about window, once it is created.
TFormAbout* FormAbout();

}  // namespace pav
