// The window's commands, end to end, on the offscreen platform: the handler
// a click runs, then the event processing that repaints what changed.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPaintEvent>
#include <QUndoStack>
#include <memory>

#include "Portapapeles.h"
#include "Preparacion.h"
#include "frmPrincipal.h"
#include "mdlArchivos.h"

namespace {

constexpr int Lleno = 32767;
const QString Enie = QStringLiteral("\u00D1");
const QString enie = QStringLiteral("\u00F1");

// Counts the cells painted, to show that only the cells that change are.
// The cells' frame paints them; a cell is counted when the region repainted
// reaches the part of it no other cell covers (neighbours share a pixel).
class ContadorDePintadas : public QObject {
 public:
  explicit ContadorDePintadas(frmPrincipal& ventana) : ventana_(ventana) {
    ventana.findChild<QWidget*>(QStringLiteral("marcoCeldas"))->installEventFilter(this);
  }
  long pintadas = 0;

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    if (evento->type() != QEvent::Paint) return false;
    const QRegion& zona = static_cast<QPaintEvent*>(evento)->region();
    for (int r = 1; r <= glyph::Filas; ++r) {
      for (int c = 1; c <= glyph::Columnas; ++c) pintadas += zona.intersects(propia(ventana_.celda(r, c))) ? 1 : 0;
    }
    return false;
  }

 private:
  static QRect propia(const QWidget* celda) { return {celda->pos(), QSize(16, 16)}; }
  frmPrincipal& ventana_;
};

// A window loaded and shown in a working folder, as the user sees it.
struct VentanaAbierta {
  VentanaAbierta() {
    if (!ventana.Form_Load()) qFatal("Form_Load failed");
    ventana.show();
    QApplication::processEvents();
  }
  void elegir(const QString& nombre, const QString& caracter) {
    ventana.findChild<QLineEdit*>(QStringLiteral("txtArch"))->setText(nombre);
    auto* lista = ventana.findChild<QComboBox*>(QStringLiteral("cboCarac"));
    lista->setCurrentIndex(lista->findText(caracter));
  }
  frmPrincipal ventana;
};

// A drawing with no symmetry, 28 of its 70 dots on, so that every command
// changes many cells.
glyph::GlyphGrid dibujoDeReferencia() {
  glyph::GlyphGrid g;
  for (int i = 0; i < glyph::Celdas; ++i) g.valores[i] = (i * 37 + i / 3) % 5 < 2 ? 1 : 0;
  return g;
}

