#pragma once
// One character of a font file: a 24-byte slot holding a 16-bit length L,
// L bytes of the character in Windows-1252, then ten 16-bit column codes,
// all little-endian. The editor writes L = 1; a slot is readable while
// L <= 2, so that its data fits the slot.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

#include "ColumnCode.h"

namespace fontfile {

inline constexpr int LongitudRegistro = 24;
inline constexpr int MaximoRegistros = 32767;  // record numbers are 16-bit signed
inline constexpr int MaximaLongitudCaracter = 2;

using Ranura = std::array<char, LongitudRegistro>;

struct FontRecord {
  QByteArray caracter;  // as stored: Windows-1252 bytes
  glyph::Codigos columnas{};
};

// The length field of a slot, from its first two bytes.
quint16 longitudDeCaracter(const char* ranura);

// Reads a whole slot; nothing when its length field is larger than 2.
std::optional<FontRecord> leerRanura(const char* ranura);

// A character of at most two bytes; byte 23 and every unused byte are 0.
Ranura escribirRanura(const FontRecord& registro);

QByteArray aWindows1252(const QString& texto);
QString deWindows1252(const QByteArray& bytes);

}  // namespace fontfile
