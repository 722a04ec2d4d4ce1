// Arbitrary bytes as a drawings file through the parser of mtz build. A bad
// file must end in Fallo, never a crash or any other exception; a good one,
// written back as mtz show writes it, must read back to the same records.

#include <QBuffer>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "Fallo.h"
#include "TextoArte.h"

namespace {

std::vector<fontfile::FontRecord> leer(QByteArray bytes) {
  QBuffer entrada(&bytes);
  entrada.open(QIODevice::ReadOnly);
  return mtz::leerTextoArte(entrada, QStringLiteral("f.txt"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  std::vector<fontfile::FontRecord> registros;
  try {
    registros = leer(QByteArray(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano)));
  } catch (const mtz::Fallo&) {
    return 0;
  }
  QByteArray texto;
  for (size_t i = 0; i < registros.size(); ++i)
    texto += mtz::dibujoEnTexto(registros[i], static_cast<int>(i) + 1).toUtf8();
  // What show writes, build reads: a Fallo here escapes and is a finding.
  const std::vector<fontfile::FontRecord> vuelta = leer(texto);
  const auto igual = [](const auto& a, const auto& b) { return a.caracter == b.caracter && a.columnas == b.columnas; };
  if (!std::equal(vuelta.begin(), vuelta.end(), registros.begin(), registros.end(), igual)) std::abort();
  return 0;
}
