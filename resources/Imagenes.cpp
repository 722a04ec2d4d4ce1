#include "Imagenes.h"

#include "ImagenEmpaquetada.h"

QImage imagenGuardada(QLatin1StringView nombre) {
  for (int i = 0; i < CantidadDeImagenes; ++i) {
    const ImagenEmpaquetada& d = ImagenesEmpaquetadas[i];
    if (nombre == QLatin1StringView(d.nombre)) {
      return {reinterpret_cast<const uchar*>(d.pixeles), d.ancho, d.alto, qsizetype(d.ancho) * 4,
              QImage::Format_ARGB32_Premultiplied};
    }
  }
  return {};
}
