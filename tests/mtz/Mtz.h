#pragma once
// Runs the built mtz and keeps what it said.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "Apoyo.h"
#include "FontRecord.h"

struct Corrida {
  int estado = -1;
  QByteArray salida;
  QByteArray errores;
};

inline Corrida correr(const QString& programa, const QStringList& argumentos, const QString& carpeta = {}) {
  QProcess p;
  if (!carpeta.isEmpty()) p.setWorkingDirectory(carpeta);
  p.start(programa, argumentos);
  p.closeWriteChannel();
  if (!p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished();
    return {};
  }
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

inline Corrida orden(const QStringList& argumentos) { return correr(QStringLiteral(MTZ_PROGRAMA), argumentos); }

// mtz with each argument given as it comes: ejecutar("list", ruta).
template <typename... T>
Corrida ejecutar(const T&... argumentos) {
  return orden({QString(argumentos)...});
}

// The words of linea, with F standing for fuente: palabras("list F", ruta).
inline QStringList palabras(const char* linea, const QString& fuente = {}) {
  QStringList p = QString::fromUtf8(linea).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (QString& w : p) w = w == QLatin1String("F") ? fuente : w;
  return p;
}

inline const QString Basica = QStringLiteral(MTZ_DATOS "/tipografias/basica.mtz");
