#include "PrepararCarpeta.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Textos.h"

namespace {

// The starter fonts into a new font folder. The copy is made in a folder of
// its own beside it and then renamed, so the font folder appears whole or
// not at all: an interrupted start leaves no half folder, and of two starts
// at once the first rename wins and the other's copy is dropped.
bool copiarFuentes(const QString& desde, const QString& hacia) {
  QTemporaryDir copia(QFileInfo(hacia).absolutePath() + QStringLiteral("/.tipografias-XXXXXX"));
  if (!copia.isValid()) return false;
  QDirIterator fuentes(desde, QDir::Files);
  while (fuentes.hasNext()) {
    fuentes.next();
    if (!QFile::copy(fuentes.filePath(), copia.filePath(fuentes.fileName()))) return false;
  }
  // A temporary folder is the owner's alone; the font folder is not.
  QFile::setPermissions(copia.path(), QFile::permissions(desde) | QFile::WriteOwner);
  if (QDir().rename(copia.path(), hacia)) {
    copia.setAutoRemove(false);
    return true;
  }
  return QFileInfo(hacia).isDir();
}

// Puts back the help files that are missing. Each appears whole (QFile::copy
// writes a temporary file and renames it, never over an existing one). They
// are optional: one that cannot be put back does not stop the start.
void reponerAyuda(const QString& desde, const QString& hacia) {
  QDirIterator ayuda(desde, QDir::Files, QDirIterator::Subdirectories);
  while (ayuda.hasNext()) {
    ayuda.next();
    const QString destino = hacia + QLatin1Char('/') + QDir(desde).relativeFilePath(ayuda.filePath());
    if (QFileInfo::exists(destino)) continue;
    QDir().mkpath(QFileInfo(destino).absolutePath());
    QFile::copy(ayuda.filePath(), destino);
  }
}

}  // namespace

Preparacion prepararCarpeta(const QString& plantilla, const QString& trabajo) {
  const QString fuentes = plantilla + QStringLiteral("/tipografias");
  if (!QFileInfo(fuentes).isDir()) return {{}, textos::faltaPlantilla(plantilla)};
  const QString tipografias = trabajo + QStringLiteral("/tipografias");
  if (!QFileInfo(tipografias).isDir() && !(QDir().mkpath(trabajo) && copiarFuentes(fuentes, tipografias))) {
    return {plantilla, textos::carpetaSinEscritura(trabajo)};
  }
  reponerAyuda(plantilla + QStringLiteral("/ayuda"), trabajo + QStringLiteral("/ayuda"));
  return {trabajo, {}};
}
