#include "frmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>

#include "ArchivoDeTrabajo.h"
#include "ArchivoInicial.h"
#include "Avisos.h"
#include "Ayuda.h"
#include "BotonConImagen.h"
#include "Celda.h"
#include "Comandos.h"
#include "Controles.h"
#include "Imagenes.h"
#include "Letra.h"
#include "LineaDeMarca.h"
#include "ListaArchivos.h"
#include "ListaCaracteres.h"
#include "MarcoCeldas.h"
#include "Portapapeles.h"
#include "SelectorCaracter.h"
#include "Textos.h"
#include "Transformaciones.h"
#include "mdlArchivos.h"

namespace {

// A control at its place, with its texts from the editor's table of texts.
void colocar(QWidget* control, const controles::Control& fila) {
  control->setObjectName(controles::nombreDe(fila));
  control->setGeometry(fila.lugar);
  if (const textos::TextosDeControl* t = textos::deControl(fila.nombre)) {
    // Only labels and buttons have a caption, and a property of that name.
    if (t->texto != nullptr) control->setProperty("text", QString::fromUtf8(t->texto));
    if (t->ayuda != nullptr) control->setToolTip(QString::fromUtf8(t->ayuda));
    if (t->nombreAccesible != nullptr) control->setAccessibleName(QString::fromUtf8(t->nombreAccesible));
  }
  if (fila.angosta) letra::angosta(*control);
}

// The JPEG reader shows a file cut short as far as it goes, grey below, and
// calls that a success. A whole JPEG ends with its end-of-image marker,
// which cannot stand anywhere in the coded picture; some writers pad the
// file with zeros after it. Other pictures are left to their readers.
bool jpegEntero(QFile& archivo) {
  constexpr qint64 Cola = 256;
  if (!archivo.seek(0) || archivo.read(2) != "\xFF\xD8") return true;
  if (!archivo.seek(qMax<qint64>(0, archivo.size() - Cola))) return false;
  QByteArray cola = archivo.read(Cola);
  while (cola.endsWith('\0')) cola.chop(1);
  return cola.endsWith("\xFF\xD9");
}

QPixmap imagen(std::string_view nombre) {
  return QPixmap::fromImage(imagenGuardada(QLatin1StringView(nombre.data(), qsizetype(nombre.size()))));
}

// One change of the drawing: the grid before and after it.
class CambioDeDibujo : public QUndoCommand {
 public:
  CambioDeDibujo(frmPrincipal* ventana, const glyph::GlyphGrid& antes, const glyph::GlyphGrid& despues)
      : ventana_(ventana), antes_(antes), despues_(despues) {}
  void undo() override { ventana_->escribirCeldas(antes_); }
  void redo() override { ventana_->escribirCeldas(despues_); }

 private:
  frmPrincipal* ventana_;
  glyph::GlyphGrid antes_;
  glyph::GlyphGrid despues_;
};

// In the name box the window's keys for the drawing keep their meaning for
// the text: the box takes them before the window's shortcuts do.
class TeclasDelTexto : public QObject {
 public:
  TeclasDelTexto(QObject* padre, const QList<QAction*>& acciones) : QObject(padre), acciones_(acciones) {}

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (evento->type() != QEvent::ShortcutOverride) return QObject::eventFilter(objeto, evento);
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    const QKeySequence pulsada(QKeyCombination(tecla->modifiers() & ~Qt::KeypadModifier, Qt::Key(tecla->key())));
    for (const QAction* a : acciones_) {
      if (a->shortcuts().contains(pulsada)) evento->accept();
    }
    return false;
  }

 private:
  QList<QAction*> acciones_;  // children made after the box, so deleted after it
};

}  // namespace

frmPrincipal::frmPrincipal(QWidget* padre) : QWidget(padre) {
  setObjectName(QStringLiteral("frmPrincipal"));
  setWindowTitle(textos::TituloAplicacion);
  setWindowIcon(QIcon(imagen("grafolux")));
  setFixedSize(controles::Ancho, controles::Alto);
  // A window of fixed size has nothing to maximize.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  letra::deLaVentana(*this);
  pasos_ = new QUndoStack(this);
  // A step keeps two drawings, 280 bytes: a long session stays small.
  pasos_->setUndoLimit(1000);
  crearControles();
  connect(qApp, &QApplication::focusChanged, this, &frmPrincipal::alFocoCambiado);
}

// The focus mark shows on the first cell from the start, not only after the
// first Tab. Showing the window clears the toolkit's flag for it, so it is
// set as the window shows.
void frmPrincipal::showEvent(QShowEvent* evento) {
  QWidget::showEvent(evento);
  setAttribute(Qt::WA_KeyboardFocusChange);
}

