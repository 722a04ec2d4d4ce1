#include "ArchivoInicial.h"

#include <QFileInfo>

#include "Avisos.h"
#include "Comandos.h"
#include "Textos.h"

QString carpetaInicial(const QString& archivo, const QString& porDefecto) {
  return archivo.isEmpty() ? porDefecto : QFileInfo(archivo).absolutePath();
}

QString nombreInicial(const QString& archivo) {
  if (archivo.isEmpty()) return {};
  const QFileInfo info(archivo);
  const QString ruta = info.absoluteFilePath();
  // The file list shows "*.mtz" in any case; any other name is no font.
  if (!info.fileName().endsWith(QLatin1String(".mtz"), Qt::CaseInsensitive)) {
    avisos::informar(textos::noEsFuente(ruta));
    return {};
  }
  if (!info.exists()) {
    avisos::informar(textos::archivoNoExiste(ruta));
    return info.fileName();
  }
  // A folder, a FIFO or a device is no font file, and opening a FIFO would
  // wait for a writer.
  if (!info.isFile() || !info.isReadable()) {
    avisos::informar(textos::noSePuedeAbrir(ruta));
    return {};
  }
  // The same test of record 1 as a click in the file list, with its message.
  return fontfile::formatoAdecuado(ruta) ? info.fileName() : QString();
}