// One glyph command on the reference drawing, with the repaint it causes;
// the drawing is put back, and painted, outside the timing.
void Comando(benchmark::State& estado, void (frmPrincipal::*comando)()) {
  CarpetaDeBanco carpeta;
  VentanaAbierta abierta;
  ContadorDePintadas contador(abierta.ventana);
  const glyph::GlyphGrid referencia = dibujoDeReferencia();
  long pintadasPorComando = 0;
  for (auto _ : estado) {
    estado.PauseTiming();
    abierta.ventana.escribirCeldas(referencia);
    QApplication::processEvents();
    const long antes = contador.pintadas;
    estado.ResumeTiming();
    (abierta.ventana.*comando)();
    QApplication::processEvents();
    pintadasPorComando += contador.pintadas - antes;
  }
  estado.counters["celdas_pintadas"] =
      benchmark::Counter(double(pintadasPorComando), benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(Comando, cmdArr, &frmPrincipal::cmdArr_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdAba, &frmPrincipal::cmdAba_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdIzq, &frmPrincipal::cmdIzq_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdDer, &frmPrincipal::cmdDer_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdReflejoH, &frmPrincipal::cmdReflejoH_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdReflejoV, &frmPrincipal::cmdReflejoV_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdRotarIzq, &frmPrincipal::cmdRotarIzq_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdRotarDer, &frmPrincipal::cmdRotarDer_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdBorrar, &frmPrincipal::cmdBorrar_Click)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Comando, cmdLlenar, &frmPrincipal::cmdLlenar_Click)->Unit(benchmark::kMicrosecond);

// One step undone, or redone, of cmdArr on the reference drawing (40 cells
// change), with its repaint; the other direction is taken outside the timing.
void DeshacerORehacer(benchmark::State& estado, bool deshacer) {
  CarpetaDeBanco carpeta;
  VentanaAbierta abierta;
  abierta.ventana.escribirCeldas(dibujoDeReferencia());
  abierta.ventana.cmdArr_Click();
  QUndoStack* pasos = abierta.ventana.pasos();
  if (deshacer) pasos->undo();
  QApplication::processEvents();
  for (auto _ : estado) {
    estado.PauseTiming();
    deshacer ? pasos->redo() : pasos->undo();
    QApplication::processEvents();
    estado.ResumeTiming();
    deshacer ? pasos->undo() : pasos->redo();
    QApplication::processEvents();
  }
}
BENCHMARK_CAPTURE(DeshacerORehacer, deshacer, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DeshacerORehacer, rehacer, false)->Unit(benchmark::kMicrosecond);

// A paste of the reference drawing onto an empty grid (28 cells change), as
// mtz's text or as the picture the editor copies, with its repaint.
void Pegar(benchmark::State& estado, bool comoTexto) {
  CarpetaDeBanco carpeta;
  VentanaAbierta abierta;
  const glyph::GlyphGrid referencia = dibujoDeReferencia();
  QMimeData* datos = portapapeles::datosDelDibujo(referencia);
  if (comoTexto) datos->removeFormat(QStringLiteral("application/x-qt-image"));
  if (!comoTexto) datos->removeFormat(QStringLiteral("text/plain"));
  QGuiApplication::clipboard()->setMimeData(datos);
  for (auto _ : estado) {
    estado.PauseTiming();
    abierta.ventana.escribirCeldas({});
    QApplication::processEvents();
    estado.ResumeTiming();
    abierta.ventana.Pegar();
    QApplication::processEvents();
  }
  if (abierta.ventana.leerCeldas() != referencia) estado.SkipWithError("the paste did not give the drawing");
}
BENCHMARK_CAPTURE(Pegar, texto, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Pegar, imagen, false)->Unit(benchmark::kMicrosecond);

// Writing a drawing that is already on the grid: no cell changes, nothing
// is repainted.
void EscribirCeldasSinCambios(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  VentanaAbierta abierta;
  ContadorDePintadas contador(abierta.ventana);
  const glyph::GlyphGrid referencia = dibujoDeReferencia();
  abierta.ventana.escribirCeldas(referencia);
  QApplication::processEvents();
  const long antes = contador.pintadas;
  for (auto _ : estado) {
    abierta.ventana.escribirCeldas(referencia);
    QApplication::processEvents();
  }
  estado.counters["celdas_pintadas"] =
      benchmark::Counter(double(contador.pintadas - antes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(EscribirCeldasSinCambios)->Unit(benchmark::kMicrosecond);

// Storing a new character into the largest file that takes one: the search
// finds nothing in 32766 records, the count gives 32767, the record is
// appended. The file is cut back to 32766 records outside the timing.
void GrabarNuevoEnArchivoLleno(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  const QString ruta = carpeta.fuente(QStringLiteral("casi.mtz"));
  escribir(ruta, registrosDePrueba(Lleno - 1));
  const qint64 longitud = qint64(Lleno - 1) * 24;
  AvisosContados avisos;
  VentanaAbierta abierta;
  abierta.elegir(QStringLiteral("casi.mtz"), Enie);
  abierta.ventana.escribirCeldas(dibujoDeReferencia());
  for (auto _ : estado) {
    abierta.ventana.cmdGrabar_Click();
    QApplication::processEvents();
    estado.PauseTiming();
    if (QFile(ruta).size() != longitud + 24) estado.SkipWithError("the record was not appended");
    QFile::resize(ruta, longitud);
    estado.ResumeTiming();
  }
  if (avisos.vistos() != 0) estado.SkipWithError("a message was shown");
}
BENCHMARK(GrabarNuevoEnArchivoLleno)->Unit(benchmark::kMicrosecond);

// Storing over the last record of a full file: the search runs to the end,
// the question is answered "Sí" at once, the search runs again, one record
// is written.
void GrabarSobreUltimoDeArchivoLleno(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  const QString ruta = carpeta.fuente(QStringLiteral("lleno.mtz"));
  escribir(ruta, registrosDePrueba(Lleno, registroDe('\xD1', 1)));
  AvisosContados avisos;
  VentanaAbierta abierta;
  abierta.elegir(QStringLiteral("lleno.mtz"), Enie);
  abierta.ventana.escribirCeldas(dibujoDeReferencia());
  for (auto _ : estado) {
    abierta.ventana.cmdGrabar_Click();
    QApplication::processEvents();
  }
  if (avisos.vistos() != estado.iterations()) estado.SkipWithError("expected one question per store");
}
BENCHMARK(GrabarSobreUltimoDeArchivoLleno)->Unit(benchmark::kMicrosecond);

// Loading from a full file the last two records in turn, so that each load
// finds its character at the very end and changes the drawing on the grid.
void LeerDeArchivoLleno(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  const QString ruta = carpeta.fuente(QStringLiteral("lleno.mtz"));
  escribir(ruta, registrosDePrueba(Lleno, registroDe('\xD1', 1) + registroDe('\xF1', 2)));
  AvisosContados avisos;
  VentanaAbierta abierta;
  ContadorDePintadas contador(abierta.ventana);
  abierta.elegir(QStringLiteral("lleno.mtz"), Enie);
  auto* lista = abierta.ventana.findChild<QComboBox*>(QStringLiteral("cboCarac"));
  const int indices[2] = {lista->findText(Enie), lista->findText(enie)};
  long vuelta = 0;
  const long antes = contador.pintadas;
  for (auto _ : estado) {
    lista->setCurrentIndex(indices[vuelta++ % 2]);
    abierta.ventana.cmdLeer_Click();
    QApplication::processEvents();
  }
  if (avisos.vistos() != 0) estado.SkipWithError("a message was shown");
  estado.counters["celdas_pintadas"] =
      benchmark::Counter(double(contador.pintadas - antes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(LeerDeArchivoLleno)->Unit(benchmark::kMicrosecond);

// A working folder of 10 000 font files, names in mixed case.
void llenarCarpeta(const CarpetaDeBanco& carpeta, int archivos) {
  for (int i = 0; i < archivos; ++i) {
    const QString nombre = QStringLiteral("%1uente%2.%3")
                               .arg(i % 3 == 0 ? QLatin1Char('F') : QLatin1Char('f'))
                               .arg((i * 7919) % 100000, 5, 10, QLatin1Char('0'))
                               .arg(i % 5 == 0 ? QStringLiteral("MTZ") : QStringLiteral("mtz"));
    escribir(carpeta.fuente(nombre), {});
  }
}

// Form_Load alone: logo, brand text, 10 000 names listed, 121 characters.
void FormLoadConDiezMilArchivos(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  llenarCarpeta(carpeta, 10000);
  std::unique_ptr<frmPrincipal> ventana;
  for (auto _ : estado) {
    estado.PauseTiming();
    ventana = std::make_unique<frmPrincipal>();
    estado.ResumeTiming();
    if (!ventana->Form_Load()) estado.SkipWithError("Form_Load failed");
  }
}
BENCHMARK(FormLoadConDiezMilArchivos)->Unit(benchmark::kMillisecond);

// The whole start-up inside the process: the window built, loaded, shown
// and painted once, with 10 000 names in its list.
void ArranqueConDiezMilArchivos(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  llenarCarpeta(carpeta, 10000);
  std::unique_ptr<frmPrincipal> ventana;
  for (auto _ : estado) {
    ventana = std::make_unique<frmPrincipal>();
    if (!ventana->Form_Load()) estado.SkipWithError("Form_Load failed");
    ventana->show();
    QApplication::processEvents();
    estado.PauseTiming();
    ventana.reset();
    QApplication::processEvents();
    estado.ResumeTiming();
  }
}
BENCHMARK(ArranqueConDiezMilArchivos)->Unit(benchmark::kMillisecond);

}  // namespace
