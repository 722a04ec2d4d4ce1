// Arbitrary bytes through mtz's import, as a BDF or (by its first bytes) a typeface. A bad font ends in Fallo
// only; a good one gives each character of the list at most once, in order, with codes a drawing makes, and a
// report that does not grow with the input.

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

#include "Fallo.h"
#include "ImportarBdf.h"
#include "ImportarTipografia.h"
#include "ListaCaracteres.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  QBuffer entrada(&bytes);
  entrada.open(QIODevice::ReadOnly);
  mtz::Importado importado;
  try {
    const QString nombre = QStringLiteral("f.bdf");
    importado = mtz::esTipografia(bytes.left(8), nombre) ? mtz::importarTipografia(bytes, nombre, {})
                                                         : mtz::importarBdf(entrada, nombre);
  } catch (const mtz::Fallo&) {
    return 0;
  }
  const QStringList& lista = fontfile::ListaCaracteres();
  // A line per cut glyph, and the charset, skipped, repeated and missing ones.
  if (importado.informe.size() > lista.size() + 4) std::abort();
  qsizetype siguiente = 0;
  for (const fontfile::FontRecord& registro : importado.registros) {
    const qsizetype i = lista.indexOf(fontfile::deWindows1252(registro.caracter), siguiente);
    if (registro.caracter.size() != 1 || i < 0) std::abort();
    siguiente = i + 1;
    for (const glyph::ColumnCode codigo : registro.columnas) {
      if (codigo < 0 || codigo > 127) std::abort();
    }
  }
  return 0;
}
