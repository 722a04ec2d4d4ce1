#include "TextoArte.h"

#include <QRegularExpression>

#include "ColumnCode.h"
#include "Fallo.h"
#include "Fuente.h"

namespace mtz {

QString dibujoEnTexto(const fontfile::FontRecord& registro, int numero) {
  const glyph::GlyphGrid dibujo = glyph::dibujoDeCodigos(registro.columnas);
  QString t = QStringLiteral("[%1] registro %2, ancho %3\n")
                  .arg(caracterLegible(registro.caracter))
                  .arg(numero)
                  .arg(anchoUsado(registro.columnas));
  for (int f = 1; f <= glyph::Filas; ++f) {
    for (int c = 1; c <= glyph::Columnas; ++c) t += dibujo.encendida(f, c) ? QLatin1Char('#') : QLatin1Char('.');
    t += QLatin1Char('\n');
  }
  return t;
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

std::vector<fontfile::FontRecord> leerTextoArte(const QString& texto, const QString& nombre) {
  std::vector<fontfile::FontRecord> registros;
  glyph::GlyphGrid dibujo;
  int filas = glyph::Filas;  // rows of the glyph being read; 7 = none pending
  int lineaEncabezado = 0;
  const QStringList lineas = texto.split(QLatin1Char('\n'));
  const auto fallo = [&](int linea, const QString& que) {
    throw Fallo(QStringLiteral("%1:%2: %3").arg(nombre).arg(linea).arg(que));
  };
  const auto cerrar = [&](int linea) {
    if (filas != glyph::Filas)
      fallo(linea, QStringLiteral("el dibujo de la línea %1 tiene %2 filas, no 7").arg(lineaEncabezado).arg(filas));
  };
  for (int i = 0; i < lineas.size(); ++i) {
    const int numero = i + 1;
    QString linea = lineas[i];
    if (linea.endsWith(QLatin1Char('\r'))) linea.chop(1);
    if (linea.trimmed().isEmpty() || linea.startsWith(QLatin1Char(';'))) continue;
    if (linea.startsWith(QLatin1Char('['))) {
      cerrar(numero);
      // The name runs to the first ']' after at least one character, so "[]]" names ']'.
      const int cierre = linea.indexOf(QLatin1Char(']'), 2);
      if (cierre < 0) fallo(numero, QStringLiteral("falta ']' en el encabezado"));
      const auto caracter = caracterDeEncabezado(linea.mid(1, cierre - 1));
      if (!caracter) fallo(numero, QStringLiteral("el encabezado debe nombrar un carácter de Windows-1252"));
      registros.push_back({*caracter, {}});
      dibujo = {};
      filas = 0;
      lineaEncabezado = numero;
      continue;
    }
    linea = linea.trimmed();
    if (filas == glyph::Filas) fallo(numero, QStringLiteral("fila de puntos fuera de un dibujo"));
    if (linea.size() > glyph::Columnas) fallo(numero, QStringLiteral("la fila tiene más de 10 columnas"));
    ++filas;
    for (int c = 0; c < linea.size(); ++c) {
      if (linea[c] == QLatin1Char('#')) {
        dibujo(filas, c + 1) = 1;
      } else if (linea[c] != QLatin1Char('.')) {
        fallo(numero, QStringLiteral("solo se admiten '#' y '.' en una fila"));
      }
    }
    if (filas == glyph::Filas) registros.back().columnas = glyph::codigosDelDibujo(dibujo);
  }
  cerrar(static_cast<int>(lineas.size()));
  return registros;
}

}  // namespace mtz
