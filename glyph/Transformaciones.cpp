#include "Transformaciones.h"

namespace glyph {
namespace {

struct Celda {
  int r;
  int c;
};

// new(r, c) = valor(old(origen(r, c))) for all 70 cells at once.
template <typename Origen>
GlyphGrid remapear(
    const GlyphGrid& viejo, Origen origen, Valor (*valor)(Valor) = [](Valor v) { return v; }) {
  GlyphGrid nuevo;
  for (int r = 1; r <= Filas; ++r) {
    for (int c = 1; c <= Columnas; ++c) {
      const Celda o = origen(r, c);
      nuevo(r, c) = valor(viejo(o.r, o.c));
    }
  }
  return nuevo;
}

constexpr int Lado = 7;  // the rotation square: all rows, columns 1..7

}  // namespace

GlyphGrid desplazarAbajo(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return Celda{r == 1 ? Filas : r - 1, c}; });
}

GlyphGrid desplazarArriba(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return Celda{r == Filas ? 1 : r + 1, c}; });
}

GlyphGrid desplazarDerecha(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return Celda{r, c == 1 ? Columnas : c - 1}; });
}

GlyphGrid desplazarIzquierda(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return Celda{r, c == Columnas ? 1 : c + 1}; });
}

GlyphGrid reflejoHorizontal(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return Celda{r, Columnas + 1 - c}; });
}

GlyphGrid reflejoVertical(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return Celda{Filas + 1 - r, c}; });
}

GlyphGrid rotarIzquierda(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return c > Lado ? Celda{r, c} : Celda{c, Lado + 1 - r}; });
}

GlyphGrid rotarDerecha(const GlyphGrid& viejo) {
  return remapear(viejo, [](int r, int c) { return c > Lado ? Celda{r, c} : Celda{Lado + 1 - c, r}; });
}

GlyphGrid invertir(const GlyphGrid& viejo) {
  return remapear(
      viejo,
      [](int r, int c) {
        return Celda{r, c};
      },
      [](Valor v) { return Valor(v == 0 ? 1 : 0); });
}

}  // namespace glyph
