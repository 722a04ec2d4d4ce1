#include "JuegoDeCaracteres.h"

#include <iconv.h>

#include <QRegularExpression>
#include <QStringDecoder>
#include <cstdint>

namespace mtz {
namespace {

constexpr char32_t Ninguno = 0xFFFFFFFF;

// The name of the converter for a one-byte charset as a BDF names it
// (registry-encoding, upper case), or nothing.
QByteArray conversor(const QString& nombre) {
  static const QRegularExpression iso(QStringLiteral("^ISO8859-(\\d{1,2})$"));
  static const QRegularExpression koi(QStringLiteral("^KOI8-[RU]$"));
  static const QRegularExpression windows(QStringLiteral("^(?:MICROSOFT-)?CP(125[0-8])$"));
  if (const auto m = iso.match(nombre); m.hasMatch()) {
    const int numero = m.captured(1).toInt();
    // Part 12 was abandoned before it was published.
    if (numero >= 1 && numero <= 16 && numero != 12) return "ISO-8859-" + QByteArray::number(numero);
  } else if (koi.match(nombre).hasMatch()) {
    return nombre.toLatin1();
  } else if (const auto w = windows.match(nombre); w.hasMatch()) {
    return "windows-" + w.captured(1).toLatin1();
  }
  return {};
}

// Each byte through the toolkit's converter.
bool tablaDelToolkit(const QByteArray& nombre, std::array<char32_t, 256>& tabla) {
  QStringDecoder decodificador(nombre.constData());
  if (!decodificador.isValid()) return false;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    decodificador.resetState();
    const QString s = decodificador.decode(QByteArrayView(&byte, 1));
    const bool uno = !decodificador.hasError() && s.size() == 1 && s[0] != QChar::ReplacementCharacter;
    tabla[b] = uno ? s[0].unicode() : Ninguno;
  }
  return true;
}

// The toolkit's converters on Debian 12 lack ISO 8859-16, which the C
// library's converter has.
bool tablaDeLaBiblioteca(const QByteArray& nombre, std::array<char32_t, 256>& tabla) {
  const iconv_t conversion = ::iconv_open("UTF-32LE", nombre.constData());
  if (reinterpret_cast<std::intptr_t>(conversion) == -1) return false;  // iconv's (iconv_t)-1
  for (int b = 0; b < 256; ++b) {
    char byte = static_cast<char>(b);
    unsigned char salida[4] = {};
    char* entrada = &byte;
    char* hacia = reinterpret_cast<char*>(salida);
    size_t quedanEntrada = 1, quedanSalida = sizeof salida;
    ::iconv(conversion, nullptr, nullptr, nullptr, nullptr);
    const bool uno = ::iconv(conversion, &entrada, &quedanEntrada, &hacia, &quedanSalida) != static_cast<size_t>(-1) &&
                     quedanSalida == 0;
    tabla[b] = uno ? salida[0] | salida[1] << 8 | salida[2] << 16 | static_cast<char32_t>(salida[3]) << 24 : Ninguno;
  }
  ::iconv_close(conversion);
  return true;
}

}  // namespace

std::optional<JuegoDeCaracteres> JuegoDeCaracteres::deNombre(const QByteArray& norma, const QByteArray& parte) {
  const QString nombre = QString::fromLatin1(parte.isEmpty() ? norma : norma + '-' + parte).toUpper();
  JuegoDeCaracteres juego;
  static const QRegularExpression iso10646(QStringLiteral("^ISO10646(-.*)?$"));
  if (nombre.isEmpty() || iso10646.match(nombre).hasMatch()) return juego;
  juego.esUnicode_ = false;
  if (nombre == QLatin1String("ISO646.1991-IRV")) {
    for (int b = 0; b < 256; ++b) juego.tabla_[b] = b < 128 ? static_cast<char32_t>(b) : Ninguno;
    return juego;
  }
  const QByteArray nombreConversor = conversor(nombre);
  if (nombreConversor.isEmpty()) return std::nullopt;
  if (!tablaDelToolkit(nombreConversor, juego.tabla_) && !tablaDeLaBiblioteca(nombreConversor, juego.tabla_))
    return std::nullopt;
  return juego;
}

std::optional<char32_t> JuegoDeCaracteres::unicode(long long posicion) const {
  if (esUnicode_) {
    if (posicion < 0 || posicion > 0x10FFFF) return std::nullopt;
    return static_cast<char32_t>(posicion);
  }
  if (posicion < 0 || posicion > 255 || tabla_[posicion] == Ninguno) return std::nullopt;
  return tabla_[posicion];
}

}  // namespace mtz
