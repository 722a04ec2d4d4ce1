#include "GlyphGrid.h"

namespace glyph {

void cambiar(GlyphGrid& grid, Valor valor) { grid.valores.fill(valor); }

}  // namespace glyph
