#pragma once
// The charset a BDF font names in CHARSET_REGISTRY and CHARSET_ENCODING, and
// what each of its glyph codes is in Unicode.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace mtz {

class JuegoDeCaracteres {
 public:
  // The charset of a standard and its part as a BDF names them in
  // CHARSET_REGISTRY and CHARSET_ENCODING ("ISO8859" and "2"); nothing when it
  // cannot be converted. No name at all is Unicode.
  static std::optional<JuegoDeCaracteres> deNombre(const QByteArray& norma, const QByteArray& parte);

  // The code point at a position of the charset; nothing when it has none there.
  std::optional<char32_t> unicode(long long posicion) const;

 private:
  bool esUnicode_ = true;
  std::array<char32_t, 256> tabla_{};  // a one-byte charset; 0xFFFFFFFF where a byte means nothing
};

}  // namespace mtz
