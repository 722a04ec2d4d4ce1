#include "Exportar.h"

#include <QFileInfo>
#include <QSet>
#include <array>

#include "ExportarComun.h"
#include "Fallo.h"
#include "Salida.h"

namespace mtz {
namespace {

using Orden = Disposicion::Orden;

constexpr DatosFormato Formatos[] = {
    {"c", Formato::C, Disposicion{}, "tablas de C (static const uint8_t)"},
    {"arduino", Formato::Arduino, Disposicion{},
     "las mismas tablas en la memoria de programa (PROGMEM) con avr-gcc; const en otras placas"},
    {"python", Formato::Python, Disposicion{}, "diccionarios de bytes de Python"},
    {"json", Formato::Json, Disposicion{}, "JSON"},
    {"gfx", Formato::Gfx, Disposicion{Orden::Filas, true, false},
     "encabezado con la estructura GFXfont (mapa de bits, tabla GFXglyph, códigos 0x20 a 0xFF de Windows-1252); "
     "por defecto por filas y msb, como esa estructura pide"},
    {"bdf", Formato::Bdf, std::nullopt, "fuente BDF 2.1, 7 píxeles de alto, proporcional"},
    {"max72xx", Formato::Max72xx, std::nullopt,
     "encabezado con la tabla de fuente de MD_MAX72XX y MD_Parola, para matrices de LED con MAX7219: "
     "ancho y columnas de cada código Windows-1252"},
};

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
    if (!e.registro) throw Fallo(QStringLiteral("%1: %2").arg(fuente.ruta, ilegible(e)));
  }
  if (fuente.entradas.empty()) throw sinCaracteres(fuente);
}

// The part of the grid whose dots a glyph keeps.
struct Caja {
  int fila = 1, columna = 1, alto = glyph::Filas, ancho = glyph::Columnas;
};

// The lit dots' bounding box; empty for an empty drawing.
Caja cajaDe(const glyph::GlyphGrid& dibujo) {
  int arriba = glyph::Filas + 1, abajo = 0, izquierda = glyph::Columnas + 1, derecha = 0;
  for (int f = 1; f <= glyph::Filas; ++f) {
    for (int c = 1; c <= glyph::Columnas; ++c) {
      if (!dibujo.encendida(f, c)) continue;
      arriba = std::min(arriba, f), abajo = std::max(abajo, f);
      izquierda = std::min(izquierda, c), derecha = std::max(derecha, c);
    }
  }
  if (abajo == 0) return {1, 1, 0, 0};
  return {arriba, izquierda, abajo - arriba + 1, derecha - izquierda + 1};
}

// The dots of caja as lines (columns or rows, as the layout says) of paso
// bits each, one line straight after the other: the tables give a column 8
// bits and a row 16, GFX packs its lines with no gap.
QByteArray empaquetar(const glyph::GlyphGrid& dibujo, const Caja& caja, const Disposicion& d, int paso) {
  const bool filas = d.orden == Orden::Filas;
  const int lineas = filas ? caja.alto : caja.ancho;
  const int puntos = filas ? caja.ancho : caja.alto;
  QByteArray bytes((lineas * paso + 7) / 8, '\0');
  for (int l = 0; l < lineas; ++l) {
    for (int p = 0; p < puntos; ++p) {
      if (!dibujo.encendida(caja.fila + (filas ? l : p), caja.columna + (filas ? p : l))) continue;
      const int k = l * paso + p;
      bytes[k / 8] = static_cast<char>(bytes[k / 8] | (d.msb ? 0x80 >> k % 8 : 1 << k % 8));
    }
  }
  if (d.invertida) {
    for (char& b : bytes) b = static_cast<char>(~b);
  }
  return bytes;
}

int bytesDeTabla(const Disposicion& d) { return d.orden == Orden::Filas ? 2 * glyph::Filas : glyph::Columnas; }

// A character in the tables: every character the same number of bytes.
QByteArray enTabla(const fontfile::FontRecord& r, const Disposicion& d) {
  return empaquetar(glyph::dibujoDeCodigos(r.columnas), Caja{}, d, d.orden == Orden::Filas ? 16 : 8);
}

// The "I" of the record example: column 1 full, in column 10 only the bottom dot.
glyph::GlyphGrid dibujoDeEjemplo() { return glyph::dibujoDeCodigos({127, 0, 0, 0, 0, 0, 0, 0, 0, 64}); }

