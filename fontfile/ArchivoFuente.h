#pragma once
// A font file opened by path for the length of one command. Reading opens
// never create or change the file; the one writing open never creates it.
// An advisory lock on the file itself keeps the search, count and write of
// one store whole against other editors storing into the same file.

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace fontfile {

enum class Falla {
  NoExiste,        // the file is not there (its folder is)
  NoSePuedeAbrir,  // anything else that stops the open: folder gone, access, a directory
  NoSePuedeLeer,
  FormatoIncorrecto,  // a slot whose length field is larger than 2
  Desbordamiento,     // a record number past 32767
  NoSePuedeEscribir,
};

class ErrorArchivo : public std::runtime_error {
 public:
  explicit ErrorArchivo(Falla falla);
  Falla falla() const { return falla_; }

 private:
  Falla falla_;
};

class ArchivoFuente {
 public:
  enum class Modo { Lectura, Escritura };
  enum class Bloqueo { Compartido, Exclusivo };

  // Throws ErrorArchivo (NoExiste or NoSePuedeAbrir).
  ArchivoFuente(const QString& ruta, Modo modo);
  ~ArchivoFuente();
  ArchivoFuente(const ArchivoFuente&) = delete;
  ArchivoFuente& operator=(const ArchivoFuente&) = delete;

  // Waits for the lock, at most a few seconds, then throws
  // ErrorArchivo(NoSePuedeLeer); it ends with the object, or with desbloquear().
  void bloquear(Bloqueo bloqueo);
  void desbloquear();

  qint64 longitud() const;
  // Up to cuantos bytes from desde; fewer only at the end of the file.
  QByteArray leer(qint64 desde, qint64 cuantos) const;
  // All of datos at desde in one write, or ErrorArchivo(NoSePuedeEscribir).
  void escribir(qint64 desde, const char* datos, qint64 cuantos);
  void truncar(qint64 longitud);

 private:
  int fd_ = -1;
};

// Creates an empty file at ruta; fails when anything is already there.
void crearVacio(const QString& ruta);

}  // namespace fontfile
