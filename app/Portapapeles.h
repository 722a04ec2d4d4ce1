#pragma once
// The drawing on the desktop's clipboard, in two forms at once: as text, the
// seven rows of '#' and '.' that mtz prints and reads, and as a picture of
// the dots for programs that take pictures.

#include <QImage>
#include <QMimeData>
#include <optional>

#include "GlyphGrid.h"

namespace portapapeles {

// Side of a dot, in pixels, in the picture that is put on the clipboard.
inline constexpr int LadoDelPunto = 10;

// Black dots on white, LadoDelPunto pixels each.
QImage imagenDelDibujo(const glyph::GlyphGrid& dibujo);

// A picture scaled to 10 x 7, averaging what falls in each dot, and read as
// dots that are on where it is darker than middle grey over white.
glyph::GlyphGrid dibujoDeImagen(const QImage& imagen);

QMimeData* datosDelDibujo(const glyph::GlyphGrid& dibujo);

// The text when it is a drawing, else the picture; nothing for anything else.
std::optional<glyph::GlyphGrid> dibujoDeDatos(const QMimeData* datos);

}  // namespace portapapeles
