#pragma once
// The rollback record of a store. Before a store writes its slot into a
// font, it writes this record beside the font and flushes it: which file it
// was written for, where the slot lies, the file's length, the slot as it
// was and the slot it writes. Once the slot is written and flushed, the
// record is removed. A store cut short (the program killed, the power lost)
// leaves the record behind, and with it a way to tell a torn slot from a
// whole one: every byte of a slot torn in place by that store is either its
// old byte or its new one, and an append cut short has lengthened the file
// by at most one slot, not all of it new.
//
// Where the record lies and whose records are believed: DeshacerEnCarpeta.h.

#include <sys/stat.h>

#include <QByteArray>
#include <optional>

#include "FontRecord.h"

namespace fontfile {

// What tells a file from a later one that is given its inode once it is
// deleted: the birth time, where the file system keeps one (zero where it
// does not). The device needs no place here: a record lies in the folder of
// its font, on the same file system.
struct Identidad {
  quint64 inodo = 0;
  qint64 nacidoSegundos = 0;
  quint32 nacidoNanos = 0;
  bool operator==(const Identidad&) const = default;
};

// The identity of an open file whose status is given.
Identidad identidadDe(int fd, const struct stat& estado);

struct Deshacer {
  // The file the record was written for. Nothing in a record of the first
  // form, written before records carried it, which only its name ties to
  // an inode.
  std::optional<Identidad> de;
  qint64 desde = 0;          // where the slot starts
  qint64 longitudAntes = 0;  // the file's length before the store
  Ranura antes{};            // the slot as it was; zeros for an append
  Ranura nueva{};            // the slot the store writes

  bool esAgregado() const { return desde == longitudAntes; }
  bool esPara(const Identidad& archivo) const { return !de || *de == archivo; }

  // Always in the current form, which carries de.
  QByteArray aBytes() const;
  // Nothing when the bytes are not a whole, well-formed record (one cut
  // short while it was written says nothing about the font).
  static std::optional<Deshacer> deBytes(const QByteArray& bytes);
};

// Whether a file of this length, holding actual at desde (as many of the
// slot's bytes as it has), is a store of d cut short: then it must read as
// it was before (length longitudAntes, the slot antes). False when the store
// wrote its whole slot, never began, or the file is no longer the one it
// wrote to. An append cut short is undone whatever its tail holds: after a
// power loss some file systems show stale bytes there, neither old nor new.
bool hayQueDeshacer(const Deshacer& d, qint64 longitud, const QByteArray& actual);

}  // namespace fontfile
