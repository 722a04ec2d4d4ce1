#include <QRegularExpression>
#include <climits>

#include "Mtz.h"

using namespace Qt::StringLiterals;

namespace {

// Eleven lines before the first glyph (STARTCHAR at line 12), five a glyph and its rows.
QByteArray fuenteBdf(int ascenso, int descenso, const QByteArray& glifos,
                     const QByteArray& familiaDelJuego = "\"ISO10646\"", const QByteArray& codificacion = "\"1\"") {
  const QByteArray juego = "CHARSET_REGISTRY " + familiaDelJuego + "\nCHARSET_ENCODING " + codificacion + '\n';
  return "STARTFONT 2.1\nFONT prueba\nSIZE 9 75 75\nFONTBOUNDINGBOX 12 11 0 -2\nSTARTPROPERTIES 4\nFONT_ASCENT " +
         QByteArray::number(ascenso) + "\nFONT_DESCENT " + QByteArray::number(descenso) + '\n' +
         (familiaDelJuego.isEmpty() ? "" : juego) + "ENDPROPERTIES\nCHARS 1\n" + glifos + "ENDFONT\n";
}

QByteArray glifo(qint64 codigo, const char* caja, std::initializer_list<const char*> filas) {
  QByteArray t = "STARTCHAR g\nENCODING " + QByteArray::number(codigo) + "\nBBX " + caja + "\nBITMAP\n";
  for (const char* f : filas) t += QByteArray(f) + '\n';
  return t + "ENDCHAR\n";
}

// mtz import or build with these arguments and -o: a font, in *mtz, only when it ends well.
Corrida escribir(const QTemporaryDir& dir, const QStringList& argumentos, QByteArray* mtz = nullptr) {
  const QString salida = dir.filePath(u"f.mtz"_s);
  QFile::remove(salida);
  const Corrida c = ejecutar(argumentos + QStringList{u"-o"_s, salida});
  EXPECT_EQ(QFile::exists(salida), c.estado == 0) << c.errores.toStdString();
  if (mtz) *mtz = c.estado == 0 ? leerArchivo(salida) : QByteArray();
  return c;
}

// The same for texto as the file given to import or build.
Corrida convertir(const QTemporaryDir& dir, const char* que, const QByteArray& texto, QByteArray* mtz = nullptr) {
  escribirArchivo(dir.filePath(u"f.txt"_s), texto);
  return escribir(dir, {QString::fromUtf8(que), dir.filePath(u"f.txt"_s)}, mtz);
}

}  // namespace

TEST(Bdf, ImportEncajaEnLaCuadriculaEInformaDeLoRecortadoOmitidoYRepetido) {
  QTemporaryDir dir;
  const QByteArray glifos = glifo('A', "5 9 0 0", {"F8", "F8", "F8", "F8", "F8", "F8", "F8", "F8", "F8"}) +
                            glifo('g', "5 7 0 -2", {"88", "88", "88", "88", "88", "88", "88"}) +
                            glifo('x', "12 1 1 0", {"FFF0"}) + glifo('W', "10 1 0 0", {"FFC0"}) +
                            glifo(0x3042, "2 2 0 0", {"C0", "C0"}) + glifo(-1, "1 1 0 0", {"80"}) +
                            glifo('A', "1 1 0 0", {"80"}) + glifo('j', "3 6 -1 -5", {"20", "0", "0", "0", "0", "80"});
  // Taller than the grid: the baseline stays under row 7, what is above and below is cut;
  // x keeps its one-dot bearing, as the font moves left only as far as its leftmost dot that stays (not j's hook).
  QByteArray mtz;
  const Corrida c = convertir(dir, "import", fuenteBdf(9, 2, glifos), &mtz);
  for (const char* linea : {"A (línea 12): recortado, puntos fuera de la cuadrícula: 10 arriba\n",
                            "g (línea 26): recortado, puntos fuera de la cuadrícula: 4 abajo\n",
                            "x (línea 38): recortado, puntos fuera de la cuadrícula: 3 a la derecha\n",
                            "omitidos 2 glifos que no están en la lista de 121: U+3042 (sin código)\n",
                            "omitidos 1 glifos repetidos: A (línea 63, se conserva la 12)\n", "faltan 116 caracteres"})
    EXPECT_TRUE(c.errores.contains(linea)) << linea << "\n" << c.errores.toStdString();
  EXPECT_EQ(mtz, registro("g", {124, 0, 0, 0, 124}) + registro("j", {0, 64}) +
                     registro("x", {0, 64, 64, 64, 64, 64, 64, 64, 64, 64}) + registro("A", {127, 127, 127, 127, 127}) +
                     registro("W", {64, 64, 64, 64, 64, 64, 64, 64, 64, 64}));

  // The baseline rises by min(descent, 7 - ascent): g's descender shows as far as the ascent leaves room.
  for (const auto& [ascenso, descenso, columna] : std::initializer_list<std::tuple<int, int, int>>{
           {5, 2, 127}, {6, 2, 126}, {7, 2, 124}, {5, 0, 124}, {5, -1, 124}}) {
    convertir(dir, "import", fuenteBdf(ascenso, descenso, glifos), &mtz);
    EXPECT_EQ(mtz.left(fontfile::LongitudRegistro), registro("g", {columna, 0, 0, 0, columna})) << ascenso << descenso;
  }
}

