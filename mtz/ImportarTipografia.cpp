#include "ImportarTipografia.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <cmath>

#include "Fallo.h"
#include "GlyphGrid.h"
#include "ListaCaracteres.h"

namespace mtz {
namespace {

// Ñ and Ç carry marks beyond the capitals' height, so they do not set the size.
const char* const Mayusculas = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The glyph of c, or nothing when the font has none (its index 0 is the
// glyph of a missing character).
std::optional<quint32> indiceDe(const QRawFont& tipografia, const QString& c) {
  const QList<quint32> indices = tipografia.glyphIndexesForString(c);
  if (indices.size() != 1 || indices[0] == 0) return std::nullopt;
  return indices[0];
}

// Where the picture of a glyph is cut, in pixels from the origin: no glyph
// of a font reaches four ems away, and a hostile box costs no memory.
int acotar(qreal v, int tamano) {
  const int limite = 4 * tamano;
  return static_cast<int>(std::clamp<qreal>(std::isfinite(v) ? v : 0, -limite, limite));
}

// The glyph as the toolkit paints text: on a one-bit picture without
// anti-aliasing, or on a grey one whose coverage is cut at the threshold.
GlifoLeido pintar(const QRawFont& tipografia, quint32 indice, const Trazado& trazado) {
  const int tamano = static_cast<int>(tipografia.pixelSize());
  const QRectF caja = tipografia.boundingRect(indice);
  // Hinting may move the outline's edges by a pixel or so.
  const int margen = 2 + tamano / 8;
  const int izquierda = acotar(std::floor(caja.left()), tamano) - margen;
  const int arriba = acotar(std::floor(caja.top()), tamano) - margen;  // y grows downwards here
  const int derecha = acotar(std::ceil(caja.right()), tamano) + margen;
  const int abajo = acotar(std::ceil(caja.bottom()), tamano) + margen;
  QImage imagen(derecha - izquierda, abajo - arriba, trazado.umbral ? QImage::Format_Grayscale8 : QImage::Format_Mono);
  if (!trazado.umbral) imagen.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  imagen.fill(0);
  {
    QPainter pintor(&imagen);
    pintor.setPen(Qt::white);
    QGlyphRun corrida;
    corrida.setRawFont(tipografia);
    corrida.setGlyphIndexes({indice});
    corrida.setPositions({QPointF(0, 0)});
    pintor.drawGlyphRun(QPointF(-izquierda, -arriba), corrida);
  }
  // The bottom row of the picture lies abajo - 1 pixels below the baseline.
  GlifoLeido g{QString(), QString(), izquierda, -abajo, imagen.width(), {}};
  g.puntos.reserve(static_cast<size_t>(imagen.width()) * static_cast<size_t>(imagen.height()));
  for (int y = 0; y < imagen.height(); ++y) {
    const uchar* fila = imagen.constScanLine(y);
    for (int x = 0; x < imagen.width(); ++x) {
      // A one-bit picture keeps its leftmost pixel in the high bit; index 1 is lit.
      g.puntos.push_back(trazado.umbral ? fila[x] > *trazado.umbral : ((fila[x >> 3] >> (7 - (x & 7))) & 1) != 0);
    }
  }
  return g;
}

// Rows from the baseline up to the highest lit dot of the capitals; 0 when
// none is lit, -1 when the font has none of them. What hangs below the
// baseline (the tail of a Q) does not count: it is cut like any descender
// once the capitals fill the grid.
int altoDeMayusculas(const QRawFont& tipografia, const Trazado& trazado) {
  int alto = -1;
  for (const char* m = Mayusculas; *m != '\0'; ++m) {
    const auto indice = indiceDe(tipografia, QString(QLatin1Char(*m)));
    if (!indice) continue;
    alto = std::max(alto, 0);
    const GlifoLeido g = pintar(tipografia, *indice, trazado);
    const auto ancho = static_cast<size_t>(g.ancho);
    const auto filas = static_cast<int>(g.puntos.size() / ancho);
    const auto primero = std::find(g.puntos.begin(), g.puntos.end(), true);
    if (primero == g.puntos.end()) continue;
    const int filaMasAlta = static_cast<int>(static_cast<size_t>(primero - g.puntos.begin()) / ancho);
    alto = std::max(alto, g.y + filas - filaMasAlta);
  }
  return alto;
}

// The largest size at which the capitals fit the grid's height above the
// baseline, found by growing until they no longer do.
int tamanoPorDefecto(QRawFont tipografia, const Trazado& trazado, const QString& nombre) {
  int elegido = 0;
  for (int tamano = 1; tamano <= MaximoTamano; ++tamano) {
    tipografia.setPixelSize(tamano);
    const int alto = altoDeMayusculas(tipografia, trazado);
    if (alto < 0)
      throw Fallo(QStringLiteral("%1: la tipografía no tiene mayúsculas de la A a la Z; indique --size").arg(nombre));
    if (alto > glyph::Filas) break;
    elegido = tamano;
  }
  if (elegido == 0)
    throw Fallo(QStringLiteral("%1: las mayúsculas no caben en 7 filas a ningún tamaño; indique --size").arg(nombre));
  return elegido;
}

Importado importar(QRawFont tipografia, const QString& nombre, const Trazado& trazado) {
  const int tamano = trazado.tamano > 0 ? trazado.tamano : tamanoPorDefecto(tipografia, trazado, nombre);
  tipografia.setPixelSize(tamano);
  std::vector<GlifoLeido> glifos;
  for (const QString& c : fontfile::ListaCaracteres()) {
    const auto indice = indiceDe(tipografia, c);
    if (!indice) continue;
    glifos.push_back(pintar(tipografia, *indice, trazado));
    glifos.back().caracter = c;
  }
  // A hostile font may claim any extent; more than a few ems means nothing here.
  const auto metrica = [&](qreal v) {
    return qRound(std::clamp<qreal>(std::isfinite(v) ? v : 0, -4 * tamano, 4 * tamano));
  };
  QStringList informe{trazado.umbral
                          ? QStringLiteral("a %1 píxeles, con suavizado y umbral %2").arg(tamano).arg(*trazado.umbral)
                          : QStringLiteral("a %1 píxeles, sin suavizado").arg(tamano)};
  return encajar(glifos, {metrica(tipografia.ascent()), metrica(tipografia.descent())}, informe);
}

void exigirAplicacionGrafica() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    throw Fallo(QStringLiteral("las tipografías necesitan QGuiApplication"));
}

}  // namespace

bool esTipografia(const QByteArray& inicio) {
  static const std::array<QByteArray, 4> Firmas = {QByteArray("\x00\x01\x00\x00", 4), "OTTO", "true", "ttcf"};
  return std::any_of(Firmas.begin(), Firmas.end(), [&](const QByteArray& f) { return inicio.startsWith(f); });
}

Importado importarTipografia(const QByteArray& datos, const QString& nombre, const Trazado& trazado) {
  exigirAplicacionGrafica();
  const QRawFont tipografia(datos, 1);
  if (!tipografia.isValid()) throw Fallo(QStringLiteral("%1: no se puede leer la tipografía").arg(nombre));
  return importar(tipografia, nombre, trazado);
}

Importado importarFamilia(const QString& familia, const Trazado& trazado) {
  exigirAplicacionGrafica();
  if (!QFontDatabase::hasFamily(familia))
    throw Fallo(QStringLiteral("%1: no hay ninguna tipografía instalada de esa familia").arg(familia));
  QFont tipoDeLetra(familia);
  tipoDeLetra.setPixelSize(1);
  const QRawFont tipografia = QRawFont::fromFont(tipoDeLetra);
  if (!tipografia.isValid()) throw Fallo(QStringLiteral("%1: no se puede leer la tipografía").arg(familia));
  return importar(tipografia, familia, trazado);
}

}  // namespace mtz
