#pragma once
// Record access on font files by path. Each routine opens the file, does its
// work and closes it again before it returns; none keeps state.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "ArchivoFuente.h"
#include "FontRecord.h"

namespace fontfile {

inline constexpr std::int16_t Verdadero = -1;
inline constexpr std::int16_t Falso = 0;

// The number of the first record holding caracter, or 0. Reads only.
// Throws ErrorArchivo: a slot that cannot be read before a match, a file
// that cannot be opened, or more than 32767 records without a match.
std::int16_t BuscarCaracter(const QString& ruta, const QString& caracter);

// The record number at which a new character is appended: n + 1 for a file
// of n complete records. Throws ErrorArchivo(Desbordamiento) past 32767.
std::int16_t ProximoRegistro(const QString& ruta);

// True when the file can be opened for reading. With avisar = -1 the user
// is told why it cannot: that it does not exist, or that it cannot be opened.
bool ExisteArchivo(const QString& ruta, std::int16_t avisar);

// The first line of the brand file, or an empty text.
QString LeerMarca();

// The records a search may visit: the complete slots of the file, at most
// 32767, plus whether further complete slots lie beyond them.
struct RegistrosLeidos {
  QByteArray datos;     // a whole number of slots
  bool hayMas = false;  // a record 32768 exists
  qint64 longitud = 0;  // the file's length
};
RegistrosLeidos leerRegistros(const ArchivoFuente& archivo);

// Searches already read records; the rules of BuscarCaracter.
std::int16_t buscarEn(const RegistrosLeidos& registros, const QByteArray& caracter1252);

// n + 1 for a file of the given length; the tail that is not a whole slot
// does not count.
std::int16_t proximoPorLongitud(qint64 longitud);

}  // namespace fontfile
