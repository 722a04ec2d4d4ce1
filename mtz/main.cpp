#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <new>

#include "Programa.h"

namespace {

// What mtz says goes through its own one-line messages; the toolkit's
// notes (about a runtime folder, say) would only add lines to them.
void callarAvisosDelToolkit(QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
  if (tipo == QtFatalMsg) (void)std::fprintf(stderr, "mtz: %s\n", qPrintable(texto));
}

}  // namespace

int main(int argc, char* argv[]) {
  qInstallMessageHandler(callarAvisosDelToolkit);
  try {
    // The arguments' own bytes, before anything turns them into text: a file
    // name that is not UTF-8 must be seen as such.
    QList<QByteArray> argumentos;
    for (int i = 1; i < argc; ++i) argumentos.append(QByteArray(argv[i]));
    const QCoreApplication aplicacion(argc, argv);
    return mtz::programa(argumentos);
  } catch (const std::bad_alloc&) {
    (void)std::fputs("mtz: no hay memoria suficiente\n", stderr);
  } catch (const std::exception& e) {
    (void)std::fprintf(stderr, "mtz: error interno: %s\n", e.what());
  }
  return 1;
}
