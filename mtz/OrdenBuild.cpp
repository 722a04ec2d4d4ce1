#include "Ordenes.h"
#include "Salida.h"
#include "TextoArte.h"

namespace mtz {

int ordenBuild(const Linea& l) {
  const QString& ruta = l.posicionales[0].texto;
  salidaDistintaDe(l, ruta);
  salidaBinaria(l);
  QFile archivo(ruta);
  abrirEntrada(archivo);
  escribirSalida(l.valor("--output"), comoFuente(leerTextoArte(archivo, ruta), ruta));
  return 0;
}

}  // namespace mtz
