#include "ExportarComun.h"

#include <QFileInfo>
#include <QSet>

#include "Salida.h"

namespace mtz {
namespace {

using Orden = Disposicion::Orden;

// The "I" of the record example: column 1 full, in column 10 only the bottom dot.
glyph::GlyphGrid dibujoDeEjemplo() { return glyph::dibujoDeCodigos({127, 0, 0, 0, 0, 0, 0, 0, 0, 64}); }

}  // namespace

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

QByteArray enTabla(const fontfile::FontRecord& r, const Disposicion& d) {
  return empaquetar(glyph::dibujoDeCodigos(r.columnas), Caja{}, d, d.orden == Orden::Filas ? 16 : 8);
}

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

QStringList comentario(const Fuente& fuente, const Disposicion& d, bool gfx, qsizetype caracteres) {
  return envolver(deDonde(fuente, caracteres), 100) + envolver(describir(d, gfx), 100);
}

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

}  // namespace mtz
