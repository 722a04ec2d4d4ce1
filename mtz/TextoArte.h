#pragma once
// Glyphs as text: seven rows of '#' (a lit dot) and '.' under a line "[c]".
// `mtz show` writes this form and `mtz build` reads it back, so a font can be
// drawn in a text editor and kept as source.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <vector>

#include "FontRecord.h"

namespace mtz {

// "[c] registro N, ancho W" and the seven rows of ten dots.
QString dibujoEnTexto(const fontfile::FontRecord& registro, int numero);

// Records in the order they are drawn, read from UTF-8 text line by line.
// A header is "[c]" with c one character or \xNN (a Windows-1252 byte); the
// rest of the header line is a note. Rows hold up to ten '#' or '.'; lines
// starting with ';' and blank lines are skipped. Throws Fallo naming the line
// of the first fault, also of the drawing past the 32767 a font can hold.
std::vector<fontfile::FontRecord> leerTextoArte(QIODevice& entrada, const QString& nombre);

}  // namespace mtz