TEST(Bdf, LosCodigosSeLeenEnElJuegoDeCaracteresDeLaFuente) {
  QTemporaryDir dir;
  // The code in the font's character set, the Windows-1252 byte it imports as (0: none) and what stderr says.
  // clang-format off
  for (const auto& [familiaDelJuego, codificacion, codigo, caracter, informe] :
       std::initializer_list<std::tuple<QByteArray, QByteArray, int, char, const char*>>{
           {"ISO8859", "2", 0xF1, 0, "U+0144"}, {"\"iso8859\"", "\"5\"", 0xF1, 0, "U+0451"},
           {"ISO8859", "15", 0xA4, '\x80', ""}, {"ISO8859", "16", 0xA4, '\x80', ""}, {"ISO8859", "1", 0xF1, '\xf1', ""},
           {"KOI8", "R", 0xA3, 0, "U+0451"}, {"MICROSOFT", "CP1250", 0x80, '\x80', ""},
           {"ISO646.1991", "IRV", 'a', 'a', ""}, {"ISO646.1991", "IRV", 0xF1, 0, "(código 241)"},
           {"", "", 0xF1, '\xf1', "la fuente no dice su juego de caracteres"}}) {  // clang-format on
    QByteArray mtz;
    const Corrida c = convertir(dir, "import",
                                fuenteBdf(7, 0, glifo(codigo, "1 1 0 0", {"80"}), familiaDelJuego, codificacion), &mtz);
    EXPECT_TRUE(c.errores.contains(informe)) << c.errores.toStdString();
    EXPECT_EQ(c.errores.contains("Unicode"), familiaDelJuego.isEmpty()) << c.errores.toStdString();
    EXPECT_EQ(mtz.mid(2, 1), QByteArray(caracter ? 1 : 0, caracter)) << familiaDelJuego.toStdString();
  }
}

