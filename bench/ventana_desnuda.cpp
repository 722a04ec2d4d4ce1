// A window with the editor's controls, laid out the same, and nothing else:
// no pictures, no data read, no handlers. Its start-up is the floor the
// editor's start-up is compared with.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace {

template <typename Control>
Control* colocar(QWidget* ventana, QRect lugar, const QString& texto = {}) {
  auto* control = new Control(ventana);
  control->setGeometry(lugar);
  if constexpr (requires { control->setText(texto); }) {
    if (!texto.isEmpty()) control->setText(texto);
  }
  return control;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  QWidget ventana;
  ventana.setWindowTitle(QStringLiteral("Ventana desnuda"));
  ventana.setFixedSize(451, 426);
  // The editor's window takes the toolkit's family at 9 pixels.
  QFont letra = ventana.font();
  letra.setPixelSize(9);
  ventana.setFont(letra);

  colocar<QLabel>(&ventana, QRect(8, 8, 435, 55));
  colocar<QPushButton>(&ventana, QRect(376, 64, 65, 17), QStringLiteral("Ayuda"));
  colocar<QFrame>(&ventana, QRect(8, 96, 433, 1))->setFrameShape(QFrame::HLine);
  colocar<QLabel>(&ventana, QRect(32, 112, 49, 17), QStringLiteral("Caracter:"));
  colocar<QComboBox>(&ventana, QRect(32, 128, 65, 21));
  colocar<QPushButton>(&ventana, QRect(32, 152, 65, 25), QStringLiteral("Leer"));
  colocar<QPushButton>(&ventana, QRect(48, 184, 49, 17), QStringLiteral("Grabar"));
  for (int r = 0; r < 7; ++r) {
    for (int c = 0; c < 10; ++c) colocar<QCheckBox>(&ventana, QRect(112 + 16 * c, 112 + 16 * r, 17, 17));
  }
  for (int i = 0; i < 6; ++i) colocar<QPushButton>(&ventana, QRect(280 + 24 * (i % 3), 112 + 24 * (i / 3), 25, 25));
  colocar<QPushButton>(&ventana, QRect(368, 112, 57, 25), QStringLiteral("Borrar"));
  colocar<QPushButton>(&ventana, QRect(368, 136, 57, 25), QStringLiteral("Llenar"));
  colocar<QPushButton>(&ventana, QRect(280, 176, 97, 25), QStringLiteral("Reflejo Horizontal"));
  colocar<QPushButton>(&ventana, QRect(280, 200, 97, 25), QStringLiteral("Reflejo Vertical"));
  colocar<QFrame>(&ventana, QRect(8, 240, 433, 1))->setFrameShape(QFrame::HLine);
  colocar<QLabel>(&ventana, QRect(32, 256, 89, 17), QStringLiteral("Archivo de trabajo"));
  colocar<QLineEdit>(&ventana, QRect(128, 256, 241, 19));
  colocar<QPushButton>(&ventana, QRect(376, 256, 49, 17), QStringLiteral("Crear"));
  colocar<QListWidget>(&ventana, QRect(32, 288, 121, 123));
  colocar<QLabel>(&ventana, QRect(200, 288, 201, 117));
  colocar<QLabel>(&ventana, QRect(224, 408, 161, 17));

  ventana.show();
  return QApplication::exec();
}
