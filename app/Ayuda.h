#pragma once
// Opens the help page with the desktop's default opener, without waiting.
// Tests replace the opener so that no browser starts.

#include <QUrl>
#include <functional>

namespace ayuda {

using Abridor = std::function<void(const QUrl&)>;

// Installs a and returns the opener it replaces.
Abridor instalar(Abridor a);

// "ayuda/editor.html" below the current directory; not checked to exist.
QUrl paginaDeAyuda();

void abrir();

}  // namespace ayuda
