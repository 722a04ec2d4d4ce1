#include "Exportar.h"

#include <QFileInfo>
#include <QSet>

#include "Fallo.h"

namespace mtz {
namespace {

using fontfile::FontRecord;

// The file's name as written into a comment: a line feed in it would end the
// comment and put the rest of the name into the generated code.
QString nombreEnComentario(const QString& ruta) {
  QString nombre = QFileInfo(ruta).fileName();
  for (QChar& c : nombre) {
    if (!c.isPrint()) c = QLatin1Char('?');
  }
  return nombre;
}

QString hex2(int v) { return QStringLiteral("0x%1").arg(v, 2, 16, QLatin1Char('0')); }

// Every unreadable slot stops an export: what it holds is unknown. So do
// records past 32767, which no program of this system reads.
void exigirLegible(const Fuente& fuente) {
  if (fuente.ranurasCompletas > fontfile::MaximoRegistros) {
    throw Fallo(QStringLiteral("%1: el archivo tiene %2 registros, más de %3")
                    .arg(fuente.ruta)
                    .arg(fuente.ranurasCompletas)
                    .arg(fontfile::MaximoRegistros));
  }
  for (const Entrada& e : fuente.entradas) {
    if (!e.registro) {
      throw Fallo(QStringLiteral("%1: registro %2 (byte %3): longitud de carácter %4, no se puede leer")
                      .arg(fuente.ruta)
                      .arg(e.numero)
                      .arg(e.desplazamiento)
                      .arg(e.longitud));
    }
  }
}

QString encabezado(const Fuente& fuente, const QString& comienzo, const QString& linea, const QString& fin) {
  const QString nombre = nombreEnComentario(fuente.ruta);
  QString t;
  t += comienzo +
       QStringLiteral("%1: %2 caracteres de 7 filas x 10 columnas, exportados por mtz " GRAFOLUX_VERSION " desde %3.\n")
           .arg(identificador(fuente.ruta))
           .arg(fuente.entradas.size())
           .arg(nombre);
  t += linea + QStringLiteral("Cada carácter son diez códigos de columna, la columna 1 (izquierda) primero;\n");
  t += linea + QStringLiteral("en cada código la fila de arriba pesa 1 y la de abajo 64.") + fin + QLatin1Char('\n');
  return t;
}

QByteArray exportarC(const Fuente& fuente, bool arduino) {
  if (fuente.entradas.empty()) throw Fallo(QStringLiteral("%1: la fuente no tiene caracteres").arg(fuente.ruta));
  for (const Entrada& e : fuente.entradas) {
    if (e.registro->caracter.size() != 1) {
      throw Fallo(QStringLiteral("%1: registro %2: el carácter %3 no es de un byte y no cabe en el índice")
                      .arg(fuente.ruta)
                      .arg(e.numero)
                      .arg(caracterLegible(e.registro->caracter)));
    }
  }
  const QString id = identificador(fuente.ruta);
  const QString ID = id.toUpper();
  const QString progmem = arduino ? QStringLiteral(" PROGMEM") : QString();
  QString t = encabezado(fuente, QStringLiteral("/* "), QStringLiteral(" * "), QStringLiteral(" */"));
  if (arduino) {
    t += QStringLiteral("/* Las tablas quedan en la memoria de programa: se leen con pgm_read_byte(). */\n");
  }
  t += QStringLiteral("#include <stdint.h>\n");
  if (arduino) {
    t += QStringLiteral(
        "#if defined(ARDUINO)\n#include <Arduino.h>\n#endif\n#ifndef PROGMEM\n#define PROGMEM\n#endif\n");
  }
  const int n = static_cast<int>(fuente.entradas.size());
  t += QStringLiteral("\n#define %1_CARACTERES %2\n#define %1_COLUMNAS 10\n#define %1_FILAS 7\n\n").arg(ID).arg(n);
  t += QStringLiteral("/* Los códigos de columna de cada carácter. */\n");
  t += QStringLiteral("const uint8_t %1_codigos[%2_CARACTERES][%2_COLUMNAS]%3 = {\n").arg(id, ID, progmem);
  for (const Entrada& e : fuente.entradas) {
    const glyph::Codigos codigos = codigosVisibles(e.registro->columnas);
    QStringList h;
    for (const int v : codigos) h << hex2(v);
    t += QStringLiteral("  {%1}, /* %2 '%3' */\n")
             .arg(h.join(QStringLiteral(", ")))
             .arg(e.numero)
             .arg(caracterLegible(e.registro->caracter));
  }
  t += QStringLiteral("};\n\n/* Índice: el carácter de cada fila de la tabla, en Windows-1252. */\n");
  t += QStringLiteral("const uint8_t %1_caracteres[%2_CARACTERES]%3 = {\n").arg(id, ID, progmem);
  for (const Entrada& e : fuente.entradas) {
    t += QStringLiteral("  %1, /* '%2' */\n")
             .arg(hex2(static_cast<uchar>(e.registro->caracter[0])), caracterLegible(e.registro->caracter));
  }
  t += QStringLiteral("};\n\n/* Columnas usadas por cada carácter: hasta la última que tiene algún punto. */\n");
  t += QStringLiteral("const uint8_t %1_anchos[%2_CARACTERES]%3 = {").arg(id, ID, progmem);
  for (int i = 0; i < n; ++i) {
    t += (i % 16 == 0 ? QStringLiteral("\n  ") : QStringLiteral(" ")) +
         QString::number(anchoUsado(fuente.entradas[i].registro->columnas)) + QLatin1Char(',');
  }
  t += QStringLiteral("\n};\n");
  return t.toUtf8();
}

// A literal of this language for one character: itself when printable,
// otherwise escaped.
QString literal(const QString& texto, bool json) {
  QString t = QStringLiteral("\"");
  for (const QChar c : texto) {
    if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
      t += QLatin1Char('\\') + c;
    } else if (c.isPrint() && c != QChar::ReplacementCharacter) {
      t += c;
    } else if (!json && c.unicode() < 0x100) {
      t += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    } else {
      t += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
  }
  return t + QLatin1Char('"');
}

Exportado exportarPython(const Fuente& fuente) {
  Exportado r;
  QString t = encabezado(fuente, QStringLiteral("# "), QStringLiteral("# "), QString());
  t += QStringLiteral("# GLIFOS da los códigos (bytes) de cada carácter, ANCHOS las columnas que usa.\n\n");
  t += QStringLiteral("FILAS = 7\nCOLUMNAS = 10\n\nGLIFOS = {\n");
  QString anchos = QStringLiteral("ANCHOS = {\n");
  QSet<QByteArray> vistos;
  for (const Entrada& e : fuente.entradas) {
    if (vistos.contains(e.registro->caracter)) {
      // A dictionary holds one drawing per character: the first, as the editor finds it.
      r.avisos << QStringLiteral("registro %1: el carácter %2 repetido se omite")
                      .arg(e.numero)
                      .arg(caracterLegible(e.registro->caracter));
      continue;
    }
    vistos.insert(e.registro->caracter);
    const QString clave = literal(fontfile::deWindows1252(e.registro->caracter), false);
    QString bytes;
    for (const int v : codigosVisibles(e.registro->columnas))
      bytes += QStringLiteral("\\x%1").arg(v, 2, 16, QLatin1Char('0'));
    t += QStringLiteral("    %1: b\"%2\",  # registro %3\n").arg(clave, bytes).arg(e.numero);
    anchos += QStringLiteral("    %1: %2,\n").arg(clave).arg(anchoUsado(e.registro->columnas));
  }
  t += QStringLiteral("}\n\n") + anchos + QStringLiteral("}\n");
  r.datos = t.toUtf8();
  return r;
}

QByteArray exportarJson(const Fuente& fuente) {
  QString t = QStringLiteral("{\n  \"fuente\": %1,\n  \"filas\": 7,\n  \"columnas\": 10,\n  \"caracteres\": [")
                  .arg(literal(QFileInfo(fuente.ruta).fileName(), true));
  bool primero = true;
  for (const Entrada& e : fuente.entradas) {
    QStringList codigos;
    for (const int v : codigosVisibles(e.registro->columnas)) codigos << QString::number(v);
    t += (primero ? QStringLiteral("\n") : QStringLiteral(",\n"));
    t += QStringLiteral("    {\"registro\": %1, \"caracter\": %2, \"codigos\": [%3], \"ancho\": %4}")
             .arg(e.numero)
             .arg(literal(fontfile::deWindows1252(e.registro->caracter), true), codigos.join(QStringLiteral(", ")))
             .arg(anchoUsado(e.registro->columnas));
    primero = false;
  }
  t += primero ? QStringLiteral("]\n}\n") : QStringLiteral("\n  ]\n}\n");
  return t.toUtf8();
}

Exportado exportarBdf(const Fuente& fuente) {
  Exportado r;
  struct Glifo {
    char32_t codigo;
    const Entrada* entrada;
  };
  std::vector<Glifo> glifos;
  QSet<char32_t> vistos;
  for (const Entrada& e : fuente.entradas) {
    const QString texto = fontfile::deWindows1252(e.registro->caracter);
    const QString legible = caracterLegible(e.registro->caracter);
    if (e.registro->caracter.size() != 1 || texto.size() != 1 || !texto[0].isPrint() ||
        texto[0] == QChar::ReplacementCharacter) {
      r.avisos
          << QStringLiteral("registro %1: el carácter %2 no tiene código en BDF y se omite").arg(e.numero).arg(legible);
      continue;
    }
    const char32_t codigo = texto[0].unicode();
    if (vistos.contains(codigo)) {
      r.avisos << QStringLiteral("registro %1: el carácter %2 repetido se omite").arg(e.numero).arg(legible);
      continue;
    }
    vistos.insert(codigo);
    glifos.push_back({codigo, &e});
  }
  const QString familia = identificador(fuente.ruta);
  int sumaAnchos = 0;
  for (const Glifo& g : glifos) sumaAnchos += anchoUsado(g.entrada->registro->columnas) + 1;
  const int promedio = glifos.empty() ? 0 : sumaAnchos * 10 / static_cast<int>(glifos.size());
  QString t = QStringLiteral("STARTFONT 2.1\n");
  t += QStringLiteral("COMMENT exportada por mtz " GRAFOLUX_VERSION " desde %1\n").arg(nombreEnComentario(fuente.ruta));
  // Dots are pixels at 72 dpi, so a point is a dot and the scalable widths are simple.
  t += QStringLiteral("FONT -Grafolux-%1-Medium-R-Normal--7-70-72-72-P-%2-ISO10646-1\n").arg(familia).arg(promedio);
  t += QStringLiteral("SIZE 7 72 72\nFONTBOUNDINGBOX 10 7 0 0\nSTARTPROPERTIES 16\n");
  t += QStringLiteral("FOUNDRY \"Grafolux\"\nFAMILY_NAME \"%1\"\nWEIGHT_NAME \"Medium\"\nSLANT \"R\"\n").arg(familia);
  t += QStringLiteral("SETWIDTH_NAME \"Normal\"\nADD_STYLE_NAME \"\"\nPIXEL_SIZE 7\nPOINT_SIZE 70\n");
  t += QStringLiteral("RESOLUTION_X 72\nRESOLUTION_Y 72\nSPACING \"P\"\nAVERAGE_WIDTH %1\n").arg(promedio);
  t += QStringLiteral("CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nFONT_ASCENT 7\nFONT_DESCENT 0\n");
  t += QStringLiteral("ENDPROPERTIES\nCHARS %1\n").arg(glifos.size());
  for (const Glifo& g : glifos) {
    const glyph::GlyphGrid dibujo = glyph::dibujoDeCodigos(g.entrada->registro->columnas);
    const int ancho = anchoUsado(g.entrada->registro->columnas);
    // An empty drawing still needs a box: one blank column.
    const int caja = std::max(ancho, 1);
    const int avance = ancho + 1;
    t += QStringLiteral("STARTCHAR uni%1\n")
             .arg(QString::number(g.codigo, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    t += QStringLiteral("ENCODING %1\nSWIDTH %2 0\nDWIDTH %3 0\nBBX %4 7 0 0\nBITMAP\n")
             .arg(static_cast<uint>(g.codigo))
             .arg(avance * 1000 / 7)
             .arg(avance)
             .arg(caja);
    for (int f = 1; f <= glyph::Filas; ++f) {
      unsigned bits = 0;
      for (int c = 1; c <= caja; ++c) {
        if (dibujo.encendida(f, c)) bits |= 1u << (15 - (c - 1));
      }
      t += caja > 8 ? QStringLiteral("%1\n").arg(bits, 4, 16, QLatin1Char('0')).toUpper()
                    : QStringLiteral("%1\n").arg(bits >> 8, 2, 16, QLatin1Char('0')).toUpper();
    }
    t += QStringLiteral("ENDCHAR\n");
  }
  t += QStringLiteral("ENDFONT\n");
  r.datos = t.toUtf8();
  return r;
}

}  // namespace

std::optional<Formato> formatoDeNombre(const QString& nombre) {
  if (nombre == QLatin1String("c")) return Formato::C;
  if (nombre == QLatin1String("arduino")) return Formato::Arduino;
  if (nombre == QLatin1String("python")) return Formato::Python;
  if (nombre == QLatin1String("json")) return Formato::Json;
  if (nombre == QLatin1String("bdf")) return Formato::Bdf;
  return std::nullopt;
}

QString identificador(const QString& ruta) {
  QString id;
  for (const QChar c : QFileInfo(ruta).completeBaseName().toLower()) {
    id += (c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_'))) ? c : QLatin1Char('_');
  }
  if (id.isEmpty() || id[0].isDigit()) id.prepend(QStringLiteral("fuente_"));
  return id;
}

Exportado exportar(const Fuente& fuente, Formato formato) {
  exigirLegible(fuente);
  switch (formato) {
    case Formato::C:
      return {exportarC(fuente, false), {}};
    case Formato::Arduino:
      return {exportarC(fuente, true), {}};
    case Formato::Python:
      return exportarPython(fuente);
    case Formato::Json:
      return {exportarJson(fuente), {}};
    case Formato::Bdf:
      return exportarBdf(fuente);
  }
  return {};
}

}  // namespace mtz
