#pragma once
// A font turned into source for firmware and into files for other tools.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "Fuente.h"

namespace mtz {

enum class Formato { C, Arduino, Python, Json, Bdf };

std::optional<Formato> formatoDeNombre(const QString& nombre);

struct Exportado {
  QByteArray datos;
  QStringList avisos;  // records left out, each saying why
};

// Throws Fallo when the font cannot be exported (an unreadable slot; for C
// and Arduino also an empty font or a character that is not one byte).
Exportado exportar(const Fuente& fuente, Formato formato);

// A C identifier from the file's name: "mi fuente.mtz" gives "mi_fuente".
QString identificador(const QString& ruta);

}  // namespace mtz
