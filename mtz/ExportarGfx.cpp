#include "ExportarComun.h"
#include "Salida.h"

namespace mtz {

QByteArray exportarGfx(const Fuente& fuente, const Disposicion& d, QStringList& avisos) {
  const PorByte glifos = porByte(fuente, QStringLiteral("GFX"), avisos);
  const char32_t ultimo = glifos.ultimo;
  const QString id = identificador(fuente.ruta);
  QStringList puntos;
  QString tabla;
  int desplazamiento = 0;
  for (char32_t codigo = PrimerByte; codigo <= ultimo; ++codigo) {
    const Entrada* e = glifos.entradas[codigo];
    const QString nota = notaDeCodigo(codigo);
    if (!e) {
      // A code point the font lacks draws nothing and does not move the cursor.
      const int avance = codigo == U' ' ? AvanceDelEspacio : 0;
      tabla += QStringLiteral("  {%1, 0, 0, %2, 0, 0}, /* %3 */\n").arg(desplazamiento).arg(avance).arg(nota);
      continue;
    }
    const glyph::GlyphGrid dibujo = glyph::dibujoDeCodigos(e->registro->columnas);
    const Caja caja = cajaDe(dibujo);
    const QByteArray bytes = empaquetar(dibujo, caja, d, d.orden == Disposicion::Orden::Filas ? caja.ancho : caja.alto);
    tabla += QStringLiteral("  {%1, %2, %3, %4, %5, %6}, /* %7, registro %8 */\n")
                 .arg(desplazamiento)
                 .arg(caja.ancho)
                 .arg(caja.alto)
                 .arg(anchoUsado(e->registro->columnas) + 1)
                 .arg(caja.ancho > 0 ? caja.columna - 1 : 0)
                 .arg(caja.alto > 0 ? caja.fila - glyph::Filas - 1 : 0)
                 .arg(nota)
                 .arg(e->numero);
    if (!bytes.isEmpty()) puntos << enHex(bytes, QStringLiteral("0x"), QStringLiteral(", "));
    desplazamiento += static_cast<int>(bytes.size());
  }
  // C has no empty array: a font of empty drawings still gets one byte.
  if (puntos.isEmpty()) puntos << QStringLiteral("0x00");
  QString t = comentarioC(comentario(fuente, d, true, glifos.cuantos) +
                          envolver(QStringLiteral("%1 Incluya este archivo después de la definición de GFXfont.")
                                       .arg(QString::fromUtf8(CodigosWindows1252)),
                                   100));
  t += abrirGuarda(id, QStringLiteral("gfx")) + QStringLiteral("#include <stdint.h>\n") + QLatin1String(EnFlash);
  t += QStringLiteral("\nstatic const uint8_t %1_puntos[] MTZ_FLASH = {\n  %2\n};\n\n")
           .arg(id, puntos.join(QStringLiteral(",\n  ")));
  t += QStringLiteral("/* bitmapOffset, width, height, xAdvance, xOffset, yOffset */\n");
  t += QStringLiteral("static const GFXglyph %1_glifos[] MTZ_FLASH = {\n%2};\n\n").arg(id, tabla);
  t += QStringLiteral(
           "static const GFXfont %1_fuente MTZ_FLASH = {(uint8_t *)%1_puntos, (GFXglyph *)%1_glifos, 0x%2, 0x%3, "
           "8};\n")
           .arg(id, hex2(PrimerByte), hex2(static_cast<int>(ultimo)));
  return (t + QStringLiteral("\n#endif\n")).toUtf8();
}

}  // namespace mtz
