#pragma once
// The character list. "a" and "A" are different characters, so a character
// typed while the list has the focus picks exactly that entry; the toolkit's
// own search would take the first entry that matches without regard to case.

#include <QComboBox>

class SelectorCaracter : public QComboBox {
 public:
  explicit SelectorCaracter(QWidget* padre = nullptr);
  // The open list is made when it is first opened, not at start-up.
  void showPopup() override;

 protected:
  void keyPressEvent(QKeyEvent* evento) override;
};
