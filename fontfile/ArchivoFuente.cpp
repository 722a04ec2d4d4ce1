#include "ArchivoFuente.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace fontfile {
namespace {

const char* descripcion(Falla falla) {
  switch (falla) {
    case Falla::NoExiste:
      return "file not found";
    case Falla::NoSePuedeAbrir:
      return "file cannot be opened";
    case Falla::NoSePuedeLeer:
      return "file cannot be read";
    case Falla::FormatoIncorrecto:
      return "bad record length";
    case Falla::Desbordamiento:
      return "record number overflow";
    case Falla::NoSePuedeEscribir:
      return "file cannot be written";
  }
  return "file error";
}

template <typename Llamada>
auto sinInterrupcion(Llamada llamada) {
  decltype(llamada()) r;
  do {
    r = llamada();
  } while (r == -1 && errno == EINTR);
  return r;
}

}  // namespace

ErrorArchivo::ErrorArchivo(Falla falla) : std::runtime_error(descripcion(falla)), falla_(falla) {}

ArchivoFuente::ArchivoFuente(const QString& ruta, Modo modo) {
  const QByteArray nombre = QFile::encodeName(ruta);
  // O_NONBLOCK so that a FIFO named like a font cannot hang the editor.
  const int banderas = (modo == Modo::Lectura ? O_RDONLY : O_WRONLY) | O_CLOEXEC | O_NONBLOCK;
  fd_ = nombre.isEmpty() ? -1 : sinInterrupcion([&] { return ::open(nombre.constData(), banderas); });
  if (fd_ < 0) {
    const int error = errno;
    const bool carpetaPresente = QFileInfo(QFileInfo(ruta).path()).isDir();
    throw ErrorArchivo(error == ENOENT && carpetaPresente ? Falla::NoExiste : Falla::NoSePuedeAbrir);
  }
  struct stat estado {};
  // Only regular files and devices (a full disk is tested through /dev/full)
  // hold records; a directory or a FIFO named like a font does not.
  if (::fstat(fd_, &estado) != 0 || !(S_ISREG(estado.st_mode) || S_ISCHR(estado.st_mode))) {
    ::close(fd_);
    fd_ = -1;
    throw ErrorArchivo(Falla::NoSePuedeAbrir);
  }
}

ArchivoFuente::~ArchivoFuente() {
  if (fd_ >= 0) ::close(fd_);
}

// Another editor keeps the lock for the moment one store takes. A lock held
// for seconds belongs to a program that is stuck or never lets go; waiting
// on it would hang the window, so the command fails with its message.
void ArchivoFuente::bloquear(Bloqueo bloqueo) {
  const int operacion = (bloqueo == Bloqueo::Exclusivo ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  auto pausa = std::chrono::microseconds(100);
  while (::flock(fd_, operacion) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= limite) {
      throw ErrorArchivo(Falla::NoSePuedeLeer);
    }
    std::this_thread::sleep_for(pausa);
    pausa = std::min(pausa * 2, std::chrono::microseconds(10000));
  }
}

void ArchivoFuente::desbloquear() { ::flock(fd_, LOCK_UN); }

qint64 ArchivoFuente::longitud() const {
  struct stat estado {};
  if (::fstat(fd_, &estado) != 0) throw ErrorArchivo(Falla::NoSePuedeLeer);
  return S_ISREG(estado.st_mode) ? estado.st_size : 0;
}

QByteArray ArchivoFuente::leer(qint64 desde, qint64 cuantos) const {
  QByteArray datos(cuantos, Qt::Uninitialized);
  qint64 leidos = 0;
  while (leidos < cuantos) {
    const ssize_t n = sinInterrupcion(
        [&] { return ::pread(fd_, datos.data() + leidos, static_cast<size_t>(cuantos - leidos), desde + leidos); });
    if (n < 0) throw ErrorArchivo(Falla::NoSePuedeLeer);
    if (n == 0) break;
    leidos += n;
  }
  datos.truncate(leidos);
  return datos;
}

void ArchivoFuente::escribir(qint64 desde, const char* datos, qint64 cuantos) {
  const ssize_t n = sinInterrupcion([&] { return ::pwrite(fd_, datos, static_cast<size_t>(cuantos), desde); });
  if (n != cuantos) throw ErrorArchivo(Falla::NoSePuedeEscribir);
}

void ArchivoFuente::truncar(qint64 longitud) {
  if (sinInterrupcion([&] { return ::ftruncate(fd_, longitud); }) != 0) throw ErrorArchivo(Falla::NoSePuedeEscribir);
}

void crearVacio(const QString& ruta) {
  const QByteArray nombre = QFile::encodeName(ruta);
  const int fd = nombre.isEmpty() ? -1 : sinInterrupcion([&] {
    return ::open(nombre.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  });
  if (fd < 0) throw ErrorArchivo(Falla::NoSePuedeEscribir);
  ::close(fd);
}

}  // namespace fontfile
