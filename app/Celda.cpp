#include "Celda.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "MarcoCeldas.h"

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

Celda::Celda(MarcoCeldas* marco) : QCheckBox(marco), marco_(marco) {
  setUpdatesEnabled(false);
  auto* grupo = new QButtonGroup(this);
  grupo->setExclusive(false);
  grupo->addButton(this);
  marco_->agregar(this);
}

Celda::~Celda() { marco_->quitar(this); }

void Celda::pintarEn(QPainter& pintor) const {
  QStyleOptionButton opcion;
  initStyleOption(&opcion);
  const QPoint lugar = pos();
  const QBrush fondo = palette().brush(QPalette::Window);
  if (fondo.style() != Qt::SolidPattern || !opcion.text.isEmpty() || !opcion.icon.isNull()) {
    // Only a plain cell on a plain background is kept as a picture.
    pintor.save();
    pintor.translate(lugar);
    pintor.fillRect(rect(), fondo);
    style()->drawControl(QStyle::CE_CheckBox, &opcion, &pintor, this);
    pintor.restore();
    return;
  }
  // A handful of looks at most, kept as images so that they may outlive the
  // application object.
  static QHash<Aspecto, QImage> imagenes;
  const Aspecto aspecto{style(), palette().cacheKey(), int(opcion.state), int(opcion.direction),
                        size(),  devicePixelRatio()};
  auto guardada = imagenes.constFind(aspecto);
  if (guardada == imagenes.cend()) {
    QImage imagen(size() * aspecto.escala, QImage::Format_ARGB32_Premultiplied);
    imagen.setDevicePixelRatio(aspecto.escala);
    imagen.fill(fondo.color());
    QPainter enImagen(&imagen);
    enImagen.setFont(font());
    style()->drawControl(QStyle::CE_CheckBox, &opcion, &enImagen, this);
    enImagen.end();
    guardada = imagenes.insert(aspecto, imagen);
  }
  pintor.drawImage(lugar, *guardada);
}

void Celda::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  pintor.translate(-pos());
  pintarEn(pintor);
}

void Celda::avisarSiCambia() {
  QStyleOptionButton opcion;
  initStyleOption(&opcion);
  const int aspecto = int(opcion.state);
  if (aspecto == aspecto_) return;
  aspecto_ = aspecto;
  marco_->repintar(this);
}

bool Celda::event(QEvent* evento) {
  const bool tratado = QCheckBox::event(evento);
  switch (evento->type()) {
    case QEvent::Paint:
      break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      // What shows of this cell and of its neighbours changes. The toolkit
      // repaints the frame where a moved cell was; the frame repaints where
      // the cell is, or was when it hides.
      marco_->recolocada(this);
      aspecto_ = -1;
      break;
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange:
      // The look may change with the same style state.
      aspecto_ = -1;
      avisarSiCambia();
      break;
    default:
      avisarSiCambia();
  }
  return tratado;
}

void Celda::checkStateSet() {
  QCheckBox::checkStateSet();
  // Only the check mark can have changed here, and a command sets all 70
  // cells: the rest of the look is taken as it was last seen.
  if (aspecto_ == -1) {
    avisarSiCambia();
    return;
  }
  const int marca = isChecked() ? QStyle::State_On : QStyle::State_Off;
  const int aspecto = (aspecto_ & ~int(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange)) | marca;
  if (aspecto == aspecto_) return;
  aspecto_ = aspecto;
  marco_->repintar(this);
}

// The arrow keys go to the neighbouring cell as drawn, one pitch away, and
// stop at the grid's edge; Tab keeps the window's order.
void Celda::keyPressEvent(QKeyEvent* evento) {
  const int paso = width() - 1;
  const int haciaLaDerecha = layoutDirection() == Qt::RightToLeft ? -paso : paso;
  QPoint hacia;
  switch (evento->key()) {
    case Qt::Key_Up:
      hacia = {0, -paso};
      break;
    case Qt::Key_Down:
      hacia = {0, paso};
      break;
    case Qt::Key_Left:
      hacia = {-haciaLaDerecha, 0};
      break;
    case Qt::Key_Right:
      hacia = {haciaLaDerecha, 0};
      break;
    default:
      QCheckBox::keyPressEvent(evento);
      return;
  }
  if (auto* vecina = dynamic_cast<Celda*>(marco_->childAt(geometry().center() + hacia)))
    vecina->setFocus(Qt::TabFocusReason);
}
