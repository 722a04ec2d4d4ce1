#pragma once
// A font file read whole for a command of mtz: every slot as stored, up to the
// 32767 records the editor can reach, and what lies beyond them.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "ColumnCode.h"
#include "FontRecord.h"
#include "mdlArchivos.h"

namespace mtz {

struct Entrada {
  int numero = 0;  // from 1
  qint64 desplazamiento = 0;
  quint16 longitud = 0;                          // the length field of the slot
  std::optional<fontfile::FontRecord> registro;  // nothing when the slot cannot be read
};

struct Fuente {
  QString ruta;
  qint64 ranurasCompletas = 0;       // every whole slot, also past record 32767
  int cola = 0;                      // bytes after the last whole slot
  fontfile::RegistrosLeidos leidos;  // the slots as the editor reads them
  std::vector<Entrada> entradas;     // the same slots, each decoded
  // A store cut short, which leidos shows undone while the disk holds it torn.
  std::optional<fontfile::Pendiente> pendiente;
};

// Throws Fallo when the file cannot be opened or read. The file is opened
// read-only and never changed.
Fuente leerFuente(const QString& ruta);

// Undoes on the disk a store cut short, under the exclusive lock, as the
// next store would: what it undid, or nothing. Throws Fallo.
std::optional<fontfile::Pendiente> reparar(const QString& ruta);

// "registro N (byte B)" of the slot a store cut short left torn.
QString desgarrado(const fontfile::Deshacer& d);

// The codes as the editor shows them: a code of 128 or more lights its whole
// column, a negative one none (see dibujoDeCodigos).
glyph::Codigos codigosVisibles(const glyph::Codigos& guardados);

// Columns up to the last one with a lit dot; 0 for an empty drawing.
int anchoUsado(const glyph::Codigos& codigos);

// The text of a stored character. Windows-1252 has one byte per character,
// so the toolkit's converter is asked once for each byte value and its
// answers kept: a font can hold 32767 records, and opening a converter costs
// more than all the rest of a record's work.
QString textoDe(const QByteArray& caracter1252);

// The character of a record for a terminal: itself when it is one printable
// character, otherwise every byte as \xNN (an empty character is "").
QString caracterLegible(const QByteArray& caracter1252);

// "registro N (byte B): longitud de carácter L, no se puede leer".
QString ilegible(const Entrada& entrada);

// One line for each fault of the file, each saying where.
QStringList revisar(const Fuente& fuente);

// A search as the editor makes it: the first record holding the character,
// unless a slot that cannot be read comes first, where the editor stops with
// its format message.
struct Busqueda {
  const Entrada* encontrada = nullptr;
  const Entrada* detenidaEn = nullptr;
};
Busqueda buscar(const Fuente& fuente, const QString& caracter);

// What to tell when a search found nothing: why it stopped, or that the
// font lacks the character.
QString sinResultado(const Fuente& fuente, const Busqueda& busqueda, const QString& caracter);

}  // namespace mtz
