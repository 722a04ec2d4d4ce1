#include "ExportarComun.h"
#include "Salida.h"

namespace mtz {
namespace {

// The tables of C; for Arduino also placed in flash on AVR.
QByteArray tablas(const Fuente& fuente, bool arduino, const Disposicion& d) {
  for (const Entrada& e : fuente.entradas) {
    if (e.registro->caracter.size() != 1) {
      throw Fallo(QStringLiteral("%1: registro %2: el carácter %3 no es de un byte y no cabe en el índice")
                      .arg(fuente.ruta)
                      .arg(e.numero)
                      .arg(caracterLegible(e.registro->caracter)));
    }
  }
  const QString id = identificador(fuente.ruta);
  const QString ID = id.toUpper();
  const QString flash = arduino ? QStringLiteral(" MTZ_FLASH") : QString();
  QString t = comentarioC(comentario(fuente, d, false, static_cast<qsizetype>(fuente.entradas.size())));
  if (arduino)
    t += QStringLiteral("/* En AVR las tablas quedan en la memoria de programa: se leen con pgm_read_byte(). */\n");
  t += abrirGuarda(id, arduino ? QStringLiteral("arduino") : QStringLiteral("c")) +
       QStringLiteral("#include <stdint.h>\n");
  if (arduino) t += QLatin1String(EnFlash);
  const qsizetype n = static_cast<qsizetype>(fuente.entradas.size());
  t += QStringLiteral("\n#define %1_CARACTERES %2\n#define %1_COLUMNAS 10\n#define %1_FILAS 7\n#define %1_BYTES %3\n\n")
           .arg(ID)
           .arg(n)
           .arg(bytesDeTabla(d));
  t += QStringLiteral("/* Los bytes de cada carácter. */\n");
  t += QStringLiteral("static const uint8_t %1_codigos[%2_CARACTERES][%2_BYTES]%3 = {\n").arg(id, ID, flash);
  for (const Entrada& e : fuente.entradas) {
    t += QStringLiteral("  {%1}, /* %2 '%3' */\n")
             .arg(enHex(enTabla(*e.registro, d), QStringLiteral("0x"), QStringLiteral(", ")))
             .arg(e.numero)
             .arg(caracterLegible(e.registro->caracter));
  }
  t += QStringLiteral("};\n\n/* Índice: el carácter de cada fila de la tabla, en Windows-1252. */\n");
  t += QStringLiteral("static const uint8_t %1_caracteres[%2_CARACTERES]%3 = {\n").arg(id, ID, flash);
  for (const Entrada& e : fuente.entradas) {
    t += QStringLiteral("  0x%1, /* '%2' */\n")
             .arg(hex2(static_cast<uchar>(e.registro->caracter[0])), caracterLegible(e.registro->caracter));
  }
  t += QStringLiteral("};\n\n/* Columnas usadas por cada carácter: hasta la última que tiene algún punto. */\n");
  t += QStringLiteral("static const uint8_t %1_anchos[%2_CARACTERES]%3 = {").arg(id, ID, flash);
  for (qsizetype i = 0; i < n; ++i) {
    t += (i % 16 == 0 ? QStringLiteral("\n  ") : QStringLiteral(" ")) +
         QString::number(anchoUsado(fuente.entradas[static_cast<size_t>(i)].registro->columnas)) + QLatin1Char(',');
  }
  t += QStringLiteral("\n};\n\n#endif\n");
  return t.toUtf8();
}

}  // namespace

QByteArray exportarC(const Fuente& fuente, const Disposicion& d, QStringList& /*avisos*/) {
  return tablas(fuente, false, d);
}

QByteArray exportarArduino(const Fuente& fuente, const Disposicion& d, QStringList& /*avisos*/) {
  return tablas(fuente, true, d);
}

}  // namespace mtz