TEST(ImportYBuild, UnaEntradaMalaTerminaEnUnaLineaSinEscribirNada) {
  QTemporaryDir dir;
  const QByteArray a = glifo('a', "1 1 0 0", {"80"}), dibujo = "[a]\n.\n.\n.\n.\n.\n.\n.\n";
  QByteArray muchos;
  for (int i = 1; i < fontfile::MaximoRegistros; ++i) muchos += dibujo;
  // The accepted side of the limits the cases below pass.
  const QByteArray limites = glifo(0x3042, "512 1 -4096 4096", {"80"}) + glifo(INT_MAX, "1 1 0 0", {"80"}) + a;
  EXPECT_EQ(convertir(dir, "import", fuenteBdf(7, 0, limites).replace("CHARS 1", QByteArray(4096, 'C'))).estado, 0);
  EXPECT_EQ(convertir(dir, "build", muchos + "[b]\n.\n.\n.\n.\n.\n.\n##########\n").estado, 0);
  for (const auto& [que, texto, error] : std::initializer_list<std::tuple<const char*, QByteArray, const char*>>{
           {"import", fuenteBdf(7, 0, glifo('a', "2 2 0 0", {"ZZ"})), ":16: fila de BITMAP no hexadecimal"},
           {"import", fuenteBdf(7, 0, a + "STARTCHAR b\n"), "falta ENDFONT"},
           {"import", fuenteBdf(7, 0, glifo('a', "1 1 0 0", {"80", "80"})), "más filas que su BBX"},
           {"import", fuenteBdf(7, 0, glifo('a', "1 2 0 0", {"80"})), ":17: BITMAP con menos filas que su BBX"},
           // Offsets near 2^30 once wrapped a column into the grid and wrote 4 GiB below it.
           {"import", fuenteBdf(7, 0, glifo('a', "1 1 1073741823 0", {"80"}) + a), "fuera de -4096..4096"},
           {"import", fuenteBdf(7, 0, glifo('a', "1 1 -4097 0", {"80"})), "fuera de -4096..4096"},
           {"import", fuenteBdf(7, 0, glifo('a', "1 1 0 4097", {"80"})), "fuera de -4096..4096"},
           {"import", fuenteBdf(7, 0, glifo('a', "513 1 0 0", {"80"})), "fuera de 0..512"},
           {"import", fuenteBdf(7, 0, glifo(INT_MAX + 1LL, "1 1 0 0", {"80"})), "fuera de"},
           {"import", fuenteBdf(7, 0, a).replace("CHARS 1", QByteArray(4097, 'C')), ":11: línea de más de"},
           {"import", fuenteBdf(7, 0, a, "JISX0208.1983", "0"), "juego de caracteres JISX0208.1983-0 desconocido"},
           {"build", "; nada\n", "f.txt: ningún carácter; no se escribe nada"},
           {"build", muchos + dibujo + dibujo, ":262137: más de 32767 caracteres"},
           {"build", "[a]\n.\n.\n.\n.\n.\n.\n", "tiene 6 filas"},
           {"build", "[a]\n.\n.\n.\n.\n.\n.\n###########\n", ":8: la fila tiene más de 10 columnas"},
           {"build", "[a]\n.\n.x\n", ":3: solo se admiten '#' y '.'"},
           {"build", "[a]\n.\n\xff\n", ":3: el texto no está en UTF-8"}})
    fracasa(convertir(dir, que, texto), 1, error);
}

namespace {

// Each character's twenty bytes of codes in a font file.
QHash<QString, QByteArray> dibujos(const QByteArray& mtz) {
  QHash<QString, QByteArray> d;
  for (qsizetype i = 0; i + fontfile::LongitudRegistro <= mtz.size(); i += fontfile::LongitudRegistro)
    d.insert(fontfile::deWindows1252(mtz.mid(i + 2, 1)), mtz.mid(i + 3, 20));
  return d;
}

bool hay(const QString& ruta) {
  if (QFile::exists(ruta)) return true;
  // CI installs the faces (scripts/paquetes-mtz.txt): a missing one there is a fault of the list.
  EXPECT_FALSE(qEnvironmentVariableIsSet("CI")) << "falta " << ruta.toStdString();
  return false;
}

}  // namespace

