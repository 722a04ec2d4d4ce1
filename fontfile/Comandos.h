#pragma once
// The file commands of the editor: create, store, load, and the format test
// of a chosen file. They take what the window's controls hold, tell the user
// through the message seam, and return what the window must change.

#include <QString>
#include <optional>

#include "GlyphGrid.h"

namespace fontfile {

// The working file's path: the list's folder, "/" and the name, as they stand.
QString rutaDeTrabajo(const QString& carpeta, const QString& nombre);

struct Resultado {
  bool hecho = false;                        // the command did its work
  bool focoAlNombre = false;                 // the name box takes the focus back
  std::optional<glyph::GlyphGrid> dibujo{};  // a loaded drawing for the grid
};

Resultado crearArchivo(const QString& carpeta, const QString& nombre);
Resultado grabarCaracter(const QString& carpeta, const QString& nombre, const QString& caracter,
                         const glyph::GlyphGrid& dibujo);
Resultado cargarCaracter(const QString& carpeta, const QString& nombre, const QString& caracter);

// Reads record 1 of a chosen file as a test of its format. False, after the
// format message, when it cannot be read; false, silently, when the file
// cannot be opened for reading and writing (it may be protected, or have
// vanished since the list was read).
bool formatoAdecuado(const QString& ruta);

}  // namespace fontfile
