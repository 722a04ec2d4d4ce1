#pragma once
// A grid column packed into a 7-bit code: the dot of row k weighs 2^(k-1),
// so the top dot is 1 and the bottom dot 64.

#include <array>
#include <cstdint>

#include "GlyphGrid.h"

namespace glyph {

using ColumnCode = std::int16_t;
using Codigos = std::array<ColumnCode, Columnas>;  // column 1 first

// Packs one column, f1 its top cell and f7 its bottom cell.
ColumnCode CalcCol(bool f1, bool f2, bool f3, bool f4, bool f5, bool f6, bool f7);

// The ten codes of a drawing, each column packed with CalcCol.
Codigos codigosDelDibujo(const GlyphGrid& grid);

// The drawing of ten stored codes, every cell 0 or 1. Each code is read by
// taking away the weights 64, 32, .. 1 that fit into it, so a code of 128 or
// more lights its whole column and a negative code lights none.
GlyphGrid dibujoDeCodigos(const Codigos& codigos);

}  // namespace glyph
