#include <QRegularExpression>
#include <QStandardPaths>

#include "Exportar.h"
#include "Mtz.h"

using namespace Qt::StringLiterals;

namespace {

// Glyphs 10, 9, 8, 3 and 0 columns wide; codes of 128 and -1, shown as a full and an empty column; the two
// characters a literal escapes; € (no GFX code) and a repeated '"' (one per character in a dictionary).
const QByteArray Prueba = ranura("I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}) +
                          ranura("\\", {1, 2, 4, 8, 16, 32, 64, 0, 0x55}) +
                          ranura("\x80", {0x3e, 128, -1, 0x49, 0x49, 0x41, 0x22, 0x01}) + ranura("\"", {3, 0, 3}) +
                          ranura("\xf1", {}) + ranura("\"", {0x7f});

// What every export of Prueba gives back: byte, advance and the seven rows.
const QStringList Dibujos = {u"49 11 #......... #......... #......... #......... #......... #......... #........#"_s,
                             u"5c 10 #.......#. .#........ ..#.....#. ...#...... ....#...#. .....#.... ......#.#."_s,
                             u"80 9 .#.###.#.. ##....#... ##........ ##.##..... ##........ ##....#... .#.###...."_s,
                             u"22 4 #.#....... #.#....... .......... .......... .......... .......... .........."_s,
                             u"f1 1 .......... .......... .......... .......... .......... .......... .........."_s,
                             u"22 2 #......... #......... #......... #......... #......... #......... #........."_s};

// The C tables as lines "byte width hex".
const char* const LeerTablas = R"(#include <stdio.h>
#include "f.h"
int main(void) {
  for (int i = 0; i < F__CARACTERES; ++i, putchar('\n')) {
    printf("%02x %d ", f__caracteres[i], f__anchos[i]);
    for (int b = 0; b < F__BYTES; ++b) printf("%02x", f__codigos[i][b]);
  }
})";

// Reads the tables of Python, JSON, or C as printed above, and draws each character by the layout given as
// FILAS, MSB and INVERTIDA; a bit that carries no dot must be dark.
const char* const LeerPython = R"(import json, sys
FILAS, MSB, INVERTIDA = (int(a) for a in sys.argv[2:])
if sys.argv[1] == "python":
    import f
    tabla = [(c.encode("cp1252"), f.ANCHOS[c], v) for c, v in f.GLIFOS.items()]
elif sys.argv[1] == "json":
    tabla = [(x["caracter"].encode("cp1252"), x["ancho"], x["codigos"]) for x in json.load(open("f.h"))["caracteres"]]
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
  for (unsigned c = f__fuente.first; c <= f__fuente.last; ++c) {
    const GFXglyph *g = &f__fuente.glyph[c - f__fuente.first];
    char p[7][11] = {"..........", "..........", "..........", "..........", "..........", "..........", ".........."};
    for (int k = 0; k < g->width * g->height; ++k)
      if ((f__fuente.bitmap[g->bitmapOffset + k / 8] >> (MSB ? 7 - k % 8 : k % 8) & 1) != INVERTIDA)
        p[7 + g->yOffset + (FILAS ? k / g->width : k % g->height)][g->xOffset + (FILAS ? k % g->width : k / g->height)] = '#';
    if (g->xAdvance) printf("%02x %d %s %s %s %s %s %s %s\n", c, g->xAdvance, p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
  }
  return f__fuente.yAdvance == 8 ? 0 : 1;
})";

}  // namespace

