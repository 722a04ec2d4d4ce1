#include "BotonConImagen.h"

#include <QStyleOptionButton>
#include <QStylePainter>

BotonConImagen::BotonConImagen(const QPixmap& imagen, QWidget* padre) : QPushButton(padre), imagen_(imagen) {}

void BotonConImagen::paintEvent(QPaintEvent*) {
  QStylePainter pintor(this);
  QStyleOptionButton opcion;
  initStyleOption(&opcion);
  // Without text or icon the style draws the bevel and the focus alone.
  pintor.drawControl(QStyle::CE_PushButton, opcion);
  // The frame keeps its outline and its bevel line in view.
  pintor.setClipRect(style()->subElementRect(QStyle::SE_PushButtonContents, &opcion, this).adjusted(1, 1, -1, -1));
  const QSize lado = imagen_.deviceIndependentSize().toSize();
  QPoint lugar((width() - lado.width()) / 2, (height() - lado.height()) / 2);
  if (isDown() || isChecked()) lugar += QPoint(1, 1);
  pintor.drawPixmap(lugar, imagen_);
}