// The layout in words and the example's bytes, for the comment at the top.
QString describir(const Disposicion& d, bool gfx) {
  const bool filas = d.orden == Orden::Filas;
  QString t;
  if (gfx) {
    t = filas ? QStringLiteral(
                    "Disposición: cada glifo guarda la caja de sus puntos encendidos (width x height) fila a "
                    "fila, de arriba abajo, y cada fila de izquierda a derecha,")
              : QStringLiteral(
                    "Disposición: cada glifo guarda la caja de sus puntos encendidos (width x height) "
                    "columna a columna, de izquierda a derecha, y cada columna de arriba abajo,");
    t += QStringLiteral(
             " con los bits seguidos de una %1 a la siguiente; el primer punto es el bit %2 del primer byte "
             "del glifo y los siguientes van hacia el bit %3. Cada glifo empieza en un byte nuevo "
             "(bitmapOffset). xOffset y yOffset llevan del cursor, que está en la línea base bajo la "
             "fila 7, a la esquina de arriba a la izquierda de la caja; xAdvance es el ancho usado más 1.")
             .arg(filas ? QStringLiteral("fila") : QStringLiteral("columna"))
             .arg(d.msb ? 7 : 0)
             .arg(d.msb ? 0 : 7);
  } else if (filas) {
    t = QStringLiteral(
            "Disposición: por filas. Cada carácter son 14 bytes, dos por fila, la fila 1 (arriba) primero; "
            "el primer byte de una fila lleva los puntos 1 a 8 y el segundo los puntos 9 y 10, contando "
            "desde la izquierda. El punto de más a la izquierda de cada byte es su bit %1 (el punto 10 es "
            "el bit %2 del segundo byte).")
            .arg(d.msb ? 7 : 0)
            .arg(d.msb ? 6 : 1);
  } else {
    t = QStringLiteral(
            "Disposición: por columnas. Cada carácter son 10 bytes, uno por columna, la columna 1 "
            "(izquierda) primero; en cada byte la fila 1 (arriba) es el bit %1 y la fila 7 (abajo) el "
            "bit %2.")
            .arg(d.msb ? 7 : 0)
            .arg(d.msb ? 1 : 6);
  }
  t += d.invertida ? QStringLiteral(" Un punto encendido es un bit 0; los bits que no llevan punto valen 1.")
                   : QStringLiteral(" Un punto encendido es un bit 1; los bits que no llevan punto valen 0.");
  const glyph::GlyphGrid i = dibujoDeEjemplo();
  t += QStringLiteral(" Ejemplo: la I con la columna 1 entera y, en la columna 10, solo el punto de abajo, ");
  if (gfx) {
    const Caja caja = cajaDe(i);
    t += QStringLiteral("es width %1, height %2, xOffset 0, yOffset -7, xAdvance 11, y los bytes %3.")
             .arg(caja.ancho)
             .arg(caja.alto)
             .arg(enHex(empaquetar(i, caja, d, filas ? caja.ancho : caja.alto), {}, QStringLiteral(" ")));
  } else {
    t += QStringLiteral("son los bytes %1.")
             .arg(enHex(empaquetar(i, Caja{}, d, filas ? 16 : 8), {}, QStringLiteral(" ")));
  }
  return t;
}

// The comment at the top of a source export, one string per line.
QStringList comentario(const Fuente& fuente, const Disposicion& d, bool gfx, qsizetype caracteres) {
  return envolver(deDonde(fuente, caracteres), 100) + envolver(describir(d, gfx), 100);
}

