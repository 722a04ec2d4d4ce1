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
  // The charset of a registry and an encoding as a BDF writes them ("ISO8859"
  // and "2"); nothing when it cannot be converted. An empty name is Unicode.
  static std::optional<JuegoDeCaracteres> deNombre(const QByteArray& registro, const QByteArray& codificacion);

  // The code point of a glyph code; nothing when the charset has none there.
  std::optional<char32_t> unicode(long long codigo) const;

 private:
  bool esUnicode_ = true;
  std::array<char32_t, 256> tabla_{};  // a one-byte charset; 0xFFFFFFFF where a byte means nothing
};

}  // namespace mtz
