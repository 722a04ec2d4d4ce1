#include "Exportar.h"
#include "LineaDeOrdenes.h"
#include "Salida.h"

namespace mtz {

QString ayuda() {
  QString t = QStringLiteral(
      "Uso: mtz ORDEN ARGUMENTOS...\nCompañero de línea de órdenes de Grafolux, para fuentes de matriz de puntos "
      ".mtz\n(7 filas x 10 columnas, registros de 24 bytes). Solo repair cambia los archivos que lee.\n\nÓrdenes:\n");
  for (const Orden& orden : ordenes()) {
    // An option and its value stay on one line: joined by a no-break space until wrapped.
    const QChar junto(0xa0);
    QString uso = QStringLiteral("mtz %1 %2").arg(orden.nombre, orden.argumentos);
    for (const QString& nombre : orden.opciones) {
      const Opcion& o = *opcion(nombre);
      QString texto = (o.corto.isEmpty() ? o.nombre : o.corto) + (o.valor.isEmpty() ? QString() : junto + o.valor);
      if (!orden.obligatorias.contains(nombre)) texto = QLatin1Char('[') + texto + QLatin1Char(']');
      uso += QLatin1Char(' ') + texto;
    }
    uso = envolver(uso, 76).join(QStringLiteral("\n        ")).replace(junto, QLatin1Char(' '));
    t += QStringLiteral("  ") + uso + QLatin1Char('\n');
    t += QStringLiteral("      ") + envolver(orden.ayuda, 74).join(QStringLiteral("\n      ")) + QLatin1Char('\n');
    if (!orden.opciones.contains(QStringLiteral("--format"))) continue;
    for (const Formato& f : formatos()) {
      t += QStringLiteral("        %1").arg(QLatin1String(f.nombre), -9) +
           envolver(QString::fromUtf8(f.descripcion), 63).join(QStringLiteral("\n                 ")) +
           QLatin1Char('\n');
    }
  }
  t += QStringLiteral("\nOpciones:\n");
  for (const Opcion& o : opciones()) {
    const QString nombre = (o.corto.isEmpty() ? QString() : o.corto + QStringLiteral(", ")) + enUso(o);
    t += QStringLiteral("  %1\n      %2\n").arg(nombre, envolver(o.ayuda, 74).join(QStringLiteral("\n      ")));
  }
  return t + QStringLiteral(
                 "\nLos nombres de archivo deben ser UTF-8 válido; otro nombre se rechaza como uso incorrecto.\n"
                 "Estado de salida: 0 bien, 1 problemas encontrados, 2 uso incorrecto.\n");
}

}  // namespace mtz
