#include <QApplication>

#include "AvisosVentana.h"
#include "frmPrincipal.h"

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  avisos::instalar(mostrarCajaDeMensaje);
  frmPrincipal ventana;
  if (!ventana.Form_Load()) return 1;
  ventana.show();
  return QApplication::exec();
}
