#include <QFileInfo>

#include "ExportarComun.h"
#include "Salida.h"

namespace mtz {

QByteArray exportarJson(const Fuente& fuente, const Disposicion& d, QStringList& /*avisos*/) {
  QString t = QStringLiteral(
                  "{\n  \"fuente\": %1,\n  \"disposicion\": %2,\n  \"filas\": 7,\n  \"columnas\": 10,\n  \"bytes\": "
                  "%3,\n  \"caracteres\": [")
                  .arg(literal(QFileInfo(fuente.ruta).fileName(), true), literal(describir(d, false), true))
                  .arg(bytesDeTabla(d));
  bool primero = true;
  for (const Entrada& e : fuente.entradas) {
    QStringList codigos;
    for (const char b : enTabla(*e.registro, d)) codigos << QString::number(static_cast<uchar>(b));
    t += (primero ? QStringLiteral("\n") : QStringLiteral(",\n"));
    t += QStringLiteral("    {\"registro\": %1, \"caracter\": %2, \"codigos\": [%3], \"ancho\": %4}")
             .arg(e.numero)
             .arg(literal(textoDe(e.registro->caracter), true), codigos.join(QStringLiteral(", ")))
             .arg(anchoUsado(e.registro->columnas));
    primero = false;
  }
  t += QStringLiteral("\n  ]\n}\n");
  return t.toUtf8();
}

}  // namespace mtz