// QWidget's own destructor hides the window, and hiding it moves the focus:
// the application's signal must not reach a window already half destroyed.
frmPrincipal::~frmPrincipal() {
  if (qApp != nullptr) disconnect(qApp, &QApplication::focusChanged, this, &frmPrincipal::alFocoCambiado);
}

void frmPrincipal::crearControles() {
  QList<std::pair<int, QWidget*>> porTabulacion;
  for (const controles::Control& fila : controles::Tabla) {
    QWidget* control = crearControl(fila);
    colocar(control, fila);
    if (fila.tabulacion != controles::SinTabulacion) porTabulacion.append({fila.tabulacion, control});
    if (fila.tipo == controles::Tipo::Marco) {
      crearCeldas(control, porTabulacion);
      crearAcciones(control);
    }
  }
  // A list view tells a screen reader its tool tip only as its description.
  filArchivos_->setAccessibleDescription(filArchivos_->toolTip());
  txtArch_->installEventFilter(new TeclasDelTexto(txtArch_, acciones_));
  ordenarTabulacion(std::move(porTabulacion));
}

QWidget* frmPrincipal::crearControl(const controles::Control& fila) {
  const auto boton = [&](QPushButton* b) {
    // Enter and keypad Enter press the focused button, as Space does.
    b->setAutoDefault(true);
    connect(b, &QPushButton::clicked, this, fila.manejador);
    return b;
  };
  switch (fila.tipo) {
    case controles::Tipo::Imagen: {
      auto* l = new QLabel(this);
      l->setPixmap(imagen(fila.imagen));
      return l;
    }
    case controles::Tipo::Logo:
      return imgTolvane_ = new QLabel(this);
    case controles::Tipo::Rotulo:
      return new QLabel(this);
    case controles::Tipo::Marca:
      lblTolvane_ = new LineaDeMarca(this);
      // The line is shown as it is written, tags and ampersands too.
      lblTolvane_->setTextFormat(Qt::PlainText);
      return lblTolvane_;
    case controles::Tipo::Linea: {
      auto* l = new QFrame(this);
      l->setFrameShape(QFrame::HLine);
      l->setFrameShadow(QFrame::Plain);
      return l;
    }
    case controles::Tipo::Boton:
      return boton(new QPushButton(this));
    case controles::Tipo::BotonConImagen:
      return boton(new BotonConImagen(imagen(fila.imagen), this));
    case controles::Tipo::ListaCaracteres:
      return cboCarac_ = new SelectorCaracter(this);
    case controles::Tipo::Texto:
      return txtArch_ = new QLineEdit(this);
    case controles::Tipo::ListaArchivos:
      filArchivos_ = new ListaArchivos(this);
      connect(filArchivos_, &ListaArchivos::Click, this, fila.manejador);
      return filArchivos_;
    case controles::Tipo::Marco:
      // The cells sit on a frame of their own, which paints them.
      return new MarcoCeldas(this);
  }
  return nullptr;
}

void frmPrincipal::crearCeldas(QWidget* marco, QList<std::pair<int, QWidget*>>& porTabulacion) {
  for (int r = 1; r <= glyph::Filas; ++r) {
    for (int c = 1; c <= glyph::Columnas; ++c) {
      auto* celda = new Celda(static_cast<MarcoCeldas*>(marco));
      celda->setObjectName(QStringLiteral("chk%1_%2").arg(r).arg(c));
      celda->setAccessibleName(textos::nombreDeCelda(r, c));
      celda->setGeometry(controles::celda(r, c));
      const int indice = glyph::GlyphGrid::indice(r, c);
      celdas_[indice] = celda;
      porTabulacion.append({controles::tabulacionDeCelda(r, c), celda});
      // A click or Space: the cell has toggled itself.
      connect(celda, &QCheckBox::clicked, this, [this, indice] { celdaCambiada(indice); });
    }
  }
}

