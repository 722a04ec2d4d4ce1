#include "Dibujos.h"

#include "DibujoEmpaquetado.h"

QImage dibujo(QLatin1StringView nombre) {
  for (int i = 0; i < CantidadDeDibujos; ++i) {
    const DibujoEmpaquetado& d = DibujosEmpaquetados[i];
    if (nombre == QLatin1StringView(d.nombre)) {
      return {reinterpret_cast<const uchar*>(d.pixeles), d.ancho, d.alto, qsizetype(d.ancho) * 4,
              QImage::Format_ARGB32_Premultiplied};
    }
  }
  return {};
}
