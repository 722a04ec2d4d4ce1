#pragma once
// The character list. "a" and "A" are different characters, so a character
// typed while the list has the focus picks exactly that entry; the toolkit's
// own search would take the first entry that matches without regard to case.
//
// Its characters are drawn larger than the window's captions, so that every
// accent and mark is plain, and the open list drops below the box showing a
// few entries at a time rather than covering the screen. A screen reader
// hears the list by its name, with the character chosen as its value.

#include <QComboBox>

class SelectorCaracter : public QComboBox {
 public:
  explicit SelectorCaracter(QWidget* padre = nullptr);
  // The open list is made when it is first opened, not at start-up.
  void showPopup() override;

  static constexpr int PixelesDeLaLetra = 14;
  static constexpr int EntradasALaVista = 12;

 protected:
  void keyPressEvent(QKeyEvent* evento) override;
  void changeEvent(QEvent* evento) override;

 private:
  bool listaHecha_ = false;
};
