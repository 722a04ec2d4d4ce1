#include "ImportarBdf.h"

#include <QByteArrayView>
#include <QHash>
#include <array>
#include <charconv>
#include <climits>
#include <optional>

#include "Fallo.h"
#include "JuegoDeCaracteres.h"
#include "ListaCaracteres.h"

namespace mtz {
namespace {

// Larger boxes are no font for a 7 x 10 display and would only cost memory.
constexpr int MaximoCaja = 512;
// Offsets and metrics beyond this are no font either.
constexpr int MaximoDesplazamiento = 4096;
// A BDF line holds at most 512 characters; this leaves room for careless
// writers and still bounds what one line costs.
constexpr int MaximaLinea = 4096;
// How many skipped glyphs the report names; the rest are only counted.
constexpr int Nombrados = 12;

struct Caja {
  int ancho = 0, alto = 0, x = 0, y = 0;
};

// A report line of skipped glyphs: the count and the first few.
struct Omitidos {
  qint64 cuantos = 0;
  QStringList nombrados;

  void anotar(const QString& nombre) {
    if (++cuantos <= Nombrados) nombrados << nombre;
  }
  QString enTexto(const QString& que) const {
    return QStringLiteral("omitidos %1 %2: %3%4")
        .arg(cuantos)
        .arg(que, nombrados.join(QLatin1Char(' ')), cuantos > Nombrados ? QStringLiteral(" ...") : QString());
  }
};

bool esEspacio(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int valorHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
  return -1;
}

QString comoTexto(QByteArrayView v) { return QString::fromLatin1(v.data(), v.size()); }

// The reading, one line at a time: the font's properties, then each glyph
// from STARTCHAR to ENDCHAR. Only the glyphs of the list keep their dots.
class LectorBdf {
 public:
  LectorBdf(QIODevice& entrada, const QString& nombre) : entrada_(entrada), nombre_(nombre) {}
  Importado leer();

 private:
  enum class Seccion { Antes, Propiedades, Glifo, Mapa, Fin };

  bool siguienteLinea();
  [[noreturn]] void fallo(const QString& que) const;
  long long entero(int indice, long long minimo, long long maximo) const;
  Caja caja() const;
  QByteArray valor() const;
  void propiedad(QByteArrayView clave);
  void empezarGlifo();
  void lineaDeGlifo(QByteArrayView clave);
  void empezarMapa();
  void filaDeMapa();
  void terminarGlifo();
  const JuegoDeCaracteres& juego();

  QIODevice& entrada_;
  const QString& nombre_;
  std::array<char, MaximaLinea + 2> linea_{};
  std::vector<QByteArrayView> palabras_;  // of the current line, inside linea_
  int numero_ = 0;                        // of the current line
  Seccion seccion_ = Seccion::Antes;

  Caja cajaGeneral_;
  std::optional<int> ascenso_, descenso_;
  QByteArray normaJuego_, parteJuego_;  // CHARSET_REGISTRY ("ISO8859"), CHARSET_ENCODING ("2")
  std::optional<JuegoDeCaracteres> juego_;

  int lineaGlifo_ = 0;
  std::optional<long long> posicion_;  // in the charset (ENCODING); nothing when it gives none
  Caja cajaGlifo_;
  QString caracter_;  // the list's character the glyph is kept for, or nothing
  int filas_ = 0;     // bitmap rows read
  std::vector<bool> puntos_;

  std::vector<GlifoLeido> glifos_;
  QHash<QString, int> lineaDe_;  // the line of each character kept
  Omitidos fuera_, repetidos_;
  QStringList informe_;
};

bool LectorBdf::siguienteLinea() {
  const qint64 leidos = entrada_.readLine(linea_.data(), static_cast<qint64>(linea_.size()));
  if (leidos <= 0) {
    if (!entrada_.atEnd()) throw Fallo(QStringLiteral("%1: no se puede leer el archivo").arg(nombre_));
    return false;
  }
  ++numero_;
  auto largo = static_cast<size_t>(leidos);
  while (largo > 0 && (linea_[largo - 1] == '\n' || linea_[largo - 1] == '\r')) --largo;
  if (largo > MaximaLinea) fallo(QStringLiteral("línea de más de %1 caracteres").arg(MaximaLinea));
  palabras_.clear();
  for (size_t i = 0; i < largo;) {
    while (i < largo && esEspacio(linea_[i])) ++i;
    const size_t inicio = i;
    while (i < largo && !esEspacio(linea_[i])) ++i;
    if (i > inicio) palabras_.emplace_back(linea_.data() + inicio, static_cast<qsizetype>(i - inicio));
  }
  return true;
}

void LectorBdf::fallo(const QString& que) const {
  throw Fallo(QStringLiteral("%1:%2: %3").arg(nombre_).arg(numero_).arg(que));
}

// Every number is checked against the range it may take before it is used.
long long LectorBdf::entero(int indice, long long minimo, long long maximo) const {
  if (static_cast<size_t>(indice) >= palabras_.size())
    fallo(QStringLiteral("faltan valores en %1").arg(comoTexto(palabras_[0])));
  const QByteArrayView texto = palabras_[indice];
  long long v = 0;
  const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), v);
  if (error == std::errc::invalid_argument || fin != texto.data() + texto.size())
    fallo(QStringLiteral("se esperaba un número: %1").arg(comoTexto(texto)));
  if (error == std::errc::result_out_of_range || v < minimo || v > maximo)
    fallo(QStringLiteral("%1: %2 está fuera de %3..%4")
              .arg(comoTexto(palabras_[0]), comoTexto(texto))
              .arg(minimo)
              .arg(maximo));
  return v;
}

