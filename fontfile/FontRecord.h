#pragma once
// One character of a font file: a 24-byte slot holding a 16-bit length L,
// L bytes of the character in Windows-1252, then ten 16-bit column codes,
// all little-endian. The editor writes L = 1; a slot is readable while
// L <= 2, so that its data fits the slot. This header is the one place that
// knows where each field lies; every reader of slots goes through it.

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <array>
#include <optional>

#include "ColumnCode.h"

namespace fontfile {

inline constexpr int LongitudRegistro = 24;
inline constexpr int MaximoRegistros = 32767;  // record numbers are 16-bit signed
inline constexpr int MaximaLongitudCaracter = 2;

// Where the fields of a slot lie.
inline constexpr int PosicionLongitud = 0;
inline constexpr int BytesLongitud = 2;
inline constexpr int PosicionCaracter = PosicionLongitud + BytesLongitud;
constexpr int posicionCodigos(int longitudCaracter) { return PosicionCaracter + longitudCaracter; }

using Ranura = std::array<char, LongitudRegistro>;

struct FontRecord {
  QByteArray caracter;  // as stored: Windows-1252 bytes
  glyph::Codigos columnas{};
};

// The length field of a slot. Inline: a search reads it for up to 32767
// slots in a row.
inline quint16 longitudDeCaracter(const char* ranura) { return qFromLittleEndian<quint16>(ranura + PosicionLongitud); }

// Whether the slot's data fits into it: the only test of the format.
inline bool ranuraLegible(const char* ranura) { return longitudDeCaracter(ranura) <= MaximaLongitudCaracter; }

// Whether a readable slot holds exactly these character bytes. A readable
// slot holds at most two, so a longer character matches none.
inline bool ranuraTiene(const char* ranura, const QByteArray& caracter) {
  const qsizetype largo = caracter.size();
  return longitudDeCaracter(ranura) == largo && (largo < 1 || ranura[PosicionCaracter] == caracter[0]) &&
         (largo < 2 || ranura[PosicionCaracter + 1] == caracter[1]);
}

// Reads a whole slot; nothing when its length field is larger than 2.
std::optional<FontRecord> decodificarRanura(const char* ranura);

// A character of at most two bytes; byte 23 and every unused byte are 0.
Ranura codificarRanura(const FontRecord& registro);

QByteArray aWindows1252(const QString& texto);
QString deWindows1252(const QByteArray& bytes);

}  // namespace fontfile