QByteArray exportarC(const Fuente& fuente, bool arduino, const Disposicion& d) {
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
  const QString flash = arduino ? QStringLiteral(" MTZ_FLASH") : QString();
  QString t = comentarioC(comentario(fuente, d, false, static_cast<qsizetype>(fuente.entradas.size())));
  if (arduino)
    t += QStringLiteral("/* En AVR las tablas quedan en la memoria de programa: se leen con pgm_read_byte(). */\n");
  t += abrirGuarda(id, arduino ? QStringLiteral("arduino") : QStringLiteral("c")) +
       QStringLiteral("#include <stdint.h>\n");
  if (arduino) t += QLatin1String(EnFlash);
  const qsizetype n = static_cast<qsizetype>(fuente.entradas.size());
  t += QStringLiteral("\n#define %1_CARACTERES %2\n#define %1_COLUMNAS 10\n#define %1_FILAS 7\n#define %1_BYTES %3\n\n")
           .arg(ID)
           .arg(n)
           .arg(bytesDeTabla(d));
  t += QStringLiteral("/* Los bytes de cada carácter. */\n");
  t += QStringLiteral("static const uint8_t %1_codigos[%2_CARACTERES][%2_BYTES]%3 = {\n").arg(id, ID, flash);
  for (const Entrada& e : fuente.entradas) {
    t += QStringLiteral("  {%1}, /* %2 '%3' */\n")
             .arg(enHex(enTabla(*e.registro, d), QStringLiteral("0x"), QStringLiteral(", ")))
             .arg(e.numero)
             .arg(caracterLegible(e.registro->caracter));
  }
  t += QStringLiteral("};\n\n/* Índice: el carácter de cada fila de la tabla, en Windows-1252. */\n");
  t += QStringLiteral("static const uint8_t %1_caracteres[%2_CARACTERES]%3 = {\n").arg(id, ID, flash);
  for (const Entrada& e : fuente.entradas) {
    t += QStringLiteral("  0x%1, /* '%2' */\n")
             .arg(hex2(static_cast<uchar>(e.registro->caracter[0])), caracterLegible(e.registro->caracter));
  }
  t += QStringLiteral("};\n\n/* Columnas usadas por cada carácter: hasta la última que tiene algún punto. */\n");
  t += QStringLiteral("static const uint8_t %1_anchos[%2_CARACTERES]%3 = {").arg(id, ID, flash);
  for (qsizetype i = 0; i < n; ++i) {
    t += (i % 16 == 0 ? QStringLiteral("\n  ") : QStringLiteral(" ")) +
         QString::number(anchoUsado(fuente.entradas[static_cast<size_t>(i)].registro->columnas)) + QLatin1Char(',');
  }
  t += QStringLiteral("\n};\n\n#endif\n");
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

QByteArray exportarPython(const Fuente& fuente, const Disposicion& d, QStringList& avisos) {
  QString glifos, anchos;
  QSet<QByteArray> vistos;
  for (const Entrada& e : fuente.entradas) {
    if (vistos.contains(e.registro->caracter)) {
      // A dictionary holds one drawing per character: the first, as the editor finds it.
      avisos << QStringLiteral("registro %1: el carácter %2 repetido se omite")
                    .arg(e.numero)
                    .arg(caracterLegible(e.registro->caracter));
      continue;
    }
    vistos.insert(e.registro->caracter);
    const QString clave = literal(textoDe(e.registro->caracter), false);
    glifos += QStringLiteral("    %1: b\"%2\",  # registro %3\n")
                  .arg(clave, enHex(enTabla(*e.registro, d), QStringLiteral("\\x"), {}))
                  .arg(e.numero);
    anchos += QStringLiteral("    %1: %2,\n").arg(clave).arg(anchoUsado(e.registro->columnas));
  }
  QString t = QStringLiteral("# ") + comentario(fuente, d, false, vistos.size()).join(QStringLiteral("\n# "));
  t += QStringLiteral("\n# GLIFOS da los bytes de cada carácter, ANCHOS las columnas que usa.\n\n");
  t += QStringLiteral("FILAS = 7\nCOLUMNAS = 10\nBYTES = %1\n\nGLIFOS = {\n").arg(bytesDeTabla(d));
  t += glifos + QStringLiteral("}\n\nANCHOS = {\n") + anchos + QStringLiteral("}\n");
  return t.toUtf8();
}

QByteArray exportarJson(const Fuente& fuente, const Disposicion& d) {
  QString t = QStringLiteral(
                  "{\n  \"fuente\": %1,\n  \"disposicion\": %2,\n  \"filas\": 7,\n  \"columnas\": 10,\n  \"bytes\": "
                  "%3,\n  \"caracteres\": [")
                  .arg(literal(QFileInfo(fuente.ruta).fileName(), true), literal(describir(d, false), true))
                  .arg(bytesDeTabla(d));
  bool primero = true;
  for (const Entrada& e : fuente.entradas) {
    QStringList codigos;
    for (const char b : enTabla(*e.registro, d)) codigos << QString::number(static_cast<uchar>(b));
    t += (primero ? QStringLiteral("\n") : QStringLiteral(",\n"));
    t += QStringLiteral("    {\"registro\": %1, \"caracter\": %2, \"codigos\": [%3], \"ancho\": %4}")
             .arg(e.numero)
             .arg(literal(textoDe(e.registro->caracter), true), codigos.join(QStringLiteral(", ")))
             .arg(anchoUsado(e.registro->columnas));
    primero = false;
  }
  t += QStringLiteral("\n  ]\n}\n");
  return t.toUtf8();
}

QByteArray exportarGfx(const Fuente& fuente, const Disposicion& d, QStringList& avisos) {
  const PorByte glifos = porByte(fuente, QStringLiteral("GFX"), avisos);
  const char32_t ultimo = glifos.ultimo;
  const QString id = identificador(fuente.ruta);
  QStringList puntos;
  QString tabla;
  int desplazamiento = 0;
  for (char32_t codigo = PrimerByte; codigo <= ultimo; ++codigo) {
    const Entrada* e = glifos.entradas[codigo];
    const QString nota = notaDeCodigo(codigo);
    if (!e) {
      // A code point the font lacks draws nothing and does not move the cursor.
      const int avance = codigo == U' ' ? AvanceDelEspacio : 0;
      tabla += QStringLiteral("  {%1, 0, 0, %2, 0, 0}, /* %3 */\n").arg(desplazamiento).arg(avance).arg(nota);
      continue;
    }
    const glyph::GlyphGrid dibujo = glyph::dibujoDeCodigos(e->registro->columnas);
    const Caja caja = cajaDe(dibujo);
    const QByteArray bytes = empaquetar(dibujo, caja, d, d.orden == Orden::Filas ? caja.ancho : caja.alto);
    tabla += QStringLiteral("  {%1, %2, %3, %4, %5, %6}, /* %7, registro %8 */\n")
                 .arg(desplazamiento)
                 .arg(caja.ancho)
                 .arg(caja.alto)
                 .arg(anchoUsado(e->registro->columnas) + 1)
                 .arg(caja.ancho > 0 ? caja.columna - 1 : 0)
                 .arg(caja.alto > 0 ? caja.fila - glyph::Filas - 1 : 0)
                 .arg(nota)
                 .arg(e->numero);
    if (!bytes.isEmpty()) puntos << enHex(bytes, QStringLiteral("0x"), QStringLiteral(", "));
    desplazamiento += static_cast<int>(bytes.size());
  }
  // C has no empty array: a font of empty drawings still gets one byte.
  if (puntos.isEmpty()) puntos << QStringLiteral("0x00");
  QString t = comentarioC(comentario(fuente, d, true, glifos.cuantos) +
                          envolver(QStringLiteral("%1 Incluya este archivo después de la definición de GFXfont.")
                                       .arg(QString::fromUtf8(CodigosWindows1252)),
                                   100));
  t += abrirGuarda(id, QStringLiteral("gfx")) + QStringLiteral("#include <stdint.h>\n") + QLatin1String(EnFlash);
  t += QStringLiteral("\nstatic const uint8_t %1_puntos[] MTZ_FLASH = {\n  %2\n};\n\n")
           .arg(id, puntos.join(QStringLiteral(",\n  ")));
  t += QStringLiteral("/* bitmapOffset, width, height, xAdvance, xOffset, yOffset */\n");
  t += QStringLiteral("static const GFXglyph %1_glifos[] MTZ_FLASH = {\n%2};\n\n").arg(id, tabla);
  t += QStringLiteral(
           "static const GFXfont %1_fuente MTZ_FLASH = {(uint8_t *)%1_puntos, (GFXglyph *)%1_glifos, 0x%2, 0x%3, "
           "8};\n")
           .arg(id, hex2(PrimerByte), hex2(static_cast<int>(ultimo)));
  return (t + QStringLiteral("\n#endif\n")).toUtf8();
}

QString cabeceraBdf(const QString& familia, const QString& nombre, const std::vector<Glifo>& glifos) {
  int sumaAnchos = 0;
  for (const Glifo& g : glifos) sumaAnchos += anchoUsado(g.entrada->registro->columnas) + 1;
  const int promedio = sumaAnchos * 10 / static_cast<int>(glifos.size());
  QString t = QStringLiteral("STARTFONT 2.1\n");
  t += QStringLiteral("COMMENT exportada por mtz " GRAFOLUX_VERSION " desde %1\n").arg(nombre);
  // Dots are pixels at 72 dpi, so a point is a dot and the scalable widths are simple.
  t += QStringLiteral("FONT -Grafolux-%1-Medium-R-Normal--7-70-72-72-P-%2-ISO10646-1\n").arg(familia).arg(promedio);
  t += QStringLiteral("SIZE 7 72 72\nFONTBOUNDINGBOX 10 7 0 0\nSTARTPROPERTIES 16\n");
  t += QStringLiteral("FOUNDRY \"Grafolux\"\nFAMILY_NAME \"%1\"\nWEIGHT_NAME \"Medium\"\nSLANT \"R\"\n").arg(familia);
  t += QStringLiteral("SETWIDTH_NAME \"Normal\"\nADD_STYLE_NAME \"\"\nPIXEL_SIZE 7\nPOINT_SIZE 70\n");
  t += QStringLiteral("RESOLUTION_X 72\nRESOLUTION_Y 72\nSPACING \"P\"\nAVERAGE_WIDTH %1\n").arg(promedio);
  t += QStringLiteral("CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nFONT_ASCENT 7\nFONT_DESCENT 0\n");
  t += QStringLiteral("ENDPROPERTIES\nCHARS %1\n").arg(glifos.size());
  return t;
}

QString glifoBdf(const Glifo& g) {
  const glyph::GlyphGrid dibujo = glyph::dibujoDeCodigos(g.entrada->registro->columnas);
  const int ancho = anchoUsado(g.entrada->registro->columnas);
  // An empty drawing still needs a box: one blank column.
  const int caja = std::max(ancho, 1);
  const int avance = ancho + 1;
  QString t = QStringLiteral("STARTCHAR uni%1\n")
                  .arg(QString::number(g.codigo, 16).toUpper().rightJustified(4, QLatin1Char('0')));
  t += QStringLiteral("ENCODING %1\nSWIDTH %2 0\nDWIDTH %3 0\nBBX %4 7 0 0\nBITMAP\n")
           .arg(static_cast<uint>(g.codigo))
           .arg(avance * 1000 / 7)
           .arg(avance)
           .arg(caja);
  // Each row in whole bytes, left-aligned: two hex digits up to 8 columns, four beyond.
  const int digitos = (caja + 7) / 8 * 2;
  for (int f = 1; f <= glyph::Filas; ++f) {
    unsigned bits = 0;
    for (int c = 1; c <= caja; ++c) {
      if (dibujo.encendida(f, c)) bits |= 1u << (digitos * 4 - c);
    }
    t += QStringLiteral("%1\n").arg(bits, digitos, 16, QLatin1Char('0')).toUpper();
  }
  return t + QStringLiteral("ENDCHAR\n");
}

QByteArray exportarBdf(const Fuente& fuente, QStringList& avisos) {
  const std::vector<Glifo> glifos = glifosConCodigo(fuente, 1, 0x10ffff, false, QStringLiteral("BDF"), avisos);
  // A BDF of no glyph is refused by the tools that read it.
  if (glifos.empty()) throw sinCaracteres(fuente);
  QString t = cabeceraBdf(identificador(fuente.ruta), nombreEnComentario(fuente.ruta), glifos);
  for (const Glifo& g : glifos) t += glifoBdf(g);
  return (t + QStringLiteral("ENDFONT\n")).toUtf8();
}

}  // namespace

