#include "Ayuda.h"

#include <QDesktopServices>
#include <QDir>
#include <utility>

namespace ayuda {
namespace {

bool abrirConElEscritorio(const QUrl& pagina) { return QDesktopServices::openUrl(pagina); }

Abridor& actual() {
  static Abridor abridor = abrirConElEscritorio;
  return abridor;
}

}  // namespace

Abridor instalar(Abridor a) { return std::exchange(actual(), a ? std::move(a) : abrirConElEscritorio); }

QUrl paginaDeAyuda() {
  return QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("ayuda/editor.html")));
}

bool abrir() { return actual()(paginaDeAyuda()); }

}  // namespace ayuda
