// Arbitrary bytes as a font file, with the rollback record a store cut short
// may have left beside it, met by every routine that reads a font (search,
// count, load, the format test) and then by a store. Besides the sanitizers'
// checks, each answer is held against what the bytes say, and the file after
// the store against what the store must have written.
//
// Input: the character's index in the list, a byte of flags (1: a rollback
// record, 2: of an append, 4: answer "Sí"), the font; with a rollback record,
// its last 50 bytes are the slot's number and its old and new bytes.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "Avisos.h"
#include "Comandos.h"
#include "ListaCaracteres.h"
#include "mdlArchivos.h"

namespace {

using namespace fontfile;

void exigir(bool condicion) {
  if (!condicion) std::abort();
}

void escribir(const QString& ruta, const QByteArray& datos) {
  QFile f(ruta);
  exigir(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(datos) == datos.size());
}

// The first record holding caracter before any unreadable one, as the search
// must find it; -1 when an unreadable slot comes first, 0 when there is none.
int esperado(const QByteArray& datos, const QByteArray& caracter) {
  for (qsizetype i = 0; i < std::min<qsizetype>(datos.size() / LongitudRegistro, MaximoRegistros); ++i) {
    const char* r = datos.constData() + i * LongitudRegistro;
    if (qFromLittleEndian<quint16>(r) > 2) return -1;
    if (QByteArray(r + 2, qFromLittleEndian<quint16>(r)) == caracter) return static_cast<int>(i + 1);
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t n) {
  // In memory where the machine offers it: every store is flushed.
  static const QTemporaryDir carpeta(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/fuzz-XXXXXX")
                                                                               : QString());
  static const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  if (n < 2) return 0;
  const QString caracter = ListaCaracteres().at(bytes[0] % ListaCaracteres().size());
  const QByteArray c1252 = aWindows1252(caracter);
  const int banderas = bytes[1];
  avisos::instalar([=](const avisos::Aviso&) { return banderas & 4 ? avisos::Respuesta::Si : avisos::Respuesta::No; });
  QByteArray fuente(reinterpret_cast<const char*>(bytes) + 2, static_cast<qsizetype>(n - 2));
  QDir(carpeta.path()).removeRecursively();
  QDir().mkpath(carpeta.path());
  for (int i = 0; i + LongitudRegistro <= fuente.size(); i += LongitudRegistro) {
    const auto r = leerRanura(fuente.constData() + i);
    exigir(r.has_value() == ranuraLegible(fuente.constData() + i));
    exigir(!r ||
           QByteArray(escribirRanura(*r).data(), 22 + r->caracter.size()) == fuente.mid(i, 22 + r->caracter.size()));
  }
  std::optional<Deshacer> d;
  if ((banderas & 1) && fuente.size() >= 50) {
    d.emplace();
    const QByteArray cola = fuente.right(50);
    fuente.chop(50);
    d->desde = qint64{qFromLittleEndian<quint16>(cola.constData())} * LongitudRegistro;
    d->longitudAntes = banderas & 2 ? d->desde : fuente.size();
    std::copy_n(cola.constData() + 2, 24, d->antes.begin());
    std::copy_n(cola.constData() + 26, 24, d->nueva.begin());
  }
  escribir(ruta, fuente);
  struct stat e {};
  exigir(::stat(QFile::encodeName(ruta).constData(), &e) == 0);
  if (d) escribir(QFile::decodeName(rutaDeshacer(QFile::encodeName(carpeta.path()), e.st_ino)), d->aBytes());

  // What every reader must see: the font, or its store cut short undone.
  QByteArray vista;
  {
    ArchivoFuente lectura(ruta, ArchivoFuente::Modo::Lectura);
    lectura.bloquear(ArchivoFuente::Bloqueo::Compartido);
    vista = lectura.leer(0, lectura.longitud());
    exigir(vista.size() == lectura.longitud() &&
           (vista == fuente || (d && hayQueDeshacer(*d, fuente.size(), fuente.mid(d->desde, 24)))));
  }
  const int k = esperado(vista, c1252);
  const qint64 registros = vista.size() / LongitudRegistro;
  try {
    exigir(BuscarCaracter(ruta, caracter) == k && k >= 0 && !(k == 0 && registros > MaximoRegistros));
  } catch (const ErrorArchivo& error) {
    exigir(error.falla() == (k < 0 ? Falla::FormatoIncorrecto : Falla::Desbordamiento));
  }
  try {
    exigir(ProximoRegistro(ruta) == registros + 1 && registros < MaximoRegistros);
  } catch (const ErrorArchivo& error) {
    exigir(error.falla() == Falla::Desbordamiento && registros >= MaximoRegistros);
  }
  const Resultado leido = leerCaracter(carpeta.path(), QStringLiteral("f.mtz"), caracter);
  exigir(leido.dibujo.has_value() == (k > 0));
  if (leido.dibujo)
    exigir(*leido.dibujo == glyph::dibujoDeCodigos(leerRanura(vista.constData() + (k - 1) * 24)->columnas));
  exigir(formatoAdecuado(ruta) == (vista.size() < 2 || ranuraLegible(vista.constData())));

  // The store: the view with the record written in place or appended, or
  // the view untouched when it may not store; never a rollback record left.
  glyph::Codigos codigos{};
  for (int c = 0; c < glyph::Columnas; ++c) codigos[c] = static_cast<glyph::ColumnCode>(bytes[(c + 2) % n] & 0x7F);
  const Resultado grabado =
      grabarCaracter(carpeta.path(), QStringLiteral("f.mtz"), caracter, glyph::dibujoDeCodigos(codigos));
  const Ranura nueva = escribirRanura({c1252, codigos});
  const bool sobre = k > 0 && (banderas & 4), agrega = k == 0 && registros < MaximoRegistros && vista.size() % 24 == 0;
  QByteArray debe = vista;
  if (sobre) debe.replace((k - 1) * 24, 24, nueva.data(), 24);
  if (agrega) debe.append(nueva.data(), 24);
  exigir(grabado.hecho == (sobre || agrega));
  QFile f(ruta);
  exigir(f.open(QIODevice::ReadOnly) && f.readAll() == debe);
  exigir(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden).size() == 1);
  return 0;
}
