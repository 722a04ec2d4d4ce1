#pragma once
// A font turned into source for firmware and into files for other tools.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

#include "Fuente.h"

namespace mtz {

// How the dots of a character become bytes; docs/mtz.md pairs each layout
// with the displays it suits.
struct Disposicion {
  enum class Orden { Columnas, Filas };
  Orden orden = Orden::Columnas;
  bool msb = false;        // the top row, or the left dot, takes bit 7 instead of bit 0
  bool invertida = false;  // every byte complemented: a lit dot is 0
};

// A readable font in one format. Records left out go to avisos, each saying
// why, also when it throws Fallo.
using Exportador = QByteArray(const Fuente& fuente, const Disposicion& disposicion, QStringList& avisos);

// One export format: everything the command line, --help and the export
// need of it is in its row.
struct Formato {
  const char* nombre;  // as --format takes it
  // A reference, so that a row without its exporter does not compile.
  Exportador& exportar;
  // Its layout when no option changes it; nothing for a format whose layout
  // is fixed by the tools that read it.
  std::optional<Disposicion> disposicion;
  const char* descripcion;  // for --help
};

// Every format, in the order --help lists them.
std::span<const Formato> formatos();
const Formato* buscarFormato(const QString& nombre);
// "c, arduino, python, json, gfx, bdf o max72xx".
QString listaDeFormatos();

// Throws Fallo when the font cannot be exported: an unreadable slot, more
// than 32767 records, no character (or none the format can hold); for C and
// Arduino also a character that is not one byte. Records left out go to
// avisos, each saying why, also when it throws.
QByteArray exportar(const Fuente& fuente, const Formato& formato, const Disposicion& disposicion, QStringList& avisos);

}  // namespace mtz
