#pragma once
// One dot of the grid: a check box without text that toggles wherever it is
// clicked, not only on its indicator.
//
// A command may change most of the 70 dots at once, and the toolkit's
// repaint of one small widget costs far more than its pixels: most of it
// goes on the widget's bookkeeping (docs/rendimiento.md has the figures).
// So a cell does not repaint itself on the screen: its frame
// (MarcoCeldas) paints the cells it is told have changed, in one pass with
// one painter. The cell keeps its own updates off, so that the toolkit
// neither schedules nor paints it, and tells the frame whenever its look
// changes: checked, hovered, pressed, focused, enabled, active, style or
// palette.
//
// Each cell is also a button group of its own. Unchecking a check box that
// is in no group makes the toolkit gather all the box's siblings to look for
// a checked partner, which cost more than the rest of unchecking a cell. In
// a group the toolkit moves among the group's boxes with the arrow keys;
// a cell moves to its neighbour in the grid instead.

#include <QCheckBox>

class MarcoCeldas;

class Celda : public QCheckBox {
 public:
  explicit Celda(MarcoCeldas* marco);
  ~Celda() override;
  QSize sizeHint() const override { return {17, 17}; }

  // Draws the cell as it looks now, at its place in the frame.
  void pintarEn(QPainter& pintor) const;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  bool event(QEvent* evento) override;
  void checkStateSet() override;
  void keyPressEvent(QKeyEvent* evento) override;
  // Used when the cell is drawn on its own (a grab of the cell alone); on
  // the screen the frame draws it.
  void paintEvent(QPaintEvent* evento) override;

 private:
  void avisarSiCambia();

  MarcoCeldas* marco_;
  // The style state of the look the frame was last asked to paint; -1 when
  // it must be painted again whatever the state.
  int aspecto_ = -1;
};