TEST(Exportar, CadaFormatoEnCadaDisposicionDevuelveLosPuntos) {
  QTemporaryDir dir;
  // A line feed in the font's name must stay inside the comment or string that names the file, or the export fails.
  escribir(dir.filePath(u"f\n.mtz"_s), Prueba);
  escribir(dir.filePath(u"leer.c"_s), LeerTablas);
  escribir(dir.filePath(u"leer.py"_s), LeerPython);
  escribir(dir.filePath(u"dibujar.c"_s), DibujarGfx);
  for (const auto& [formato, compilar, lector] : {std::tuple{"c", "cc -std=c99 -pedantic leer.c", "tablas"},
                                                  {"arduino", "c++ -xc++ -pedantic leer.c", "tablas"},
                                                  {"python", "", "python"},
                                                  {"json", "", "json"},
                                                  {"gfx", "c++ -xc++ dibujar.c", ""}}) {
    const bool gfx = formato == "gfx"_L1, py = formato == "python"_L1;
    for (int i = 0; i < 8; ++i) {
      const QStringList d{QString::number(i & 1), QString::number(i >> 1 & 1), QString::number(i >> 2)};
      QStringList argumentos{
          u"export"_s, u"f\n.mtz"_s, u"--format"_s, QLatin1String(formato), u"-o"_s, py ? u"f.py"_s : u"f.h"_s};
      // The format's own layout (rows and msb for GFX) is asked for with no option.
      if ((i & 1) != gfx) argumentos << u"--order"_s << (i & 1 ? u"rows"_s : u"columns"_s);
      if ((i >> 1 & 1) != gfx) argumentos << u"--bit-order"_s << (i & 2 ? u"msb"_s : u"lsb"_s);
      if (i & 4) argumentos << u"--invert"_s;
      SCOPED_TRACE(argumentos.join(u' ').toStdString());
      const Corrida e = correr(QStringLiteral(MTZ_PROGRAMA), argumentos, dir.path());
      ASSERT_EQ(e.estado, 0) << e.errores.toStdString();
      EXPECT_EQ(e.errores.contains("registro 6: el carácter \" repetido se omite"), gfx || py);
      EXPECT_EQ(e.errores.contains("registro 3: el carácter €"), gfx);
      Corrida r;
      if (*compilar) {
        const QStringList c = palabras(compilar) + palabras("-Wall -Wextra -Werror -o leer") +
                              QStringList{"-DFILAS="_L1 + d[0], "-DMSB="_L1 + d[1], "-DINVERTIDA="_L1 + d[2]};
        const Corrida compilado = correr(c[0], c.mid(1), dir.path());
        ASSERT_EQ(compilado.estado, 0) << compilado.errores.toStdString();
        escribir(dir.filePath(u"tablas"_s), (r = correr(dir.filePath(u"leer"_s), {})).salida);
      }
      // A compiled reader prints the tables for the script, or draws the glyphs itself.
      if (*lector) r = correr(u"python3"_s, QStringList{u"leer.py"_s, QLatin1String(lector)} + d, dir.path());
      EXPECT_EQ(r.estado, 0) << r.errores.toStdString();
      QStringList leido = QString::fromUtf8(r.salida).split(u'\n', Qt::SkipEmptyParts);
      leido.sort();
      QStringList esperado = Dibujos.mid(0, gfx || py ? 5 : 6);
      if (gfx) esperado[2] = u"20 3"_s + u" .........."_s.repeated(7);  // no €, but the space GFX adds
      esperado.sort();
      EXPECT_EQ(leido.join(u'\n').toStdString(), esperado.join(u'\n').toStdString());
    }
  }
}

TEST(Exportar, FuenteVaciaEnCadaFormatoYCaracteresQueNoCaben) {
  QTemporaryDir dir;
  const QString vacia = dir.filePath(u"vacia.mtz"_s);
  escribir(vacia, {});
  for (const mtz::DatosFormato& f : mtz::formatos()) {
    const Corrida v = ejecutar("export", vacia, "--format", f.nombre);
    EXPECT_TRUE(v.estado == 1 && v.salida + v.errores == "mtz: " + vacia.toUtf8() + ": la fuente no tiene caracteres\n")
        << f.nombre << v.errores.toStdString();
  }
  // The index of C holds one byte per character; a BDF of no glyph is refused rather than written.
  escribir(vacia, ranura("ab", {1}));
  for (const char* formato : {"c", "bdf"}) {
    const Corrida e = ejecutar("export", vacia, "--format", formato);
    EXPECT_TRUE(e.estado == 1 && e.salida.isEmpty() && e.errores.contains("registro 1")) << formato;
  }
}

