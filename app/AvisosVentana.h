#pragma once
// Shows the editor's messages as modal message boxes.

#include "Avisos.h"

avisos::Respuesta mostrarCajaDeMensaje(const avisos::Aviso& aviso);
