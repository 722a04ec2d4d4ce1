#include "Pintar.h"

#include <QBuffer>
#include <QStringList>
#include <algorithm>

#include "ColumnCode.h"
#include "Fallo.h"

namespace mtz {
namespace {

// QImage caps pictures well below what a long text at a large scale asks for.
constexpr int MaximoLado = 16384;

using Lineas = std::vector<std::vector<int>>;

// The columns of each line of texto, every column a 7-bit code. Throws Fallo
// naming the characters the font lacks, or the slot where a search stopped.
Lineas columnasDeTexto(const Fuente& fuente, const QString& texto) {
  Lineas lineas(1);
  QStringList faltan;
  for (const QChar c : texto) {
    auto& linea = lineas.back();
    if (c == QLatin1Char('\n')) {
      lineas.emplace_back();
    } else if (c == QLatin1Char(' ')) {
      linea.insert(linea.end(), 3, 0);
    } else if (const Busqueda b = buscar(fuente, QString(c)); b.encontrada) {
      const glyph::Codigos codigos = codigosVisibles(b.encontrada->registro->columnas);
      linea.insert(linea.end(), codigos.begin(), codigos.begin() + anchoUsado(codigos));
      linea.push_back(0);
    } else if (b.detenidaEn) {
      throw Fallo(sinResultado(fuente, b, QString(c)));
    } else if (!faltan.contains(QString(c))) {
      faltan << QString(c);
    }
  }
  if (!faltan.isEmpty()) {
    throw Fallo(QStringLiteral("%1: la fuente no tiene %2").arg(fuente.ruta, faltan.join(QLatin1Char(' '))));
  }
  for (auto& linea : lineas) {
    if (!linea.empty() && linea.back() == 0) linea.pop_back();  // no gap after the last character
  }
  return lineas;
}

// The picture for that many lines and columns of dots, with a border of one
// dot, in the background colour. Throws Fallo when it would be too large.
QImage lienzo(size_t lineas, size_t columnas, int escala) {
  const qint64 ancho = (static_cast<qint64>(columnas) + 2) * escala;
  const qint64 alto = (static_cast<qint64>(lineas) * (glyph::Filas + 1) + 1) * escala;
  if (ancho > MaximoLado || alto > MaximoLado) {
    throw Fallo(
        QStringLiteral("la imagen sería de %1 x %2 píxeles, más de %3 de lado: use un texto más corto o --scale menor")
            .arg(ancho)
            .arg(alto)
            .arg(MaximoLado));
  }
  QImage imagen(static_cast<int>(ancho), static_cast<int>(alto), QImage::Format_RGB32);
  if (imagen.isNull()) throw Fallo(QStringLiteral("no hay memoria para la imagen"));
  imagen.fill(ColorFondo);
  return imagen;
}

// One dot whose square starts at x0, y0: a disc of about 80% of the dot's
// pitch; small scales light the whole square.
void pintarPunto(QImage& imagen, int x0, int y0, int escala, QRgb color) {
  const double radio = escala < 3 ? escala : escala * 0.4;
  const double centro = (escala - 1) / 2.0;
  for (int y = 0; y < escala; ++y) {
    auto* fila = reinterpret_cast<QRgb*>(imagen.scanLine(y0 + y));
    for (int x = 0; x < escala; ++x) {
      const double dx = x - centro, dy = y - centro;
      if (dx * dx + dy * dy <= radio * radio) fila[x0 + x] = color;
    }
  }
}

}  // namespace

QImage pintarTexto(const Fuente& fuente, const QString& texto, int escala) {
  const Lineas lineas = columnasDeTexto(fuente, texto);
  size_t columnas = 1;
  for (const auto& linea : lineas) columnas = std::max(columnas, linea.size());
  QImage imagen = lienzo(lineas.size(), columnas, escala);
  for (size_t l = 0; l < lineas.size(); ++l) {
    for (size_t c = 0; c < columnas; ++c) {
      const int codigo = c < lineas[l].size() ? lineas[l][c] : 0;
      for (int f = 0; f < glyph::Filas; ++f) {
        const int x0 = static_cast<int>(c + 1) * escala;
        const int y0 = static_cast<int>(l * (glyph::Filas + 1) + f + 1) * escala;
        pintarPunto(imagen, x0, y0, escala, (codigo >> f) & 1 ? ColorEncendido : ColorApagado);
      }
    }
  }
  return imagen;
}

QByteArray comoPng(const QImage& imagen) {
  QByteArray datos;
  QBuffer buffer(&datos);
  buffer.open(QIODevice::WriteOnly);
  if (!imagen.save(&buffer, "PNG")) throw Fallo(QStringLiteral("no se puede codificar la imagen PNG"));
  return datos;
}

}  // namespace mtz
