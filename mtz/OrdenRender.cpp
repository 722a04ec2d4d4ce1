#include "Fallo.h"
#include "Ordenes.h"
#include "Pintar.h"
#include "Salida.h"

namespace mtz {

int ordenRender(const Linea& l) {
  int escala = 8;
  if (l.tiene("--scale")) {
    bool bien = false;
    escala = l.valor("--scale").toInt(&bien);
    if (!bien || escala < 1 || escala > 64) throw uso(QStringLiteral("--scale debe ser un número de 1 a 64"));
  }
  if (l.posicionales[1].texto.isEmpty()) throw uso(QStringLiteral("el texto está vacío"));
  salidaDistintaDe(l, l.posicionales[0].texto);
  salidaBinaria(l);
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  escribirSalida(l.valor("--output"), comoPng(pintarTexto(fuente, l.posicionales[1].texto, escala)));
  return 0;
}

}  // namespace mtz
