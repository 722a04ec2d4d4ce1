#pragma once
// The frame the cells of the grid sit on. It paints them: a cell that
// changes asks the frame to repaint the part of it that shows, and the frame
// draws every cell showing in the region with one painter.
//
// Neighbouring cells share a row or column of pixels, and the cell made
// later lies on top there and takes the clicks. So the part of a cell that
// shows is its square less the cells made after it, and cells are drawn in
// the order they were made.

#include <QList>
#include <QRegion>
#include <QWidget>
#include <optional>
#include <vector>

class Celda;

class MarcoCeldas : public QWidget {
 public:
  explicit MarcoCeldas(QWidget* padre = nullptr) : QWidget(padre) {}
  ~MarcoCeldas() override;

  // Repaints the part of the cell that shows.
  void repintar(const Celda* celda);
  // Repaints where the cell lies, after it came, went, moved, was shown or
  // hidden, and works out again what shows of each cell.
  void recolocada(const Celda* celda);

 protected:
  void paintEvent(QPaintEvent* evento) override;

 private:
  friend class Celda;
  void agregar(Celda* celda);
  void quitar(Celda* celda);
  void olvidarPartes();
  const QRegion& parteVisible(qsizetype indice);

  QList<Celda*> celdas_;
  // Until the frame is first painted no cell needs repainting: that paint
  // draws them all. Skipping it spares the start-up work for each of the 70
  // cells as the window is shown.
  bool pintado_ = false;
  // By cell, in the frame's coordinates; each worked out when first needed.
  std::vector<std::optional<QRegion>> partes_;
};
