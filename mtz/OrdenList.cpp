#include "Fallo.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Salida.h"

namespace mtz {

int ordenList(const Linea& l) {
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  QString t;
  int estado = avisarExceso(fuente);
  for (const Entrada& e : fuente.entradas) {
    if (!e.registro) {
      avisar(QStringLiteral("%1: %2").arg(fuente.ruta, ilegible(e)));
      estado = EstadoProblemas;
      continue;
    }
    QStringList codigos;
    for (const int v : e.registro->columnas) {
      codigos << (v >= 0 && v <= 0xff ? QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'))
                                      : QStringLiteral("%1").arg(static_cast<quint16>(v), 4, 16, QLatin1Char('0')));
    }
    t += QStringLiteral("%1  %2  %3  %4\n")
             .arg(e.numero, 5)
             .arg(caracterLegible(e.registro->caracter), -4)
             .arg(codigos.join(QLatin1Char(' ')))
             .arg(anchoUsado(e.registro->columnas), 2);
  }
  escribirSalida({}, t.toUtf8());
  return estado;
}

}  // namespace mtz