// The keys of the drawing, also offered by the grid's menu on the right
// button.
void frmPrincipal::crearAcciones(QWidget* menu) {
  QAction* deshacer = pasos_->createUndoAction(this, textos::AccionDeshacer);
  deshacer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* rehacer = pasos_->createRedoAction(this, textos::AccionRehacer);
  rehacer->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  const auto accion = [this](const QString& texto, QKeyCombination tecla, void (frmPrincipal::*manejador)()) {
    auto* a = new QAction(texto, this);
    a->setShortcut(tecla);
    connect(a, &QAction::triggered, this, manejador);
    return a;
  };
  acciones_ = {deshacer, rehacer, accion(textos::AccionCopiar, Qt::CTRL | Qt::Key_C, &frmPrincipal::Copiar),
               accion(textos::AccionPegar, Qt::CTRL | Qt::Key_V, &frmPrincipal::Pegar),
               accion(textos::AccionInvertir, Qt::CTRL | Qt::Key_I, &frmPrincipal::Invertir)};
  for (QAction* a : acciones_) a->setShortcutContext(Qt::WindowShortcut);
  addActions(acciones_);
  menu->setContextMenuPolicy(Qt::ActionsContextMenu);
  menu->addActions(acciones_);
}

// Tab goes round the controls that take the focus by their tab index, and
// the focus starts on the first.
void frmPrincipal::ordenarTabulacion(QList<std::pair<int, QWidget*>> porTabulacion) {
  std::ranges::sort(porTabulacion, {}, &std::pair<int, QWidget*>::first);
  QList<QWidget*> orden;
  for (const auto& [tabulacion, control] : porTabulacion) {
    if (control->focusPolicy() != Qt::NoFocus) orden.append(control);
  }
  for (qsizetype i = 0; i + 1 < orden.size(); ++i) setTabOrder(orden[i], orden[i + 1]);
  setTabOrder(orden.last(), orden.first());
  orden.first()->setFocus();
}

bool frmPrincipal::Form_Load(const QString& archivo) {
  CargarLogo();
  lblTolvane_->setText(fontfile::LeerMarca());
  const QString carpeta = carpetaInicial(archivo, filArchivos_->carpeta() + QStringLiteral("/tipografias"));
  if (!filArchivos_->setCarpeta(carpeta)) {
    avisos::mostrar({textos::rutaNoEncontrada(carpeta), textos::TituloAplicacion, avisos::Botones::Aceptar,
                     avisos::Icono::Critico});
    return false;
  }
  cboCarac_->addItems(fontfile::ListaCaracteres());
  cboCarac_->setCurrentIndex(-1);
  txtArch_->setText(nombreInicial(archivo));
  return true;
}

void frmPrincipal::CargarLogo() {
  const QString ruta = QStringLiteral("./ayuda/Archivos/logo.jpg");
  // Opening a FIFO or a device would wait for a writer, or read for ever.
  QFile archivo(ruta);
  if (!QFileInfo(ruta).isFile() || !archivo.open(QIODevice::ReadOnly)) return;
  QImageReader lector(ruta);
  // Decoded straight to the size it is shown at: the JPEG reader scales as
  // it decodes, so a photo costs no more memory than a small picture, and
  // the box needs no stretching of its own.
  const qreal escala = imgTolvane_->devicePixelRatioF();
  lector.setScaledSize(imgTolvane_->size() * escala);
  QImage logo = lector.read();
  if (logo.isNull() || !jpegEntero(archivo)) return;
  logo.setDevicePixelRatio(escala);
  imgTolvane_->setPixmap(QPixmap::fromImage(std::move(logo)));
}

glyph::GlyphGrid frmPrincipal::leerCeldas() const {
  glyph::GlyphGrid dibujo;
  for (int i = 0; i < glyph::Celdas; ++i) dibujo.valores[i] = celdas_[i]->isChecked() ? 1 : 0;
  return dibujo;
}

void frmPrincipal::escribirCeldas(const glyph::GlyphGrid& dibujo) {
  // A cell whose value does not change is neither written nor repainted.
  for (int i = 0; i < glyph::Celdas; ++i) celdas_[i]->setChecked(dibujo.valores[i] != 0);
}

void frmPrincipal::cambiar(std::int16_t valor) {
  glyph::GlyphGrid dibujo;
  glyph::cambiar(dibujo, valor);
  cambiarDibujo(dibujo);
}

void frmPrincipal::cambiarDibujo(const glyph::GlyphGrid& nuevo) {
  const glyph::GlyphGrid antes = leerCeldas();
  glyph::GlyphGrid despues;
  for (int i = 0; i < glyph::Celdas; ++i) despues.valores[i] = nuevo.valores[i] != 0 ? 1 : 0;
  if (despues != antes) pasos_->push(new CambioDeDibujo(this, antes, despues));
}

void frmPrincipal::celdaCambiada(int indice) {
  const glyph::GlyphGrid despues = leerCeldas();
  glyph::GlyphGrid antes = despues;
  antes.valores[indice] = despues.valores[indice] != 0 ? 0 : 1;
  pasos_->push(new CambioDeDibujo(this, antes, despues));
}

