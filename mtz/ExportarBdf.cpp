#include "ExportarComun.h"
#include "Salida.h"

namespace mtz {
namespace {

QString cabeceraBdf(const QString& familia, const QString& nombre, const std::vector<Glifo>& glifos) {
  int sumaAnchos = 0;
  for (const Glifo& g : glifos) sumaAnchos += anchoUsado(g.entrada->registro->columnas) + 1;
  const int promedio = sumaAnchos * 10 / static_cast<int>(glifos.size());
  QString t = QStringLiteral("STARTFONT 2.1\n");
  t += QStringLiteral("COMMENT exportada por mtz " GRAFOLUX_VERSION " desde %1\n").arg(nombre);
  // Dots are pixels at 72 dpi, so a point is a dot and the scalable widths are simple.
  t += QStringLiteral("FONT -Grafolux-%1-Medium-R-Normal--7-70-72-72-P-%2-ISO10646-1\n").arg(familia).arg(promedio);
  t += QStringLiteral("SIZE 7 72 72\nFONTBOUNDINGBOX 10 7 0 0\nSTARTPROPERTIES 16\n");
  t += QStringLiteral("FOUNDRY \"Grafolux\"\nFAMILY_NAME \"%1\"\nWEIGHT_NAME \"Medium\"\nSLANT \"R\"\n").arg(familia);
  t += QStringLiteral("SETWIDTH_NAME \"Normal\"\nADD_STYLE_NAME \"\"\nPIXEL_SIZE 7\nPOINT_SIZE 70\n");
  t += QStringLiteral("RESOLUTION_X 72\nRESOLUTION_Y 72\nSPACING \"P\"\nAVERAGE_WIDTH %1\n").arg(promedio);
  t += QStringLiteral("CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nFONT_ASCENT 7\nFONT_DESCENT 0\n");
  t += QStringLiteral("ENDPROPERTIES\nCHARS %1\n").arg(glifos.size());
  return t;
}

QString glifoBdf(const Glifo& g) {
  const glyph::GlyphGrid dibujo = glyph::dibujoDeCodigos(g.entrada->registro->columnas);
  const int ancho = anchoUsado(g.entrada->registro->columnas);
  // An empty drawing still needs a box: one blank column.
  const int caja = std::max(ancho, 1);
  const int avance = ancho + 1;
  QString t = QStringLiteral("STARTCHAR uni%1\n")
                  .arg(QString::number(g.codigo, 16).toUpper().rightJustified(4, QLatin1Char('0')));
  t += QStringLiteral("ENCODING %1\nSWIDTH %2 0\nDWIDTH %3 0\nBBX %4 7 0 0\nBITMAP\n")
           .arg(static_cast<uint>(g.codigo))
           .arg(avance * 1000 / 7)
           .arg(avance)
           .arg(caja);
  // Each row in whole bytes, left-aligned: two hex digits up to 8 columns, four beyond.
  const int digitos = (caja + 7) / 8 * 2;
  for (int f = 1; f <= glyph::Filas; ++f) {
    unsigned bits = 0;
    for (int c = 1; c <= caja; ++c) {
      if (dibujo.encendida(f, c)) bits |= 1u << (digitos * 4 - c);
    }
    t += QStringLiteral("%1\n").arg(bits, digitos, 16, QLatin1Char('0')).toUpper();
  }
  return t + QStringLiteral("ENDCHAR\n");
}

}  // namespace

QByteArray exportarBdf(const Fuente& fuente, const Disposicion& /*fija*/, QStringList& avisos) {
  const std::vector<Glifo> glifos = glifosConCodigo(fuente, 1, 0x10ffff, false, QStringLiteral("BDF"), avisos);
  // A BDF of no glyph is refused by the tools that read it.
  if (glifos.empty()) throw sinCaracteres(fuente);
  QString t = cabeceraBdf(identificador(fuente.ruta), nombreEnComentario(fuente.ruta), glifos);
  for (const Glifo& g : glifos) t += glifoBdf(g);
  return (t + QStringLiteral("ENDFONT\n")).toUtf8();
}

}  // namespace mtz
