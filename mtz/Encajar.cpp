#include "Encajar.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
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

// The dots of a glyph that some placement may keep, and those none can:
// the baseline rises at most 7 rows, so only the rows from 7 below it to 6
// above it can reach the grid.
struct Cercanos {
  const GlifoLeido* glifo;
  std::vector<std::pair<Largo, Largo>> puntos;  // x, y
  Largo arriba = 0, abajo = 0;
};

constexpr Largo MaximaSubida = glyph::Filas;

std::vector<Cercanos> cercanos(const std::vector<GlifoLeido>& glifos) {
  QSet<QString> vistos;
  std::vector<Cercanos> r;
  for (const QString& c : fontfile::ListaCaracteres()) {
    const auto g = std::find_if(glifos.begin(), glifos.end(), [&](const GlifoLeido& x) { return x.caracter == c; });
    if (g == glifos.end()) continue;
    Cercanos cerca{&*g, {}, 0, 0};
    cadaPunto(*g, [&](Largo x, Largo y) {
      if (y >= glyph::Filas) {
        ++cerca.arriba;
      } else if (y < -MaximaSubida) {
        ++cerca.abajo;
      } else {
        cerca.puntos.emplace_back(x, y);
      }
    });
    r.push_back(std::move(cerca));
  }
  return r;
}

// The glyphs with the baseline under row 7 raised by subida rows. Only the
// rows that stay count for the shift left: a descender cut below the grid
// (the hook of a J) must not push every glyph to the right.
Importado colocar(const std::vector<Cercanos>& glifos, Largo subida) {
  const auto fila = [subida](Largo y) { return glyph::Filas - (y + subida); };
  Largo izquierda = std::numeric_limits<Largo>::max();
  for (const Cercanos& g : glifos) {
    for (const auto& [x, y] : g.puntos) {
      if (fila(y) >= 1 && fila(y) <= glyph::Filas) izquierda = std::min(izquierda, x);
    }
  }
  Importado r;
  for (const Cercanos& g : glifos) {
    // A glyph wholly below the grid (an underscore that hangs lower than the
    // descenders kept) would vanish: it sits on row 7 instead.
    Largo alzada = 0;
    if (g.arriba == 0 && !g.puntos.empty()) {
      const auto alto = std::max_element(g.puntos.begin(), g.puntos.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
      alzada = std::max<Largo>(0, fila(alto->second) - glyph::Filas);
    }
    glyph::GlyphGrid dibujo;
    Recorte recorte{g.arriba, g.abajo, 0};
    for (const auto& [x, y] : g.puntos) {
      const Largo columna = x - izquierda + 1;
      const Largo f = fila(y) - alzada;
      if (f < 1) {
        ++recorte.arriba;
      } else if (f > glyph::Filas) {
        ++recorte.abajo;
      } else if (columna < 1 || columna > glyph::Columnas) {
        ++recorte.derecha;
      } else {
        dibujo(static_cast<int>(f), static_cast<int>(columna)) = 1;
      }
    }
    const QString& c = g.glifo->caracter;
    r.registros.push_back({fontfile::aWindows1252(c), glyph::codigosDelDibujo(dibujo)});
    r.puntosRecortados += recorte.arriba + recorte.abajo + recorte.derecha;
    const QString cortado = enPalabras(recorte);
    if (!cortado.isEmpty()) {
      const QString& lugar = g.glifo->lugar;
      r.informe << QStringLiteral("%1%2: recortado, puntos fuera de la cuadrícula: %3")
                       .arg(c, lugar.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(lugar), cortado);
    }
  }
  return r;
}

// The characters whose marks make the list Spanish, each with the one it
// must not equal once fitted.
constexpr std::array<std::pair<char16_t, char16_t>, 5> Marcas = {
    {{u'N', u'\u00d1'}, {u'n', u'\u00f1'}, {u'C', u'\u00c7'}, {u'c', u'\u00e7'}, {u'q', u'g'}}};

}  // namespace

Distincion distincion(const std::vector<fontfile::FontRecord>& registros) {
  QHash<QString, glyph::Codigos> dibujos;
  QSet<QByteArray> distintos;
  for (const auto& r : registros) {
    distintos.insert(QByteArray(reinterpret_cast<const char*>(r.columnas.data()),
                                static_cast<qsizetype>(sizeof(glyph::ColumnCode) * r.columnas.size())));
    dibujos.insert(fontfile::deWindows1252(r.caracter), r.columnas);
  }
  Distincion d{static_cast<int>(distintos.size()), 0};
  for (const auto& [a, b] : Marcas) {
    const QString x(QChar{a}), y(QChar{b});
    d.marcas += dibujos.contains(x) && dibujos.contains(y) && dibujos.value(x) != dibujos.value(y);
  }
  // The underscore lies wholly below the baseline: it shows only where descenders do.
  d.marcas += dibujos.value(QStringLiteral("_")) != glyph::Codigos{};
  return d;
}

Importado encajar(const std::vector<GlifoLeido>& glifos, Metricas metricas, QStringList informe) {
  const std::vector<Cercanos> cerca = cercanos(glifos);
  const Largo descenso = std::clamp<Largo>(metricas.descenso, 0, MaximaSubida);
  const Largo clasica = std::min(descenso, std::max<Largo>(0, glyph::Filas - Largo{metricas.ascenso}));
  Importado r = colocar(cerca, clasica);
  // When that cuts, another height of the baseline may keep more apart (the
  // tilde of Ñ and the tail of g both, say); of equal ones the first stays.
  if (r.puntosRecortados > 0) {
    Distincion mejor = distincion(r.registros);
    for (Largo subida = 0; subida <= descenso; ++subida) {
      if (subida == clasica) continue;
      Importado otro = colocar(cerca, subida);
      const Distincion d = distincion(otro.registros);
      if (mejor < d) mejor = d, r = std::move(otro);
    }
  }
  QStringList faltan;
  QSet<QString> presentes;
  for (const Cercanos& g : cerca) presentes.insert(g.glifo->caracter);
  for (const QString& c : fontfile::ListaCaracteres()) {
    if (!presentes.contains(c)) faltan << c;
  }
  informe += r.informe;
  if (!faltan.isEmpty()) {
    informe
        << QStringLiteral("faltan %1 caracteres de la lista: %2").arg(faltan.size()).arg(faltan.join(QLatin1Char(' ')));
  }
  r.informe = std::move(informe);
  return r;
}

}  // namespace mtz