void frmPrincipal::aplicar(glyph::GlyphGrid (*comando)(const glyph::GlyphGrid&)) {
  cambiarDibujo(comando(leerCeldas()));
}

void frmPrincipal::cmdBorrar_Click() { cambiar(0); }
void frmPrincipal::cmdLlenar_Click() { cambiar(1); }
void frmPrincipal::cmdArr_Click() { aplicar(glyph::desplazarArriba); }
void frmPrincipal::cmdAba_Click() { aplicar(glyph::desplazarAbajo); }
void frmPrincipal::cmdIzq_Click() { aplicar(glyph::desplazarIzquierda); }
void frmPrincipal::cmdDer_Click() { aplicar(glyph::desplazarDerecha); }
void frmPrincipal::cmdReflejoH_Click() { aplicar(glyph::reflejoHorizontal); }
void frmPrincipal::cmdReflejoV_Click() { aplicar(glyph::reflejoVertical); }
void frmPrincipal::cmdRotarIzq_Click() { aplicar(glyph::rotarIzquierda); }
void frmPrincipal::cmdRotarDer_Click() { aplicar(glyph::rotarDerecha); }
void frmPrincipal::Invertir() { aplicar(glyph::invertir); }

void frmPrincipal::Copiar() { QGuiApplication::clipboard()->setMimeData(portapapeles::datosDelDibujo(leerCeldas())); }

// Anything on the clipboard that is no drawing leaves the grid as it is.
void frmPrincipal::Pegar() {
  if (const auto dibujo = portapapeles::dibujoDeDatos(QGuiApplication::clipboard()->mimeData())) cambiarDibujo(*dibujo);
}

QString frmPrincipal::caracterElegido() const {
  return cboCarac_->currentIndex() < 0 ? QString() : cboCarac_->currentText();
}

void frmPrincipal::cmdCrear_Click() {
  const fontfile::Resultado r = fontfile::crearArchivo(filArchivos_->carpeta(), txtArch_->text());
  if (r.hecho) filArchivos_->refrescar();
  if (r.focoAlNombre) txtArch_->setFocus();
}

void frmPrincipal::cmdGrabar_Click() {
  const fontfile::Resultado r =
      fontfile::grabarCaracter(filArchivos_->carpeta(), txtArch_->text(), caracterElegido(), leerCeldas());
  if (r.focoAlNombre) txtArch_->setFocus();
}

void frmPrincipal::cmdLeer_Click() {
  const fontfile::Resultado r = fontfile::cargarCaracter(filArchivos_->carpeta(), txtArch_->text(), caracterElegido());
  if (r.dibujo) cambiarDibujo(*r.dibujo);
  if (r.focoAlNombre) txtArch_->setFocus();
}

void frmPrincipal::cmdAyuda_Click() {
  if (!ayuda::abrir()) avisos::informar(textos::ayudaSinPrograma(ayuda::paginaDeAyuda().toLocalFile()));
}

void frmPrincipal::filArchivos_Click() {
  const QString nombre = filArchivos_->seleccionado();
  if (fontfile::formatoAdecuado(fontfile::rutaDeTrabajo(filArchivos_->carpeta(), nombre))) txtArch_->setText(nombre);
}

void frmPrincipal::txtArch_LostFocus() {
  const NombreRevisado revisado = revisarNombre(txtArch_->text());
  if (!revisado.incorrecto()) {
    if (revisado.texto != txtArch_->text()) txtArch_->setText(revisado.texto);
    return;
  }
  avisos::informar(textos::extensionIncorrecta(revisado.extensionIncorrecta));
  txtArch_->setFocus();
  // When a click took the focus away, the press that did it is still on its
  // way to the control: it must not toggle a cell or pick a file once the
  // user has been sent back to the box. Only that press is held back.
  qApp->installEventFilter(this);
  QTimer::singleShot(0, this, [this] { qApp->removeEventFilter(this); });
}

bool frmPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::MouseButtonPress || evento->type() == QEvent::MouseButtonDblClick) {
    qApp->removeEventFilter(this);
    return true;
  }
  return QWidget::eventFilter(objeto, evento);
}

// The name box is left only when the focus moves to another control of this
// window; a message box or another window taking the focus does not count,
// or the box's own message would send it round for ever.
void frmPrincipal::alFocoCambiado(QWidget* antes, QWidget* ahora) {
  if (antes == txtArch_ && ahora != nullptr && ahora->window() == this) txtArch_LostFocus();
}
