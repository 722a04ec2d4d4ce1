#include "Avisos.h"

#include <utility>

namespace avisos {
namespace {

// Without a presenter (a program without a window) nothing can be asked,
// so every question is answered with the safe choice.
Respuesta sinVentana(const Aviso& aviso) { return aviso.botones == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar; }

Presentador& actual() {
  static Presentador presentador = sinVentana;
  return presentador;
}

}  // namespace

Presentador instalar(Presentador p) { return std::exchange(actual(), p ? std::move(p) : sinVentana); }

Respuesta mostrar(const Aviso& aviso) { return actual()(aviso); }

void informar(const QString& texto) { mostrar(Aviso{texto}); }

}  // namespace avisos
