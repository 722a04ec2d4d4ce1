// The installed command and the menu's: prepares the user's working folder
// and starts the editor there, on the font file given if any. Whatever stops
// it is shown in a message box, not only on standard error, since nobody
// reads the error output of a program started from the menu.

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <system_error>
#include <vector>

#include "AvisosVentana.h"
#include "PrepararCarpeta.h"
#include "Textos.h"

namespace {

// On standard error always; in a message box when there is a display to
// show it on (a terminal over ssh has none, and Qt would end the program).
void avisar(const QString& texto, int argc, char* argv[]) {
  (void)std::fprintf(stderr, "grafolux: %s\n", qPrintable(texto));
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
  QApplication aplicacion(argc, argv);
  mostrarCajaDeMensaje({texto, textos::TituloAplicacion, avisos::Botones::Aceptar, avisos::Icono::Critico});
}

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not an absolute path.
QString carpetaDeDatos() {
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  return QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.local/share");
}

}  // namespace

int main(int argc, char* argv[]) {
  // The editor and the template lie at fixed places beside this program,
  // wherever the whole was installed.
  const QString aqui = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
  const QString editor = QDir::cleanPath(aqui + QStringLiteral("/" GRAFOLUX_EDITOR_RELATIVO));
  const Preparacion preparada = prepararCarpeta(QDir::cleanPath(aqui + QStringLiteral("/" GRAFOLUX_PLANTILLA_RELATIVA)),
                                                carpetaDeDatos() + QStringLiteral("/grafolux"));
  if (preparada.carpeta.isEmpty()) {
    avisar(preparada.aviso, argc, argv);
    return 1;
  }
  // Fonts shown from the template cannot be stored into: the user is told,
  // unless they named a font of their own.
  if (!preparada.aviso.isEmpty() && argc == 1) avisar(preparada.aviso, argc, argv);
  // A font file named is taken from where the command was typed; the editor
  // runs elsewhere.
  std::vector<QByteArray> argumentos;
  argumentos.reserve(std::size_t(argc));
  argumentos.push_back(QFile::encodeName(editor));
  for (int i = 1; i < argc; ++i) {
    argumentos.push_back(QFile::encodeName(QFileInfo(QFile::decodeName(argv[i])).absoluteFilePath()));
  }
  std::vector<char*> punteros;
  punteros.reserve(argumentos.size() + 1);
  for (QByteArray& a : argumentos) punteros.push_back(a.data());
  punteros.push_back(nullptr);
  if (!QDir::setCurrent(preparada.carpeta)) {
    avisar(textos::rutaNoEncontrada(preparada.carpeta), argc, argv);
    return 1;
  }
  ::execv(punteros.front(), punteros.data());
  avisar(textos::noSeIniciaElEditor(editor, QString::fromStdString(std::generic_category().message(errno))), argc,
         argv);
  return 1;
}
