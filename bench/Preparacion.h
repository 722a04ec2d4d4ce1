#pragma once
// What the benchmarks stand on: font files of a given size, a working
// folder made the current directory, and a message presenter that counts
// instead of showing.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "Avisos.h"

// n records of characters that are all ASCII, so that any letter outside
// ASCII (Ñ, Ö, ...) is absent; `ultimos` replaces the last records.
QByteArray registrosDePrueba(int n, const QByteArray& ultimos = {});
// One 24-byte record as the editor writes it: L = 1, the byte, ten codes.
QByteArray registroDe(char caracter, int semilla);
void escribir(const QString& ruta, const QByteArray& datos);

// A temporary working folder, with tipografias/ and the brand text and
// logo the program ships, made the current directory while it lives.
class CarpetaDeBanco {
 public:
  CarpetaDeBanco();
  ~CarpetaDeBanco();
  QString tipografias() const { return dir_.path() + QStringLiteral("/tipografias"); }
  QString fuente(const QString& nombre) const { return tipografias() + QLatin1Char('/') + nombre; }

 private:
  QTemporaryDir dir_;
  QString anterior_;
};

// Counts the messages shown while it lives, and answers "Sí" to questions.
class AvisosContados {
 public:
  AvisosContados();
  ~AvisosContados();
  int vistos() const { return vistos_; }

 private:
  int vistos_ = 0;
  avisos::Presentador anterior_;
};
