#include <unistd.h>

#include <QFileInfo>

#include "Fallo.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Salida.h"

namespace mtz {

void salidaDistintaDe(const Linea& l, const QString& entrada) {
  const QString salida = l.valor("--output");
  if (!salida.isEmpty() && salida != QLatin1String("-") && mismoArchivo(entrada, salida)) {
    throw uso(QStringLiteral("la salida %1 es el archivo de entrada").arg(salida));
  }
}

void salidaBinaria(const Linea& l) {
  const QString salida = l.valor("--output");
  if ((salida.isEmpty() || salida == QLatin1String("-")) && ::isatty(STDOUT_FILENO)) {
    throw uso(QStringLiteral("la salida es binaria y no se escribe en la terminal: use -o ARCHIVO"));
  }
}

void abrirEntrada(QFile& archivo) {
  const QString ruta = archivo.fileName();
  if (!archivo.exists()) throw Fallo(QStringLiteral("%1: el archivo no existe").arg(ruta));
  // A FIFO would keep the command waiting, a folder has nothing to read.
  if (!QFileInfo(ruta).isFile()) throw Fallo(QStringLiteral("%1: no es un archivo normal").arg(ruta));
  if (!archivo.open(QIODevice::ReadOnly)) throw Fallo(QStringLiteral("%1: no se puede abrir el archivo").arg(ruta));
}

QByteArray comoFuente(const std::vector<fontfile::FontRecord>& registros, const QString& nombre) {
  if (registros.empty()) throw Fallo(QStringLiteral("%1: ningún carácter; no se escribe nada").arg(nombre));
  if (registros.size() > static_cast<size_t>(fontfile::MaximoRegistros)) {
    throw Fallo(QStringLiteral("%1: más de %2 caracteres").arg(nombre).arg(fontfile::MaximoRegistros));
  }
  QByteArray datos;
  for (const auto& r : registros) {
    const fontfile::Ranura ranura = fontfile::codificarRanura(r);
    datos.append(ranura.data(), fontfile::LongitudRegistro);
  }
  return datos;
}

int avisarExceso(const Fuente& fuente) {
  if (fuente.ranurasCompletas <= fontfile::MaximoRegistros) return 0;
  avisar(QStringLiteral("%1: el archivo tiene %2 registros; se muestran los primeros %3")
             .arg(fuente.ruta)
             .arg(fuente.ranurasCompletas)
             .arg(fontfile::MaximoRegistros));
  return EstadoProblemas;
}

}  // namespace mtz
