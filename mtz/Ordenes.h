#pragma once
// The commands of mtz, each in a file of its own (OrdenList.cpp, ...), and
// what they share.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <vector>

#include "FontRecord.h"
#include "Fuente.h"
#include "LineaDeOrdenes.h"

namespace mtz {

// Each takes a command line the parser checked against its row of ordenes()
// and returns the exit status. Throws Fallo.
int ordenList(const Linea& l);
int ordenShow(const Linea& l);
int ordenCheck(const Linea& l);
int ordenRepair(const Linea& l);
int ordenExport(const Linea& l);
int ordenImport(const Linea& l);
int ordenRender(const Linea& l);
int ordenBuild(const Linea& l);

// An output that would replace the input is refused: inputs are never changed.
void salidaDistintaDe(const Linea& l, const QString& entrada);
// A binary output is not written to a terminal.
void salidaBinaria(const Linea& l);
// The readers take their input line by line, so its size does not matter.
void abrirEntrada(QFile& archivo);
// import and build refuse alike to write a font with nothing in it.
QByteArray comoFuente(const std::vector<fontfile::FontRecord>& registros, const QString& nombre);
// list and show give the records the editor can reach and say that more follow.
int avisarExceso(const Fuente& fuente);

}  // namespace mtz