Caja LectorBdf::caja() const {
  return {static_cast<int>(entero(1, 0, MaximoCaja)), static_cast<int>(entero(2, 0, MaximoCaja)),
          static_cast<int>(entero(3, -MaximoDesplazamiento, MaximoDesplazamiento)),
          static_cast<int>(entero(4, -MaximoDesplazamiento, MaximoDesplazamiento))};
}

// A property's value without its quotes.
QByteArray LectorBdf::valor() const {
  return palabras_.size() > 1 ? palabras_[1].toByteArray().replace('"', "") : QByteArray();
}

void LectorBdf::propiedad(QByteArrayView clave) {
  const auto metrica = [this] { return static_cast<int>(entero(1, -MaximoDesplazamiento, MaximoDesplazamiento)); };
  if (clave == "FONTBOUNDINGBOX") {
    cajaGeneral_ = caja();
  } else if (clave == "FONT_ASCENT") {
    ascenso_ = metrica();
  } else if (clave == "FONT_DESCENT") {
    descenso_ = metrica();
  } else if (clave == "CHARSET_REGISTRY") {
    normaJuego_ = valor().toUpper();
  } else if (clave == "CHARSET_ENCODING") {
    parteJuego_ = valor().toUpper();
  } else if (clave == "STARTCHAR") {
    empezarGlifo();
  } else if (clave == "ENDCHAR") {
    fallo(QStringLiteral("ENDCHAR sin BITMAP"));
  } else if (clave == "ENDFONT") {
    seccion_ = Seccion::Fin;
  }
}

void LectorBdf::empezarGlifo() {
  seccion_ = Seccion::Glifo;
  lineaGlifo_ = numero_;
  posicion_.reset();
  cajaGlifo_ = cajaGeneral_;
}

void LectorBdf::lineaDeGlifo(QByteArrayView clave) {
  if (clave == "ENCODING") {
    // "-1 n" names a glyph outside the standard encoding by its second number.
    const long long primero = entero(1, INT_MIN, INT_MAX);
    posicion_.reset();
    if (primero >= 0) {
      posicion_ = primero;
    } else if (palabras_.size() > 2) {
      posicion_ = entero(2, INT_MIN, INT_MAX);
    }
  } else if (clave == "BBX") {
    cajaGlifo_ = caja();
  } else if (clave == "BITMAP") {
    empezarMapa();
  } else if (clave == "STARTCHAR") {
    fallo(QStringLiteral("STARTCHAR sin ENDCHAR antes"));
  } else if (clave == "ENDCHAR") {
    fallo(QStringLiteral("ENDCHAR sin BITMAP"));
  }
}

const JuegoDeCaracteres& LectorBdf::juego() {
  if (juego_) return *juego_;
  const QByteArray nombre = parteJuego_.isEmpty() ? normaJuego_ : normaJuego_ + '-' + parteJuego_;
  juego_ = JuegoDeCaracteres::deNombre(normaJuego_, parteJuego_);
  if (!juego_) {
    throw Fallo(QStringLiteral("%1: juego de caracteres %2 desconocido; no se importa nada")
                    .arg(nombre_, QString::fromLatin1(nombre)));
  }
  if (nombre.isEmpty())
    informe_ << QStringLiteral("la fuente no dice su juego de caracteres: los códigos se toman como Unicode");
  return *juego_;
}

