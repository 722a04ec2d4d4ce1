#include "Encajar.h"

#include <QHash>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "ColumnCode.h"
#include "ListaCaracteres.h"

namespace mtz {
namespace {

// Coordinates are worked out in 64 bits: a source may put a glyph anywhere
// an int reaches, and no difference of two ints overflows there.
using Largo = std::int64_t;

// Calls hacer(x, y) for each lit dot of g, in source coordinates.
template <typename F>
void cadaPunto(const GlifoLeido& g, F hacer) {
  if (g.ancho <= 0) return;
  const auto ancho = static_cast<size_t>(g.ancho);
  const Largo filas = static_cast<Largo>(g.puntos.size() / ancho);
  for (size_t i = 0; i < g.puntos.size(); ++i) {
    if (!g.puntos[i]) continue;
    const Largo fila = static_cast<Largo>(i / ancho);  // from the top
    hacer(g.x + static_cast<Largo>(i % ancho), g.y + (filas - 1 - fila));
  }
}

struct Recorte {
  Largo arriba = 0, abajo = 0, derecha = 0;
};

QString enPalabras(const Recorte& r) {
  QStringList partes;
  if (r.arriba > 0) partes << QStringLiteral("%1 arriba").arg(r.arriba);
  if (r.abajo > 0) partes << QStringLiteral("%1 abajo").arg(r.abajo);
  if (r.derecha > 0) partes << QStringLiteral("%1 a la derecha").arg(r.derecha);
  return partes.join(QStringLiteral(", "));
}

}  // namespace

Importado encajar(const std::vector<GlifoLeido>& glifos, Metricas metricas, QStringList informe) {
  QHash<QString, const GlifoLeido*> porCaracter;
  Largo izquierda = std::numeric_limits<Largo>::max();
  for (const GlifoLeido& g : glifos) {
    if (porCaracter.contains(g.caracter)) continue;
    porCaracter.insert(g.caracter, &g);
    cadaPunto(g, [&](Largo x, Largo) { izquierda = std::min(izquierda, x); });
  }
  const Largo subida =
      std::min(std::max<Largo>(metricas.descenso, 0), std::max<Largo>(0, glyph::Filas - Largo{metricas.ascenso}));

  Importado r;
  r.informe = std::move(informe);
  QStringList faltan;
  for (const QString& c : fontfile::ListaCaracteres()) {
    const GlifoLeido* g = porCaracter.value(c);
    if (g == nullptr) {
      faltan << c;
      continue;
    }
    glyph::GlyphGrid dibujo;
    Recorte recorte;
    cadaPunto(*g, [&](Largo x, Largo y) {
      const Largo columna = x - izquierda + 1;
      const Largo fila = glyph::Filas - (y + subida);
      if (fila < 1) {
        ++recorte.arriba;
      } else if (fila > glyph::Filas) {
        ++recorte.abajo;
      } else if (columna < 1 || columna > glyph::Columnas) {
        ++recorte.derecha;
      } else {
        dibujo(static_cast<int>(fila), static_cast<int>(columna)) = 1;
      }
    });
    r.registros.push_back({fontfile::aWindows1252(c), glyph::codigosDelDibujo(dibujo)});
    const QString cortado = enPalabras(recorte);
    if (!cortado.isEmpty()) {
      r.informe << QStringLiteral("%1%2: recortado, puntos fuera de la cuadrícula: %3")
                       .arg(c, g->lugar.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(g->lugar), cortado);
    }
  }
  if (!faltan.isEmpty()) {
    r.informe
        << QStringLiteral("faltan %1 caracteres de la lista: %2").arg(faltan.size()).arg(faltan.join(QLatin1Char(' ')));
  }
  return r;
}

}  // namespace mtz
