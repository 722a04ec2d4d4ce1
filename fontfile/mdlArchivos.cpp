#include "mdlArchivos.h"

#include <QFile>
#include <algorithm>

#include "Avisos.h"

namespace fontfile {

RegistrosLeidos leerRegistros(const ArchivoFuente& archivo) {
  RegistrosLeidos r;
  r.longitud = archivo.longitud();
  const qint64 completos = r.longitud / LongitudRegistro;
  r.hayMas = completos > MaximoRegistros;
  // One read of at most 786 KB: a search never goes past record 32767.
  const qint64 aLeer = std::min<qint64>(completos, MaximoRegistros) * LongitudRegistro;
  r.datos = archivo.leer(0, aLeer);
  r.datos.truncate(r.datos.size() - r.datos.size() % LongitudRegistro);
  return r;
}

std::int16_t buscarEn(const RegistrosLeidos& registros, const QByteArray& caracter) {
  // The loop runs up to 32767 times per store or load, so it reads the
  // length and the at most two bytes of the character in place, with no
  // call per slot. A character longer than any slot can hold matches none,
  // but the slots are still checked up to the end.
  const qsizetype largo = caracter.size();
  const quint16 buscado = largo <= MaximaLongitudCaracter ? quint16(largo) : quint16(0xFFFF);
  const char primero = largo > 0 ? caracter[0] : '\0';
  const char segundo = largo > 1 ? caracter[1] : '\0';
  const char* ranura = registros.datos.constData();
  const qsizetype total = registros.datos.size() / LongitudRegistro;
  for (qsizetype i = 0; i < total; ++i, ranura += LongitudRegistro) {
    const auto longitud = quint16(uchar(ranura[0]) | uchar(ranura[1]) << 8);  // little-endian
    if (longitud > MaximaLongitudCaracter) throw ErrorArchivo(Falla::FormatoIncorrecto);
    if (longitud == buscado && (longitud < 1 || ranura[2] == primero) && (longitud < 2 || ranura[3] == segundo)) {
      return static_cast<std::int16_t>(i + 1);
    }
  }
  if (registros.hayMas) throw ErrorArchivo(Falla::Desbordamiento);
  return 0;
}

std::int16_t proximoPorLongitud(qint64 longitud) {
  const qint64 registros = longitud / LongitudRegistro;
  if (registros >= MaximoRegistros) throw ErrorArchivo(Falla::Desbordamiento);
  return static_cast<std::int16_t>(registros + 1);
}

std::int16_t BuscarCaracter(const QString& ruta, const QString& caracter) {
  ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
  archivo.bloquear(ArchivoFuente::Bloqueo::Compartido);
  return buscarEn(leerRegistros(archivo), aWindows1252(caracter));
}

std::int16_t ProximoRegistro(const QString& ruta) {
  ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
  return proximoPorLongitud(archivo.longitud());
}

bool ExisteArchivo(const QString& ruta, std::int16_t avisar) {
  try {
    ArchivoFuente archivo(ruta, ArchivoFuente::Modo::Lectura);
    return true;
  } catch (const ErrorArchivo& e) {
    if (avisar == Verdadero) {
      const QString entreComillas = QLatin1Char('"') + ruta + QLatin1Char('"');
      avisos::informar(e.falla() == Falla::NoExiste
                           ? QStringLiteral("El archivo ") + entreComillas + QStringLiteral(" no existe.")
                           : QStringLiteral("No se puede abrir el archivo ") + entreComillas + QLatin1Char('.'));
    }
    return false;
  }
}

QString LeerMarca() {
  QFile archivo(QStringLiteral("./ayuda/Archivos/marca.txt"));
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  // A brand line is short; a huge file is not read whole. The line ends at
  // a carriage return or a line feed, whichever comes first.
  const QByteArray inicio = archivo.read(4096);
  const auto fin = std::find_if(inicio.begin(), inicio.end(), [](char b) { return b == '\r' || b == '\n'; });
  return deWindows1252(QByteArray(inicio.constData(), fin - inicio.begin()));
}

}  // namespace fontfile
