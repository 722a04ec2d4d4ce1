#include "Ordenes.h"
#include "Salida.h"

namespace mtz {

int ordenRepair(const Linea& l) {
  const QString& ruta = l.posicionales[0].texto;
  const auto deshecho = reparar(ruta);
  escribirSalida({}, (deshecho ? QStringLiteral("%1: %2: deshecha la grabación cortada con %3\n")
                                     .arg(ruta, desgarrado(deshecho->d), QFile::decodeName(deshecho->ruta))
                               : QStringLiteral("%1: nada que reparar\n").arg(ruta))
                         .toUtf8());
  return 0;
}

}  // namespace mtz
