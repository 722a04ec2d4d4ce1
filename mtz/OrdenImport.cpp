#include "Fallo.h"
#include "ImportarBdf.h"
#include "ImportarTipografia.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Salida.h"

namespace mtz {
namespace {

int numeroDeOpcion(const Linea& l, const char* opcion, int minimo, int maximo) {
  bool bien = false;
  const int v = l.valor(opcion).toInt(&bien);
  if (!bien || v < minimo || v > maximo)
    throw uso(QStringLiteral("%1 debe ser un número de %2 a %3").arg(QLatin1String(opcion)).arg(minimo).arg(maximo));
  return v;
}

}  // namespace

int ordenImport(const Linea& l) {
  const bool familia = l.tiene("--family");
  if (familia != l.posicionales.isEmpty()) {
    throw uso(familia ? QStringLiteral("import toma una fuente o --family, no las dos")
                      : QStringLiteral("faltan argumentos para import"));
  }
  salidaBinaria(l);
  Trazado trazado;
  if (l.tiene("--size")) trazado.tamano = numeroDeOpcion(l, "--size", 1, MaximoTamano);
  if (l.tiene("--threshold")) trazado.umbral = numeroDeOpcion(l, "--threshold", 0, MaximoUmbral);
  const QString origen = familia ? l.valor("--family") : l.posicionales[0].texto;
  Importado r;
  if (familia) {
    r = importarFamilia(origen, trazado);
  } else {
    salidaDistintaDe(l, origen);
    QFile archivo(origen);
    abrirEntrada(archivo);
    if (esTipografia(archivo.peek(8), origen)) {
      const QByteArray datos = archivo.readAll();
      if (archivo.error() != QFileDevice::NoError)
        throw Fallo(QStringLiteral("%1: no se puede leer el archivo").arg(origen));
      r = importarTipografia(datos, origen, trazado);
    } else if (l.tiene("--size") || l.tiene("--threshold")) {
      throw uso(QStringLiteral("--size y --threshold son para tipografías, no para una fuente BDF"));
    } else {
      r = importarBdf(archivo, origen);
    }
  }
  for (const QString& a : r.informe) avisar(origen + QStringLiteral(": ") + a);
  escribirSalida(l.valor("--output"), comoFuente(r.registros, origen));
  cerrarAvisos();
  decir(QStringLiteral("%1: %2 caracteres importados").arg(origen).arg(r.registros.size()));
  return 0;
}

}  // namespace mtz
