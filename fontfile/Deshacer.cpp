#include "Deshacer.h"

#include <fcntl.h>

#include <QtEndian>
#include <algorithm>

namespace fontfile {
namespace {

// The first form carried no identity; the current one has it after the mark.
constexpr char MarcaPrimera[8] = {'D', 'E', 'S', 'H', 'A', 'C', 'E', 'R'};
constexpr char Marca[8] = {'D', 'E', 'S', 'H', 'A', 'C', 'E', '2'};
constexpr int BytesIdentidad = 24;
constexpr int LargoPrimera = 8 + 8 + 8 + 2 * LongitudRegistro + 8;
constexpr int Largo = LargoPrimera + BytesIdentidad;

// FNV-1a: enough to tell a record written whole from one cut short, which
// is all a check here has to do.
quint64 suma(const char* datos, qsizetype n) {
  quint64 h = 14695981039346656037ULL;
  for (qsizetype i = 0; i < n; ++i) h = (h ^ uchar(datos[i])) * 1099511628211ULL;
  return h;
}

}  // namespace

Identidad identidadDe(int fd, const struct stat& estado) {
  Identidad id{estado.st_ino};
  struct statx e {};
  if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &e) == 0 && (e.stx_mask & STATX_BTIME) != 0) {
    id.nacidoSegundos = e.stx_btime.tv_sec;
    id.nacidoNanos = e.stx_btime.tv_nsec;
  }
  return id;
}

QByteArray Deshacer::aBytes() const {
  QByteArray b(Largo, '\0');
  char* p = b.data();
  const Identidad id = de.value_or(Identidad{});
  std::copy(std::begin(Marca), std::end(Marca), p);
  qToLittleEndian<quint64>(id.inodo, p + 8);
  qToLittleEndian<qint64>(id.nacidoSegundos, p + 16);
  qToLittleEndian<quint32>(id.nacidoNanos, p + 24);
  p += 8 + BytesIdentidad;
  qToLittleEndian<qint64>(desde, p);
  qToLittleEndian<qint64>(longitudAntes, p + 8);
  std::copy(antes.begin(), antes.end(), p + 16);
  std::copy(nueva.begin(), nueva.end(), p + 16 + LongitudRegistro);
  qToLittleEndian<quint64>(suma(b.constData(), Largo - 8), b.data() + Largo - 8);
  return b;
}

std::optional<Deshacer> Deshacer::deBytes(const QByteArray& b) {
  const bool primera =
      b.size() == LargoPrimera && std::equal(std::begin(MarcaPrimera), std::end(MarcaPrimera), b.constData());
  const bool actual = b.size() == Largo && std::equal(std::begin(Marca), std::end(Marca), b.constData());
  if ((!primera && !actual) ||
      qFromLittleEndian<quint64>(b.constData() + b.size() - 8) != suma(b.constData(), b.size() - 8)) {
    return std::nullopt;
  }
  Deshacer d;
  const char* p = b.constData() + 8;
  if (actual) {
    d.de =
        Identidad{qFromLittleEndian<quint64>(p), qFromLittleEndian<qint64>(p + 8), qFromLittleEndian<quint32>(p + 16)};
    p += BytesIdentidad;
  }
  d.desde = qFromLittleEndian<qint64>(p);
  d.longitudAntes = qFromLittleEndian<qint64>(p + 8);
  std::copy_n(p + 16, LongitudRegistro, d.antes.begin());
  std::copy_n(p + 16 + LongitudRegistro, LongitudRegistro, d.nueva.begin());
  // A store writes a whole slot inside the file or appends one at its end.
  const bool valido = d.desde >= 0 && d.longitudAntes >= 0 && d.desde % LongitudRegistro == 0 &&
                      (d.esAgregado() || d.desde <= d.longitudAntes - LongitudRegistro);
  if (!valido) return std::nullopt;
  return d;
}

bool hayQueDeshacer(const Deshacer& d, qint64 longitud, const QByteArray& actual) {
  const bool entera = actual.size() == LongitudRegistro && std::equal(actual.begin(), actual.end(), d.nueva.begin());
  if (entera) return false;
  // An append cut short has lengthened the file by part of a slot, or by a
  // whole one that is not all written.
  if (d.esAgregado()) return longitud > d.longitudAntes && longitud - d.longitudAntes <= LongitudRegistro;
  if (longitud != d.longitudAntes || actual.size() != LongitudRegistro) return false;
  for (qsizetype i = 0; i < actual.size(); ++i) {
    if (actual[i] != d.nueva[i] && actual[i] != d.antes[i]) return false;
  }
  return !std::equal(actual.begin(), actual.end(), d.antes.begin());
}

}  // namespace fontfile
