#pragma once
// A drawing as text: seven rows of ten marks, '#' for a dot that is on and
// '.' for one that is off, row 1 first. `mtz show` writes it under a header
// line "[c] ...", `mtz build` reads it back, and the editor's clipboard
// carries it, so a drawing goes between the editor, mtz and a text editor.

#include <QString>
#include <QStringView>
#include <optional>

#include "GlyphGrid.h"

namespace fontfile {

// The seven rows, each ended by a line feed.
QString filasDelDibujo(const glyph::GlyphGrid& dibujo);

// Lines that stand between drawings: blank ones, and comments that start
// with ';'. A header line starts with '['.
bool lineaSinDibujo(QStringView linea);
inline bool lineaDeEncabezado(QStringView linea) { return linea.startsWith(QLatin1Char('[')); }

enum class FilaLeida { Bien, Larga, MarcaAjena };

// Row `fila` (1..7) of `dibujo` from one line, blanks around it ignored. A
// shorter row leaves its last dots off; the row is set only when it is Bien.
FilaLeida leerFila(QStringView linea, glyph::GlyphGrid& dibujo, int fila);

// One drawing from a text: an optional header line, then seven rows, with
// blank and comment lines anywhere. Nothing for any other text.
std::optional<glyph::GlyphGrid> dibujoDeTexto(QStringView texto);

}  // namespace fontfile
