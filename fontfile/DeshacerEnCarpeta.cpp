#include "DeshacerEnCarpeta.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace fontfile {
namespace {

QByteArray nombreUsual(ino_t inodo) { return ".grafolux-deshacer-" + QByteArray::number(quint64(inodo)); }

// Whether the user belongs to the group, by the system's user database.
bool esDelGrupo(uid_t usuario, gid_t grupo) {
  std::vector<char> memoria(16384);
  passwd datos{};
  passwd* hallado = nullptr;
  if (::getpwuid_r(usuario, &datos, memoria.data(), memoria.size(), &hallado) != 0 || hallado == nullptr) return false;
  if (datos.pw_gid == grupo) return true;
  int cuantos = 64;
  std::vector<gid_t> grupos(cuantos);
  if (::getgrouplist(datos.pw_name, datos.pw_gid, grupos.data(), &cuantos) < 0) {
    grupos.resize(cuantos);
    if (::getgrouplist(datos.pw_name, datos.pw_gid, grupos.data(), &cuantos) < 0) return false;
  }
  return std::find(grupos.begin(), grupos.begin() + cuantos, grupo) != grupos.begin() + cuantos;
}

// Whether only someone able to write the font can have written this file.
bool deConfianza(const struct stat& e, const struct stat& fuente) {
  if (!S_ISREG(e.st_mode) || e.st_nlink != 1 || (e.st_mode & (S_IWGRP | S_IWOTH)) != 0) return false;
  return e.st_uid == fuente.st_uid || e.st_uid == 0 || (fuente.st_mode & S_IWOTH) != 0 ||
         ((fuente.st_mode & S_IWGRP) != 0 && esDelGrupo(e.st_uid, fuente.st_gid));
}

// One name of the folder; a believed record is added to hallados.
void mirar(int carpeta, const QByteArray& ruta, const QByteArray& nombre, const struct stat& fuente,
           const Identidad& id, std::vector<Hallado>& hallados) {
  struct stat e {};
  // Only a regular file is opened: opening a FIFO may block, a device act.
  if (::fstatat(carpeta, nombre.constData(), &e, AT_SYMLINK_NOFOLLOW) != 0 || !deConfianza(e, fuente)) return;
  const int fd = ::openat(carpeta, nombre.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
  if (fd < 0) return;
  struct stat abierto {};
  QByteArray bytes(256, Qt::Uninitialized);
  ssize_t n = -1;
  if (::fstat(fd, &abierto) == 0 && abierto.st_ino == e.st_ino && deConfianza(abierto, fuente)) {
    n = ::pread(fd, bytes.data(), bytes.size(), 0);
  }
  ::close(fd);
  if (n < 0) return;
  bytes.truncate(n);
  Hallado h{ruta + '/' + nombre, Deshacer::deBytes(bytes)};
  if (h.paraEsta && !h.paraEsta->esPara(id)) h.paraEsta.reset();
  hallados.push_back(std::move(h));
}

}  // namespace

std::vector<Hallado> buscarDeshacer(const QByteArray& carpeta, const struct stat& fuente, const Identidad& id) {
  std::vector<Hallado> hallados;
  const int dir = ::open(carpeta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return hallados;
  const QByteArray usual = nombreUsual(fuente.st_ino), marca = usual + '-';
  mirar(dir, carpeta, usual, fuente, id, hallados);
  struct stat e {};
  // Listing a large folder takes milliseconds: only when a store left the
  // mark of a record under another name.
  if (::fstatat(dir, marca.constData(), &e, AT_SYMLINK_NOFOLLOW) == 0) {
    DIR* lista = ::opendir(carpeta.constData());
    while (const dirent* entrada = lista ? ::readdir(lista) : nullptr) {
      if (std::strncmp(entrada->d_name, marca.constData(), size_t(marca.size())) == 0) {
        mirar(dir, carpeta, entrada->d_name, fuente, id, hallados);
      }
    }
    if (lista) ::closedir(lista);
  }
  ::close(dir);
  return hallados;
}

Creado crearDeshacer(const QByteArray& carpeta, const struct stat& fuente) {
  const QByteArray usual = carpeta + '/' + nombreUsual(fuente.st_ino);
  const auto crear = [](const QByteArray& ruta) {
    return ::open(ruta.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  };
  Creado c{crear(usual), usual, {}};
  if (c.fd < 0 && errno == EEXIST) {
    // Something else holds the usual name, and it is left alone. The mark,
    // made first, sends readers to list the folder.
    const int marca = crear(usual + '-');
    if (marca >= 0) c.marca = usual + '-';
    if (marca >= 0) ::close(marca);
    for (int i = 0; c.fd < 0 && i < 100 && (i == 0 || errno == EEXIST); ++i) {
      c.ruta = usual + '-' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
      c.fd = crear(c.ruta);
    }
  }
  // Readable by whoever may read the font, and by nobody else, whatever the
  // umask: by its group as the font is, when it could be given the font's.
  struct stat propio {};
  if (c.fd >= 0 && ::fstat(c.fd, &propio) == 0 && propio.st_gid != fuente.st_gid &&
      ::fchown(c.fd, uid_t(-1), fuente.st_gid) == 0) {
    propio.st_gid = fuente.st_gid;
  }
  const mode_t otros = fuente.st_mode & S_IROTH;
  const mode_t grupo = propio.st_gid == fuente.st_gid ? fuente.st_mode & S_IRGRP : (otros != 0 ? S_IRGRP : 0);
  if (c.fd >= 0 && ::fchmod(c.fd, S_IRUSR | S_IWUSR | grupo | otros) != 0) {
    ::close(c.fd);
    c.fd = -1;
    ::unlink(c.ruta.constData());
  }
  if (c.fd < 0 && !c.marca.isEmpty()) ::unlink(c.marca.constData());
  return c;
}

void quitarDeshacer(const Creado& c) {
  ::unlink(c.ruta.constData());
  if (!c.marca.isEmpty()) ::unlink(c.marca.constData());
}

}  // namespace fontfile