QString nombreEnComentario(const QString& ruta) {
  QString nombre = QFileInfo(ruta).fileName();
  for (QChar& c : nombre) {
    if (!c.isPrint()) c = QLatin1Char('?');
  }
  return nombre;
}

QString deDonde(const Fuente& fuente, qsizetype caracteres) {
  return QStringLiteral("%1: %2 caracteres de 7 filas x 10 columnas, exportados por mtz " GRAFOLUX_VERSION " desde %3.")
      .arg(identificador(fuente.ruta))
      .arg(caracteres)
      .arg(nombreEnComentario(fuente.ruta));
}

QString hex2(int v) { return QStringLiteral("%1").arg(v & 0xff, 2, 16, QLatin1Char('0')); }

QString enHex(const QByteArray& bytes, const QString& antes, const QString& separador) {
  QStringList h;
  for (const char b : bytes) h << antes + hex2(static_cast<uchar>(b));
  return h.join(separador);
}

Fallo sinCaracteres(const Fuente& fuente) {
  return Fallo(QStringLiteral("%1: la fuente no tiene caracteres").arg(fuente.ruta));
}

QString comentarioC(const QStringList& lineas) {
  return QStringLiteral("/* ") + lineas.join(QStringLiteral("\n * ")) + QStringLiteral(" */\n");
}

