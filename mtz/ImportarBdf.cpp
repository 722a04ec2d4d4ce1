#include "ImportarBdf.h"

#include <QHash>
#include <QList>
#include <algorithm>
#include <cctype>
#include <climits>

#include "ColumnCode.h"
#include "Fallo.h"
#include "ListaCaracteres.h"

namespace mtz {
namespace {

// Larger boxes are no font for a 7 x 10 display and would only cost memory.
constexpr int MaximoCaja = 512;

struct Glifo {
  long codigo = -1;
  int ancho = 0, alto = 0, x = 0, y = 0;
  std::vector<QByteArray> filas;  // hex rows as written, top first
  int linea = 0;
};

int valorHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

struct Punto {
  int x, y;  // y grows upwards, 0 is the row just above the baseline
};

}  // namespace

Importado importarBdf(const QByteArray& bdf, const QString& nombre) {
  const QList<QByteArray> lineas = bdf.split('\n');
  int numero = 0;
  const auto fallo = [&](const QString& que) {
    throw Fallo(QStringLiteral("%1:%2: %3").arg(nombre).arg(numero).arg(que));
  };
  const auto entero = [&](const QByteArray& texto) {
    bool bien = false;
    const long v = texto.toLong(&bien);
    if (!bien || v < INT_MIN / 2 || v > INT_MAX / 2)
      fallo(QStringLiteral("se esperaba un número: %1").arg(QString::fromLatin1(texto)));
    return static_cast<int>(v);
  };

  int ascenso = INT_MIN, descenso = INT_MIN;
  int cajaAncho = 0, cajaAlto = 0, cajaX = 0, cajaY = 0;
  QByteArray registro, codificacion;
  std::vector<Glifo> glifos;
  bool empezada = false, terminada = false, enGlifo = false, enMapa = false;
  Glifo actual;

  for (const QByteArray& cruda : lineas) {
    ++numero;
    const QByteArray linea = cruda.trimmed();
    if (linea.isEmpty()) continue;
    const QList<QByteArray> p = linea.simplified().split(' ');
    const QByteArray& clave = p[0];
    if (!empezada) {
      if (clave != "STARTFONT") fallo(QStringLiteral("no es una fuente BDF (falta STARTFONT)"));
      empezada = true;
      continue;
    }
    if (enMapa) {
      if (clave == "ENDCHAR") {
        enMapa = enGlifo = false;
        glifos.push_back(std::move(actual));
        actual = {};
        continue;
      }
      for (const char c : linea) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) fallo(QStringLiteral("fila de BITMAP no hexadecimal"));
      }
      if (static_cast<int>(actual.filas.size()) >= actual.alto)
        fallo(QStringLiteral("BITMAP con más filas que su BBX"));
      actual.filas.push_back(linea);
      continue;
    }
    if (clave == "COMMENT") continue;
    const auto numeros = [&](int cuantos) {
      if (p.size() < cuantos + 1) fallo(QStringLiteral("faltan valores en %1").arg(QString::fromLatin1(clave)));
      std::vector<int> v;
      for (int i = 1; i <= cuantos; ++i) v.push_back(entero(p[i]));
      return v;
    };
    const auto caja = [&](int& a, int& h, int& x, int& y) {
      const auto v = numeros(4);
      if (v[0] < 0 || v[1] < 0 || v[0] > MaximoCaja || v[1] > MaximoCaja) fallo(QStringLiteral("caja fuera de medida"));
      a = v[0], h = v[1], x = v[2], y = v[3];
    };
    if (clave == "FONTBOUNDINGBOX") {
      caja(cajaAncho, cajaAlto, cajaX, cajaY);
    } else if (clave == "FONT_ASCENT") {
      ascenso = numeros(1)[0];
    } else if (clave == "FONT_DESCENT") {
      descenso = numeros(1)[0];
    } else if (clave == "CHARSET_REGISTRY" && p.size() > 1) {
      registro = QByteArray(p[1]).replace('"', "").toUpper();
    } else if (clave == "CHARSET_ENCODING" && p.size() > 1) {
      codificacion = QByteArray(p[1]).replace('"', "");
    } else if (clave == "STARTCHAR") {
      if (enGlifo) fallo(QStringLiteral("STARTCHAR sin ENDCHAR antes"));
      enGlifo = true;
      actual = {};
      actual.linea = numero;
      actual.ancho = cajaAncho, actual.alto = cajaAlto, actual.x = cajaX, actual.y = cajaY;
    } else if (enGlifo && clave == "ENCODING") {
      const auto v = numeros(1);
      // "-1 n" names a glyph outside the standard encoding by its second number.
      actual.codigo = v[0] >= 0 ? v[0] : (p.size() > 2 ? entero(p[2]) : -1);
    } else if (enGlifo && clave == "BBX") {
      caja(actual.ancho, actual.alto, actual.x, actual.y);
    } else if (enGlifo && clave == "BITMAP") {
      enMapa = true;
    } else if (clave == "ENDCHAR") {
      fallo(QStringLiteral("ENDCHAR sin BITMAP"));
    } else if (clave == "ENDFONT") {
      terminada = true;
      break;
    }
  }
  if (!empezada) throw Fallo(QStringLiteral("%1: no es una fuente BDF (está vacía)").arg(nombre));
  if (enGlifo || !terminada)
    throw Fallo(QStringLiteral("%1: la fuente BDF está incompleta (falta ENDFONT)").arg(nombre));

  Importado r;
  if (ascenso == INT_MIN) ascenso = cajaAlto + cajaY;
  if (descenso == INT_MIN) descenso = -cajaY;
  const bool unicode = registro == "ISO10646" || (registro == "ISO8859" && codificacion == "1");
  if (!unicode) {
    r.informe << QStringLiteral("juego de caracteres %1-%2 desconocido: los códigos se toman como Unicode")
                     .arg(QString::fromLatin1(registro.isEmpty() ? QByteArray("?") : registro),
                          QString::fromLatin1(codificacion.isEmpty() ? QByteArray("?") : codificacion));
  }
  // The lowest row of the font box is row 7 when the box fits; otherwise the
  // baseline is kept and what hangs below it is cut.
  const int abajo = -std::min(std::max(descenso, 0), std::max(0, glyph::Filas - ascenso));

  const QStringList& lista = fontfile::ListaCaracteres();
  QHash<QString, const Glifo*> porCaracter;
  QStringList fuera;
  for (const Glifo& g : glifos) {
    const char32_t u = static_cast<char32_t>(g.codigo);
    const QString c = g.codigo > 0 && g.codigo <= 0x10FFFF ? QString::fromUcs4(&u, 1) : QString();
    if (!lista.contains(c)) {
      fuera << (g.codigo < 0 ? QStringLiteral("(sin código)")
                             : QStringLiteral("U+%1").arg(
                                   QString::number(g.codigo, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
      continue;
    }
    if (!porCaracter.contains(c)) porCaracter.insert(c, &g);
  }
  if (!fuera.isEmpty()) {
    const int mostrados = std::min<int>(fuera.size(), 12);
    r.informe << QStringLiteral("omitidos %1 glifos que no están en la lista de 121: %2%3")
                     .arg(fuera.size())
                     .arg(fuera.mid(0, mostrados).join(QLatin1Char(' ')))
                     .arg(fuera.size() > mostrados ? QStringLiteral(" ...") : QString());
  }
  // The dots of each glyph, and the leftmost dot of them all: the font moves
  // left as a whole, so that a glyph set off to the right (a narrow 1
  // centred in its box) keeps its place.
  QHash<const Glifo*, std::vector<Punto>> puntosDe;
  int izquierda = INT_MAX;
  for (const Glifo* g : porCaracter) {
    std::vector<Punto>& puntos = puntosDe[g];
    for (int f = 0; f < static_cast<int>(g->filas.size()); ++f) {
      const QByteArray& fila = g->filas[f];
      for (int i = 0; i < g->ancho && i / 4 < fila.size(); ++i) {
        if (valorHex(fila[i / 4]) & (8 >> (i % 4))) {
          puntos.push_back({g->x + i, g->y + g->alto - 1 - f});
          izquierda = std::min(izquierda, g->x + i);
        }
      }
    }
  }
  QStringList faltan;
  for (const QString& c : lista) {
    const Glifo* g = porCaracter.value(c);
    if (!g) {
      faltan << c;
      continue;
    }
    const std::vector<Punto>& puntos = puntosDe[g];
    fontfile::FontRecord reg{fontfile::aWindows1252(c), {}};
    glyph::GlyphGrid dibujo;
    int arriba = 0, debajo = 0, derecha = 0;
    for (const Punto& p : puntos) {
      const int columna = p.x - izquierda + 1;
      const int fila = glyph::Filas - (p.y - abajo);
      if (fila < 1) {
        ++arriba;
      } else if (fila > glyph::Filas) {
        ++debajo;
      } else if (columna > glyph::Columnas) {
        ++derecha;
      } else {
        dibujo(fila, columna) = 1;
      }
    }
    reg.columnas = glyph::codigosDelDibujo(dibujo);
    r.registros.push_back(reg);
    if (arriba + debajo + derecha > 0) {
      QStringList partes;
      if (arriba) partes << QStringLiteral("%1 arriba").arg(arriba);
      if (debajo) partes << QStringLiteral("%1 abajo").arg(debajo);
      if (derecha) partes << QStringLiteral("%1 a la derecha").arg(derecha);
      r.informe << QStringLiteral("%1 (línea %2): recortado, puntos fuera de la cuadrícula: %3")
                       .arg(c)
                       .arg(g->linea)
                       .arg(partes.join(QStringLiteral(", ")));
    }
  }
  if (!faltan.isEmpty()) {
    r.informe
        << QStringLiteral("faltan %1 caracteres de la lista: %2").arg(faltan.size()).arg(faltan.join(QLatin1Char(' ')));
  }
  return r;
}

}  // namespace mtz
