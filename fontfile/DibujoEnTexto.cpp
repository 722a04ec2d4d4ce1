#include "DibujoEnTexto.h"

namespace fontfile {

QString filasDelDibujo(const glyph::GlyphGrid& dibujo) {
  QString texto;
  texto.reserve(qsizetype{glyph::Columnas + 1} * glyph::Filas);
  for (int r = 1; r <= glyph::Filas; ++r) {
    for (int c = 1; c <= glyph::Columnas; ++c) texto += dibujo.encendida(r, c) ? QLatin1Char('#') : QLatin1Char('.');
    texto += QLatin1Char('\n');
  }
  return texto;
}

bool lineaSinDibujo(QStringView linea) { return linea.startsWith(QLatin1Char(';')) || linea.trimmed().isEmpty(); }

FilaLeida leerFila(QStringView linea, glyph::GlyphGrid& dibujo, int fila) {
  const QStringView puntos = linea.trimmed();
  if (puntos.size() > glyph::Columnas) return FilaLeida::Larga;
  glyph::GlyphGrid leida = dibujo;
  for (int c = 1; c <= glyph::Columnas; ++c) {
    const QChar marca = c <= puntos.size() ? puntos[c - 1] : QLatin1Char('.');
    if (marca != QLatin1Char('#') && marca != QLatin1Char('.')) return FilaLeida::MarcaAjena;
    leida(fila, c) = marca == QLatin1Char('#') ? 1 : 0;
  }
  dibujo = leida;
  return FilaLeida::Bien;
}

std::optional<glyph::GlyphGrid> dibujoDeTexto(QStringView texto) {
  glyph::GlyphGrid dibujo;
  int filas = 0;
  bool primera = true;
  for (const QStringView linea : texto.tokenize(QLatin1Char('\n'))) {
    if (lineaSinDibujo(linea)) continue;
    const bool encabezado = primera && lineaDeEncabezado(linea);
    primera = false;
    if (encabezado) continue;
    if (filas == glyph::Filas || leerFila(linea, dibujo, filas + 1) != FilaLeida::Bien) return std::nullopt;
    ++filas;
  }
  if (filas != glyph::Filas) return std::nullopt;
  return dibujo;
}

}  // namespace fontfile
