// Record access on a file at its largest: 32767 records, 786 KB.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <vector>

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

}  // namespace