TEST(Exportar, ArduinoQuedaEnLaFlashConAvrGcc) {
  if (QStandardPaths::findExecutable(u"avr-gcc"_s).isEmpty()) {
    if (qEnvironmentVariableIsSet("CI")) FAIL() << "falta avr-gcc (scripts/paquetes-mtz.txt)";
    GTEST_SKIP() << "sin avr-gcc";
  }
  QTemporaryDir dir;
  const QString f = dir.filePath(u"f.mtz"_s);
  escribir(f, Prueba);
  const QByteArray io = "#include <avr/io.h>\n";
  // The export first, before anything that defines PROGMEM, and last.
  for (const auto& [antes, despues] :
       {std::pair{QByteArray(), io}, {io + "#include <avr/pgmspace.h>\n", QByteArray()}}) {
    ASSERT_EQ(ejecutar("export", f, "--format", "arduino", "-o", dir.filePath(u"f.h"_s)).estado, 0);
    QByteArray programa = antes + "#include \"f.h\"\n" + despues + "int main(void) {\n";
    for (const char* t : {"f_codigos", "f_anchos", "f_caracteres"})
      programa += "  PORTB ^= pgm_read_byte((const uint8_t *)&" + QByteArray(t) + " + PINB);\n";
    escribir(dir.filePath(u"avr.cpp"_s), programa + "  return 0;\n}\n");
    const Corrida c =
        correr(u"avr-gcc"_s, palabras("-mmcu=atmega328p -Os -Wall -Werror avr.cpp -o avr.elf"), dir.path());
    ASSERT_EQ(c.estado, 0) << programa.toStdString() << c.errores.toStdString();
    // Berkeley format: text, data, bss: nothing in RAM, every table in the program's flash (t).
    const QString tamano = QString::fromUtf8(correr(u"avr-size"_s, {u"avr.elf"_s}, dir.path()).salida);
    EXPECT_EQ(tamano.section(u'\n', 1, 1).section(u'\t', 1, 1).trimmed(), u"0"_s) << tamano.toStdString();
    const QString simbolos = QString::fromUtf8(correr(u"avr-nm"_s, {u"-C"_s, u"avr.elf"_s}, dir.path()).salida);
    for (const char* t : {"f_codigos", "f_anchos", "f_caracteres"})
      EXPECT_TRUE(simbolos.contains(" t "_L1 + t + '\n')) << programa.toStdString();
  }
}

TEST(Bdf, FilasDeDosOCuatroCifrasQueBdftopcfLeeYImportDevuelve) {
  QTemporaryDir dir;
  const QString fuente = dir.filePath(u"f\n.mtz"_s), bdf = dir.filePath(u"f.bdf"_s);
  // Widths 8, 9 and 10: a row is two hex digits up to 8 columns, four beyond.
  const QByteArray datos = ranura("a", {127, 0, 0, 0, 0, 0, 0, 65}) + ranura("b", {1, 0, 0, 0, 0, 0, 0, 0, 64}) +
                           ranura("c", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64});
  escribir(fuente, datos);
  ASSERT_EQ(ejecutar("export", fuente, "--format", "bdf", "-o", bdf).estado, 0);
  const QRegularExpression filas(
      u"BBX 8 7 0 0\nBITMAP\n(\\w\\w\n){7}E.*BBX 9 7 0 0\nBITMAP\n(\\w{4}\n){7}E.*"
      "BBX 10 7 0 0\nBITMAP\n(\\w{4}\n){7}E"_s,
      QRegularExpression::DotMatchesEverythingOption);
  EXPECT_TRUE(QString::fromUtf8(leer(bdf)).contains(filas)) << leer(bdf).toStdString();
  // bdftopcf also reads the comment that names the file.
  const Corrida pcf = correr(u"bdftopcf"_s, {u"-o"_s, dir.filePath(u"f.pcf"_s), bdf});
  EXPECT_TRUE(pcf.estado == 0 && pcf.errores.isEmpty()) << pcf.errores.toStdString();
  ASSERT_EQ(ejecutar("import", bdf, "-o", dir.filePath(u"vuelta.mtz"_s)).estado, 0);
  EXPECT_EQ(leer(dir.filePath(u"vuelta.mtz"_s)), datos);
}

namespace {

QByteArray fuenteBdf(int ascenso, int descenso, const QByteArray& glifos, int cuantos) {
  return "STARTFONT 2.1\nFONT prueba\nSIZE 9 75 75\nFONTBOUNDINGBOX 12 11 0 -2\nSTARTPROPERTIES 4\n"
         "FONT_ASCENT " +
         QByteArray::number(ascenso) + "\nFONT_DESCENT " + QByteArray::number(descenso) +
         "\nCHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS " +
         QByteArray::number(cuantos) + "\n" + glifos + "ENDFONT\n";
}

QByteArray glifo(int codigo, const char* caja, std::initializer_list<const char*> filas) {
  QByteArray t =
      "STARTCHAR g\nENCODING " + QByteArray::number(codigo) + "\nSWIDTH 500 0\nDWIDTH 6 0\nBBX " + caja + "\nBITMAP\n";
  for (const char* f : filas) t += QByteArray(f) + '\n';
  return t + "ENDCHAR\n";
}

glyph::Codigos codigosDe(const QByteArray& fuente, int registro) {
  return fontfile::leerRanura(fuente.constData() + (registro - 1) * fontfile::LongitudRegistro)->columnas;
}

}  // namespace