QString abrirGuarda(const QString& id, const QString& formato) {
  const QString guarda = QStringLiteral("MTZ_%1_%2_H").arg(id, formato).toUpper();
  return QStringLiteral("#ifndef %1\n#define %1\n\n").arg(guarda);
}

QString notaDeCodigo(char32_t codigo) {
  // A control character would be written raw into the comment: only its code is given.
  const QString c = textoDe(QByteArray(1, static_cast<char>(codigo)));
  return QStringLiteral("0x%1").arg(hex2(static_cast<int>(codigo))) +
         (c.size() == 1 && c[0].isPrint() && c[0] != QChar::ReplacementCharacter ? QStringLiteral(" '%1'").arg(c)
                                                                                 : QString());
}

std::vector<Glifo> glifosConCodigo(const Fuente& fuente, char32_t primero, char32_t ultimo, bool windows1252,
                                   const QString& formato, QStringList& avisos) {
  std::vector<Glifo> glifos;
  QSet<char32_t> vistos;
  for (const Entrada& e : fuente.entradas) {
    const QString texto = textoDe(e.registro->caracter);
    const QString legible = caracterLegible(e.registro->caracter);
    const bool unico = e.registro->caracter.size() == 1 && texto.size() == 1 && texto[0].isPrint() &&
                       texto[0] != QChar::ReplacementCharacter;
    const char32_t codigo = !unico        ? 0
                            : windows1252 ? static_cast<uchar>(e.registro->caracter[0])
                                          : char32_t{texto[0].unicode()};
    if (!unico || codigo < primero || codigo > ultimo) {
      avisos << QStringLiteral("registro %1: el carácter %2 no tiene código en %3 y se omite")
                    .arg(e.numero)
                    .arg(legible, formato);
    } else if (vistos.contains(codigo)) {
      avisos << QStringLiteral("registro %1: el carácter %2 repetido se omite").arg(e.numero).arg(legible);
    } else {
      vistos.insert(codigo);
      glifos.push_back({codigo, &e});
    }
  }
  return glifos;
}

