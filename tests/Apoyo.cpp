#include "Apoyo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

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
