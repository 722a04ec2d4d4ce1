#include "ColumnCode.h"

namespace glyph {

ColumnCode CalcCol(bool f1, bool f2, bool f3, bool f4, bool f5, bool f6, bool f7) {
  return static_cast<ColumnCode>((f1 ? 1 : 0) | (f2 ? 2 : 0) | (f3 ? 4 : 0) | (f4 ? 8 : 0) | (f5 ? 16 : 0) |
                                 (f6 ? 32 : 0) | (f7 ? 64 : 0));
}

Codigos codigosDelDibujo(const GlyphGrid& g) {
  Codigos codigos{};
  for (int c = 1; c <= Columnas; ++c) {
    codigos[c - 1] = CalcCol(g.encendida(1, c), g.encendida(2, c), g.encendida(3, c), g.encendida(4, c),
                             g.encendida(5, c), g.encendida(6, c), g.encendida(7, c));
  }
  return codigos;
}

GlyphGrid dibujoDeCodigos(const Codigos& codigos) {
  GlyphGrid g;
  for (int c = 1; c <= Columnas; ++c) {
    int v = codigos[c - 1];
    for (int fila = Filas; fila >= 1; --fila) {
      const int peso = 1 << (fila - 1);
      if (v >= peso) {
        g(fila, c) = 1;
        v -= peso;
      }
    }
  }
  return g;
}

}  // namespace glyph
