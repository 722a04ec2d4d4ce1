// Arbitrary bytes as the contents of a font file, through every routine that
// reads one: the slot reader, searching, counting, loading and the format
// test of a chosen file. Besides the sanitizers' own checks, each answer is
// held against what the bytes say, so a wrong record is a finding too.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "ArchivoFuente.h"
#include "Avisos.h"
#include "ColumnCode.h"
#include "Comandos.h"
#include "FontRecord.h"
#include "ListaCaracteres.h"
#include "mdlArchivos.h"

namespace {

using namespace fontfile;

void exigir(bool condicion) {
  if (!condicion) std::abort();
}

struct Entorno {
  QString carpeta;
  QString nombre = QStringLiteral("f.mtz");
  QString ruta;

  Entorno() {
    char plantilla[] = "/tmp/grafolux-fuzz-XXXXXX";
    exigir(::mkdtemp(plantilla) != nullptr);
    carpeta = QString::fromLocal8Bit(plantilla);
    ruta = carpeta + QLatin1Char('/') + nombre;
    // Messages go nowhere; the answers are what is checked.
    avisos::instalar([](const avisos::Aviso& a) {
      return a.botones == avisos::Botones::SiNo ? avisos::Respuesta::No : avisos::Respuesta::Aceptar;
    });
  }
  ~Entorno() { std::filesystem::remove_all(carpeta.toStdString()); }
};

Entorno& entorno() {
  static Entorno e;
  return e;
}

void escribir(const QString& ruta, const uint8_t* datos, size_t n) {
  QFile f(ruta);
  exigir(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  exigir(f.write(reinterpret_cast<const char*>(datos), static_cast<qint64>(n)) == static_cast<qint64>(n));
}

// The slot reader on its own, each slot in a buffer exactly 24 bytes long so
// that a read past the slot is caught.
void probarRanuras(const uint8_t* datos, size_t n) {
  for (size_t desde = 0; desde + LongitudRegistro <= n; desde += LongitudRegistro) {
    const auto ranura = std::make_unique<char[]>(LongitudRegistro);
    std::memcpy(ranura.get(), datos + desde, LongitudRegistro);
    const auto registro = leerRanura(ranura.get());
    const quint16 longitud = longitudDeCaracter(ranura.get());
    exigir(registro.has_value() == (longitud <= MaximaLongitudCaracter));
    if (registro) {
      exigir(registro->caracter.size() == longitud);
      // A readable slot written back holds the same bytes, but for the
      // unused ones after its codes.
      const Ranura otra = escribirRanura(*registro);
      exigir(std::memcmp(otra.data(), ranura.get(), 2 + longitud + 2 * glyph::Columnas) == 0);
    }
  }
}

// The first complete slot holding caracter before any unreadable one, as the
// search must find it; -1 when a format error comes first, 0 when none.
int esperado(const uint8_t* datos, size_t n, const QByteArray& caracter) {
  const size_t completos = std::min<size_t>(n / LongitudRegistro, MaximoRegistros);
  for (size_t i = 0; i < completos; ++i) {
    const char* ranura = reinterpret_cast<const char*>(datos) + i * LongitudRegistro;
    const quint16 longitud = longitudDeCaracter(ranura);
    if (longitud > MaximaLongitudCaracter) return -1;
    if (longitud == caracter.size() && std::memcmp(ranura + 2, caracter.constData(), longitud) == 0) {
      return static_cast<int>(i + 1);
    }
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
  Entorno& e = entorno();
  probarRanuras(datos, n);
  escribir(e.ruta, datos, n);

  // The character looked for comes from the first byte, so that the fuzzer
  // can steer it towards records it has made.
  const QStringList& lista = ListaCaracteres();
  const QString caracter = lista.at(n == 0 ? 0 : datos[0] % lista.size());
  const QByteArray bytes = aWindows1252(caracter);

  // Past record 32767 nothing is read: without a match there, the file is
  // too long; and no record number is left for an append.
  const int debe = esperado(datos, n, bytes);
  const bool demasiados = n / LongitudRegistro > static_cast<size_t>(MaximoRegistros);
  try {
    const std::int16_t k = BuscarCaracter(e.ruta, caracter);
    exigir(k == debe && !(debe == 0 && demasiados));
  } catch (const ErrorArchivo& error) {
    exigir((error.falla() == Falla::FormatoIncorrecto && debe < 0) ||
           (error.falla() == Falla::Desbordamiento && debe == 0 && demasiados));
  }

  try {
    const std::int16_t proximo = ProximoRegistro(e.ruta);
    exigir(n / LongitudRegistro < static_cast<size_t>(MaximoRegistros) &&
           proximo == static_cast<std::int16_t>(n / LongitudRegistro + 1));
  } catch (const ErrorArchivo& error) {
    exigir(error.falla() == Falla::Desbordamiento && n / LongitudRegistro >= static_cast<size_t>(MaximoRegistros));
  }

  const Resultado leido = leerCaracter(e.carpeta, e.nombre, caracter);
  exigir(leido.hecho == (debe > 0) && leido.dibujo.has_value() == leido.hecho);
  if (leido.dibujo) {
    const auto registro = leerRanura(reinterpret_cast<const char*>(datos) + (debe - 1) * LongitudRegistro);
    exigir(registro && *leido.dibujo == glyph::dibujoDeCodigos(registro->columnas));
  }

  const bool adecuado = formatoAdecuado(e.ruta);
  exigir(adecuado == (n < 2 || longitudDeCaracter(reinterpret_cast<const char*>(datos)) <= MaximaLongitudCaracter));

  // Reading never changes the file.
  QFile f(e.ruta);
  exigir(f.open(QIODevice::ReadOnly));
  const QByteArray despues = f.readAll();
  exigir(static_cast<size_t>(despues.size()) == n && (n == 0 || std::memcmp(despues.constData(), datos, n) == 0));
  return 0;
}
