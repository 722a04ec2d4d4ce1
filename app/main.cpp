#include <QApplication>
#include <csignal>

#include "AvisosVentana.h"
#include "frmPrincipal.h"

int main(int argc, char* argv[]) {
  // Under a file size limit (ulimit -f) a store past it would kill the editor
  // with SIGXFSZ; ignored, the write fails and the user is told.
  (void)std::signal(SIGXFSZ, SIG_IGN);
  QApplication aplicacion(argc, argv);
  avisos::instalar(mostrarCajaDeMensaje);
  // What is left once Qt has taken its own options: at most one font file.
  const QStringList argumentos = QCoreApplication::arguments().mid(1);
  if (argumentos.size() > 1) {
    avisos::informar(textos::UsoDelEditor);
    return 2;
  }
  frmPrincipal ventana;
  if (!ventana.Form_Load(argumentos.value(0))) return 1;
  ventana.show();
  return QApplication::exec();
}
