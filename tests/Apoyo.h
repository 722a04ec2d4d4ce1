#pragma once
// Test helpers: the message seam recorded and answered, a working directory
// of its own for each test, and small file helpers.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <ostream>

#include "Avisos.h"
#include "Ayuda.h"
#include "Deshacer.h"
#include "GlyphGrid.h"

// Failures print Qt's texts as text, byte arrays in hex.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{' << l.join(QStringLiteral(" | ")).toStdString() << '}';
}
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << b.toHex().toStdString(); }

// Records every message shown while it lives and answers questions from a
// queue (No when the queue is empty).
class AvisosGrabados {
 public:
  AvisosGrabados();
  ~AvisosGrabados();
  void responder(avisos::Respuesta r) { respuestas_.push_back(r); }
  QStringList textos() const { return textos_; }
  void olvidar() { textos_.clear(); }

 private:
  QStringList textos_;
  std::deque<avisos::Respuesta> respuestas_;
  avisos::Presentador anterior_;
};

// A temporary directory made the current one, with tipografias/ inside.
class CarpetaDeTrabajo {
 public:
  explicit CarpetaDeTrabajo(bool conTipografias = true);
  ~CarpetaDeTrabajo();
  QString raiz() const { return dir_.path(); }
  QString tipografias() const { return dir_.path() + QStringLiteral("/tipografias"); }
  QString fuente(const QString& nombre) const { return tipografias() + QLatin1Char('/') + nombre; }

 private:
  QTemporaryDir dir_;
  QString anterior_;
};

// A drawing with the dots given set to v.
inline glyph::GlyphGrid dibujoCon(std::initializer_list<std::pair<int, int>> puntos, glyph::Valor v = 1) {
  glyph::GlyphGrid g;
  for (const auto& [r, c] : puntos) g(r, c) = v;
  return g;
}

QByteArray leerArchivo(const QString& ruta);
void escribirArchivo(const QString& ruta, const QByteArray& datos);
// A 24-byte record as the editor writes it, put together byte by byte: the
// length, the character's bytes, ten codes.
QByteArray registro(QByteArrayView caracter, std::initializer_list<int> codigos = {});
inline QByteArray registro(char c, std::initializer_list<int> codigos = {}) { return registro({&c, 1}, codigos); }

// The rollback record of a store of the slot nueva at desde into the font as it is now, of length
// longitudAntes, over the slot antes (nothing for an append).
QByteArray deshacerPara(const QString& fuente, qint64 desde, qint64 longitudAntes, const QByteArray& antes,
                        const QByteArray& nueva);
// What a reader sees of the font: a store cut short undone, the file itself untouched.
QByteArray vistaDeUnLector(const QString& fuente);
// A rollback record beside the font, as a store cut short leaves it; its path.
QString dejarDeshacer(const QString& fuente, const QByteArray& bytes);
