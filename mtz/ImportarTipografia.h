#pragma once
// Characters of the list of 121 as a typeface draws them, rendered by
// FreeType and fitted into the 7 x 10 grid as a BDF font is. Outline faces
// (TrueType, OpenType) are drawn at a chosen size; bitmap faces (bitmap-only
// OpenType, PCF, also compressed, and the bitmap strikes of any face) only
// at one of their own sizes.

#include <QByteArray>
#include <QString>
#include <optional>

#include "Encajar.h"

namespace mtz {

inline constexpr int MaximoTamano = 128;  // pixels per em; far beyond a 7-row grid
inline constexpr int MaximoUmbral = 255;

struct Trazado {
  int tamano = 0;             // pixels per em, 1 to MaximoTamano; 0 = chosen by the import
  std::optional<int> umbral;  // anti-aliased, lit where the coverage is above it; nothing = no anti-aliasing
};

// True when the file is to be read as a typeface: its first bytes are those
// of a face FreeType reads (or of a compressed file), or its name ends as a
// typeface's does. Anything else is read as BDF.
bool esTipografia(const QByteArray& inicio, const QString& nombre);

// The typeface in a file's bytes (face indice of a collection), and an
// installed family by name. Throws Fallo when the face cannot be read, lacks
// the size asked for, or the family is not installed; with EstadoUso when
// --threshold is asked of a bitmap face.
Importado importarTipografia(const QByteArray& datos, const QString& nombre, const Trazado& trazado, int indice = 0);
Importado importarFamilia(const QString& familia, const Trazado& trazado);

}  // namespace mtz
