#include "Fallo.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Salida.h"
#include "TextoArte.h"

namespace mtz {

int ordenShow(const Linea& l) {
  const Fuente fuente = leerFuente(l.posicionales[0].texto);
  QString t;
  int estado = avisarExceso(fuente);
  if (l.posicionales.size() == 1) {
    for (const Entrada& e : fuente.entradas) {
      if (e.registro) {
        t += dibujoEnTexto(*e.registro, e.numero) + QLatin1Char('\n');
      } else {
        avisar(QStringLiteral("%1: %2").arg(fuente.ruta, ilegible(e)));
        estado = EstadoProblemas;
      }
    }
  } else {
    for (const QChar c : l.posicionales[1].texto) {
      if (c == QLatin1Char(' ') || c == QLatin1Char('\n')) continue;
      const Busqueda b = buscar(fuente, QString(c));
      if (b.encontrada) {
        t += dibujoEnTexto(*b.encontrada->registro, b.encontrada->numero) + QLatin1Char('\n');
      } else {
        avisar(sinResultado(fuente, b, QString(c)));
        estado = EstadoProblemas;
      }
    }
  }
  escribirSalida({}, t.toUtf8());
  return estado;
}

}  // namespace mtz