PorByte porByte(const Fuente& fuente, const QString& formato, QStringList& avisos) {
  const std::vector<Glifo> glifos =
      glifosConCodigo(fuente, PrimerByte, UltimoByte, true, formato + QStringLiteral(" (0x20 a 0xFF)"), avisos);
  if (glifos.empty()) throw sinCaracteres(fuente);
  PorByte r;
  for (const Glifo& g : glifos) {
    r.entradas[g.codigo] = g.entrada;
    r.ultimo = std::max(r.ultimo, g.codigo);
  }
  r.cuantos = static_cast<qsizetype>(glifos.size());
  return r;
}

std::span<const DatosFormato> formatos() { return Formatos; }

const DatosFormato* datosDeFormato(const QString& nombre) {
  for (const DatosFormato& f : Formatos) {
    if (nombre == QLatin1String(f.nombre)) return &f;
  }
  return nullptr;
}

QString listaDeFormatos() {
  QStringList nombres;
  for (const DatosFormato& f : Formatos) nombres << QLatin1String(f.nombre);
  const QString ultimo = nombres.takeLast();
  return nombres.join(QStringLiteral(", ")) + QStringLiteral(" o ") + ultimo;
}

QString identificador(const QString& ruta) {
  // Accented letters lose their marks (ñandú gives nandu); whatever else is
  // not an ASCII letter or digit becomes one underscore.
  QString id;
  for (const QChar c : QFileInfo(ruta).completeBaseName().normalized(QString::NormalizationForm_KD).toLower()) {
    if (c.category() == QChar::Mark_NonSpacing) continue;
    if (c.unicode() < 0x80 && c.isLetterOrNumber()) {
      id += c;
    } else if (!id.isEmpty() && !id.endsWith(QLatin1Char('_'))) {
      id += QLatin1Char('_');
    }
  }
  // A leading underscore, or two in a row once the suffixes are added, are
  // the compiler's.
  if (id.endsWith(QLatin1Char('_'))) id.chop(1);
  if (id.isEmpty() || id[0].isDigit()) id.prepend(QStringLiteral("fuente_"));
  return id;
}

QByteArray exportar(const Fuente& fuente, Formato formato, const Disposicion& disposicion, QStringList& avisos) {
  exigirLegible(fuente);
  switch (formato) {
    case Formato::C:
      return exportarC(fuente, false, disposicion);
    case Formato::Arduino:
      return exportarC(fuente, true, disposicion);
    case Formato::Python:
      return exportarPython(fuente, disposicion, avisos);
    case Formato::Json:
      return exportarJson(fuente, disposicion);
    case Formato::Gfx:
      return exportarGfx(fuente, disposicion, avisos);
    case Formato::Bdf:
      return exportarBdf(fuente, avisos);
    case Formato::Max72xx:
      return exportarMax72xx(fuente, avisos);
  }
  return {};
}

}  // namespace mtz
