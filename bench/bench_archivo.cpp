// Record access on a file at its largest: 32767 records, 786 KB.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "Comandos.h"
#include "Preparacion.h"
#include "mdlArchivos.h"

namespace {

constexpr int Lleno = 32767;

// The floor for a search: copying the whole file from the page cache.
void CopiarArchivoLleno(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  const QString ruta = carpeta.fuente(QStringLiteral("lleno.mtz"));
  escribir(ruta, registrosDePrueba(Lleno));
  std::vector<char> destino(std::size_t(Lleno) * 24);
  const QByteArray nombre = QFile::encodeName(ruta);
  for (auto _ : estado) {
    const int fd = ::open(nombre.constData(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::pread(fd, destino.data(), destino.size(), 0));
    ::close(fd);
    benchmark::ClobberMemory();
  }
  estado.SetBytesProcessed(estado.iterations() * qint64(destino.size()));
}
BENCHMARK(CopiarArchivoLleno)->Unit(benchmark::kMicrosecond);

void BuscarCaracterAusente(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  const QString ruta = carpeta.fuente(QStringLiteral("lleno.mtz"));
  escribir(ruta, registrosDePrueba(Lleno));
  const QString ausente = QStringLiteral("\u00D1");
  for (auto _ : estado) {
    const std::int16_t k = fontfile::BuscarCaracter(ruta, ausente);
    if (k != 0) estado.SkipWithError("the character was found");
    benchmark::DoNotOptimize(k);
  }
  estado.SetBytesProcessed(estado.iterations() * qint64(Lleno) * 24);
}
BENCHMARK(BuscarCaracterAusente)->Unit(benchmark::kMicrosecond);

// On the largest file that still takes a new character.
void ProximoRegistro(benchmark::State& estado) {
  CarpetaDeBanco carpeta;
  const QString ruta = carpeta.fuente(QStringLiteral("casi.mtz"));
  escribir(ruta, registrosDePrueba(Lleno - 1));
  for (auto _ : estado) {
    const std::int16_t k = fontfile::ProximoRegistro(ruta);
    if (k != Lleno) estado.SkipWithError("wrong record number");
    benchmark::DoNotOptimize(k);
  }
}
BENCHMARK(ProximoRegistro)->Unit(benchmark::kMicrosecond);

// Where a store's flushes go: the disk the temporary folder is on, or
// memory (/dev/shm), where a flush costs nothing.
QString carpetaEn(bool enDisco) {
  return enDisco ? QDir::tempPath() + QStringLiteral("/grafolux-bench-XXXXXX")
                 : QStringLiteral("/dev/shm/grafolux-bench-XXXXXX");
}

// A store through the command, with everything it does to be durable and
// never torn: the rollback record written and flushed with its folder, the
// slot written and flushed, the record removed. Over the last record of a
// full file, the question answered at once, or a new character appended to a
// file of 32766 records (cut back outside the timing). Wall-clock time: a
// flush waits for the disk without using the processor. With vecinos more
// files in the folder, which a store lists to find every rollback record.
void Grabar(benchmark::State& estado, bool enDisco, bool agregar, int vecinos = 0) {
  QTemporaryDir carpeta(carpetaEn(enDisco));
  for (int i = 0; i < vecinos; ++i) escribir(carpeta.filePath(QStringLiteral("otra%1.mtz").arg(i)), {});
  const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  const int registros = agregar ? Lleno - 1 : Lleno;
  escribir(ruta, registrosDePrueba(registros, registroDe('\xD1', 1)));
  AvisosContados avisos;
  glyph::GlyphGrid dibujo;
  for (auto _ : estado) {
    dibujo.valores[0] = static_cast<glyph::Valor>(!dibujo.valores[0]);
    const QString caracter = agregar ? QStringLiteral("\u00F1") : QStringLiteral("\u00D1");
    if (!fontfile::grabarCaracter(carpeta.path(), QStringLiteral("f.mtz"), caracter, dibujo).hecho) {
      estado.SkipWithError("the store failed");
    }
    if (agregar) {
      estado.PauseTiming();
      QFile::resize(ruta, qint64(registros) * 24);
      estado.ResumeTiming();
    }
  }
}
BENCHMARK_CAPTURE(Grabar, sobreescribir_en_disco, true, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Grabar, agregar_en_disco, true, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Grabar, sobreescribir_en_memoria, false, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Grabar, agregar_en_memoria, false, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Grabar, agregar_en_memoria_entre_10000, false, true, 10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The floor for a durable store: one slot written in place and flushed,
// nothing else, on the same disk.
void EscribirYVolcar(benchmark::State& estado) {
  QTemporaryDir carpeta(carpetaEn(true));
  const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  escribir(ruta, registrosDePrueba(Lleno));
  const int fd = ::open(QFile::encodeName(ruta).constData(), O_RDWR | O_CLOEXEC);
  QByteArray ranura = registroDe('\xD1', 1);
  for (auto _ : estado) {
    ranura[3] = static_cast<char>(ranura[3] ^ 1);
    if (::pwrite(fd, ranura.constData(), 24, qint64(Lleno - 1) * 24) != 24 || ::fdatasync(fd) != 0) {
      estado.SkipWithError("the write failed");
    }
  }
  ::close(fd);
}
BENCHMARK(EscribirYVolcar)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
