#pragma once
// The command line of mtz: its options and commands, each one row of a
// table that feeds the parser, the usage lines and --help.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace mtz {

// An argument as the system gave it and as text.
struct Argumento {
  QString texto;
  QByteArray crudo;
};

// A command line once parsed: the command, its arguments and its options.
struct Linea {
  QString orden;
  QList<Argumento> posicionales;
  QHash<QString, Argumento> valores;  // by the option's long name; a switch has an empty value

  bool tiene(const char* opcion) const { return valores.contains(QLatin1String(opcion)); }
  QString valor(const char* opcion) const { return valores.value(QLatin1String(opcion)).texto; }
};

// Every option, in the order --help lists them (Opciones.cpp). A new option is
// one row there and its name in the commands that take it.
struct Opcion {
  QString nombre;
  QString corto;
  QString valor;  // what follows it, as --help shows it; nothing for a switch
  QString ayuda;
};
const QList<Opcion>& opciones();
// The option of that long or short name; nullptr when there is none.
const Opcion* opcion(const QString& nombre);
// "--format FORMATO": an option as the usage shows it.
QString enUso(const Opcion& o);

// Every command, in the order --help lists them (Ordenes.cpp). The first
// argument of each is a file.
struct Orden {
  QString nombre;
  QString argumentos;  // as --help shows them
  int minimo, maximo;  // how many arguments
  QStringList opciones;
  QStringList obligatorias;
  int (*ejecutar)(const Linea&);
  QString ayuda;
};
const QList<Orden>& ordenes();

// The words of a command line, each as the system gave it. Throws Fallo.
Linea analizar(const QList<QByteArray>& argumentos);
// The options and the number of arguments a command takes. Throws Fallo.
void exigir(const Linea& l, const Orden& orden);

// The text of --help.
QString ayuda();

}  // namespace mtz
