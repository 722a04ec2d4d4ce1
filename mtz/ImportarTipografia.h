#pragma once
// Characters of the list of 121 as an outline typeface (TrueType or
// OpenType) draws them, rendered by the toolkit's font machinery and fitted
// into the 7 x 10 grid as a BDF font is. Needs a QGuiApplication; on the
// offscreen platform it needs no display.

#include <QByteArray>
#include <QString>
#include <optional>

#include "Encajar.h"

namespace mtz {

inline constexpr int MaximoTamano = 128;  // pixels per em; far beyond a 7-row grid
inline constexpr int MaximoUmbral = 255;

struct Trazado {
  int tamano = 0;             // pixels per em, 1 to MaximoTamano; 0 = the largest at which A to Z fit 7 rows
  std::optional<int> umbral;  // anti-aliased, lit where the coverage is above it; nothing = no anti-aliasing
};

// True when the bytes begin as a TrueType or OpenType font, or a collection
// of them, does.
bool esTipografia(const QByteArray& inicio);

// The typeface in a file's bytes, and an installed family by name. Throws
// Fallo when the font cannot be read or the family is not installed.
Importado importarTipografia(const QByteArray& datos, const QString& nombre, const Trazado& trazado);
Importado importarFamilia(const QString& familia, const Trazado& trazado);

}  // namespace mtz
