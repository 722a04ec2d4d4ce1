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

#include "ArchivoDeTrabajo.h"
#include "ArchivoInicial.h"
#include "Avisos.h"
#include "Ayuda.h"
#include "BotonConImagen.h"
#include "Celda.h"
#include "Comandos.h"
#include "Imagenes.h"
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
template <typename Control>
Control* colocar(Control* control, const char* nombre, QRect lugar) {
  control->setObjectName(QLatin1String(nombre));
  control->setGeometry(lugar);
  if (const textos::TextosDeControl* t = textos::deControl(nombre)) {
    if (t->texto != nullptr) {
      if constexpr (requires { control->setText(QString()); }) control->setText(QString::fromUtf8(t->texto));
    }
    if (t->ayuda != nullptr) control->setToolTip(QString::fromUtf8(t->ayuda));
    if (t->nombreAccesible != nullptr) control->setAccessibleName(QString::fromUtf8(t->nombreAccesible));
  }
  return control;
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

QPixmap imagen(const char* nombre) { return QPixmap::fromImage(imagenGuardada(QLatin1StringView(nombre))); }

// The controls keep the layout's sizes in pixels. Their captions take the
// toolkit's default font, 12 pixels of DejaVu Sans on Debian, where their
// boxes hold them; a desktop's larger default is brought down to that size,
// which every box holds. Three boxes are too narrow for DejaVu Sans at that
// size, and take a narrow face of the same size instead. Nothing is
// measured: that would load the font database before the window shows.
constexpr int PixelesDeLaLetra = 12;
constexpr const char* RotulosAngostos[] = {"lblCarac", "lblArch", "cmdReflejoH"};
const QString LetraAngosta = QStringLiteral("Nimbus Sans Narrow");

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
  setFixedSize(451, 426);
  // A window of fixed size has nothing to maximize.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  // Points are pixels at the toolkit's logical 96 dots per inch: 4/3 each.
  QFont letra = font();
  if (letra.pixelSize() > PixelesDeLaLetra || letra.pointSizeF() * 4 / 3 > PixelesDeLaLetra) {
    letra.setPixelSize(PixelesDeLaLetra);
    setFont(letra);
  }
  pasos_ = new QUndoStack(this);
  // A step keeps two drawings, 280 bytes: a long session stays small.
  pasos_->setUndoLimit(1000);
  crearControles();
  ordenarTabulacion();
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
  using Manejador = void (frmPrincipal::*)();
  const auto boton = [this](QPushButton* b, const char* nombre, QRect lugar, Manejador manejador) {
    colocar(b, nombre, lugar);
    // Enter and keypad Enter press the focused button, as Space does.
    b->setAutoDefault(true);
    connect(b, &QPushButton::clicked, this, manejador);
    return b;
  };
  const auto botonConTexto = [&](const char* nombre, QRect lugar, Manejador manejador) {
    return boton(new QPushButton(this), nombre, lugar, manejador);
  };
  const auto botonConImagen = [&](const char* nombre, const char* nombreImagen, QPoint lugar, Manejador manejador) {
    return boton(new BotonConImagen(imagen(nombreImagen), this), nombre, QRect(lugar, QSize(25, 25)), manejador);
  };
  const auto linea = [this](const char* nombre, int y) {
    auto* l = colocar(new QFrame(this), nombre, QRect(8, y, 433, 1));
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Plain);
  };

  // Top band.
  colocar(new QLabel(this), "Image1", QRect(8, 8, 435, 55))->setPixmap(imagen("banner"));
  cmdAyuda_ = botonConTexto("cmdAyuda", QRect(376, 64, 65, 17), &frmPrincipal::cmdAyuda_Click);
  linea("Line1", 96);

  // Middle band.
  colocar(new QLabel(this), "lblCarac", QRect(32, 112, 49, 17));
  cboCarac_ = colocar(new SelectorCaracter(this), "cboCarac", QRect(32, 128, 65, 21));
  cmdLeer_ = botonConTexto("cmdLeer", QRect(32, 152, 65, 25), &frmPrincipal::cmdLeer_Click);
  cmdGrabar_ = botonConTexto("cmdGrabar", QRect(48, 184, 49, 17), &frmPrincipal::cmdGrabar_Click);

  // The cells sit on a frame of their own at (112, 112), which paints them.
  auto* marco =
      colocar(new MarcoCeldas(this), "marcoCeldas", QRect(112, 112, 16 * glyph::Columnas + 1, 16 * glyph::Filas + 1));
  for (int r = 1; r <= glyph::Filas; ++r) {
    for (int c = 1; c <= glyph::Columnas; ++c) {
      auto* celda = new Celda(marco);
      celda->setObjectName(QStringLiteral("chk%1_%2").arg(r).arg(c));
      celda->setAccessibleName(textos::nombreDeCelda(r, c));
      celda->setGeometry(16 * (c - 1), 16 * (r - 1), 17, 17);
      const int indice = glyph::GlyphGrid::indice(r, c);
      celdas_[indice] = celda;
      // A click or Space: the cell has toggled itself.
      connect(celda, &QCheckBox::clicked, this, [this, indice] { celdaCambiada(indice); });
    }
  }

  cmdRotarIzq_ = botonConImagen("cmdRotarIzq", "rotar_izquierda", {280, 112}, &frmPrincipal::cmdRotarIzq_Click);
  cmdArr_ = botonConImagen("cmdArr", "arriba", {304, 112}, &frmPrincipal::cmdArr_Click);
  cmdRotarDer_ = botonConImagen("cmdRotarDer", "rotar_derecha", {328, 112}, &frmPrincipal::cmdRotarDer_Click);
  cmdIzq_ = botonConImagen("cmdIzq", "izquierda", {280, 136}, &frmPrincipal::cmdIzq_Click);
  cmdAba_ = botonConImagen("cmdAba", "abajo", {304, 136}, &frmPrincipal::cmdAba_Click);
  cmdDer_ = botonConImagen("cmdDer", "derecha", {328, 136}, &frmPrincipal::cmdDer_Click);
  cmdBorrar_ = botonConTexto("cmdBorrar", QRect(368, 112, 57, 25), &frmPrincipal::cmdBorrar_Click);
  cmdLlenar_ = botonConTexto("cmdLlenar", QRect(368, 136, 57, 25), &frmPrincipal::cmdLlenar_Click);
  cmdReflejoH_ = botonConTexto("cmdReflejoH", QRect(280, 176, 97, 25), &frmPrincipal::cmdReflejoH_Click);
  cmdReflejoV_ = botonConTexto("cmdReflejoV", QRect(280, 200, 97, 25), &frmPrincipal::cmdReflejoV_Click);
  linea("Line2", 240);

  // Bottom band.
  colocar(new QLabel(this), "lblArch", QRect(32, 256, 89, 17));
  txtArch_ = colocar(new QLineEdit(this), "txtArch", QRect(128, 256, 241, 19));
  cmdCrear_ = botonConTexto("cmdCrear", QRect(376, 256, 49, 17), &frmPrincipal::cmdCrear_Click);
  filArchivos_ = colocar(new ListaArchivos(this), "filArchivos", QRect(32, 288, 121, 123));
  connect(filArchivos_, &ListaArchivos::Click, this, &frmPrincipal::filArchivos_Click);
  // A list view tells a screen reader its tool tip only as its description.
  filArchivos_->setAccessibleDescription(filArchivos_->toolTip());
  imgTolvane_ = colocar(new QLabel(this), "imgTolvane", QRect(200, 288, 201, 117));
  // The line is shown as it is written, tags and ampersands too.
  lblTolvane_ = colocar(new LineaDeMarca(this), "lblTolvane", QRect(224, 408, 161, 17));
  lblTolvane_->setTextFormat(Qt::PlainText);

  QFont angosta = font();
  angosta.setFamily(LetraAngosta);
  for (const char* nombre : RotulosAngostos) findChild<QWidget*>(QLatin1String(nombre))->setFont(angosta);
  crearAcciones(marco);
  txtArch_->installEventFilter(new TeclasDelTexto(txtArch_, acciones_));
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

void frmPrincipal::ordenarTabulacion() {
  QList<QWidget*> orden;
  for (int c = 1; c <= glyph::Columnas; ++c) {
    for (int r = 1; r <= glyph::Filas; ++r) orden.append(celda(r, c));
  }
  orden << cmdIzq_ << cmdDer_ << cmdBorrar_ << cmdLlenar_ << cboCarac_ << txtArch_ << filArchivos_ << cmdLeer_
        << cmdGrabar_ << cmdReflejoV_ << cmdArr_ << cmdAba_ << cmdRotarIzq_ << cmdRotarDer_ << cmdReflejoH_ << cmdAyuda_
        << cmdCrear_;
  for (qsizetype i = 0; i + 1 < orden.size(); ++i) setTabOrder(orden[i], orden[i + 1]);
  setTabOrder(orden.last(), orden.first());
  celda(1, 1)->setFocus();
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
