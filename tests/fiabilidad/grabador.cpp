// A second editor for the concurrency tests: stores characters into one font
// file in a loop through the same command the window uses, answering "Sí"
// to the overwrite question. Any other message is a failure.
//
//   grabador <carpeta> <nombre> <vueltas> <etiqueta> [<barrera>]
//
// Store i puts character (i mod 121) of the list, counted from the front for
// an even etiqueta and from the back for an odd one, with every column code
// equal to (etiqueta * 50 + i) mod 128: a record mixed from two writes shows
// as codes that differ. With a barrera the loop starts once that file exists.

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <cstdio>

#include "Avisos.h"
#include "ColumnCode.h"
#include "Comandos.h"
#include "ListaCaracteres.h"

int main(int argc, char* argv[]) {
  QCoreApplication aplicacion(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 5) {
    std::fputs("uso: grabador <carpeta> <nombre> <vueltas> <etiqueta> [<barrera>]\n", stderr);
    return 2;
  }
  const QString carpeta = args.at(1);
  const QString nombre = args.at(2);
  const int vueltas = args.at(3).toInt();
  const int etiqueta = args.at(4).toInt();

  int otros = 0;
  avisos::instalar([&otros](const avisos::Aviso& a) {
    if (a.botones == avisos::Botones::SiNo) return avisos::Respuesta::Si;
    std::fprintf(stderr, "aviso: %s\n", qPrintable(a.texto));
    ++otros;
    return avisos::Respuesta::Aceptar;
  });

  if (args.size() > 5) {
    for (int espera = 0; !QFileInfo::exists(args.at(5)); ++espera) {
      if (espera > 100000) return 3;
      QThread::usleep(100);
    }
  }

  // The killing test waits for this line before it starts its clock.
  std::fputs("listo\n", stdout);
  std::fflush(stdout);

  constexpr int Distintos = 121;  // the whole list
  const QStringList& lista = fontfile::ListaCaracteres();
  for (int i = 0; i < vueltas; ++i) {
    const int j = i % Distintos;
    const QString caracter = lista.at(etiqueta % 2 == 0 ? j : Distintos - 1 - j);
    glyph::Codigos codigos{};
    codigos.fill(static_cast<glyph::ColumnCode>((etiqueta * 50 + i) % 128));
    fontfile::grabarCaracter(carpeta, nombre, caracter, glyph::dibujoDeCodigos(codigos));
    if (otros != 0) return 1;
  }
  return 0;
}
