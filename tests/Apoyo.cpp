#include "Apoyo.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "DeshacerEnCarpeta.h"

AvisosGrabados::AvisosGrabados() {
  anterior_ = avisos::instalar([this](const avisos::Aviso& a) {
    vistos_.push_back(a);
    if (a.botones == avisos::Botones::Aceptar) return avisos::Respuesta::Aceptar;
    if (respuestas_.empty()) return avisos::Respuesta::No;
    const avisos::Respuesta r = respuestas_.front();
    respuestas_.pop_front();
    return r;
  });
}

AvisosGrabados::~AvisosGrabados() { avisos::instalar(anterior_); }

QStringList AvisosGrabados::textos() const {
  QStringList t;
  for (const auto& a : vistos_) t << a.texto;
  return t;
}

CarpetaDeTrabajo::CarpetaDeTrabajo(bool conTipografias) : anterior_(QDir::currentPath()) {
  if (conTipografias) QDir(dir_.path()).mkdir(QStringLiteral("tipografias"));
  QDir::setCurrent(dir_.path());
}

CarpetaDeTrabajo::~CarpetaDeTrabajo() { QDir::setCurrent(anterior_); }

QByteArray leerArchivo(const QString& ruta) {
  QFile f(ruta);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << ruta.toStdString();
  return f.readAll();
}

void escribirArchivo(const QString& ruta, const QByteArray& datos) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << ruta.toStdString();
  ASSERT_EQ(f.write(datos), datos.size());
}

QByteArray registro(QByteArrayView caracter, std::initializer_list<int> codigos) {
  QByteArray r(24, '\0');
  r[0] = static_cast<char>(caracter.size());
  r.replace(2, caracter.size(), caracter);
  int c = 0;
  for (int codigo : codigos) {
    qToLittleEndian<qint16>(static_cast<qint16>(codigo), r.data() + 2 + caracter.size() + 2 * c++);
  }
  return r;
}

namespace {
struct stat estadoDe(const QString& ruta, fontfile::Identidad* id = nullptr) {
  const int fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC);
  struct stat e {};
  EXPECT_EQ(::fstat(fd, &e), 0) << ruta.toStdString();
  if (id) *id = fontfile::identidadDe(fd, e);
  ::close(fd);
  return e;
}
}  // namespace

QByteArray deshacerPara(const QString& fuente, fontfile::Deshacer d) {
  estadoDe(fuente, &d.de.emplace());
  return d.aBytes();
}

QString dejarDeshacer(const QString& fuente, const QByteArray& bytes) {
  const fontfile::Creado c =
      fontfile::crearDeshacer(QFile::encodeName(QFileInfo(fuente).absolutePath()), estadoDe(fuente));
  EXPECT_EQ(::write(c.fd, bytes.constData(), bytes.size()), bytes.size());
  ::close(c.fd);
  return QFile::decodeName(c.ruta);
}
