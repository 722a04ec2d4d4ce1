#include "Preparacion.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstdlib>

QByteArray registroDe(char caracter, int semilla) {
  QByteArray r(24, '\0');
  r[0] = 1;
  r[2] = caracter;
  for (int c = 0; c < 10; ++c)
    qToLittleEndian<qint16>(static_cast<qint16>((semilla * 7 + c * 13) & 0x7F), r.data() + 3 + 2 * c);
  return r;
}

QByteArray registrosDePrueba(int n, const QByteArray& ultimos) {
  QByteArray datos;
  datos.reserve(qsizetype(n) * 24);
  for (int i = 0; i < n; ++i) datos += registroDe(static_cast<char>(0x20 + i % 0x5F), i);
  datos.replace(datos.size() - ultimos.size(), ultimos.size(), ultimos);
  return datos;
}

void escribir(const QString& ruta, const QByteArray& datos) {
  QFile f(ruta);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(datos) != datos.size()) {
    qFatal("cannot write %s", qPrintable(ruta));
  }
}

CarpetaDeBanco::CarpetaDeBanco() : anterior_(QDir::currentPath()) {
  QDir raiz(dir_.path());
  raiz.mkpath(QStringLiteral("tipografias"));
  raiz.mkpath(QStringLiteral("ayuda/Archivos"));
  const QString datos = QStringLiteral(GRAFOLUX_DATOS "/ayuda/Archivos/");
  for (const char* nombre : {"logo.jpg", "marca.txt"}) {
    QFile::copy(datos + QLatin1String(nombre),
                raiz.filePath(QStringLiteral("ayuda/Archivos/") + QLatin1String(nombre)));
  }
  QDir::setCurrent(dir_.path());
}

CarpetaDeBanco::~CarpetaDeBanco() { QDir::setCurrent(anterior_); }

AvisosContados::AvisosContados() {
  anterior_ = avisos::instalar([this](const avisos::Aviso& a) {
    ++vistos_;
    return a.botones == avisos::Botones::SiNo ? avisos::Respuesta::Si : avisos::Respuesta::Aceptar;
  });
}

AvisosContados::~AvisosContados() { avisos::instalar(anterior_); }
