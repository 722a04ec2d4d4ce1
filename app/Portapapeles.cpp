#include "Portapapeles.h"

#include <QPainter>

#include "DibujoEnTexto.h"

namespace portapapeles {

QImage imagenDelDibujo(const glyph::GlyphGrid& dibujo) {
  QImage imagen(glyph::Columnas * LadoDelPunto, glyph::Filas * LadoDelPunto, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  QPainter pintor(&imagen);
  for (int r = 1; r <= glyph::Filas; ++r) {
    for (int c = 1; c <= glyph::Columnas; ++c) {
      if (dibujo.encendida(r, c))
        pintor.fillRect((c - 1) * LadoDelPunto, (r - 1) * LadoDelPunto, LadoDelPunto, LadoDelPunto, Qt::black);
    }
  }
  return imagen;
}

glyph::GlyphGrid dibujoDeImagen(const QImage& imagen) {
  const QImage puntos = imagen.convertToFormat(QImage::Format_ARGB32)
                            .scaled(glyph::Columnas, glyph::Filas, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  glyph::GlyphGrid dibujo;
  for (int r = 1; r <= glyph::Filas; ++r) {
    for (int c = 1; c <= glyph::Columnas; ++c) {
      const QRgb p = puntos.pixel(c - 1, r - 1);
      // Over white: what is transparent counts as white.
      const int gris = (qGray(p) * qAlpha(p) + 255 * (255 - qAlpha(p))) / 255;
      dibujo(r, c) = gris < 128 ? 1 : 0;
    }
  }
  return dibujo;
}

QMimeData* datosDelDibujo(const glyph::GlyphGrid& dibujo) {
  auto* datos = new QMimeData;
  datos->setText(fontfile::filasDelDibujo(dibujo));
  datos->setImageData(imagenDelDibujo(dibujo));
  return datos;
}

std::optional<glyph::GlyphGrid> dibujoDeDatos(const QMimeData* datos) {
  if (datos == nullptr) return std::nullopt;
  if (datos->hasText()) {
    if (auto dibujo = fontfile::dibujoDeTexto(datos->text())) return dibujo;
  }
  if (datos->hasImage()) {
    const QImage imagen = qvariant_cast<QImage>(datos->imageData());
    if (!imagen.isNull()) return dibujoDeImagen(imagen);
  }
  return std::nullopt;
}

}  // namespace portapapeles
