#include <QRegularExpression>
#include <QStandardPaths>

#include "Exportar.h"
#include "Mtz.h"

using namespace Qt::StringLiterals;

namespace {

// Glyphs 10, 9, 8, 3 and 0 wide; codes 128 and -1 (a full and an empty column); the two characters a literal
// escapes; € (0x80 by byte) and a repeated '"' (kept once where a dictionary or a code indexes the font).
const QByteArray Prueba = registro("I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}) +
                          registro("\\", {1, 2, 4, 8, 16, 32, 64, 0, 0x55}) +
                          registro("\x80", {0x3e, 128, -1, 0x49, 0x49, 0x41, 0x22, 0x01}) + registro("\"", {3, 0, 3}) +
                          registro("\xf1", {}) + registro("\"", {0x7f});

// What every export of Prueba gives back: byte, advance and the seven rows.
const QStringList Dibujos = {u"49 11 #......... #......... #......... #......... #......... #......... #........#"_s,
                             u"5c 10 #.......#. .#........ ..#.....#. ...#...... ....#...#. .....#.... ......#.#."_s,
                             u"80 9 .#.###.#.. ##....#... ##........ ##.##..... ##........ ##....#... .#.###...."_s,
                             u"22 4 #.#....... #.#....... .......... .......... .......... .......... .........."_s,
                             u"f1 1 .......... .......... .......... .......... .......... .......... .........."_s,
                             u"22 2 #......... #......... #......... #......... #......... #......... #........."_s};

// The C tables as lines "byte width hex", or the MAX72XX table in hex; f.h is included twice here and in otra.c.
const char* const LeerTablas = R"(#include <stdio.h>
#include "f.h"
#include "f.h"
int main(void) {
#ifdef MAX72XX
  for (unsigned i = 0; i < sizeof nandu_max72xx; ++i) printf("%02x", nandu_max72xx[i]);
#else
  for (int i = 0; i < NANDU_CARACTERES; ++i, putchar('\n')) {
    printf("%02x %d ", nandu_caracteres[i], nandu_anchos[i]);
    for (int b = 0; b < NANDU_BYTES; ++b) printf("%02x", nandu_codigos[i][b]);
  }
#endif
})";

// Draws each character of the Python, JSON or C tables (as printed above) by the layout FILAS, MSB, INVERTIDA; a
// bit that carries no dot must be dark. MAX72XX as documented: 'F', version 2, first and last codes high byte
// first, the height, then per code its width and a byte per column, bit 0 the top row.
const char* const LeerPython = R"(import json, sys
FILAS, MSB, INVERTIDA = (int(a) for a in sys.argv[2:])
if sys.argv[1] == "python":
    import f
    tabla = [(c.encode("cp1252"), f.ANCHOS[c], v) for c, v in f.GLIFOS.items()]
elif sys.argv[1] == "json":
    tabla = [(x["caracter"].encode("cp1252"), x["ancho"], x["codigos"]) for x in json.load(open("f.h"))["caracteres"]]
elif sys.argv[1] == "max72xx":
    t, p, tabla = bytes.fromhex(open("tablas").read()), 7, []
    assert t[:2] == b"F\x02" and t[6] == 7
    for c in range(t[2] << 8 | t[3], (t[4] << 8 | t[5]) + 1):
        tabla += [(bytes([c]), t[p], t[p + 1 : p + 1 + t[p]])] if t[p] else []
        p += 1 + t[p]
    assert p == len(t)
else:
    tabla = [(bytes.fromhex(c), int(a), bytes.fromhex(v)) for c, a, v in (l.split() for l in open(sys.argv[1]))]
for c, ancho, v in tabla:
    p = [["."] * 16 for f in range(8)]
    for k in range(len(v) * 8):
        if (v[k // 8] >> (7 - k % 8 if MSB else k % 8) & 1) != INVERTIDA:
            p[k // 16 if FILAS else k % 8][k % 16 if FILAS else k // 8] = "#"
    sin_punto = any(p[f][k] == "#" for f in range(8) for k in range(16) if f > 6 or k > 9)
    print(c.hex(), ancho + 1, " ".join("".join(f[:10]) for f in p[:7]), *["bit sin punto"][:sin_punto])
)";

// Draws every glyph as a display library does, with stand-ins written from the structures' published field list.
const char* const DibujarGfx = R"(#include <stdint.h>
#include <stdio.h>
typedef struct { uint16_t bitmapOffset; uint8_t width, height, xAdvance; int8_t xOffset, yOffset; } GFXglyph;
typedef struct { uint8_t *bitmap; GFXglyph *glyph; uint16_t first, last; uint8_t yAdvance; } GFXfont;
#include "f.h"
int main(void) {
  for (unsigned c = nandu_fuente.first; c <= nandu_fuente.last; ++c) {
    const GFXglyph *g = &nandu_fuente.glyph[c - nandu_fuente.first];
    char p[7][11] = {"..........", "..........", "..........", "..........", "..........", "..........", ".........."};
    for (int k = 0; k < g->width * g->height; ++k)
      if ((nandu_fuente.bitmap[g->bitmapOffset + k / 8] >> (MSB ? 7 - k % 8 : k % 8) & 1) != INVERTIDA)
        p[7 + g->yOffset + (FILAS ? k / g->width : k % g->height)][g->xOffset + (FILAS ? k % g->width : k / g->height)] = '#';
    if (g->xAdvance) printf("%02x %d %s %s %s %s %s %s %s\n", c, g->xAdvance, p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
  }
  return nandu_fuente.yAdvance == 8 ? 0 : 1;
})";

}  // namespace

TEST(Exportar, CadaFormatoEnCadaDisposicionDevuelveLosPuntos) {
  QTemporaryDir dir;
  // A line feed in the font's name must stay inside the comment or string that names the file, or the export fails;
  // the identifiers are plain ASCII, never reserved.
  const QString fuente = u"ñandú\n.mtz"_s;
  escribirArchivo(dir.filePath(fuente), Prueba);
  escribirArchivo(dir.filePath(u"leer.c"_s), LeerTablas);
  escribirArchivo(dir.filePath(u"otra.c"_s), "#include \"f.h\"\n");
  escribirArchivo(dir.filePath(u"leer.py"_s), LeerPython);
  escribirArchivo(dir.filePath(u"dibujar.c"_s), DibujarGfx);
  for (const auto& [formato, compilar, lector] :
       {std::tuple{"c", "cc -std=c99 -pedantic leer.c otra.c", "tablas"},
        {"arduino", "c++ -xc++ -pedantic leer.c otra.c", "tablas"},
        {"python", "", "python"},
        {"json", "", "json"},
        {"gfx", "c++ -xc++ dibujar.c", ""},
        {"max72xx", "cc -std=c99 -pedantic -DMAX72XX leer.c otra.c", "max72xx"}}) {
    const bool gfx = formato == "gfx"_L1, py = formato == "python"_L1, max = formato == "max72xx"_L1;
    for (int i = 0; i < (max ? 1 : 8); ++i) {
      const QStringList d{QString::number(i & 1), QString::number(i >> 1 & 1), QString::number(i >> 2)};
      QStringList argumentos{
          u"export"_s, fuente, u"--format"_s, QLatin1String(formato), u"-o"_s, py ? u"f.py"_s : u"f.h"_s};
      // The format's own layout (rows and msb for GFX) is asked for with no option.
      if ((i & 1) != gfx && !max) argumentos << u"--order"_s << (i & 1 ? u"rows"_s : u"columns"_s);
      if ((i >> 1 & 1) != gfx && !max) argumentos << u"--bit-order"_s << (i & 2 ? u"msb"_s : u"lsb"_s);
      if (i & 4) argumentos << u"--invert"_s;
      SCOPED_TRACE(argumentos.join(u' ').toStdString());
      const Corrida e = correr(QStringLiteral(MTZ_PROGRAMA), argumentos, dir.path());
      ASSERT_EQ(e.estado, 0) << e.errores.toStdString();
      EXPECT_EQ(e.errores.contains("registro 6: el carácter \" repetido se omite"), gfx || py || max);
      Corrida r;
      if (*compilar) {
        const QStringList c = palabras(compilar) + palabras("-Wall -Wextra -Werror -o leer") +
                              QStringList{"-DFILAS="_L1 + d[0], "-DMSB="_L1 + d[1], "-DINVERTIDA="_L1 + d[2]};
        const Corrida compilado = correr(c[0], c.mid(1), dir.path());
        ASSERT_EQ(compilado.estado, 0) << compilado.errores.toStdString();
        escribirArchivo(dir.filePath(u"tablas"_s), (r = correr(dir.filePath(u"leer"_s), {})).salida);
      }
      // A compiled reader prints the tables for the script, or draws the glyphs itself.
      if (*lector) r = correr(u"python3"_s, QStringList{u"leer.py"_s, QLatin1String(lector)} + d, dir.path());
      EXPECT_EQ(r.estado, 0) << r.errores.toStdString();
      QStringList leido = QString::fromUtf8(r.salida).split(u'\n', Qt::SkipEmptyParts);
      leido.sort();
      QStringList esperado = Dibujos.mid(0, gfx || py || max ? 5 : 6);
      // The space the byte-indexed fonts add; in MAX72XX's an empty drawing is as wide as a missing one, 0.
      if (gfx || max) esperado << (gfx ? u"20 3"_s : u"20 4"_s) + u" .........."_s.repeated(7);
      if (max) esperado.removeAt(4);
      esperado.sort();
      EXPECT_EQ(leido.join(u'\n').toStdString(), esperado.join(u'\n').toStdString());
    }
  }
}

TEST(Exportar, FuenteVaciaYCaracteresQueNoCaben) {
  QTemporaryDir dir;
  const QString vacia = dir.filePath(u"vacia.mtz"_s);
  escribirArchivo(vacia, {});
  fracasa(ejecutar("export", vacia, "--format", "json"), 1, ": la fuente no tiene caracteres\n");
  // Warnings stop at 200 lines, and one more counts the rest.
  escribirArchivo(vacia, registro("a", {1}).repeated(301));
  const Corrida p = ejecutar("export", vacia, "--format", "python");
  EXPECT_EQ(p.estado, 0);
  EXPECT_EQ(p.errores.count('\n'), 201);
  EXPECT_TRUE(p.errores.endsWith("\nmtz: ... y 100 avisos más\n"));
  // The index of C holds one byte per character; a BDF of no glyph is refused rather than written.
  escribirArchivo(vacia, registro("ab", {1}));
  fracasa(ejecutar("export", vacia, "--format", "c"), 1, "registro 1: el carácter \\x61\\x62 no es de un byte");
  const Corrida bdf = ejecutar("export", vacia, "--format", "bdf");
  EXPECT_EQ(bdf.estado, 1);
  EXPECT_EQ(bdf.salida + bdf.errores,
            "mtz: " + vacia.toUtf8() + ": registro 1: el carácter \\x61\\x62 no tiene código en BDF y se omite\nmtz: " +
                vacia.toUtf8() + ": la fuente no tiene caracteres\n");
}

TEST(Exportar, ArduinoYMax72xxQuedanEnLaFlashConAvrGcc) {
  if (QStandardPaths::findExecutable(u"avr-gcc"_s).isEmpty()) {
    if (qEnvironmentVariableIsSet("CI")) FAIL() << "falta avr-gcc (scripts/paquetes-mtz.txt)";
    GTEST_SKIP() << "sin avr-gcc";
  }
  QTemporaryDir dir;
  escribirArchivo(dir.filePath(u"f.mtz"_s), Prueba);
  for (const QString& f : {u"arduino"_s, u"max72xx"_s})
    ASSERT_EQ(ejecutar("export", dir.filePath(u"f.mtz"_s), "--format", f, "-o", dir.filePath(f + u".h"_s)).estado, 0);
  const QStringList tablas{u"f_codigos"_s, u"f_anchos"_s, u"f_caracteres"_s, u"f_max72xx"_s};
  // The exports first, before anything that defines PROGMEM, and last.
  for (const QByteArray antes : {"", "#include <avr/io.h>\n#include <avr/pgmspace.h>\n"}) {
    QByteArray programa =
        antes + "#include \"arduino.h\"\n#include \"max72xx.h\"\n#include <avr/io.h>\nint main(void) {\n";
    for (const QString& t : tablas)
      programa += "  PORTB ^= pgm_read_byte((const uint8_t *)&" + t.toUtf8() + " + PINB);\n";
    escribirArchivo(dir.filePath(u"avr.cpp"_s), programa + "  return 0;\n}\n");
    const Corrida c =
        correr(u"avr-gcc"_s, palabras("-mmcu=atmega328p -Os -Wall -Werror avr.cpp -o avr.elf"), dir.path());
    ASSERT_EQ(c.estado, 0) << programa.toStdString() << c.errores.toStdString();
    // Every table in the program's flash (t), none copied to RAM (d).
    const QString simbolos = QString::fromUtf8(correr(u"avr-nm"_s, {u"-C"_s, u"avr.elf"_s}, dir.path()).salida);
    for (const QString& t : tablas) EXPECT_TRUE(simbolos.contains(" t "_L1 + t + '\n')) << t.toStdString();
  }
}

TEST(Bdf, FilasDeDosOCuatroCifrasQueBdftopcfLeeYImportDevuelve) {
  QTemporaryDir dir;
  const QString fuente = dir.filePath(u"f\n.mtz"_s), bdf = dir.filePath(u"f.bdf"_s);
  // Widths 8, 9 and 10: a row is two hex digits up to 8 columns, four beyond.
  const QByteArray datos = registro("a", {127, 0, 0, 0, 0, 0, 0, 65}) + registro("b", {1, 0, 0, 0, 0, 0, 0, 0, 64}) +
                           registro("c", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64});
  escribirArchivo(fuente, datos);
  ASSERT_EQ(ejecutar("export", fuente, "--format", "bdf", "-o", bdf).estado, 0);
  const QRegularExpression filas(
      u"BBX 8 7 0 0\nBITMAP\n(\\w\\w\n){7}E.*BBX 9 7 0 0\nBITMAP\n(\\w{4}\n){7}E.*"
      "BBX 10 7 0 0\nBITMAP\n(\\w{4}\n){7}E"_s,
      QRegularExpression::DotMatchesEverythingOption);
  EXPECT_TRUE(QString::fromUtf8(leerArchivo(bdf)).contains(filas)) << leerArchivo(bdf).toStdString();
  // bdftopcf also reads the comment that names the file.
  const Corrida pcf = correr(u"bdftopcf"_s, {u"-o"_s, dir.filePath(u"f.pcf"_s), bdf});
  EXPECT_EQ(pcf.estado, 0);
  EXPECT_EQ(pcf.errores, "");
  ASSERT_EQ(ejecutar("import", bdf, "-o", dir.filePath(u"vuelta.mtz"_s)).estado, 0);
  EXPECT_EQ(leerArchivo(dir.filePath(u"vuelta.mtz"_s)), datos);
}