TEST(Bdf, ImportEncajaEnLaCuadriculaEInformaDeLoRecortadoYOmitido) {
  QTemporaryDir dir;
  const QByteArray glifos = glifo('A', "5 9 0 0", {"F8", "F8", "F8", "F8", "F8", "F8", "F8", "F8", "F8"}) +
                            glifo('g', "5 7 0 -2", {"88", "88", "88", "88", "88", "88", "88"}) +
                            glifo('x', "12 1 1 0", {"FFF0"}) + glifo(0x3042, "2 2 0 0", {"C0", "C0"}) +
                            glifo(-1, "1 1 0 0", {"80"});
  // Taller than the grid: the baseline stays under row 7, what is above and below is cut;
  // x keeps its one-dot bearing, as the font moves left only as far as its leftmost dot.
  const QString alta = dir.filePath(QStringLiteral("alta.bdf"));
  escribir(alta, fuenteBdf(9, 2, glifos, 5));
  const QString salida = dir.filePath(QStringLiteral("alta.mtz"));
  const Corrida c = orden({QStringLiteral("import"), alta, QStringLiteral("-o"), salida});
  ASSERT_EQ(c.estado, 0) << c.errores.toStdString();
  const QString informe = QString::fromUtf8(c.errores);
  EXPECT_TRUE(informe.contains(QStringLiteral("A (línea 12): recortado, puntos fuera de la cuadrícula: 10 arriba")))
      << informe.toStdString();
  EXPECT_TRUE(informe.contains(QStringLiteral("g (línea 28): recortado, puntos fuera de la cuadrícula: 4 abajo")))
      << informe.toStdString();
  EXPECT_TRUE(
      informe.contains(QStringLiteral("x (línea 42): recortado, puntos fuera de la cuadrícula: 3 a la derecha")))
      << informe.toStdString();
  EXPECT_TRUE(
      informe.contains(QStringLiteral("omitidos 2 glifos que no están en la lista de 121: U+3042 (sin código)")))
      << informe.toStdString();
  EXPECT_TRUE(informe.contains(QStringLiteral("faltan 118 caracteres"))) << informe.toStdString();
  const QByteArray mtzAlta = leer(salida);
  ASSERT_EQ(mtzAlta.size(), 3 * fontfile::LongitudRegistro);  // g, x, A: the order of the list
  EXPECT_EQ(codigosDe(mtzAlta, 1), (glyph::Codigos{124, 0, 0, 0, 124}));
  EXPECT_EQ(codigosDe(mtzAlta, 2), (glyph::Codigos{0, 64, 64, 64, 64, 64, 64, 64, 64, 64}));
  EXPECT_EQ(codigosDe(mtzAlta, 3), (glyph::Codigos{127, 127, 127, 127, 127}));

  // A font of 5 + 2 rows fits whole: its descenders take rows 6 and 7.
  escribir(alta, fuenteBdf(5, 2, glifos, 5));
  ASSERT_EQ(orden({QStringLiteral("import"), alta, QStringLiteral("-o"), salida}).estado, 0);
  EXPECT_EQ(codigosDe(leer(salida), 1), (glyph::Codigos{127, 0, 0, 0, 127}));

  // Not a font: nothing is written.
  const QString mala = dir.filePath(QStringLiteral("mala.bdf"));
  for (const QByteArray& texto : {QByteArray("hola\n"), fuenteBdf(5, 2, glifo('a', "2 2 0 0", {"ZZ"}), 1),
                                  fuenteBdf(5, 2, glifo('a', "2 2 0 0", {"C0"}), 1).replace("ENDFONT\n", "")}) {
    escribir(mala, texto);
    const QString nada = dir.filePath(QStringLiteral("nada.mtz"));
    const Corrida m = orden({QStringLiteral("import"), mala, QStringLiteral("-o"), nada});
    EXPECT_EQ(m.estado, 1) << texto.toStdString();
    EXPECT_EQ(m.errores.count('\n'), 1) << m.errores.toStdString();
    EXPECT_FALSE(QFile::exists(nada));
  }
}
