#pragma once
// Glyphs of an outside font fitted into the 7 x 10 grid. The BDF and the
// typeface imports both end here, so that they place glyphs and report what
// they cut in the same way.

#include <QString>
#include <QStringList>
#include <vector>

#include "FontRecord.h"

namespace mtz {

// A glyph as its source draws it: a bitmap of ancho columns, its rows from
// the top. Its bottom left dot lies x dots right of the origin and y rows
// above the baseline (y = 0 is the row just above it), as in a BDF.
struct GlifoLeido {
  QString caracter;  // one character of the list
  QString lugar;     // where the source has it ("línea 212"), or nothing
  int x = 0, y = 0;
  int ancho = 0;
  std::vector<bool> puntos;  // ancho dots a row, a whole number of rows
};

// The font's extent around the baseline, in rows.
struct Metricas {
  int ascenso = 0;
  int descenso = 0;
};

struct Importado {
  std::vector<fontfile::FontRecord> registros;  // in the order of the list
  QStringList informe;                          // what was cut or skipped
  qint64 puntosRecortados = 0;                  // dots that fell outside the grid
};

// How far a fitted font keeps the list apart: the number of different
// drawings, then the Spanish marks kept (Ñ, ñ, Ç, ç apart from N, n, C, c,
// g from q, the underscore visible). Compared in that order.
struct Distincion {
  int distintos = 0;
  int marcas = 0;
  bool operator<(const Distincion& o) const {
    return distintos != o.distintos ? distintos < o.distintos : marcas < o.marcas;
  }
};
Distincion distincion(const std::vector<fontfile::FontRecord>& registros);

// Places the glyphs (at most one per character; a later one is ignored).
// The baseline lies under row 7, raised by min(descent, 7 - ascent) rows
// where the ascent leaves room: a font of 7 rows or fewer keeps its
// descenders, a taller one its capitals. When that cuts dots, any height up
// to the descent that keeps the list more apart is taken instead. The font
// moves left as a whole until its leftmost dot within the seven rows is in
// column 1, so a narrow glyph centred in its box keeps its place. Dots
// outside the grid are cut and reported, and the characters of the list that
// have no glyph are named. The report of the reading comes first in informe.
Importado encajar(const std::vector<GlifoLeido>& glifos, Metricas metricas, QStringList informe);

}  // namespace mtz
