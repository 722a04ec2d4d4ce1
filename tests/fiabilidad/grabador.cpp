// Another editor for the reliability tests: stores characters into one font
// file in a loop through the window's store command, answering "Sí" to the
// overwrite question; any other message ends it with status 1.
//
//   grabador <carpeta> <nombre> <vueltas> <etiqueta> <distintos>
//
// It says "listo" and starts at the next line on its input. Store i puts
// character (i mod distintos) of the list, counted from the front for an
// even etiqueta and from the back for an odd one, with all ten codes equal
// to (etiqueta * 50 + i) mod 128, so that a record mixed from two stores
// shows as codes that differ.

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "Avisos.h"
#include "ColumnCode.h"
#include "Comandos.h"
#include "ListaCaracteres.h"

int main(int argc, char* argv[]) {
  QCoreApplication aplicacion(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 6) return 2;
  const int vueltas = args.at(3).toInt(), etiqueta = args.at(4).toInt(), distintos = args.at(5).toInt();
  avisos::instalar([](const avisos::Aviso& a) {
    if (a.botones == avisos::Botones::SiNo) return avisos::Respuesta::Si;
    std::fprintf(stderr, "aviso: %s\n", qPrintable(a.texto));
    std::exit(1);
  });
  std::puts("listo");
  std::fflush(stdout);
  std::getchar();
  const QStringList& lista = fontfile::ListaCaracteres();
  for (int i = 0; i < vueltas; ++i) {
    glyph::Codigos codigos{};
    codigos.fill(static_cast<glyph::ColumnCode>((etiqueta * 50 + i) % 128));
    const int j = i % distintos;
    fontfile::grabarCaracter(args.at(1), args.at(2), lista.at(etiqueta % 2 == 0 ? j : lista.size() - 1 - j),
                             glyph::dibujoDeCodigos(codigos));
  }
  return 0;
}
