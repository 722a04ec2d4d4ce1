#include "Apoyo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "ArchivoFuente.h"
#include "DeshacerEnCarpeta.h"

AvisosGrabados::AvisosGrabados() {
  anterior_ = avisos::instalar([this](const avisos::Aviso& a) {
    textos_ << a.texto;
    if (a.botones == avisos::Botones::Aceptar) return avisos::Respuesta::Aceptar;
    if (respuestas_.empty()) return avisos::Respuesta::No;
    const avisos::Respuesta r = respuestas_.front();
    respuestas_.pop_front();
    return r;
  });
}

AvisosGrabados::~AvisosGrabados() { avisos::instalar(anterior_); }

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

QByteArray deshacerPara(const QString& fuente, qint64 desde, qint64 longitudAntes, const QByteArray& antes,
                        const QByteArray& nueva) {
  fontfile::Deshacer d{{}, desde, longitudAntes, {}, {}};
  std::copy(antes.begin(), antes.end(), d.antes.begin());
  std::copy(nueva.begin(), nueva.end(), d.nueva.begin());
  QFile f(fuente);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << fuente.toStdString();
  struct stat e {};
  EXPECT_EQ(::fstat(f.handle(), &e), 0) << fuente.toStdString();
  d.de = fontfile::identidadDe(f.handle(), e);
  return d.aBytes();
}

QByteArray vistaDeUnLector(const QString& fuente) {
  fontfile::ArchivoFuente lectura(fuente, fontfile::ArchivoFuente::Modo::Lectura);
  lectura.bloquear(fontfile::ArchivoFuente::Bloqueo::Compartido);
  return lectura.leer(0, lectura.longitud() + 10);  // asked past its end: nothing there may show
}

QString dejarDeshacer(const QString& fuente, const QByteArray& bytes) {
  struct stat e {};
  ::stat(QFile::encodeName(fuente).constData(), &e);
  const fontfile::Creado c = fontfile::crearDeshacer(QFile::encodeName(QFileInfo(fuente).absolutePath()), e);
  EXPECT_EQ(::write(c.fd, bytes.constData(), bytes.size()), bytes.size());
  ::close(c.fd);
  return QFile::decodeName(c.ruta);
}
