#include "FontRecord.h"

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

namespace {

// Bytes 0x80 to 0x9F; the rest of Windows-1252 is Latin-1. The five bytes
// the code page leaves undefined stand for the control characters of the
// same number, as the general converter has them.
constexpr char16_t De80a9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of one UTF-16 unit, or -1 when the table does not have it.
int byteDe(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (int i = 0; i < 32; ++i) {
    if (De80a9F[i] == u) return 0x80 + i;
  }
  return -1;
}

}  // namespace

// Converted by table: the general converter would load a conversion
// library and its data at start-up, only to read the brand line. Text the
// table cannot write whole (a character outside the code page) still goes
// through the general converter, for its substitutions.
QByteArray aWindows1252(const QString& texto) {
  QByteArray bytes(texto.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const int b = byteDe(texto[i].unicode());
    if (b < 0) {
      QStringEncoder codificador("windows-1252");
      return codificador.encode(texto);
    }
    bytes[i] = static_cast<char>(b);
  }
  return bytes;
}

QString deWindows1252(const QByteArray& bytes) {
  QString texto(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    texto[i] = QChar(b >= 0x80 && b < 0xA0 ? De80a9F[b - 0x80] : char16_t(b));
  }
  return texto;
}

}  // namespace fontfile
