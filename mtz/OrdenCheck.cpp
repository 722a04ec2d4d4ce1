#include "Fallo.h"
#include "Ordenes.h"
#include "Salida.h"

namespace mtz {

int ordenCheck(const Linea& l) {
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  const QStringList problemas = revisar(fuente);
  // A broken file can hold millions of faults; the first ones tell enough.
  constexpr qsizetype Mostrados = 200;
  QString t;
  for (qsizetype i = 0; i < std::min(problemas.size(), Mostrados); ++i)
    t += fuente.ruta + QStringLiteral(": ") + problemas[i] + QLatin1Char('\n');
  if (problemas.size() > Mostrados)
    t += QStringLiteral("%1: ... y %2 problemas más\n").arg(fuente.ruta).arg(problemas.size() - Mostrados);
  t += problemas.isEmpty()
           ? QStringLiteral("%1: %2 registros, correcto\n").arg(fuente.ruta).arg(fuente.ranurasCompletas)
           : QStringLiteral("%1: %2 registros, %3 problemas\n")
                 .arg(fuente.ruta)
                 .arg(fuente.ranurasCompletas)
                 .arg(problemas.size());
  escribirSalida({}, t.toUtf8());
  return problemas.isEmpty() ? 0 : EstadoProblemas;
}

}  // namespace mtz
