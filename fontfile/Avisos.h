#pragma once
// Every message the editor shows passes through here: text, title and buttons
// in, the user's answer out. The window installs a presenter that shows a
// modal message box; tests install one that records and answers.

#include <QString>
#include <functional>

#include "Textos.h"

namespace avisos {

enum class Botones { Aceptar, SiNo };
enum class Icono { Ninguno, Critico };
enum class Respuesta { Aceptar, Si, No };

struct Aviso {
  QString texto;
  QString titulo = textos::TituloAplicacion;
  Botones botones = Botones::Aceptar;
  Icono icono = Icono::Ninguno;
};

using Presentador = std::function<Respuesta(const Aviso&)>;

// Installs p and returns the presenter it replaces.
Presentador instalar(Presentador p);

Respuesta mostrar(const Aviso& aviso);

// An OK-only box with the application's title.
void informar(const QString& texto);

}  // namespace avisos
