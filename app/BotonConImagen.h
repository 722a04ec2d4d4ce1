#pragma once
// A push button that shows a picture and no text. The pictures of the arrow
// cluster are about as large as their buttons, and the toolkit paints a
// button's icon over its frame; so this button paints the frame and the
// focus as a text button does, and the picture, centred on the button,
// only inside the frame. While pressed the picture moves one pixel down and
// to the right, as a button's face is pushed in.

#include <QPixmap>
#include <QPushButton>

class BotonConImagen : public QPushButton {
 public:
  BotonConImagen(const QPixmap& imagen, QWidget* padre);

 protected:
  void paintEvent(QPaintEvent* evento) override;

 private:
  QPixmap imagen_;
};
