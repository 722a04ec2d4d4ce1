#include "Mensajes.h"

#include <QtGlobal>
#include <cstdio>

#include "Fallo.h"

namespace mtz {
namespace {

// A file can give a warning for each of its 32767 records: the first ones
// tell enough, the rest are counted in one line before the command's last.
constexpr int MaximoAvisos = 200;
struct {
  int dichos = 0;
  qint64 callados = 0;
} cuentaDeAvisos;

}  // namespace

void imprimir(const QString& texto) {
  const QByteArray b = texto.toUtf8();
  if (std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stdout) != static_cast<size_t>(b.size()) ||
      std::fflush(stdout) != 0) {
    throw Fallo(QStringLiteral("no se puede escribir en la salida estándar"));
  }
}

void decir(const QString& texto) {
  const QByteArray b = (QStringLiteral("mtz: ") + texto + QLatin1Char('\n')).toUtf8();
  // Standard error is where a failure would be told: there is nowhere left to
  // say that writing there failed.
  (void)std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stderr);
}

void avisar(const QString& texto) {
  if (cuentaDeAvisos.dichos >= MaximoAvisos) {
    ++cuentaDeAvisos.callados;
    return;
  }
  ++cuentaDeAvisos.dichos;
  decir(texto);
}

void cerrarAvisos() {
  if (cuentaDeAvisos.callados > 0) decir(QStringLiteral("... y %1 avisos más").arg(cuentaDeAvisos.callados));
  cuentaDeAvisos = {};
}

}  // namespace mtz
