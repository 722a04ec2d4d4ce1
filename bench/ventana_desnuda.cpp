// A window with the editor's controls, laid out the same, with their
// captions in the same font, and nothing else: stock controls, no pictures,
// no data read, no handlers. Its start-up is the floor the editor's
// start-up is compared with.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "Controles.h"
#include "Letra.h"

namespace {

// The table of controls without its handlers, taken when compiled: none of
// the editor's code comes into this program.
struct Desnudo {
  std::string_view nombre;
  controles::Tipo tipo;
  QRect lugar;
  bool angosta;
};
constexpr auto Desnudos = [] {
  std::array<Desnudo, std::size(controles::Tabla)> d{};
  for (std::size_t i = 0; i < d.size(); ++i) {
    const controles::Control& c = controles::Tabla[i];
    d[i] = {c.nombre, c.tipo, c.lugar, c.angosta};
  }
  return d;
}();

QWidget* crear(controles::Tipo tipo, QWidget* ventana) {
  switch (tipo) {
    case controles::Tipo::Boton:
    case controles::Tipo::BotonConImagen:
      return new QPushButton(ventana);
    case controles::Tipo::Linea: {
      auto* linea = new QFrame(ventana);
      linea->setFrameShape(QFrame::HLine);
      return linea;
    }
    case controles::Tipo::ListaCaracteres:
      return new QComboBox(ventana);
    case controles::Tipo::Texto:
      return new QLineEdit(ventana);
    case controles::Tipo::ListaArchivos:
      return new QListWidget(ventana);
    case controles::Tipo::Marco:
      return new QWidget(ventana);
    default:
      return new QLabel(ventana);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  QWidget ventana;
  ventana.setWindowTitle(QStringLiteral("Ventana desnuda"));
  ventana.setFixedSize(controles::Ancho, controles::Alto);
  letra::deLaVentana(ventana);

  for (const Desnudo& d : Desnudos) {
    QWidget* control = crear(d.tipo, &ventana);
    control->setGeometry(d.lugar);
    if (const textos::TextosDeControl* t = textos::deControl(d.nombre); t != nullptr && t->texto != nullptr) {
      control->setProperty("text", QString::fromUtf8(t->texto));
    }
    if (d.angosta) letra::angosta(*control);
    if (d.tipo != controles::Tipo::Marco) continue;
    for (int r = 1; r <= glyph::Filas; ++r) {
      for (int c = 1; c <= glyph::Columnas; ++c) (new QCheckBox(control))->setGeometry(controles::celda(r, c));
    }
  }

  ventana.show();
  return QApplication::exec();
}
