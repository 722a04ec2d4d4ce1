// Arbitrary bytes as a font, with the rollback record a store cut short may have left, seen through
// a reader and stored into; the file after the store is held against what the bytes say. Input: the
// character's index in the list, flags (1: a rollback record, 2: of an append, 4: answer "Sí", 8: the
// record left for an earlier file of the inode), the font, and with a rollback record 50 bytes more:
// the slot's number, its old and new bytes.

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t n) {
  static const QTemporaryDir carpeta(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/fuzz-XXXXXX")
                                                                               : QString());
  static const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  if (n < 2) return 0;
  const QString caracter = ListaCaracteres().at(bytes[0] % ListaCaracteres().size());
  const int banderas = bytes[1];
  avisos::instalar([=](const avisos::Aviso&) { return banderas & 4 ? avisos::Respuesta::Si : avisos::Respuesta::No; });
  QByteArray fuente(reinterpret_cast<const char*>(bytes) + 2, static_cast<qsizetype>(n - 2));
  std::optional<Deshacer> d;
  if ((banderas & 1) && fuente.size() >= 50) {
    const QByteArray cola = fuente.right(50);
    fuente.chop(50);
    d = Deshacer{{}, qint64{qFromLittleEndian<quint16>(cola.constData())} * LongitudRegistro, 0, {}, {}};
    d->longitudAntes = banderas & 2 ? d->desde : fuente.size();
    std::copy_n(cola.constData() + 2, 24, d->antes.begin());
    std::copy_n(cola.constData() + 26, 24, d->nueva.begin());
  }
  escribir(ruta, fuente);
  QFile leida(ruta);
  struct stat e {};
  exigir(leida.open(QIODevice::ReadOnly) && ::fstat(leida.handle(), &e) == 0);
  const bool deOtro = banderas & 8;
  if (d) d->de = identidadDe(leida.handle(), e), d->de->nacidoNanos += deOtro;
  if (d) escribir(carpeta.filePath(QStringLiteral(".grafolux-deshacer-%1").arg(e.st_ino)), d->aBytes());

  QByteArray vista;
  {
    ArchivoFuente lectura(ruta, ArchivoFuente::Modo::Lectura);
    lectura.bloquear(ArchivoFuente::Bloqueo::Compartido);
    vista = lectura.leer(0, lectura.longitud());
    exigir(vista.size() == lectura.longitud() &&
           (vista == fuente ||
            (d && !deOtro && hayQueDeshacer(*d, fuente.size(), fuente.mid(d->desde, LongitudRegistro)))));
  }
  // The record the search must find; -1 when an unreadable slot comes first.
  const QByteArray c1252 = aWindows1252(caracter);
  const qint64 registros = vista.size() / LongitudRegistro;
  int k = 0;
  for (qint64 i = 0; i < std::min<qint64>(registros, MaximoRegistros) && k == 0; ++i) {
    const quint16 longitud = qFromLittleEndian<quint16>(vista.constData() + i * LongitudRegistro);
    if (longitud > 2) k = -1;
    if (longitud <= 2 && vista.mid(i * LongitudRegistro + 2, longitud) == c1252) k = static_cast<int>(i + 1);
  }
  // The record in place, appended, or nothing when it may not store; no rollback record left.
  glyph::Codigos codigos{};
  for (int c = 0; c < glyph::Columnas; ++c) codigos[c] = static_cast<glyph::ColumnCode>(bytes[(c + 2) % n] & 0x7F);
  const bool sobre = k > 0 && (banderas & 4), agrega = k == 0 && registros < MaximoRegistros && vista.size() % 24 == 0;
  const Ranura nueva = codificarRanura({c1252, codigos});
  QByteArray debe = vista;
  if (sobre) debe.replace((k - 1) * LongitudRegistro, LongitudRegistro, nueva.data(), LongitudRegistro);
  if (agrega) debe.append(nueva.data(), LongitudRegistro);
  exigir(grabarCaracter(carpeta.path(), QStringLiteral("f.mtz"), caracter, glyph::dibujoDeCodigos(codigos)).hecho ==
         (sobre || agrega));
  QFile despues(ruta);
  exigir(despues.open(QIODevice::ReadOnly) && despues.readAll() == debe);
  exigir(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden).size() == 1);
  return 0;
}
