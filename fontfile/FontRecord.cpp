#include "FontRecord.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace fontfile {

std::optional<FontRecord> decodificarRanura(const char* ranura) {
  if (!ranuraLegible(ranura)) return std::nullopt;
  const int longitud = longitudDeCaracter(ranura);
  FontRecord registro;
  registro.caracter = QByteArray(ranura + PosicionCaracter, longitud);
  const char* codigos = ranura + posicionCodigos(longitud);
  for (int c = 0; c < glyph::Columnas; ++c) {
    registro.columnas[c] = qFromLittleEndian<qint16>(codigos + std::ptrdiff_t{2} * c);
  }
  return registro;
}

Ranura codificarRanura(const FontRecord& registro) {
  Q_ASSERT(registro.caracter.size() <= MaximaLongitudCaracter);
  Ranura ranura{};
  const auto longitud = static_cast<quint16>(registro.caracter.size());
  qToLittleEndian<quint16>(longitud, ranura.data() + PosicionLongitud);
  std::copy(registro.caracter.begin(), registro.caracter.end(), ranura.begin() + PosicionCaracter);
  char* codigos = ranura.data() + posicionCodigos(longitud);
  for (int c = 0; c < glyph::Columnas; ++c) {
    qToLittleEndian<qint16>(registro.columnas[c], codigos + std::ptrdiff_t{2} * c);
  }
  return ranura;
}

// The code page comes from the toolkit's converter, not from a table of our
// own: the mapping has one well-kept source.
QByteArray aWindows1252(const QString& texto) {
  QStringEncoder codificador("windows-1252");
  return codificador.encode(texto);
}

QString deWindows1252(const QByteArray& bytes) {
  QStringDecoder decodificador("windows-1252");
  return decodificador.decode(bytes);
}

}  // namespace fontfile
