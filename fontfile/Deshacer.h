#pragma once
// The rollback record of a store. Before a store writes its slot into a
// font, it writes this record beside the font and flushes it: where the slot
// lies, the file's length, the slot as it was and the slot it writes. Once
// the slot is written and flushed, the record is removed. A store cut short
// (the program killed, the power lost) leaves the record behind, and with it
// a way to tell a torn slot from a whole one: every byte of a slot torn by
// that store is either its old byte or its new one.
//
// The record is the hidden file ".grafolux-deshacer-<inode>" in the folder
// that really holds the font (links followed), named by the font's inode so
// that it follows the font through a rename and never applies to another
// file put in its place. Its name does not end in ".mtz", so no file list
// shows it.

#include <sys/types.h>

#include <QByteArray>
#include <optional>

#include "FontRecord.h"

namespace fontfile {

struct Deshacer {
  qint64 desde = 0;          // where the slot starts
  qint64 longitudAntes = 0;  // the file's length before the store
  Ranura antes{};            // the slot as it was; zeros for an append
  Ranura nueva{};            // the slot the store writes

  bool esAgregado() const { return desde == longitudAntes; }

  QByteArray aBytes() const;
  // Nothing when the bytes are not a whole, well-formed record (one cut
  // short while it was written says nothing about the font).
  static std::optional<Deshacer> deBytes(const QByteArray& bytes);
};

// Whether a file of this length, holding actual at desde (as many of the
// slot's bytes as it has), is a store of d cut short: then it must read as
// it was before (length longitudAntes, the slot antes). False when the store
// wrote its whole slot, never began, or the file is no longer the one it
// wrote to.
bool hayQueDeshacer(const Deshacer& d, qint64 longitud, const QByteArray& actual);

// The record's path for a font whose real folder and inode are given.
QByteArray rutaDeshacer(const QByteArray& carpetaReal, ino_t inodo);

}  // namespace fontfile
