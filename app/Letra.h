#pragma once
// The captions' font, for the window and for the bare window start-up is
// compared with. The controls keep the layout's sizes in pixels. Their
// captions take the toolkit's default font, 12 pixels of DejaVu Sans on
// Debian, where their boxes hold them; a desktop's larger default is brought
// down to that size, which every box holds. Three boxes are too narrow for
// DejaVu Sans at that size (marked in the table of controls), and take a
// narrow face of the same size instead. Nothing is measured: that would load
// the font database before the window shows.

#include <QFont>
#include <QWidget>

namespace letra {

inline constexpr int Pixeles = 12;

inline void deLaVentana(QWidget& ventana) {
  // Points are pixels at the toolkit's logical 96 dots per inch: 4/3 each.
  QFont letra = ventana.font();
  if (letra.pixelSize() > Pixeles || letra.pointSizeF() * 4 / 3 > Pixeles) {
    letra.setPixelSize(Pixeles);
    ventana.setFont(letra);
  }
}

inline void angosta(QWidget& control) {
  QFont letra = control.font();
  letra.setFamily(QStringLiteral("Nimbus Sans Narrow"));
  control.setFont(letra);
}

}  // namespace letra
