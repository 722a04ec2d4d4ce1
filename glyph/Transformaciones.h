#pragma once
// The commands that reshape a drawing. Each one is a mapping of the cell
// values: a cell receives the old value of one source cell, unchanged, or
// turned over for invertir.

#include "GlyphGrid.h"

namespace glyph {

GlyphGrid desplazarAbajo(const GlyphGrid& viejo);      // cyclic, row 7 wraps to row 1
GlyphGrid desplazarArriba(const GlyphGrid& viejo);     // cyclic, row 1 wraps to row 7
GlyphGrid desplazarDerecha(const GlyphGrid& viejo);    // cyclic, column 10 wraps to column 1
GlyphGrid desplazarIzquierda(const GlyphGrid& viejo);  // cyclic, column 1 wraps to column 10
GlyphGrid reflejoHorizontal(const GlyphGrid& viejo);   // left to right, about the grid's centre
GlyphGrid reflejoVertical(const GlyphGrid& viejo);     // top to bottom, about row 4
// Quarter turns of the 7 x 7 square of columns 1..7; columns 8..10 stay.
GlyphGrid rotarIzquierda(const GlyphGrid& viejo);
GlyphGrid rotarDerecha(const GlyphGrid& viejo);
GlyphGrid invertir(const GlyphGrid& viejo);  // every dot turned over: on becomes 0, off 1

}  // namespace glyph
