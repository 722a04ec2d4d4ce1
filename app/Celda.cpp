#include "Celda.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// Everything the style's drawing of a cell depends on.
struct Aspecto {
  const QStyle* estilo;
  qint64 paleta;
  int estado;
  int sentido;
  QSize lado;
  qreal escala;
  friend bool operator==(const Aspecto&, const Aspecto&) = default;
};

size_t qHash(const Aspecto& a, size_t semilla = 0) {
  return qHashMulti(semilla, a.estilo, a.paleta, a.estado, a.sentido, a.lado.width(), a.lado.height(), a.escala);
}

}  // namespace

Celda::Celda(QWidget* padre) : QCheckBox(padre) {}

// What a cell shares with the cells stacked above it is theirs to paint and
// to click, so leaving it out of the cell changes nothing seen or clicked.
void Celda::showEvent(QShowEvent* evento) {
  QCheckBox::showEvent(evento);
  if (parentWidget() == nullptr) return;
  QRegion propia(rect());
  const QObjectList& hermanos = parentWidget()->children();
  for (qsizetype i = hermanos.indexOf(this) + 1; i < hermanos.size(); ++i) {
    if (!hermanos[i]->isWidgetType()) continue;
    const auto* hermano = static_cast<const QWidget*>(hermanos[i]);
    if (hermano->geometry().intersects(geometry()) && dynamic_cast<const Celda*>(hermano) != nullptr) {
      propia -= hermano->geometry().translated(-pos());
    }
  }
  if (propia == QRegion(rect())) {
    clearMask();
  } else {
    setMask(propia);
  }
}

void Celda::paintEvent(QPaintEvent*) {
  QStyleOptionButton opcion;
  initStyleOption(&opcion);
  QPainter pintor(this);
  const QBrush fondo = palette().brush(QPalette::Window);
  if (fondo.style() != Qt::SolidPattern || !opcion.text.isEmpty() || !opcion.icon.isNull()) {
    // Only a plain cell on a plain background is kept as a picture.
    pintor.fillRect(rect(), fondo);
    style()->drawControl(QStyle::CE_CheckBox, &opcion, &pintor, this);
    return;
  }
  // A handful of looks at most, kept as images so that they may outlive the
  // application object.
  static QHash<Aspecto, QImage> dibujos;
  const Aspecto aspecto{style(), palette().cacheKey(), int(opcion.state), int(opcion.direction),
                        size(),  devicePixelRatio()};
  auto dibujo = dibujos.constFind(aspecto);
  if (dibujo == dibujos.cend()) {
    QImage imagen(size() * aspecto.escala, QImage::Format_ARGB32_Premultiplied);
    imagen.setDevicePixelRatio(aspecto.escala);
    imagen.fill(fondo.color());
    QPainter enImagen(&imagen);
    enImagen.setFont(font());
    style()->drawControl(QStyle::CE_CheckBox, &opcion, &enImagen, this);
    enImagen.end();
    dibujo = dibujos.insert(aspecto, imagen);
  }
  pintor.drawImage(0, 0, *dibujo);
}
