#pragma once
// Characters of the list of 121 taken from a BDF font and fitted into the
// 7 x 10 grid.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "FontRecord.h"

namespace mtz {

struct Importado {
  std::vector<fontfile::FontRecord> registros;  // in the order of the list
  QStringList informe;                          // what was cut or skipped
};

// Each glyph keeps its baseline: row 7 is the row just above it, unless the
// whole font (ascent + descent) fits in 7 rows, in which case its lowest row
// is row 7. The font is moved left as a whole until its leftmost dot is in
// column 1. Dots that fall outside are
// cut and reported. Throws Fallo when the text is not a BDF font.
Importado importarBdf(const QByteArray& bdf, const QString& nombre);

}  // namespace mtz
