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
#include <climits>
#include <cstdlib>
#include <thread>

#include "DeshacerEnCarpeta.h"

namespace fontfile {
namespace {

template <typename Llamada>
auto sinInterrupcion(Llamada llamada) {
  decltype(llamada()) r;
  do {
    r = llamada();
  } while (r == -1 && errno == EINTR);
  return r;
}

// A short write is carried on, so that its cause (a full disk, the file
// size limit) comes back as the error it is.
bool escribirTodo(int fd, const char* datos, qint64 cuantos, qint64 desde) {
  for (qint64 escritos = 0; escritos < cuantos;) {
    const ssize_t n = sinInterrupcion(
        [&] { return ::pwrite(fd, datos + escritos, static_cast<size_t>(cuantos - escritos), desde + escritos); });
    if (n <= 0) return false;
    escritos += n;
  }
  return true;
}

// The folder that really holds the file, links followed; empty when the path
// cannot be resolved.
QByteArray carpetaReal(const QByteArray& ruta) {
  char* real = ::realpath(ruta.constData(), nullptr);
  if (real == nullptr) return {};
  QByteArray carpeta(real);
  std::free(real);
  carpeta.truncate(carpeta.lastIndexOf('/'));
  return carpeta.isEmpty() ? QByteArray("/") : carpeta;
}

bool sincronizarCarpeta(const QByteArray& carpeta) {
  const int fd = sinInterrupcion([&] { return ::open(carpeta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
  if (fd < 0) return false;
  const bool hecho = ::fsync(fd) == 0;
  ::close(fd);
  return hecho;
}

// The record, flushed with its names before the store touches the font;
// nothing when it could not be written.
std::optional<Creado> escribirDeshacer(const QByteArray& carpeta, const struct stat& fuente, const Deshacer& d) {
  const Creado c = crearDeshacer(carpeta, fuente);
  if (c.fd < 0) return std::nullopt;
  const QByteArray bytes = d.aBytes();
  const bool escrito = escribirTodo(c.fd, bytes.constData(), bytes.size(), 0) && ::fdatasync(c.fd) == 0;
  ::close(c.fd);
  if (escrito && sincronizarCarpeta(carpeta)) return c;
  quitarDeshacer(c);
  return std::nullopt;
}

// Another editor holds the lock for the time one store takes: about a
// millisecond, some tens when it flushes to a busy disk. A lock held longer
// belongs to a program that is stuck or never lets go: rather than freeze
// the window on it, the command soon fails with its message.
constexpr auto EsperaMaxima = std::chrono::milliseconds(250);

void tomarCerrojo(int fd, int operacion) {
  const auto limite = std::chrono::steady_clock::now() + EsperaMaxima;
  auto pausa = std::chrono::microseconds(100);
  while (::flock(fd, operacion | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= limite) {
      throw ErrorArchivo(Falla::NoSePuedeLeer);
    }
    std::this_thread::sleep_for(pausa);
    pausa = std::min(pausa * 2, std::chrono::microseconds(10000));
  }
}

// Whether the path still names the open file: another program may have
// replaced it by rename while this one waited for the lock.
bool nombraAun(const QByteArray& ruta, const struct stat& abierto) {
  struct stat nombrado {};
  return ::stat(ruta.constData(), &nombrado) == 0 && nombrado.st_dev == abierto.st_dev &&
         nombrado.st_ino == abierto.st_ino;
}

}  // namespace

ArchivoFuente::ArchivoFuente(const QString& ruta, Modo modo) : ruta_(QFile::encodeName(ruta)) {
  const bool escritura = modo == Modo::Escritura;
  const auto fallar = [&](int error) {
    if (escritura) return ErrorArchivo(Falla::NoSePuedeEscribir);
    const bool carpetaPresente = QFileInfo(QFileInfo(ruta).path()).isDir();
    return ErrorArchivo(error == ENOENT && carpetaPresente ? Falla::NoExiste : Falla::NoSePuedeAbrir);
  };
  // What is not a regular file is never opened: a FIFO would block the open,
  // and opening a device may act on it.
  struct stat estado {};
  if (ruta_.isEmpty() || ::stat(ruta_.constData(), &estado) != 0) throw fallar(ruta_.isEmpty() ? ENOENT : errno);
  if (!S_ISREG(estado.st_mode)) throw fallar(EINVAL);
  // O_NONBLOCK: the path may have been given to a FIFO since.
  const int banderas = (escritura ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  fd_ = sinInterrupcion([&] { return ::open(ruta_.constData(), banderas); });
  if (fd_ < 0) throw fallar(errno);
  if (::fstat(fd_, &estado) != 0 || !S_ISREG(estado.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw fallar(EINVAL);
  }
}

ArchivoFuente::~ArchivoFuente() {
  if (fd_ >= 0) ::close(fd_);
}

bool ArchivoFuente::bloquear(Bloqueo bloqueo) {
  tomarCerrojo(fd_, bloqueo == Bloqueo::Exclusivo ? LOCK_EX : LOCK_SH);
  if (::fstat(fd_, &propio_) != 0) throw ErrorArchivo(Falla::NoSePuedeLeer);
  identidad_ = identidadDe(fd_, propio_);
  carpetaReal_ = carpetaReal(ruta_);
  pendiente_.reset();
  if (bloqueo == Bloqueo::Compartido) {
    verDeshecho();
    return true;
  }
  if (!nombraAun(ruta_, propio_)) return false;
  if (carpetaReal_.isEmpty() || ::faccessat(AT_FDCWD, carpetaReal_.constData(), W_OK | X_OK, AT_EACCESS) != 0) {
    throw ErrorArchivo(Falla::NoSePuedeEscribir);
  }
  deshacerYQuitar();
  return true;
}

bool ArchivoFuente::desgarrado(const Hallado& h) const {
  return h.paraEsta && hayQueDeshacer(*h.paraEsta, longitudTalCual(), leerTalCual(h.paraEsta->desde, LongitudRegistro));
}

// Under the shared lock no store is under way: a rollback record found now
// was left by a store cut short. The file itself is not touched.
void ArchivoFuente::verDeshecho() {
  if (!carpetaReal_.isEmpty()) {
    const auto hallados = buscarDeshacer(carpetaReal_, propio_, identidad_);
    const auto h = std::find_if(hallados.begin(), hallados.end(), [&](const Hallado& x) { return desgarrado(x); });
    if (h != hallados.end()) pendiente_ = Pendiente{*h->paraEsta, h->ruta};
  }
  vistaDeshecha_ = true;
}

// A record for this file left behind could undo a later store: the file is
// put back as the record says when its slot is torn, and every record goes.
void ArchivoFuente::deshacerYQuitar() {
  for (const Hallado& h : buscarDeshacer(carpetaReal_, propio_, identidad_)) {
    if (desgarrado(h)) {
      if (!volverAntes(*h.paraEsta)) throw ErrorArchivo(Falla::NoSePuedeEscribir);
      pendiente_ = Pendiente{*h.paraEsta, h.ruta};
    }
    if (::unlink(h.ruta.constData()) != 0 && errno != ENOENT && h.paraEsta) {
      throw ErrorArchivo(Falla::NoSePuedeEscribir);
    }
  }
}

qint64 ArchivoFuente::longitud() const {
  return pendiente_ && vistaDeshecha_ ? pendiente_->d.longitudAntes : longitudTalCual();
}

qint64 ArchivoFuente::longitudTalCual() const {
  struct stat estado {};
  if (::fstat(fd_, &estado) != 0) throw ErrorArchivo(Falla::NoSePuedeLeer);
  return estado.st_size;
}

QByteArray ArchivoFuente::leer(qint64 desde, qint64 cuantos) const {
  if (!pendiente_ || !vistaDeshecha_) return leerTalCual(desde, cuantos);
  const Deshacer& d = pendiente_->d;
  QByteArray datos = leerTalCual(desde, std::clamp<qint64>(d.longitudAntes - desde, 0, cuantos));
  if (!d.esAgregado()) {
    const qint64 fin = std::min<qint64>(desde + datos.size(), d.desde + LongitudRegistro);
    for (qint64 i = std::max(desde, d.desde); i < fin; ++i) datos[i - desde] = d.antes[i - d.desde];
  }
  return datos;
}

QByteArray ArchivoFuente::leerTalCual(qint64 desde, qint64 cuantos) const {
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

// The file as it was before the store of d: the old slot written back, an
// append cut off, and both flushed. True when the file now reads so.
bool ArchivoFuente::volverAntes(const Deshacer& d) {
  if (!d.esAgregado()) escribirTodo(fd_, d.antes.data(), LongitudRegistro, d.desde);
  if (longitudTalCual() > d.longitudAntes) sinInterrupcion([&] { return ::ftruncate(fd_, d.longitudAntes); });
  if (::fdatasync(fd_) != 0 || longitudTalCual() != d.longitudAntes) return false;
  return d.esAgregado() || leerTalCual(d.desde, LongitudRegistro) == QByteArray(d.antes.data(), LongitudRegistro);
}

// The rollback record is flushed before the slot is written, so that a
// crash at any point leaves either the record or no change. It is removed
// without a flush: should the removal be lost, the record only finds the
// whole new slot in place, which it keeps (see hayQueDeshacer).
void ArchivoFuente::grabarRanura(qint64 desde, const Ranura& nueva) {
  Deshacer d;
  d.de = identidad_;
  d.desde = desde;
  d.longitudAntes = longitudTalCual();
  d.nueva = nueva;
  if (!d.esAgregado()) {
    const QByteArray antes = leerTalCual(desde, LongitudRegistro);
    if (antes.size() != LongitudRegistro) throw ErrorArchivo(Falla::NoSePuedeEscribir);
    std::copy(antes.begin(), antes.end(), d.antes.begin());
  }
  const auto registro = escribirDeshacer(carpetaReal_, propio_, d);
  if (!registro) throw ErrorArchivo(Falla::NoSePuedeEscribir);
  if (!escribirTodo(fd_, nueva.data(), LongitudRegistro, desde) || ::fdatasync(fd_) != 0) {
    // When even putting it back fails, the record stays: readers and the
    // next store then undo the store from it.
    if (volverAntes(d)) quitarDeshacer(*registro);
    throw ErrorArchivo(Falla::NoSePuedeEscribir);
  }
  quitarDeshacer(*registro);
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
