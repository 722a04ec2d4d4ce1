#pragma once
// What mtz says: its results on standard output, its errors and warnings on
// standard error, one line each, after "mtz: ".

#include <QString>

namespace mtz {

// Throws Fallo when standard output cannot take it.
void imprimir(const QString& texto);
void decir(const QString& texto);
// A warning, said unless 200 were said already; cerrarAvisos counts those
// left unsaid in one line, and starts the count again.
void avisar(const QString& texto);
void cerrarAvisos();

}  // namespace mtz
