#include <gtest/gtest.h>

#include "ColumnCode.h"
#include "Transformaciones.h"

using namespace glyph;

namespace {

GlyphGrid conPunto(int r, int c, Valor v = 1) {
  GlyphGrid g;
  g(r, c) = v;
  return g;
}

// A drawing with 70 different values, so that any misplaced cell shows.
GlyphGrid numerada() {
  GlyphGrid g;
  for (int i = 0; i < Celdas; ++i) g.valores[i] = static_cast<Valor>(i + 1);
  return g;
}

GlyphGrid lleno() {
  GlyphGrid g;
  cambiar(g, 1);
  return g;
}

using Comando = GlyphGrid (*)(const GlyphGrid&);

}  // namespace

TEST(CodigosDeColumna, CalcColPesaCadaFila) {
  EXPECT_EQ(CalcCol(false, false, false, false, false, false, false), 0);
  EXPECT_EQ(CalcCol(true, false, false, false, false, false, false), 1);
  EXPECT_EQ(CalcCol(false, false, false, false, false, false, true), 64);
  EXPECT_EQ(CalcCol(true, true, true, true, true, true, true), 127);
  EXPECT_EQ(CalcCol(false, true, false, true, false, true, false), 2 + 8 + 32);
}

TEST(CodigosDeColumna, EmpaquetaElDibujo) {
  EXPECT_EQ(codigosDelDibujo(conPunto(1, 1)), (Codigos{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(codigosDelDibujo(conPunto(7, 10)), (Codigos{0, 0, 0, 0, 0, 0, 0, 0, 0, 64}));
  EXPECT_EQ(codigosDelDibujo(lleno()), (Codigos{127, 127, 127, 127, 127, 127, 127, 127, 127, 127}));
  EXPECT_EQ(codigosDelDibujo(GlyphGrid{}), Codigos{});
  // Any value other than 0 is a dot that is on.
  EXPECT_EQ(codigosDelDibujo(conPunto(3, 2, 2))[1], 4);
  EXPECT_EQ(codigosDelDibujo(conPunto(3, 2, -1))[1], 4);
}

TEST(CodigosDeColumna, DesempaquetaConLaReglaDeCarga) {
  GlyphGrid esquinas = conPunto(1, 1);
  esquinas(7, 10) = 1;
  EXPECT_EQ(dibujoDeCodigos({1, 0, 0, 0, 0, 0, 0, 0, 0, 64}), esquinas);
  EXPECT_EQ(dibujoDeCodigos({127, 127, 127, 127, 127, 127, 127, 127, 127, 127}), lleno());
  // 128 and more light the whole column; a negative code lights nothing.
  const GlyphGrid raro = dibujoDeCodigos({0, 0, 200, -1, 0, 0, 0, 0, 0, 0});
  for (int r = 1; r <= Filas; ++r) {
    EXPECT_EQ(raro(r, 3), 1);
    EXPECT_EQ(raro(r, 4), 0);
  }
  // Every code from 0 to 127 comes back as it was packed.
  for (int codigo = 0; codigo < 128; ++codigo) {
    Codigos c{};
    c[4] = static_cast<ColumnCode>(codigo);
    EXPECT_EQ(codigosDelDibujo(dibujoDeCodigos(c)), c) << codigo;
  }
}

TEST(Cambiar, EscribeLasSetentaCeldas) {
  GlyphGrid g = numerada();
  cambiar(g, 0);
  EXPECT_EQ(g, GlyphGrid{});
  cambiar(g, 1);
  EXPECT_EQ(g(1, 1) + g(1, 10) + g(7, 1) + g(7, 10), 4);
  EXPECT_EQ(g, lleno());
}

struct Movimiento {
  const char* nombre;
  Comando comando;
  int r, c;    // a single dot here
  int r2, c2;  // ends here
};

class UnPunto : public testing::TestWithParam<Movimiento> {};

TEST_P(UnPunto, LlegaDondeDebe) {
  const Movimiento& m = GetParam();
  EXPECT_EQ(m.comando(conPunto(m.r, m.c, 5)), conPunto(m.r2, m.c2, 5));
}

INSTANTIATE_TEST_SUITE_P(Comandos, UnPunto,
                         testing::Values(Movimiento{"abajo_envuelve", desplazarAbajo, 7, 4, 1, 4},
                                         Movimiento{"abajo", desplazarAbajo, 2, 4, 3, 4},
                                         Movimiento{"arriba_envuelve", desplazarArriba, 1, 4, 7, 4},
                                         Movimiento{"derecha_envuelve", desplazarDerecha, 3, 10, 3, 1},
                                         Movimiento{"derecha", desplazarDerecha, 3, 1, 3, 2},
                                         Movimiento{"izquierda_envuelve", desplazarIzquierda, 3, 1, 3, 10},
                                         Movimiento{"reflejoH_esquina", reflejoHorizontal, 1, 1, 1, 10},
                                         Movimiento{"reflejoH_fila4", reflejoHorizontal, 4, 3, 4, 8},
                                         Movimiento{"reflejoV_esquina", reflejoVertical, 1, 1, 7, 1},
                                         Movimiento{"reflejoV_fila4_queda", reflejoVertical, 4, 6, 4, 6},
                                         Movimiento{"rotarIzq_1_1", rotarIzquierda, 1, 1, 7, 1},
                                         Movimiento{"rotarIzq_1_7", rotarIzquierda, 1, 7, 1, 1},
                                         Movimiento{"rotarDer_1_1", rotarDerecha, 1, 1, 1, 7},
                                         Movimiento{"rotarDer_1_7", rotarDerecha, 1, 7, 7, 7},
                                         Movimiento{"rotarIzq_centro", rotarIzquierda, 4, 4, 4, 4},
                                         Movimiento{"rotarIzq_fuera", rotarIzquierda, 2, 9, 2, 9},
                                         Movimiento{"rotarDer_fuera", rotarDerecha, 5, 8, 5, 8}),
                         [](const testing::TestParamInfo<Movimiento>& i) { return std::string(i.param.nombre); });

struct Ciclo {
  const char* nombre;
  Comando comando;
  int veces;  // applying it this often gives the drawing back
  Comando inverso;
};

class Permutacion : public testing::TestWithParam<Ciclo> {};

TEST_P(Permutacion, NoPierdeNiInventaValores) {
  const Ciclo& c = GetParam();
  const GlyphGrid original = numerada();
  GlyphGrid g = c.comando(original);
  EXPECT_NE(g, original);
  auto ordenados = g.valores;
  std::sort(ordenados.begin(), ordenados.end());
  EXPECT_EQ(ordenados, original.valores) << "each old value lands in exactly one cell";
  for (int i = 1; i < c.veces; ++i) g = c.comando(g);
  EXPECT_EQ(g, original);
  EXPECT_EQ(c.inverso(c.comando(original)), original);
  EXPECT_EQ(c.comando(GlyphGrid{}), GlyphGrid{});
  EXPECT_EQ(c.comando(lleno()), lleno());
}

INSTANTIATE_TEST_SUITE_P(Comandos, Permutacion,
                         testing::Values(Ciclo{"abajo", desplazarAbajo, 7, desplazarArriba},
                                         Ciclo{"arriba", desplazarArriba, 7, desplazarAbajo},
                                         Ciclo{"derecha", desplazarDerecha, 10, desplazarIzquierda},
                                         Ciclo{"izquierda", desplazarIzquierda, 10, desplazarDerecha},
                                         Ciclo{"reflejoH", reflejoHorizontal, 2, reflejoHorizontal},
                                         Ciclo{"reflejoV", reflejoVertical, 2, reflejoVertical},
                                         Ciclo{"rotarIzq", rotarIzquierda, 4, rotarDerecha},
                                         Ciclo{"rotarDer", rotarDerecha, 4, rotarIzquierda}),
                         [](const testing::TestParamInfo<Ciclo>& i) { return std::string(i.param.nombre); });

TEST(Composiciones, ElGiroPartaUnDibujoAncho) {
  GlyphGrid filaSuperior;
  for (int c = 1; c <= Columnas; ++c) filaSuperior(1, c) = 1;
  GlyphGrid esperado;
  for (int r = 1; r <= Filas; ++r) esperado(r, 1) = 1;
  esperado(1, 8) = esperado(1, 9) = esperado(1, 10) = 1;
  EXPECT_EQ(rotarIzquierda(filaSuperior), esperado);
  // Mirroring is about the grid's centre, not the drawing's.
  GlyphGrid izquierda;
  for (int c = 1; c <= 5; ++c) izquierda(2, c) = 1;
  GlyphGrid derecha;
  for (int c = 6; c <= 10; ++c) derecha(2, c) = 1;
  EXPECT_EQ(reflejoHorizontal(izquierda), derecha);
}