// At the size the import chooses the Spanish marks stay: Ñ, ñ, Ç, ç apart from N, n, C, c, g from q, the underscore
// seen, ¿ and ¡ whole. (How many dots it cuts against otf2bdf is measured by scripts/medir_importacion.sh.)
TEST(Tipografia, CadaCaraConservaLasMarcas) {
  const QString dv = u"/usr/share/fonts/truetype/dejavu/"_s, lib = u"/usr/share/fonts/truetype/liberation2/"_s;
  QTemporaryDir dir;
  for (const QString& cara : {dv + u"DejaVuSans.ttf"_s, dv + u"DejaVuSerif.ttf"_s, dv + u"DejaVuSansMono.ttf"_s,
                              dv + u"DejaVuSansCondensed.ttf"_s, lib + u"LiberationSans-Regular.ttf"_s,
                              lib + u"LiberationSerif-Regular.ttf"_s, lib + u"LiberationMono-Regular.ttf"_s}) {
    if (!hay(cara)) continue;
    QByteArray mtz;
    const Corrida c = escribir(dir, {u"import"_s, cara}, &mtz);
    ASSERT_EQ(c.estado, 0) << c.errores.toStdString();
    const auto d = dibujos(mtz);
    for (const QString& par : {u"NÑ"_s, u"nñ"_s, u"CÇ"_s, u"cç"_s, u"gq"_s})
      EXPECT_NE(d.value(par.left(1)), d.value(par.mid(1))) << cara.toStdString() << " " << par.toStdString();
    EXPECT_NE(d.value(u"_"_s), QByteArray(20, 0)) << cara.toStdString();
    EXPECT_FALSE(QString::fromUtf8(c.errores).contains(QRegularExpression(u": [¿¡]: recortado"_s)))
        << c.errores.toStdString();
  }
  // Both sides of each option's limits, and what an option does not go with.
  const QString cara = dv + u"DejaVuSans.ttf"_s;
  for (const char* mal : {"--size=0", "--size=129", "--threshold=-1", "--threshold=256", "--family=Ninguna"})
    EXPECT_EQ(escribir(dir, {u"import"_s, cara, QString::fromUtf8(mal)}).estado, 2) << mal;
  for (const char* bien : {"--size=1", "--size=128", "--threshold=0", "--threshold=255"})
    EXPECT_EQ(escribir(dir, {u"import"_s, cara, QString::fromUtf8(bien)}).estado, 0) << bien;
  EXPECT_EQ(escribir(dir, {u"import"_s, Basica, u"--size=9"_s}).estado, 2);
  EXPECT_EQ(escribir(dir, {u"import"_s, u"--family=Ninguna"_s}).estado, 1);
  EXPECT_EQ(escribir(dir, {u"import"_s, u"--family=DejaVu Sans Mono"_s}).estado, 0);
}

// A bitmap face is read at one of its own sizes and says which; a compressed PCF imports as pcf2bdf's BDF of it.
TEST(Tipografia, LasDeMapasDeBitsSoloEnSusTamanos) {
  const QString terminus = u"/usr/share/fonts/opentype/terminus/terminus-normal.otb"_s,
                misc = u"/usr/share/fonts/X11/misc/"_s;
  QTemporaryDir dir;
  escribirArchivo(dir.filePath(u"vacia.ttf"_s), {});
  for (const auto& [cara, opcion, estado, informe] :
       std::initializer_list<std::tuple<QString, const char*, int, const char*>>{
           {terminus, "", 0,
            "a 12 píxeles, en ninguno caben sus mayúsculas; el menor de sus tamaños de mapa de bits (12 14"},
           {terminus, "--size=14", 0, "a 14 píxeles, uno de sus tamaños"},
           {terminus, "--size=13", 1, "no tiene el tamaño de 13 píxeles; tiene 12 14 16 18 20 22 24 28 32\n"},
           {terminus, "--threshold=9", 2, "--threshold es para tipografías de contornos"},
           {misc + u"5x7-ISO8859-15.pcf.gz"_s, "", 0, "121 caracteres importados"},
           {misc + u"6x10.pcf.gz"_s, "--size=10", 0, "a 10 píxeles, uno de sus tamaños de mapa de bits (10)"},
           {dir.filePath(u"vacia.ttf"_s), "", 1, "vacia.ttf: no se puede leer la tipografía (está vacía)"}}) {
    if (!hay(cara)) continue;
    QByteArray mtz, deBdf;
    const Corrida c = escribir(dir, QStringList{u"import"_s, cara} + palabras(opcion), &mtz);
    EXPECT_EQ(c.estado, estado) << cara.toStdString() << c.errores.toStdString();
    EXPECT_TRUE(c.errores.contains(informe)) << c.errores.toStdString();
    if (!cara.endsWith(u".gz"_s) || estado != 0) continue;
    ASSERT_EQ(correr(u"pcf2bdf"_s, {u"-o"_s, dir.filePath(u"p.bdf"_s), cara}).estado, 0);
    escribir(dir, {u"import"_s, dir.filePath(u"p.bdf"_s)}, &deBdf);
    EXPECT_EQ(mtz, deBdf) << cara.toStdString();
  }
}
