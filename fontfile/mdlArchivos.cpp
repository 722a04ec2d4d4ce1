#include "mdlArchivos.h"

#include <algorithm>

#include "Avisos.h"
#include "Textos.h"

namespace fontfile {
namespace {

// Opened read-only under a shared lock: a store is never seen half done.
RegistrosLeidos leerRegistros(const QString& ruta) {
  ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
  archivo.bloquear(ArchivoFuente::Bloqueo::Compartido);
  return leerRegistros(archivo);
}

}  // namespace

RegistrosLeidos leerRegistros(const ArchivoFuente& archivo) {
  RegistrosLeidos r;
  r.longitud = archivo.longitud();
  const qint64 completos = r.longitud / LongitudRegistro;
  r.hayMas = completos > MaximoRegistros;
  // One read: a search never goes past record 32767.
  const qint64 aLeer = std::min<qint64>(completos, MaximoRegistros) * LongitudRegistro;
  r.datos = archivo.leer(0, aLeer);
  r.datos.truncate(r.datos.size() - r.datos.size() % LongitudRegistro);
  return r;
}

// The loop runs up to 32767 times per store or load, so each slot is looked
// at in place, through the inline readers of FontRecord.h. A character longer
// than any slot holds matches none, but the slots are still checked to the end.
std::int16_t BuscarCaracter(const RegistrosLeidos& registros, const QByteArray& caracter) {
  const char* ranura = registros.datos.constData();
  const qsizetype total = registros.datos.size() / LongitudRegistro;
  for (qsizetype i = 0; i < total; ++i, ranura += LongitudRegistro) {
    if (!ranuraLegible(ranura)) throw ErrorArchivo(Falla::FormatoIncorrecto);
    if (ranuraTiene(ranura, caracter)) return static_cast<std::int16_t>(i + 1);
  }
  if (registros.hayMas) throw ErrorArchivo(Falla::Desbordamiento);
  return 0;
}

std::int16_t BuscarCaracter(const QString& ruta, const QString& caracter) {
  return BuscarCaracter(leerRegistros(ruta), aWindows1252(caracter));
}

std::int16_t ProximoRegistro(const RegistrosLeidos& registros) {
  const qint64 n = registros.longitud / LongitudRegistro;
  if (n >= MaximoRegistros) throw ErrorArchivo(Falla::Desbordamiento);
  return static_cast<std::int16_t>(n + 1);
}

std::int16_t ProximoRegistro(const QString& ruta) {
  ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
  archivo.bloquear(ArchivoFuente::Bloqueo::Compartido);
  RegistrosLeidos registros;
  registros.longitud = archivo.longitud();
  return ProximoRegistro(registros);
}

bool ExisteArchivo(const QString& ruta, std::int16_t avisar) {
  try {
    ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
    return true;
  } catch (const ErrorArchivo& e) {
    if (avisar == Verdadero) {
      avisos::informar(e.falla() == Falla::NoExiste ? textos::archivoNoExiste(ruta) : textos::noSePuedeAbrir(ruta));
    }
    return false;
  }
}

QString LeerMarca() {
  try {
    // Opened as a font is, so that a FIFO or a device named like the brand
    // file is passed over instead of hanging start-up.
    const ArchivoFuente archivo(QStringLiteral("./ayuda/Archivos/marca.txt"), ArchivoFuente::Modo::Lectura);
    // A brand line is short; a huge file is not read whole. The line ends at
    // a carriage return or a line feed, whichever comes first.
    const QByteArray inicio = archivo.leer(0, 4096);
    const auto fin = std::find_if(inicio.begin(), inicio.end(), [](char b) { return b == '\r' || b == '\n'; });
    return deWindows1252(QByteArray(inicio.constData(), fin - inicio.begin()));
  } catch (const ErrorArchivo&) {
    return {};
  }
}

}  // namespace fontfile
