#include <QCoreApplication>

#include "Programa.h"

int main(int argc, char* argv[]) {
  // The arguments' own bytes, before anything turns them into text: a file
  // name that is not UTF-8 must be seen as such.
  QList<QByteArray> argumentos;
  for (int i = 1; i < argc; ++i) argumentos.append(QByteArray(argv[i]));
  QCoreApplication aplicacion(argc, argv);
  return mtz::programa(argumentos);
}
