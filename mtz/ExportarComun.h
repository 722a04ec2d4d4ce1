#pragma once
// What the exports share: how dots become bytes, comments, include guards,
// flash placement and the choice of the records a font indexed by code can
// hold. Each format's exporter is in a file of its own (ExportarC.cpp, ...).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "Exportar.h"
#include "Fallo.h"
#include "Fuente.h"

namespace mtz {

// A space is not in the list of 121, but every text needs one: three blank
// columns, as render leaves.
inline constexpr int AvanceDelEspacio = 3;

// avr-gcc puts a const table into RAM unless it is marked for flash, and
// reading it with pgm_read_byte then reads the wrong memory: the export
// brings the marking itself rather than rely on what was included before.
inline constexpr const char* EnFlash =
    "#ifdef __AVR__\n#include <avr/pgmspace.h>\n#define MTZ_FLASH PROGMEM\n#else\n#define MTZ_FLASH\n#endif\n";

// Said in the comment of every export indexed by byte.
inline constexpr const char* CodigosWindows1252 =
    "Los códigos son los de Windows-1252, como en el archivo .mtz: \"\\x80\" es el €, \"\\xF1\" la ñ (un texto "
    "en UTF-8 no sirve).";

// The part of the grid whose dots a glyph keeps.
struct Caja {
  int fila = 1, columna = 1, alto = glyph::Filas, ancho = glyph::Columnas;
};

// The lit dots' bounding box; empty for an empty drawing.
Caja cajaDe(const glyph::GlyphGrid& dibujo);

// The dots of caja as lines (columns or rows, as the layout says) of paso
// bits each, one line straight after the other: the tables give a column 8
// bits and a row 16, GFX packs its lines with no gap.
QByteArray empaquetar(const glyph::GlyphGrid& dibujo, const Caja& caja, const Disposicion& d, int paso);

// The bytes of a character in the tables, and the record's bytes in them:
// every character the same number of bytes.
int bytesDeTabla(const Disposicion& d);
QByteArray enTabla(const fontfile::FontRecord& r, const Disposicion& d);

// The layout in words and the example's bytes, for the comment at the top.
QString describir(const Disposicion& d, bool gfx);

// The comment at the top of a source export, one string per line.
QStringList comentario(const Fuente& fuente, const Disposicion& d, bool gfx, qsizetype caracteres);

// A literal of Python or JSON for one character: itself when printable,
// otherwise escaped.
QString literal(const QString& texto, bool json);

// A C identifier from the file's name, plain ASCII and never one reserved to
// the compiler: "mi fuente.mtz" gives "mi_fuente", "ñandú.mtz" "nandu".
QString identificador(const QString& ruta);

// The file's name as written into a comment: a line feed in it would end the
// comment and put the rest of the name into the generated code.
QString nombreEnComentario(const QString& ruta);
// "NAME: N caracteres de 7 filas x 10 columnas, exportados por mtz ... desde FILE."
QString deDonde(const Fuente& fuente, qsizetype caracteres);
QString hex2(int v);
QString enHex(const QByteArray& bytes, const QString& antes, const QString& separador);
Fallo sinCaracteres(const Fuente& fuente);
QString comentarioC(const QStringList& lineas);
// "#ifndef MTZ_ID_FORMATO_H" and its #define: a header included twice, or
// from two files of one program, defines its tables once in each.
QString abrirGuarda(const QString& id, const QString& formato);
// "0x80 '€'": a Windows-1252 code and its character when it is printable.
QString notaDeCodigo(char32_t codigo);

// A record that a font indexed by code can hold.
struct Glifo {
  char32_t codigo;
  const Entrada* entrada;
};

// The records whose character has a code from primero to ultimo (its
// Windows-1252 byte, or its Unicode code point), the first of each; the
// others are left out, each said in avisos.
std::vector<Glifo> glifosConCodigo(const Fuente& fuente, char32_t primero, char32_t ultimo, bool windows1252,
                                   const QString& formato, QStringList& avisos);

// The records of a font indexed by byte, as the display libraries draw a
// byte at a time: at each code from 0x20 to 0xFF (its Windows-1252 byte), the
// first record of that character. Throws Fallo when none is held.
inline constexpr char32_t PrimerByte = 0x20, UltimoByte = 0xff;
struct PorByte {
  std::array<const Entrada*, UltimoByte + 1> entradas{};
  char32_t ultimo = PrimerByte;  // the highest code held
  qsizetype cuantos = 0;
};
PorByte porByte(const Fuente& fuente, const QString& formato, QStringList& avisos);

// The exporters, one per format, each registered in a row of formatos().
Exportador exportarC, exportarArduino, exportarPython, exportarJson, exportarGfx, exportarBdf, exportarMax72xx;

}  // namespace mtz
