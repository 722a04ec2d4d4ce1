#pragma once
// Characters of the list of 121 taken from a BDF font and fitted into the
// 7 x 10 grid.

#include <QIODevice>
#include <QString>

#include "Encajar.h"

namespace mtz {

// Reads the font line by line and keeps only the bitmaps of the list's
// characters, so memory follows what is kept, not the length of the input.
// Glyph codes are read in the charset the font names; of two glyphs of one
// character the first is kept and the second reported. Throws Fallo, naming
// the line, when the text is not a BDF font or a number in it is out of
// range, and when its charset cannot be converted.
Importado importarBdf(QIODevice& entrada, const QString& nombre);

}  // namespace mtz
