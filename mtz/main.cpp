#include <QCoreApplication>

#include "Programa.h"

int main(int argc, char* argv[]) {
  QCoreApplication aplicacion(argc, argv);
  return mtz::programa(aplicacion.arguments().mid(1));
}
