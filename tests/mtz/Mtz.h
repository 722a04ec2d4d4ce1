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
  if (!p.waitForFinished(120000)) return {};  // and QProcess's destructor kills it
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

// mtz with these arguments: ejecutar({"list", ruta}), or each given as it comes: ejecutar("list", ruta).
inline Corrida ejecutar(const QStringList& argumentos) { return correr(QStringLiteral(MTZ_PROGRAMA), argumentos); }
template <typename... T>
Corrida ejecutar(const T&... argumentos) {
  return ejecutar(QStringList{QString(argumentos)...});
}

// A failure as mtz ends one: the exit status, no output, one line on stderr that says dice; each part apart.
inline void fracasa(const Corrida& c, int estado, const QByteArray& dice) {
  SCOPED_TRACE(c.errores.toStdString());
  EXPECT_EQ(c.estado, estado);
  EXPECT_EQ(c.salida, QByteArray());
  EXPECT_EQ(c.errores.count('\n'), 1);
  EXPECT_TRUE(c.errores.contains(dice)) << dice.toStdString();
}

// The words of linea, with F standing for fuente: palabras("list F", ruta).
inline QStringList palabras(const char* linea, const QString& fuente = {}) {
  QStringList p = QString::fromUtf8(linea).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (QString& w : p) w = w == QLatin1String("F") ? fuente : w;
  return p;
}

inline const QString Basica = QStringLiteral(MTZ_DATOS "/tipografias/basica.mtz");
