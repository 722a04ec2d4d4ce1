#include "Deshacer.h"

#include <QtEndian>
#include <algorithm>

namespace fontfile {
namespace {

constexpr char Marca[8] = {'D', 'E', 'S', 'H', 'A', 'C', 'E', 'R'};
constexpr int Largo = 8 + 8 + 8 + 2 * LongitudRegistro + 8;

// FNV-1a: enough to tell a record written whole from one cut short, which
// is all a check here has to do.
quint64 suma(const char* datos, qsizetype n) {
  quint64 h = 14695981039346656037ULL;
  for (qsizetype i = 0; i < n; ++i) h = (h ^ uchar(datos[i])) * 1099511628211ULL;
  return h;
}

}  // namespace

QByteArray Deshacer::aBytes() const {
  QByteArray b(Largo, '\0');
  char* p = b.data();
  std::copy(std::begin(Marca), std::end(Marca), p);
  qToLittleEndian<qint64>(desde, p + 8);
  qToLittleEndian<qint64>(longitudAntes, p + 16);
  std::copy(antes.begin(), antes.end(), p + 24);
  std::copy(nueva.begin(), nueva.end(), p + 24 + LongitudRegistro);
  qToLittleEndian<quint64>(suma(p, Largo - 8), p + Largo - 8);
  return b;
}

std::optional<Deshacer> Deshacer::deBytes(const QByteArray& b) {
  if (b.size() != Largo || !std::equal(std::begin(Marca), std::end(Marca), b.constData()) ||
      qFromLittleEndian<quint64>(b.constData() + Largo - 8) != suma(b.constData(), Largo - 8)) {
    return std::nullopt;
  }
  Deshacer d;
  d.desde = qFromLittleEndian<qint64>(b.constData() + 8);
  d.longitudAntes = qFromLittleEndian<qint64>(b.constData() + 16);
  std::copy_n(b.constData() + 24, LongitudRegistro, d.antes.begin());
  std::copy_n(b.constData() + 24 + LongitudRegistro, LongitudRegistro, d.nueva.begin());
  // A store writes a whole slot inside the file or appends one at its end.
  const bool valido = d.desde >= 0 && d.longitudAntes >= 0 && d.desde % LongitudRegistro == 0 &&
                      (d.esAgregado() || d.desde <= d.longitudAntes - LongitudRegistro);
  if (!valido) return std::nullopt;
  return d;
}

bool hayQueDeshacer(const Deshacer& d, qint64 longitud, const QByteArray& actual) {
  const auto deLaNueva = [&](qsizetype i, char otro) { return actual[i] == d.nueva[i] || actual[i] == otro; };
  const bool entera = actual.size() == LongitudRegistro && std::equal(actual.begin(), actual.end(), d.nueva.begin());
  if (entera) return false;
  if (d.esAgregado()) {
    // An append cut short has lengthened the file by part of a slot, whose
    // bytes are new ones or zeros not yet written.
    if (longitud <= d.longitudAntes || longitud - d.longitudAntes > LongitudRegistro) return false;
    if (actual.size() != longitud - d.longitudAntes) return false;
    for (qsizetype i = 0; i < actual.size(); ++i) {
      if (!deLaNueva(i, '\0')) return false;
    }
    return true;
  }
  if (longitud != d.longitudAntes || actual.size() != LongitudRegistro) return false;
  for (qsizetype i = 0; i < actual.size(); ++i) {
    if (!deLaNueva(i, d.antes[i])) return false;
  }
  return !std::equal(actual.begin(), actual.end(), d.antes.begin());
}

QByteArray rutaDeshacer(const QByteArray& carpetaReal, ino_t inodo) {
  return carpetaReal + "/.grafolux-deshacer-" + QByteArray::number(quint64(inodo));
}

}  // namespace fontfile
