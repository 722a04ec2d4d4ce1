#pragma once
// A font turned into source for firmware and into files for other tools.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

#include "Fuente.h"

namespace mtz {

enum class Formato { C, Arduino, Python, Json, Gfx, Bdf, Max72xx };

// How the dots of a character become bytes; the README pairs each layout
// with the displays it suits.
struct Disposicion {
  enum class Orden { Columnas, Filas };
  Orden orden = Orden::Columnas;
  bool msb = false;        // the top row, or the left dot, takes bit 7 instead of bit 0
  bool invertida = false;  // every byte complemented: a lit dot is 0
};

struct DatosFormato {
  const char* nombre;  // as --format takes it
  Formato formato;
  // Its layout when no option changes it; nothing for a format whose layout
  // is fixed by the tools that read it.
  std::optional<Disposicion> disposicion;
  const char* descripcion;  // for --help
};

// Every format, in the order --help lists them.
std::span<const DatosFormato> formatos();
const DatosFormato* datosDeFormato(const QString& nombre);
// "c, arduino, python, json, gfx, bdf o max72xx".
QString listaDeFormatos();

// Throws Fallo when the font cannot be exported: an unreadable slot, more
// than 32767 records, no character (or none the format can hold); for C and
// Arduino also a character that is not one byte. Records left out go to
// avisos, each saying why, also when it throws.
QByteArray exportar(const Fuente& fuente, Formato formato, const Disposicion& disposicion, QStringList& avisos);

// A C identifier from the file's name, plain ASCII and never one reserved to
// the compiler: "mi fuente.mtz" gives "mi_fuente", "ñandú.mtz" "nandu".
QString identificador(const QString& ruta);

}  // namespace mtz
