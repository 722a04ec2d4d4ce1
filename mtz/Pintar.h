#pragma once
// A text as it would light up on a dot-matrix display, as a PNG picture.

#include <QByteArray>
#include <QImage>
#include <QString>

#include "Fuente.h"

namespace mtz {

inline constexpr QRgb ColorFondo = 0xff101010;
inline constexpr QRgb ColorApagado = 0xff3a2410;
inline constexpr QRgb ColorEncendido = 0xffffb020;

// Each character takes its used columns and one blank column after it; a
// space takes three blank columns; a line feed starts a new line of 7 rows
// one row lower. Every dot is a disc escala pixels wide, with a one-dot
// border around the text. Throws Fallo naming the characters the font lacks,
// or the unreadable slot where the search for one stopped.
QImage pintarTexto(const Fuente& fuente, const QString& texto, int escala);

QByteArray comoPng(const QImage& imagen);

}  // namespace mtz
