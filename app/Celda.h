#pragma once
// One dot of the grid: a check box without text that toggles wherever it is
// clicked, not only on its indicator.
//
// A command may change most of the 70 dots at once, so a cell paints fast
// and alone. It leaves out the pixel it shares with the cells on top of it
// (cells overlap their neighbours by a pixel), so that only the cells that
// change are repainted. It is not marked opaque: the toolkit would then
// weigh every opaque sibling against each repainted cell. And it draws a
// picture of itself kept per look (checked, hovered, focused, pressed, ...)
// instead of asking the style to draw it each time.

#include <QCheckBox>

class Celda : public QCheckBox {
 public:
  explicit Celda(QWidget* padre = nullptr);
  QSize sizeHint() const override { return {17, 17}; }

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  void paintEvent(QPaintEvent* evento) override;
  void showEvent(QShowEvent* evento) override;
};
