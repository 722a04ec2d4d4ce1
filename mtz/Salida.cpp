#include "Salida.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Fallo.h"

namespace mtz {
namespace {

bool escribirTodo(int fd, const char* datos, qint64 cuantos) {
  while (cuantos > 0) {
    const ssize_t n = ::write(fd, datos, static_cast<size_t>(cuantos));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    datos += n;
    cuantos -= n;
  }
  return true;
}

QString razon(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void directo(const QString& ruta, const QByteArray& nombre, const QByteArray& datos) {
  const int fd = ::open(nombre.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) throw Fallo(QStringLiteral("%1: no se puede escribir: %2").arg(ruta, razon(errno)));
  const bool bien = escribirTodo(fd, datos.constData(), datos.size());
  const int error = errno;
  ::close(fd);
  if (!bien) throw Fallo(QStringLiteral("%1: no se puede escribir: %2").arg(ruta, razon(error)));
}

}  // namespace

void escribirSalida(const QString& ruta, const QByteArray& datos) {
  if (ruta.isEmpty() || ruta == QLatin1String("-")) {
    // What was said through stdio goes first.
    if (std::fflush(stdout) != 0 || !escribirTodo(STDOUT_FILENO, datos.constData(), datos.size())) {
      throw Fallo(QStringLiteral("no se puede escribir en la salida estándar: %1").arg(razon(errno)));
    }
    return;
  }
  // A link is followed, so that the file it points to is replaced and the
  // link stays.
  const QFileInfo info(ruta);
  const QString destino = info.isSymLink() ? info.symLinkTarget() : ruta;
  const QByteArray nombre = QFile::encodeName(destino);
  struct stat estado {};
  const bool existe = ::stat(nombre.constData(), &estado) == 0;
  if (existe && S_ISDIR(estado.st_mode)) throw Fallo(QStringLiteral("%1: es una carpeta").arg(ruta));
  if (existe && !S_ISREG(estado.st_mode)) return directo(ruta, nombre, datos);

  const QFileInfo infoDestino(destino);
  QByteArray plantilla = QFile::encodeName(infoDestino.absolutePath() + QStringLiteral("/.") + infoDestino.fileName() +
                                           QStringLiteral(".XXXXXX"));
  const int fd = ::mkostemp(plantilla.data(), O_CLOEXEC);
  if (fd < 0) throw Fallo(QStringLiteral("%1: no se puede crear el archivo: %2").arg(ruta, razon(errno)));
  mode_t modo = 0666;
  if (existe) {
    modo = estado.st_mode & 07777;
  } else {
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    modo &= ~mascara;
  }
  bool bien = ::fchmod(fd, modo) == 0 && escribirTodo(fd, datos.constData(), datos.size()) && ::fsync(fd) == 0;
  int error = errno;
  bien = (::close(fd) == 0) && bien;
  if (bien && ::rename(plantilla.constData(), nombre.constData()) != 0) {
    bien = false;
    error = errno;
  }
  if (!bien) {
    ::unlink(plantilla.constData());
    throw Fallo(QStringLiteral("%1: no se puede escribir: %2").arg(ruta, razon(error)));
  }
}

bool mismoArchivo(const QString& a, const QString& b) {
  struct stat ea {
  }, eb{};
  return ::stat(QFile::encodeName(a).constData(), &ea) == 0 && ::stat(QFile::encodeName(b).constData(), &eb) == 0 &&
         ea.st_dev == eb.st_dev && ea.st_ino == eb.st_ino;
}

QStringList envolver(const QString& texto, int ancho) {
  QStringList lineas;
  QString linea;
  for (const QString& palabra : texto.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (!linea.isEmpty() && linea.size() + 1 + palabra.size() > ancho) {
      lineas << linea;
      linea.clear();
    }
    linea += (linea.isEmpty() ? QString() : QStringLiteral(" ")) + palabra;
  }
  if (!linea.isEmpty()) lineas << linea;
  return lineas;
}

}  // namespace mtz
