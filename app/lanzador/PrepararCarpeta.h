#pragma once
// The folder the editor starts in when it is started from the menu or as
// the installed command: the user's own, prepared from the template
// installed with the program, since the editor reads its fonts and help
// from its current directory.

#include <QString>

struct Preparacion {
  QString carpeta;  // where the editor starts; empty when it cannot start
  QString aviso;    // what the user is told first; with no folder, why it cannot start
};

// `plantilla` holds the starter fonts (tipografias/) and the help (ayuda/);
// `trabajo` is the user's folder. The starter fonts are copied only when the
// user's font folder does not exist yet, and help files only when missing:
// nothing the user has is overwritten, and a font they deleted stays so.
// When the user's font folder cannot be made, the editor starts on the
// template itself, with a message saying that stores need a writable folder.
Preparacion prepararCarpeta(const QString& plantilla, const QString& trabajo);
