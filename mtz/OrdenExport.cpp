#include "Exportar.h"
#include "Fallo.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Salida.h"

namespace mtz {
namespace {

// The value of an option that takes one of a few words: its index among them.
int eleccion(const Linea& l, const char* opcion, const QStringList& palabras) {
  const int i = static_cast<int>(palabras.indexOf(l.valor(opcion)));
  if (i < 0) throw uso(QStringLiteral("%1 admite %2").arg(QLatin1String(opcion), palabras.join(QStringLiteral(" o "))));
  return i;
}

}  // namespace

int ordenExport(const Linea& l) {
  const Formato* formato = buscarFormato(l.valor("--format"));
  if (!formato) {
    throw uso(QStringLiteral("formato desconocido: %1 (%2)").arg(l.valor("--format"), listaDeFormatos()));
  }
  const bool pideDisposicion = l.tiene("--order") || l.tiene("--bit-order") || l.tiene("--invert");
  if (!formato->disposicion && pideDisposicion) {
    throw uso(QStringLiteral("el formato %1 no admite --order, --bit-order ni --invert").arg(formato->nombre));
  }
  Disposicion d = formato->disposicion.value_or(Disposicion{});
  if (l.tiene("--order")) {
    d.orden = eleccion(l, "--order", {QStringLiteral("columns"), QStringLiteral("rows")}) == 1
                  ? Disposicion::Orden::Filas
                  : Disposicion::Orden::Columnas;
  }
  if (l.tiene("--bit-order")) d.msb = eleccion(l, "--bit-order", {QStringLiteral("lsb"), QStringLiteral("msb")}) == 1;
  d.invertida = d.invertida != l.tiene("--invert");
  const QString& ruta = l.posicionales[0].texto;
  salidaDistintaDe(l, ruta);
  QStringList avisos;
  QByteArray datos;
  try {
    datos = exportar(leerFuente(ruta), *formato, d, avisos);
  } catch (const Fallo&) {
    for (const QString& a : avisos) avisar(ruta + QStringLiteral(": ") + a);
    throw;
  }
  for (const QString& a : avisos) avisar(ruta + QStringLiteral(": ") + a);
  escribirSalida(l.valor("--output"), datos);
  return 0;
}

}  // namespace mtz
