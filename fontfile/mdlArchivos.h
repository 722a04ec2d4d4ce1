#pragma once
// Record access on font files. BuscarCaracter and ProximoRegistro by path
// open the file read-only, do their work and close it again before they
// return; the commands, which hold a file open, search and count the records
// they have read through the same two routines.

#include <QByteArray>
#include <QString>
#include <concepts>
#include <cstdint>

#include "ArchivoFuente.h"
#include "FontRecord.h"

namespace fontfile {

inline constexpr std::int16_t Verdadero = -1;
inline constexpr std::int16_t Falso = 0;

// The records a search may visit: the complete slots of the file, at most
// 32767, plus whether further complete slots lie beyond them.
struct RegistrosLeidos {
  QByteArray datos;     // a whole number of slots
  bool hayMas = false;  // a record 32768 exists
  qint64 longitud = 0;  // the file's length
};
RegistrosLeidos leerRegistros(const ArchivoFuente& archivo);

// The number of the first record holding caracter, or 0. Throws
// ErrorArchivo: a slot that cannot be read before a match, a file that
// cannot be opened, or more than 32767 records without a match.
std::int16_t BuscarCaracter(const QString& ruta, const QString& caracter);
std::int16_t BuscarCaracter(const RegistrosLeidos& registros, const QByteArray& caracter1252);

// The record number at which a new character is appended: n + 1 for a file
// of n complete records; the tail that is not a whole slot does not count.
// Throws ErrorArchivo(Desbordamiento) past 32767.
std::int16_t ProximoRegistro(const QString& ruta);
std::int16_t ProximoRegistro(const RegistrosLeidos& registros);

// True when the file can be opened for reading. With avisar = -1 the user
// is told why it cannot: that it does not exist, or that it cannot be opened.
bool ExisteArchivo(const QString& ruta, std::int16_t avisar);
// true would become 1, which asks for no message: a bool does not compile.
template <typename T>
requires std::same_as<T, bool>
bool ExisteArchivo(const QString& ruta, T avisar) = delete;

// The first line of the brand file, or an empty text.
QString LeerMarca();

}  // namespace fontfile
