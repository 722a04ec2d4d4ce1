#pragma once
// Where a command's output goes: standard output, or a file written whole or
// not at all.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace mtz {

// An empty ruta or "-" is standard output. A file is written into a temporary
// file beside it and renamed over it only when complete, so a failure leaves
// whatever was there before. A device or FIFO is written directly. Throws
// Fallo.
void escribirSalida(const QString& ruta, const QByteArray& datos);

// True when both paths name the same existing file.
bool mismoArchivo(const QString& a, const QString& b);

// The words of texto in lines of at most ancho characters (a longer word
// gets a line of its own).
QStringList envolver(const QString& texto, int ancho);

}  // namespace mtz
