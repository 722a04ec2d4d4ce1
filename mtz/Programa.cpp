#include "Programa.h"

#include <new>

#include "Fallo.h"
#include "LineaDeOrdenes.h"
#include "Mensajes.h"

namespace mtz {

int programa(const QList<QByteArray>& argumentos) {
  try {
    const Linea l = analizar(argumentos);
    if (l.tiene("--version")) {
      imprimir(QStringLiteral("mtz (Grafolux) " GRAFOLUX_VERSION "\n"));
      return 0;
    }
    if (l.tiene("--help")) {
      imprimir(ayuda());
      return 0;
    }
    if (l.orden.isEmpty()) throw uso(QStringLiteral("falta la orden"));
    for (const Orden& orden : ordenes()) {
      if (orden.nombre != l.orden) continue;
      exigir(l, orden);
      const int estado = orden.ejecutar(l);
      cerrarAvisos();
      return estado;
    }
    throw uso(QStringLiteral("orden desconocida: %1").arg(l.orden));
  } catch (const Fallo& f) {
    cerrarAvisos();
    decir(f.mensaje());
    return f.estado();
  } catch (const std::bad_alloc&) {
    cerrarAvisos();
    decir(QStringLiteral("no hay memoria suficiente"));
    return EstadoProblemas;
  } catch (const std::exception& e) {
    cerrarAvisos();
    // Whatever else a library throws still ends with one line, not an abort.
    decir(QStringLiteral("error inesperado: %1").arg(QString::fromLocal8Bit(e.what())));
    return EstadoProblemas;
  }
}

}  // namespace mtz