// Whether the glyph is kept is known here: its code comes before its bitmap.
void LectorBdf::empezarMapa() {
  seccion_ = Seccion::Mapa;
  filas_ = 0;
  caracter_.clear();
  puntos_.clear();
  const std::optional<char32_t> u = posicion_ ? juego().unicode(*posicion_) : std::nullopt;
  const QString c = u ? QString::fromUcs4(&*u, 1) : QString();
  if (!u || !fontfile::ListaCaracteres().contains(c)) {
    fuera_.anotar(u           ? QStringLiteral("U+%1").arg(static_cast<uint>(*u), 4, 16, QLatin1Char('0')).toUpper()
                  : posicion_ ? QStringLiteral("(código %1)").arg(*posicion_)
                              : QStringLiteral("(sin código)"));
  } else if (const auto anterior = lineaDe_.constFind(c); anterior != lineaDe_.constEnd()) {
    repetidos_.anotar(QStringLiteral("%1 (línea %2, se conserva la %3)").arg(c).arg(lineaGlifo_).arg(*anterior));
  } else {
    caracter_ = c;
    puntos_.assign(static_cast<size_t>(cajaGlifo_.ancho) * static_cast<size_t>(cajaGlifo_.alto), false);
  }
}

void LectorBdf::filaDeMapa() {
  if (palabras_.size() != 1) fallo(QStringLiteral("fila de BITMAP no hexadecimal"));
  const QByteArrayView fila = palabras_[0];
  for (const char c : fila) {
    if (valorHex(c) < 0) fallo(QStringLiteral("fila de BITMAP no hexadecimal"));
  }
  if (filas_ >= cajaGlifo_.alto) fallo(QStringLiteral("BITMAP con más filas que su BBX"));
  if (!caracter_.isEmpty()) {
    const auto base = static_cast<size_t>(filas_) * static_cast<size_t>(cajaGlifo_.ancho);
    for (int i = 0; i < cajaGlifo_.ancho && i / 4 < fila.size(); ++i) {
      if ((valorHex(fila[i / 4]) & (8 >> (i % 4))) != 0) puntos_[base + static_cast<size_t>(i)] = true;
    }
  }
  ++filas_;
}

void LectorBdf::terminarGlifo() {
  // A short bitmap is as broken as a long one: its rows cannot be placed.
  if (filas_ < cajaGlifo_.alto) fallo(QStringLiteral("BITMAP con menos filas que su BBX"));
  seccion_ = Seccion::Propiedades;
  if (caracter_.isEmpty()) return;
  lineaDe_.insert(caracter_, lineaGlifo_);
  glifos_.push_back({caracter_, QStringLiteral("línea %1").arg(lineaGlifo_), cajaGlifo_.x, cajaGlifo_.y,
                     cajaGlifo_.ancho, std::move(puntos_)});
  puntos_ = {};
}

Importado LectorBdf::leer() {
  while (seccion_ != Seccion::Fin && siguienteLinea()) {
    if (palabras_.empty()) continue;
    const QByteArrayView clave = palabras_[0];
    switch (seccion_) {
      case Seccion::Antes:
        if (clave != "STARTFONT") fallo(QStringLiteral("no es una fuente BDF (falta STARTFONT)"));
        seccion_ = Seccion::Propiedades;
        break;
      case Seccion::Propiedades:
        propiedad(clave);
        break;
      case Seccion::Glifo:
        lineaDeGlifo(clave);
        break;
      case Seccion::Mapa:
        if (clave == "ENDCHAR") {
          terminarGlifo();
        } else {
          filaDeMapa();
        }
        break;
      case Seccion::Fin:
        break;
    }
  }
  if (seccion_ == Seccion::Antes) throw Fallo(QStringLiteral("%1: no es una fuente BDF (está vacía)").arg(nombre_));
  if (seccion_ != Seccion::Fin)
    throw Fallo(QStringLiteral("%1: la fuente BDF está incompleta (falta ENDFONT)").arg(nombre_));
  juego();
  if (fuera_.cuantos > 0) informe_ << fuera_.enTexto(QStringLiteral("glifos que no están en la lista de 121"));
  if (repetidos_.cuantos > 0) informe_ << repetidos_.enTexto(QStringLiteral("glifos repetidos"));
  // Without the properties the font's box says where its baseline is.
  const Metricas metricas{ascenso_.value_or(cajaGeneral_.alto + cajaGeneral_.y), descenso_.value_or(-cajaGeneral_.y)};
  return encajar(glifos_, metricas, informe_);
}

}  // namespace

Importado importarBdf(QIODevice& entrada, const QString& nombre) { return LectorBdf(entrada, nombre).leer(); }

}  // namespace mtz
