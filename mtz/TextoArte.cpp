#include "TextoArte.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <array>

#include "ColumnCode.h"
#include "DibujoEnTexto.h"
#include "Fallo.h"
#include "Fuente.h"

namespace mtz {

QString dibujoEnTexto(const fontfile::FontRecord& registro, int numero) {
  const glyph::GlyphGrid dibujo = glyph::dibujoDeCodigos(registro.columnas);
  QString t = QStringLiteral("[%1] registro %2, ancho %3\n")
                  .arg(caracterLegible(registro.caracter))
                  .arg(numero)
                  .arg(anchoUsado(registro.columnas));
  return t + fontfile::filasDelDibujo(dibujo);
}

namespace {

// The character named in a header: one character, or \xNN bytes.
std::optional<QByteArray> caracterDeEncabezado(const QString& nombre) {
  static const QRegularExpression bytes(QStringLiteral("^(\\\\x[0-9a-fA-F]{2}){1,2}$"));
  if (nombre == QLatin1String("\"\"")) return QByteArray();
  if (bytes.match(nombre).hasMatch())
    return QByteArray::fromHex(nombre.mid(2).remove(QStringLiteral("\\x")).toLatin1());
  if (nombre.size() != 1) return std::nullopt;
  const QByteArray b = fontfile::aWindows1252(nombre);
  if (fontfile::deWindows1252(b) != nombre) return std::nullopt;
  return b;
}

}  // namespace

namespace {

// A drawing's line is short; a longer one is no drawing and would only cost
// memory.
constexpr int MaximaLinea = 4096;

class LectorDibujos {
 public:
  LectorDibujos(QIODevice& entrada, const QString& nombre) : entrada_(entrada), nombre_(nombre) {}
  std::vector<fontfile::FontRecord> leer();

 private:
  bool siguienteLinea();
  [[noreturn]] void fallo(const QString& que) const;
  void encabezado();
  void fila();
  void cerrarDibujo() const;

  QIODevice& entrada_;
  const QString& nombre_;
  QStringDecoder utf8_{QStringDecoder::Utf8};
  std::array<char, MaximaLinea + 2> bytes_{};
  QByteArrayView crudos_;  // the current line in bytes_, without its end
  QString linea_;
  int numero_ = 0;
  std::vector<fontfile::FontRecord> registros_;
  glyph::GlyphGrid dibujo_;
  int filas_ = glyph::Filas;  // rows of the drawing being read; 7 = none pending
  int lineaEncabezado_ = 0;
};

// The line is checked as UTF-8 here but decoded only when it is not a
// comment: a file of comments is read without a string for each line.
bool LectorDibujos::siguienteLinea() {
  const qint64 leidos = entrada_.readLine(bytes_.data(), static_cast<qint64>(bytes_.size()));
  if (leidos <= 0) {
    if (!entrada_.atEnd()) throw Fallo(QStringLiteral("%1: no se puede leer el archivo").arg(nombre_));
    return false;
  }
  ++numero_;
  crudos_ = QByteArrayView(bytes_.data(), leidos);
  if (crudos_.endsWith('\n')) crudos_.chop(1);
  if (crudos_.endsWith('\r')) crudos_.chop(1);
  if (crudos_.size() > MaximaLinea) fallo(QStringLiteral("línea de más de %1 bytes").arg(MaximaLinea));
  if (!crudos_.isValidUtf8()) fallo(QStringLiteral("el texto no está en UTF-8"));
  return true;
}

void LectorDibujos::fallo(const QString& que) const {
  throw Fallo(QStringLiteral("%1:%2: %3").arg(nombre_).arg(numero_).arg(que));
}

void LectorDibujos::cerrarDibujo() const {
  if (filas_ != glyph::Filas)
    fallo(QStringLiteral("el dibujo de la línea %1 tiene %2 filas, no 7").arg(lineaEncabezado_).arg(filas_));
}

void LectorDibujos::encabezado() {
  cerrarDibujo();
  // The name runs to the first ']' after at least one character, so "[]]" names ']'.
  const qsizetype cierre = linea_.indexOf(QLatin1Char(']'), 2);
  if (cierre < 0) fallo(QStringLiteral("falta ']' en el encabezado"));
  const auto caracter = caracterDeEncabezado(linea_.mid(1, cierre - 1));
  if (!caracter) fallo(QStringLiteral("el encabezado debe nombrar un carácter de Windows-1252"));
  if (registros_.size() >= static_cast<size_t>(fontfile::MaximoRegistros))
    fallo(QStringLiteral("más de %1 caracteres").arg(fontfile::MaximoRegistros));
  registros_.push_back({*caracter, {}});
  dibujo_ = {};
  filas_ = 0;
  lineaEncabezado_ = numero_;
}

void LectorDibujos::fila() {
  if (filas_ == glyph::Filas) fallo(QStringLiteral("fila de puntos fuera de un dibujo"));
  switch (fontfile::leerFila(linea_, dibujo_, ++filas_)) {
    case fontfile::FilaLeida::Larga:
      fallo(QStringLiteral("la fila tiene más de 10 columnas"));
    case fontfile::FilaLeida::MarcaAjena:
      fallo(QStringLiteral("solo se admiten '#' y '.' en una fila"));
    case fontfile::FilaLeida::Bien:
      break;
  }
  if (filas_ == glyph::Filas) registros_.back().columnas = glyph::codigosDelDibujo(dibujo_);
}

std::vector<fontfile::FontRecord> LectorDibujos::leer() {
  while (siguienteLinea()) {
    if (crudos_.startsWith(';')) continue;
    linea_ = utf8_.decode(crudos_);
    if (fontfile::lineaSinDibujo(linea_)) continue;
    if (fontfile::lineaDeEncabezado(linea_)) {
      encabezado();
    } else {
      fila();
    }
  }
  cerrarDibujo();
  return std::move(registros_);
}

}  // namespace

std::vector<fontfile::FontRecord> leerTextoArte(QIODevice& entrada, const QString& nombre) {
  return LectorDibujos(entrada, nombre).leer();
}

}  // namespace mtz
