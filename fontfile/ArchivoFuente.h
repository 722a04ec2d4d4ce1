#pragma once
// A font file opened by path for the length of one command. Only a regular
// file (or a link to one) is opened: a FIFO, device or socket named like a
// font is treated as a file that cannot be opened. No open creates a file.
// An advisory lock on the file itself keeps the search, count and write of
// one store whole against other editors, and keeps readers from seeing a
// store half done.

#include <sys/stat.h>

#include <QByteArray>
#include <QString>
#include <exception>
#include <optional>

#include "Deshacer.h"
#include "FontRecord.h"

namespace fontfile {

enum class Falla {
  NoExiste,        // the file is not there (its folder is)
  NoSePuedeAbrir,  // anything else that stops the open: folder gone, access, not a regular file
  NoSePuedeLeer,
  FormatoIncorrecto,  // a slot whose length field is larger than 2
  Desbordamiento,     // a record number past 32767
  NoSePuedeEscribir,
};

class ErrorArchivo : public std::exception {
 public:
  explicit ErrorArchivo(Falla falla) : falla_(falla) {}
  Falla falla() const { return falla_; }

 private:
  Falla falla_;
};

struct Hallado;

// A store cut short, and the record that undoes it.
struct Pendiente {
  Deshacer d;
  QByteArray ruta;
};

class ArchivoFuente {
 public:
  // Lectura opens read-only. Escritura opens for reading and writing, for a
  // store, and then fails only with NoSePuedeEscribir.
  enum class Modo { Lectura, Escritura };
  enum class Bloqueo { Compartido, Exclusivo };

  // Throws ErrorArchivo (NoExiste or NoSePuedeAbrir).
  ArchivoFuente(const QString& ruta, Modo modo);
  ~ArchivoFuente();
  ArchivoFuente(const ArchivoFuente&) = delete;
  ArchivoFuente& operator=(const ArchivoFuente&) = delete;

  // Waits for the lock a quarter of a second at most, then throws
  // ErrorArchivo(NoSePuedeLeer); the lock ends with the object.
  // Shared: from then on longitud() and leer() show a store that was cut
  // short as undone (see Deshacer.h); the file itself is not touched.
  // Exclusive, on a file opened for a store: false when the path no longer
  // names the file locked (it was replaced or removed: open the path again).
  // Otherwise a store cut short is undone on the file itself, and its
  // records are removed. Throws NoSePuedeEscribir for a folder where no
  // rollback record can be written, or one that keeps a record for this
  // file it may not remove, which could undo a later store.
  bool bloquear(Bloqueo bloqueo);

  // The store cut short that bloquear found: under a shared lock what
  // longitud() and leer() show undone, under an exclusive one what it undid
  // on the file.
  const std::optional<Pendiente>& pendiente() const { return pendiente_; }

  qint64 longitud() const;
  // Up to cuantos bytes from desde; fewer only at the end of the file.
  QByteArray leer(qint64 desde, qint64 cuantos) const;

  // After an exclusive lock: writes one slot at desde, inside the file or
  // at its end, so that no crash can leave it torn, and flushed to the disk
  // before it returns. A failure leaves the file as it was and throws
  // ErrorArchivo(NoSePuedeEscribir).
  void grabarRanura(qint64 desde, const Ranura& nueva);

 private:
  qint64 longitudTalCual() const;
  QByteArray leerTalCual(qint64 desde, qint64 cuantos) const;
  bool volverAntes(const Deshacer& d);
  bool desgarrado(const Hallado& h) const;  // its slot torn by a store cut short
  void verDeshecho();
  void deshacerYQuitar();

  int fd_ = -1;
  QByteArray ruta_;
  std::optional<Pendiente> pendiente_;
  bool vistaDeshecha_ = false;  // longitud() and leer() show pendiente_ undone
  // The file as locked, and the folder where its rollback records lie.
  struct stat propio_ {};
  Identidad identidad_;
  QByteArray carpetaReal_;
};

// Creates an empty file at ruta; fails when anything is already there.
void crearVacio(const QString& ruta);

}  // namespace fontfile
