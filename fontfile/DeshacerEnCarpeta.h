#pragma once
// Where the rollback records of a font lie (see Deshacer.h), and whose are
// believed.
//
// A record is the hidden file ".grafolux-deshacer-<inode>" in the folder
// that really holds the font (links followed), named by the font's inode so
// that it follows the font through a rename. Its name does not end in
// ".mtz", so no file list shows it. When something else holds that name, a
// store writes its record under a name of its own making,
// ".grafolux-deshacer-<inode>-<random>", beside the mark
// ".grafolux-deshacer-<inode>-", which sends readers to list the folder.
//
// Others may be able to create files in the folder (a sticky /tmp, a team
// folder), so a record is believed only when it can only have come from
// someone able to write the font: a regular file with a single link, owned
// by the font's owner, by root, or by a user the font's mode lets write it,
// and writable by its owner alone. It must also have been written for this
// very file (Identidad). Anything else under those names is left alone: it
// neither steers a reader or a store nor stops one.

#include <sys/stat.h>

#include <QByteArray>
#include <optional>
#include <vector>

#include "Deshacer.h"

namespace fontfile {

struct Hallado {
  QByteArray ruta;
  std::optional<Deshacer> paraEsta;  // whole, and written for this very file
};

// The believed records beside the font: under the usual name, and when the
// mark is there, under the names of a store's own making and the mark.
std::vector<Hallado> buscarDeshacer(const QByteArray& carpeta, const struct stat& fuente, const Identidad& id);

// A new, empty record file beside the font, under the usual name or, when
// something holds that, one of its own making with the mark; readable by
// whoever may read the font. fd is -1 when it could not be made.
struct Creado {
  int fd = -1;
  QByteArray ruta;
  QByteArray marca;  // when the store made it
};
Creado crearDeshacer(const QByteArray& carpeta, const struct stat& fuente);

// Removes the record, then its mark.
void quitarDeshacer(const Creado& c);

}  // namespace fontfile
