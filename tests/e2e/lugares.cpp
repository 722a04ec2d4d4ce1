// Writes where the window's controls and cells lie, for the suite on a real X server, into the file named: a JSON
// object of name: [x, y, width, height] in pixels of the window's client area, the window itself as frmPrincipal.
#include <cstdio>

#include "Controles.h"

int main(int argc, char* argv[]) {
  std::FILE* json = argc == 2 ? std::fopen(argv[1], "w") : nullptr;
  if (json == nullptr) return 1;
  const auto poner = [json](const QString& nombre, QRect l) {
    std::fprintf(json, ",\n\"%s\": [%d, %d, %d, %d]", qPrintable(nombre), l.x(), l.y(), l.width(), l.height());
  };
  std::fprintf(json, "{\"frmPrincipal\": [0, 0, %d, %d]", controles::Ancho, controles::Alto);
  for (const controles::Control& c : controles::Tabla) {
    poner(controles::nombreDe(c), c.lugar);
    for (int i = 0; c.tipo == controles::Tipo::Marco && i < glyph::Celdas; ++i) {
      const int r = i / glyph::Columnas + 1, k = i % glyph::Columnas + 1;
      poner(QStringLiteral("chk%1_%2").arg(r).arg(k), controles::celda(r, k).translated(c.lugar.topLeft()));
    }
  }
  return std::fputs("}\n", json) >= 0 && std::fclose(json) == 0 ? 0 : 1;
}
