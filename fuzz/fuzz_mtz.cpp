// Arbitrary bytes as a font file given to mtz: its reader, check, every export
// in every layout, and render. A bad font may only end in a Fallo, which mtz
// turns into one line and an exit status; a JSON export must parse.

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Exportar.h"
#include "Fallo.h"
#include "Pintar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
  static const QTemporaryDir carpeta;
  static const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  if (n == 0) return 0;
  // The first byte picks the format and the layout; the rest is the font.
  const uint8_t eleccion = datos[0];
  QFile archivo(ruta);
  const auto largo = static_cast<qint64>(n - 1);
  if (!archivo.open(QIODevice::WriteOnly) || archivo.write(reinterpret_cast<const char*>(datos + 1), largo) != largo)
    std::abort();
  archivo.close();
  try {
    const mtz::Fuente fuente = mtz::leerFuente(ruta);
    (void)mtz::revisar(fuente);
    const mtz::Formato& formato = mtz::formatos()[eleccion % mtz::formatos().size()];
    const mtz::Disposicion d{eleccion & 0x10 ? mtz::Disposicion::Orden::Filas : mtz::Disposicion::Orden::Columnas,
                             (eleccion & 0x20) != 0, (eleccion & 0x40) != 0};
    QStringList avisos;
    try {
      const QByteArray salida = mtz::exportar(fuente, formato, d, avisos);
      if (std::strcmp(formato.nombre, "json") == 0 && QJsonDocument::fromJson(salida).isNull()) std::abort();
    } catch (const mtz::Fallo&) {
    }
    // The characters of the first records, looked up as show and render do.
    QString texto;
    for (size_t i = 0; i < fuente.entradas.size() && texto.size() < 8; ++i)
      if (fuente.entradas[i].registro) texto += fontfile::deWindows1252(fuente.entradas[i].registro->caracter);
    if (!texto.isEmpty()) (void)mtz::pintarTexto(fuente, texto + QLatin1Char('\n') + texto, 1 + eleccion % 3);
  } catch (const mtz::Fallo&) {
  }
  return 0;
}
