#include <gtest/gtest.h>

#include <numeric>

#include "Apoyo.h"
#include "ColumnCode.h"
#include "Transformaciones.h"

using namespace glyph;

namespace {

using Punto = std::pair<int, int>;

}  // namespace

TEST(CodigosDeColumna, CadaFilaPesaSuBitYElCodigoVuelveAlDibujo) {
  EXPECT_EQ(codigosDelDibujo(dibujoCon({{1, 1}, {3, 2}, {7, 10}}, -1)), (Codigos{1, 4, 0, 0, 0, 0, 0, 0, 0, 64}));
  EXPECT_EQ(dibujoDeCodigos({1, 0, 0, 0, 0, 0, 0, 0, 0, 64}), dibujoCon({{1, 1}, {7, 10}}));
  // 128 and more light the whole column; a negative code lights nothing.
  EXPECT_EQ(dibujoDeCodigos({0, 0, 200, -1}), dibujoCon({{1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}}));
  for (int codigo = 0; codigo < 128; ++codigo) {
    const Codigos c{0, 0, 0, 0, static_cast<ColumnCode>(codigo), 0, 0, 0, 0, 127};
    EXPECT_EQ(codigosDelDibujo(dibujoDeCodigos(c)), c) << codigo;
  }
}

struct Orden {
  const char* nombre;
  GlyphGrid (*comando)(const GlyphGrid&);
  int veces;                             // applied this often, it gives the drawing back
  Punto desde1, hasta1, desde2, hasta2;  // where two single dots land
};

class Ordenes : public testing::TestWithParam<Orden> {};

TEST_P(Ordenes, LlevanCadaPuntoASuSitioSinPerderNiInventarValores) {
  const Orden& o = GetParam();
  EXPECT_EQ(o.comando(dibujoCon({o.desde1}, 5)), dibujoCon({o.hasta1}, 5));
  EXPECT_EQ(o.comando(dibujoCon({o.desde2}, 5)), dibujoCon({o.hasta2}, 5));
  GlyphGrid numerada;  // 70 different values: any misplaced cell shows
  std::iota(numerada.valores.begin(), numerada.valores.end(), 1);
  GlyphGrid g = o.comando(numerada);
  auto valores = g.valores;
  std::sort(valores.begin(), valores.end());
  EXPECT_EQ(valores, numerada.valores);
  for (int i = 1; i < o.veces; ++i) g = o.comando(g);
  EXPECT_EQ(g, numerada);
}

INSTANTIATE_TEST_SUITE_P(Todas, Ordenes,
                         testing::Values(Orden{"abajo", desplazarAbajo, 7, {7, 4}, {1, 4}, {2, 4}, {3, 4}},
                                         Orden{"arriba", desplazarArriba, 7, {1, 4}, {7, 4}, {5, 9}, {4, 9}},
                                         Orden{"derecha", desplazarDerecha, 10, {3, 10}, {3, 1}, {3, 1}, {3, 2}},
                                         Orden{"izquierda", desplazarIzquierda, 10, {3, 1}, {3, 10}, {6, 5}, {6, 4}},
                                         // Mirrors are about the grid's centre, not the drawing's.
                                         Orden{"reflejoH", reflejoHorizontal, 2, {1, 1}, {1, 10}, {4, 3}, {4, 8}},
                                         Orden{"reflejoV", reflejoVertical, 2, {1, 1}, {7, 1}, {4, 6}, {4, 6}},
                                         Orden{"rotarIzq", rotarIzquierda, 4, {1, 7}, {1, 1}, {2, 9}, {2, 9}},
                                         Orden{"rotarDer", rotarDerecha, 4, {1, 1}, {1, 7}, {5, 8}, {5, 8}}),
                         [](const testing::TestParamInfo<Orden>& i) { return std::string(i.param.nombre); });
