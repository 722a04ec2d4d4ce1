#pragma once
// The window's controls, each written once: its name, kind, place in pixels
// on the window's client area, picture, handler and tab index. The window
// makes its controls from this table, in its order, which is also the order
// they lie in, later ones on top; so do the bare window start-up is compared
// with, and the tests, which read places and the tab order from here. Each
// control's texts are in Textos.h under the same name; the checks below
// keep the two tables in step when the program is compiled.
//
// A new drawing command is its mapping of the drawing, one row here, its
// texts and its handler.

#include <QRect>
#include <QString>
#include <algorithm>
#include <string_view>

#include "GlyphGrid.h"
#include "Textos.h"
#include "frmPrincipal.h"

namespace controles {

enum class Tipo {
  Imagen,           // a stored picture at its own size
  Logo,             // the logo, loaded at start-up and shown at the box's size
  Rotulo,           // a caption
  Marca,            // the brand line
  Linea,            // a separator line
  Boton,            // a button with a caption
  BotonConImagen,   // a button with a picture and no caption
  ListaCaracteres,  // the character list
  Texto,            // the name box
  ListaArchivos,    // the file list
  Marco,            // the frame the grid's cells lie on (celda below)
};

using Manejador = void (frmPrincipal::*)();

inline constexpr int SinTabulacion = -1;

struct Control {
  std::string_view nombre;
  Tipo tipo;
  QRect lugar;
  // Controls that take the focus follow one another in this order; labels
  // keep the index of the layout but take no focus.
  int tabulacion = SinTabulacion;
  Manejador manejador = nullptr;  // run by a click
  std::string_view imagen = {};   // the stored picture shown
  bool angosta = false;           // a caption its box holds only in the narrow face (Letra.h)
};

inline constexpr int Ancho = 451;
inline constexpr int Alto = 426;

// The cells: cell (r, c) 16 pixels from its neighbours and 17 wide, so that
// neighbours share a line of pixels, which belongs to the cell made later;
// its place is on the frame. The tab order runs down each column, columns
// left to right, before any other control.
constexpr QRect celda(int r, int c) { return {16 * (c - 1), 16 * (r - 1), 17, 17}; }
constexpr int tabulacionDeCelda(int r, int c) { return (c - 1) * glyph::Filas + (r - 1); }

inline constexpr Control Tabla[] = {
    // Top band.
    {"Image1", Tipo::Imagen, {8, 8, 435, 55}, SinTabulacion, nullptr, "banner"},
    {"cmdAyuda", Tipo::Boton, {376, 64, 65, 17}, 87, &frmPrincipal::cmdAyuda_Click},
    {"Line1", Tipo::Linea, {8, 96, 433, 1}},

    // Middle band.
    {"lblCarac", Tipo::Rotulo, {32, 112, 49, 17}, 80, nullptr, {}, true},
    {"cboCarac", Tipo::ListaCaracteres, {32, 128, 65, 21}, 74},
    {"cmdLeer", Tipo::Boton, {32, 152, 65, 25}, 78, &frmPrincipal::cmdLeer_Click},
    {"cmdGrabar", Tipo::Boton, {48, 184, 49, 17}, 79, &frmPrincipal::cmdGrabar_Click},
    {"marcoCeldas", Tipo::Marco, {112, 112, 16 * glyph::Columnas + 1, 16 * glyph::Filas + 1}},
    {"cmdRotarIzq", Tipo::BotonConImagen, {280, 112, 25, 25}, 84, &frmPrincipal::cmdRotarIzq_Click, "rotar_izquierda"},
    {"cmdArr", Tipo::BotonConImagen, {304, 112, 25, 25}, 82, &frmPrincipal::cmdArr_Click, "arriba"},
    {"cmdRotarDer", Tipo::BotonConImagen, {328, 112, 25, 25}, 85, &frmPrincipal::cmdRotarDer_Click, "rotar_derecha"},
    {"cmdIzq", Tipo::BotonConImagen, {280, 136, 25, 25}, 70, &frmPrincipal::cmdIzq_Click, "izquierda"},
    {"cmdAba", Tipo::BotonConImagen, {304, 136, 25, 25}, 83, &frmPrincipal::cmdAba_Click, "abajo"},
    {"cmdDer", Tipo::BotonConImagen, {328, 136, 25, 25}, 71, &frmPrincipal::cmdDer_Click, "derecha"},
    {"cmdBorrar", Tipo::Boton, {368, 112, 57, 25}, 72, &frmPrincipal::cmdBorrar_Click},
    {"cmdLlenar", Tipo::Boton, {368, 136, 57, 25}, 73, &frmPrincipal::cmdLlenar_Click},
    {"cmdReflejoH", Tipo::Boton, {280, 176, 97, 25}, 86, &frmPrincipal::cmdReflejoH_Click, {}, true},
    {"cmdReflejoV", Tipo::Boton, {280, 200, 97, 25}, 81, &frmPrincipal::cmdReflejoV_Click},
    {"Line2", Tipo::Linea, {8, 240, 433, 1}},

    // Bottom band.
    {"lblArch", Tipo::Rotulo, {32, 256, 89, 17}, 75, nullptr, {}, true},
    // Its lost focus runs txtArch_LostFocus, wired apart: only a move to
    // another control of the window counts.
    {"txtArch", Tipo::Texto, {128, 256, 241, 19}, 76},
    {"cmdCrear", Tipo::Boton, {376, 256, 49, 17}, 89, &frmPrincipal::cmdCrear_Click},
    {"filArchivos", Tipo::ListaArchivos, {32, 288, 121, 123}, 77, &frmPrincipal::filArchivos_Click},
    {"imgTolvane", Tipo::Logo, {200, 288, 201, 117}},
    {"lblTolvane", Tipo::Marca, {224, 408, 161, 17}, 88},
};

inline QString nombreDe(const Control& c) { return QString::fromLatin1(c.nombre.data(), qsizetype(c.nombre.size())); }

// The row of a control by its name; nullptr for none.
constexpr const Control* porNombre(std::string_view nombre) {
  const auto* c = std::ranges::find(Tabla, nombre, &Control::nombre);
  return c == std::end(Tabla) ? nullptr : c;
}

constexpr bool conRotulo(Tipo t) { return t == Tipo::Rotulo || t == Tipo::Boton; }

// A misspelt name in either table would otherwise drop a control's texts in
// silence: each name of the texts is a control, every control but the lines
// and the frame has texts, and a caption is given where one is shown.
// Names and flags are compared here, never the rows' addresses: a build
// with the undefined-behaviour sanitizer cannot fold an address's test.
static_assert(std::ranges::all_of(textos::Controles,
                                  [](const textos::TextosDeControl& t) {
                                    return std::ranges::count(Tabla, t.control, &Control::nombre) == 1;
                                  }),
              "Textos.h names a control the window does not have");
static_assert(std::ranges::all_of(Tabla,
                                  [](const Control& c) {
                                    const auto conTextos = [&](auto condicion) {
                                      return std::ranges::any_of(textos::Controles, [&](const auto& t) {
                                        return t.control == c.nombre && condicion(t);
                                      });
                                    };
                                    if (c.tipo == Tipo::Linea || c.tipo == Tipo::Marco) {
                                      return !conTextos([](const auto&) { return true; });
                                    }
                                    return conTextos(
                                        [&](const auto& t) { return (t.texto != nullptr) == conRotulo(c.tipo); });
                                  }),
              "a control without its texts in Textos.h, or a caption where none is shown");

constexpr bool cadaNombreYTabulacionUnaVez() {
  for (const Control& c : Tabla) {
    if (c.tabulacion != SinTabulacion && c.tabulacion < glyph::Celdas) return false;
    for (const Control* d = &c + 1; d != std::end(Tabla); ++d) {
      if (d->nombre == c.nombre || (c.tabulacion != SinTabulacion && d->tabulacion == c.tabulacion)) return false;
    }
  }
  return true;
}
static_assert(cadaNombreYTabulacionUnaVez(), "two controls of one name or tab index, or a control among the cells");
static_assert(std::ranges::all_of(Tabla,
                                  [](const Control& c) {
                                    const QRect& l = c.lugar;
                                    return l.left() >= 0 && l.top() >= 0 && l.right() < Ancho && l.bottom() < Alto;
                                  }),
              "a control outside the window");

}  // namespace controles
