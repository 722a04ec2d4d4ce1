#include <QSet>

#include "ExportarComun.h"
#include "Salida.h"

namespace mtz {

QByteArray exportarPython(const Fuente& fuente, const Disposicion& d, QStringList& avisos) {
  QString glifos, anchos;
  QSet<QByteArray> vistos;
  for (const Entrada& e : fuente.entradas) {
    if (vistos.contains(e.registro->caracter)) {
      // A dictionary holds one drawing per character: the first, as the editor finds it.
      avisos << QStringLiteral("registro %1: el carácter %2 repetido se omite")
                    .arg(e.numero)
                    .arg(caracterLegible(e.registro->caracter));
      continue;
    }
    vistos.insert(e.registro->caracter);
    const QString clave = literal(textoDe(e.registro->caracter), false);
    glifos += QStringLiteral("    %1: b\"%2\",  # registro %3\n")
                  .arg(clave, enHex(enTabla(*e.registro, d), QStringLiteral("\\x"), {}))
                  .arg(e.numero);
    anchos += QStringLiteral("    %1: %2,\n").arg(clave).arg(anchoUsado(e.registro->columnas));
  }
  QString t = QStringLiteral("# ") + comentario(fuente, d, false, vistos.size()).join(QStringLiteral("\n# "));
  t += QStringLiteral("\n# GLIFOS da los bytes de cada carácter, ANCHOS las columnas que usa.\n\n");
  t += QStringLiteral("FILAS = 7\nCOLUMNAS = 10\nBYTES = %1\n\nGLIFOS = {\n").arg(bytesDeTabla(d));
  t += glifos + QStringLiteral("}\n\nANCHOS = {\n") + anchos + QStringLiteral("}\n");
  return t.toUtf8();
}

}  // namespace mtz
