#pragma once
// A command that cannot go on: the one line said on stderr and the exit
// status. Problems found in a font end with 1, a wrong command line with 2.

#include <QString>
#include <stdexcept>

namespace mtz {

inline constexpr int EstadoProblemas = 1;
inline constexpr int EstadoUso = 2;

class Fallo : public std::runtime_error {
 public:
  explicit Fallo(const QString& mensaje, int estado = EstadoProblemas)
      : std::runtime_error(mensaje.toStdString()), mensaje_(mensaje), estado_(estado) {}
  const QString& mensaje() const { return mensaje_; }
  int estado() const { return estado_; }

 private:
  QString mensaje_;
  int estado_;
};

// A wrong command line: the message points to the help.
inline Fallo uso(const QString& mensaje) { return Fallo(mensaje + QStringLiteral(" (vea mtz --help)"), EstadoUso); }

}  // namespace mtz
