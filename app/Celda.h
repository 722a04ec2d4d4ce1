#pragma once
// One dot of the grid: a check box without text that toggles wherever it is
// clicked, not only on its indicator.

#include <QCheckBox>

class Celda : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;
  QSize sizeHint() const override { return {17, 17}; }

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
