// The font table of the libraries that drive MAX7219 LED matrices
// (MD_MAX72XX, and MD_Parola on top of it), in the storage format their
// documentation gives as version 2: 'F', the version, the first and the last
// code in two bytes each, high byte first, the height, then for every code
// from the first to the last its width and one byte per column, left to
// right, the top row in bit 0. It is this format's own column code.

#include "ExportarComun.h"
#include "Salida.h"

namespace mtz {
namespace {

constexpr int Version = 2;

QString linea(const QList<int>& bytes, const QString& nota) {
  QStringList h;
  for (const int b : bytes) h << QStringLiteral("0x") + hex2(b);
  return QStringLiteral("  %1, /* %2 */\n").arg(h.join(QStringLiteral(", ")), nota);
}

// A character's width and its columns: up to its last lit one, since the
// library puts its own gap between characters.
QList<int> columnas(const glyph::Codigos& codigos) {
  const glyph::Codigos visibles = codigosVisibles(codigos);
  const int ancho = anchoUsado(codigos);
  QList<int> bytes{ancho};
  for (int c = 0; c < ancho; ++c) bytes << visibles[static_cast<size_t>(c)];
  return bytes;
}

}  // namespace

QByteArray exportarMax72xx(const Fuente& fuente, const Disposicion& /*fija*/, QStringList& avisos) {
  const PorByte glifos = porByte(fuente, QStringLiteral("max72xx"), avisos);
  const QString id = identificador(fuente.ruta);
  QStringList comentario = envolver(deDonde(fuente, glifos.cuantos), 100);
  comentario += envolver(
      QStringLiteral(
          "Disposición: la tabla de fuente de MD_MAX72XX y MD_Parola, versión %1: 'F', %1, el primer código y el "
          "último en dos bytes cada uno (el alto primero) y el alto, 7; luego, para cada código del primero al "
          "último, su ancho en columnas y un byte por columna, de izquierda a derecha, con la fila 1 (arriba) en el "
          "bit 0 y la fila 7 en el bit 6. Un código sin carácter tiene ancho 0; el espacio, si la fuente no lo "
          "tiene, son %2 columnas vacías. %3 Ejemplo: la I con la columna 1 entera y, en la columna 10, solo el "
          "punto de abajo, es 0x0a, 0x7f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40. Uso: "
          "setFont(%4_max72xx).")
          .arg(Version)
          .arg(AvanceDelEspacio)
          .arg(QString::fromUtf8(CodigosWindows1252), id),
      100);
  QString t = comentarioC(comentario) + abrirGuarda(id, QStringLiteral("max72xx")) +
              QStringLiteral("#include <stdint.h>\n") + QLatin1String(EnFlash);
  t += QStringLiteral("\nstatic const uint8_t %1_max72xx[] MTZ_FLASH = {\n").arg(id);
  t += QStringLiteral("  'F', %1, 0x00, 0x%2, 0x00, 0x%3, 7, /* versión %1, códigos 0x%2 a 0x%3, 7 filas */\n")
           .arg(Version)
           .arg(hex2(PrimerByte), hex2(static_cast<int>(glifos.ultimo)));
  for (char32_t codigo = PrimerByte; codigo <= glifos.ultimo; ++codigo) {
    const Entrada* e = glifos.entradas[codigo];
    if (e) {
      t += linea(columnas(e->registro->columnas),
                 QStringLiteral("%1, registro %2").arg(notaDeCodigo(codigo)).arg(e->numero));
    } else if (codigo == U' ') {
      t += linea(QList<int>{AvanceDelEspacio} + QList<int>(AvanceDelEspacio, 0), notaDeCodigo(codigo));
    } else {
      t += linea({0}, notaDeCodigo(codigo));
    }
  }
  return (t + QStringLiteral("};\n\n#endif\n")).toUtf8();
}

}  // namespace mtz
