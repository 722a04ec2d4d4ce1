#include "LineaDeMarca.h"

#include <QPainter>
#include <QStyle>

void LineaDeMarca::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  const QRect caja = contentsRect();
  const Qt::Alignment lado = fontMetrics().horizontalAdvance(text()) <= caja.width() ? Qt::AlignHCenter : Qt::AlignLeft;
  style()->drawItemText(&pintor, caja, int(lado | Qt::AlignTop), palette(), isEnabled(), text(), foregroundRole());
}
