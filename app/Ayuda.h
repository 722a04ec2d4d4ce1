#pragma once
// Opens the help page with the desktop's default opener, without waiting.
// Tests replace the opener so that no browser starts.

#include <QUrl>
#include <functional>

namespace ayuda {

// True when a program was started to open the page.
using Abridor = std::function<bool(const QUrl&)>;

// Installs a and returns the opener it replaces.
Abridor instalar(Abridor a);

// "ayuda/editor.html" below the current directory; not checked to exist.
QUrl paginaDeAyuda();

// False when no program could be started for the page.
bool abrir();

}  // namespace ayuda
