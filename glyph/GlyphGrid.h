#pragma once
// The dot grid: 7 rows by 10 columns of cell values. Row 1 is the top,
// column 1 the left; a cell value other than 0 means the dot is on.

#include <array>
#include <cstdint>

namespace glyph {

inline constexpr int Filas = 7;
inline constexpr int Columnas = 10;
inline constexpr int Celdas = Filas * Columnas;

using Valor = std::int16_t;

struct GlyphGrid {
  std::array<Valor, Celdas> valores{};

  // r in 1..7, c in 1..10, as the cells are named (chk<r>_<c>).
  Valor& operator()(int r, int c) { return valores[indice(r, c)]; }
  Valor operator()(int r, int c) const { return valores[indice(r, c)]; }
  bool encendida(int r, int c) const { return (*this)(r, c) != 0; }

  static constexpr int indice(int r, int c) { return (r - 1) * Columnas + (c - 1); }

  friend bool operator==(const GlyphGrid&, const GlyphGrid&) = default;
};

// Sets every one of the 70 cells to valor.
void cambiar(GlyphGrid& grid, Valor valor);

}  // namespace glyph
