#include "MarcoCeldas.h"

#include <QPaintEvent>
#include <QPainter>

#include "Celda.h"

// The cells go first, while they can still leave the frame's list.
MarcoCeldas::~MarcoCeldas() {
  while (!celdas_.isEmpty()) delete celdas_.last();
}

void MarcoCeldas::agregar(Celda* celda) {
  celdas_.append(celda);
  olvidarPartes();
}

void MarcoCeldas::quitar(Celda* celda) {
  celdas_.removeOne(celda);
  olvidarPartes();
}

void MarcoCeldas::olvidarPartes() { partes_.clear(); }

const QRegion& MarcoCeldas::parteVisible(qsizetype indice) {
  if (partes_.size() != size_t(celdas_.size())) partes_.assign(celdas_.size(), std::nullopt);
  std::optional<QRegion>& parte = partes_[indice];
  if (!parte) {
    parte.emplace();
    const Celda* celda = celdas_[indice];
    if (!celda->isHidden()) {
      const QRect lugar = celda->geometry();
      *parte = lugar;
      for (qsizetype j = indice + 1; j < celdas_.size(); ++j) {
        if (!celdas_[j]->isHidden() && celdas_[j]->geometry().intersects(lugar)) *parte -= celdas_[j]->geometry();
      }
    }
  }
  return *parte;
}

void MarcoCeldas::recolocada(const Celda* celda) {
  olvidarPartes();
  if (pintado_) update(celda->geometry());
}

void MarcoCeldas::repintar(const Celda* celda) {
  if (!pintado_ || !isVisible()) return;
  const qsizetype indice = celdas_.indexOf(celda);
  if (indice >= 0) update(parteVisible(indice));
}

void MarcoCeldas::paintEvent(QPaintEvent* evento) {
  pintado_ = true;
  QPainter pintor(this);
  const QRegion& zona = evento->region();
  for (qsizetype i = 0; i < celdas_.size(); ++i) {
    if (zona.intersects(parteVisible(i).boundingRect())) celdas_[i]->pintarEn(pintor);
  }
}
