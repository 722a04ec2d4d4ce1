#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <climits>

#include "Mtz.h"

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

// mtz import or build of texto; the font written, if any, in *mtz.
Corrida convertir(const QTemporaryDir& dir, const char* que, const QByteArray& texto, QByteArray* mtz = nullptr) {
  const QString entrada = dir.filePath("f.txt"), salida = dir.filePath("f.mtz");
  QFile::remove(salida);
  escribirArchivo(entrada, texto);
  const Corrida c = orden({que, entrada, "-o", salida});
  if (mtz) *mtz = c.estado == 0 ? leerArchivo(salida) : QByteArray();
  EXPECT_EQ(QFile::exists(salida), c.estado == 0) << c.errores.toStdString();
  return c;
}

}  // namespace

TEST(Bdf, ImportEncajaEnLaCuadriculaEInformaDeLoRecortadoOmitidoYRepetido) {
  QTemporaryDir dir;
  const QByteArray glifos = glifo('A', "5 9 0 0", {"F8", "F8", "F8", "F8", "F8", "F8", "F8", "F8", "F8"}) +
                            glifo('g', "5 7 0 -2", {"88", "88", "88", "88", "88", "88", "88"}) +
                            glifo('x', "12 1 1 0", {"FFF0"}) + glifo('W', "10 1 0 0", {"FFC0"}) +
                            glifo(0x3042, "2 2 0 0", {"C0", "C0"}) + glifo(-1, "1 1 0 0", {"80"}) +
                            glifo('A', "1 1 0 0", {"80"});
  // Taller than the grid: the baseline stays under row 7, what is above and below is cut;
  // x keeps its one-dot bearing, as the font moves left only as far as its leftmost dot.
  QByteArray mtz;
  const Corrida c = convertir(dir, "import", fuenteBdf(9, 2, glifos), &mtz);
  for (const char* linea :
       {"A (línea 12): recortado, puntos fuera de la cuadrícula: 10 arriba\n",
        "g (línea 26): recortado, puntos fuera de la cuadrícula: 4 abajo\n",
        "x (línea 38): recortado, puntos fuera de la cuadrícula: 3 a la derecha\n",
        "omitidos 2 glifos que no están en la lista de 121: U+3042 (sin código)\n",
        "omitidos 1 glifos repetidos: A (línea 63, se conserva la 12)\n", "faltan 117 caracteres"}) {
    EXPECT_TRUE(c.errores.contains(linea)) << linea << "\n" << c.errores.toStdString();
  }
  EXPECT_EQ(mtz, registro("g", {124, 0, 0, 0, 124}) + registro("x", {0, 64, 64, 64, 64, 64, 64, 64, 64, 64}) +
                     registro("A", {127, 127, 127, 127, 127}) +
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
  struct Caso {
    QByteArray familiaDelJuego, codificacion;
    int codigo;
    char caracter;        // its Windows-1252 byte; 0 = nothing imported
    const char* informe;  // said on stderr
  };
  for (const Caso& caso : {Caso{"ISO8859", "2", 0xF1, 0, "U+0144"}, Caso{"\"iso8859\"", "\"5\"", 0xF1, 0, "U+0451"},
                           Caso{"ISO8859", "15", 0xA4, '\x80', ""}, Caso{"ISO8859", "16", 0xA4, '\x80', ""},
                           Caso{"ISO8859", "1", 0xF1, '\xf1', ""}, Caso{"KOI8", "R", 0xA3, 0, "U+0451"},
                           Caso{"MICROSOFT", "CP1250", 0x80, '\x80', ""}, Caso{"ISO646.1991", "IRV", 'a', 'a', ""},
                           Caso{"ISO646.1991", "IRV", 0xF1, 0, "(código 241)"},
                           Caso{"", "", 0xF1, '\xf1', "la fuente no dice su juego de caracteres"}}) {
    QByteArray mtz;
    const Corrida c = convertir(
        dir, "import", fuenteBdf(7, 0, glifo(caso.codigo, "1 1 0 0", {"80"}), caso.familiaDelJuego, caso.codificacion),
        &mtz);
    EXPECT_TRUE(c.errores.contains(caso.informe)) << c.errores.toStdString();
    EXPECT_EQ(c.errores.contains("Unicode"), caso.familiaDelJuego.isEmpty()) << c.errores.toStdString();
    EXPECT_EQ(mtz.mid(2, 1), QByteArray(caso.caracter ? 1 : 0, caso.caracter)) << caso.familiaDelJuego.toStdString();
    EXPECT_EQ(c.errores.endsWith("f.txt: ningún carácter; no se escribe nada\n"), !caso.caracter);
  }
}

TEST(ImportYBuild, UnaEntradaMalaTerminaEnUnaLineaSinEscribirNada) {
  QTemporaryDir dir;
  const QByteArray a = glifo('a', "1 1 0 0", {"80"});
  const QByteArray dibujo = "[a]\n.\n.\n.\n.\n.\n.\n.\n";
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
           {"build", "[a]\n.\n\xff\n", ":3: el texto no está en UTF-8"}}) {
    const Corrida c = convertir(dir, que, texto);
    EXPECT_EQ(c.estado, 1) << error;
    EXPECT_EQ(c.errores.count('\n'), 1) << c.errores.toStdString();
    EXPECT_TRUE(c.errores.contains(error)) << error << ": " << c.errores.toStdString();
  }
}

namespace {

// Ten columns of the rows from the leftmost lit dot.
QStringList desdeLaIzquierda(QStringList filas) {
  qsizetype izquierda = INT_MAX;
  for (const QString& f : filas) izquierda = f.contains('#') ? std::min(izquierda, f.indexOf('#')) : izquierda;
  for (QString& f : filas) f = f.mid(izquierda, 10).leftJustified(10, '.');
  return filas;
}

// The seven rows above the baseline of c as the toolkit paints text, lit where it paints more than umbral.
QStringList comoElToolkit(const QFont& tipo, QChar c, int umbral) {
  QImage imagen(80, 40, QImage::Format_Grayscale8);
  imagen.fill(0);
  QPainter pintor(&imagen);
  pintor.setFont(tipo);
  pintor.setPen(Qt::white);
  pintor.drawText(QPointF(20, 30), QString(c));
  QStringList filas(7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < imagen.width(); ++x) filas[y] += imagen.constScanLine(30 - 7 + y)[x] > umbral ? '#' : '.';
  return desdeLaIzquierda(filas);
}

}  // namespace

TEST(Tipografia, SusGlifosSonLosQuePintaElToolkitAlMayorTamanoQueCabe) {
  const QString deJaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  if (!QFile::exists(deJaVu)) GTEST_SKIP() << "sin fonts-dejavu-core";
  QTemporaryDir dir;
  const QStringList importar{"import", "-o", dir.filePath("t.mtz")};
  for (const auto& [argumentos, familia, umbral] : std::initializer_list<std::tuple<QStringList, const char*, int>>{
           {{deJaVu}, "DejaVu Sans", -1},  // -1: no anti-aliasing
           {{"--family=DejaVu Sans Mono", "--threshold=100"}, "DejaVu Sans Mono", 100}}) {
    const Corrida c = orden(importar + argumentos);
    const QString tamano = QRegularExpression(QStringLiteral("a (\\d+) píxeles")).match(c.errores).captured(1);
    ASSERT_EQ(c.estado, 0) << c.errores.toStdString();
    QFont tipo(QString::fromLatin1(familia));
    tipo.setPixelSize(tamano.toInt());
    tipo.setStyleStrategy(umbral < 0 ? QFont::NoAntialias : QFont::PreferAntialias);
    for (const QChar letra : QStringLiteral("HW%g")) {
      const QStringList dibujo = QString::fromUtf8(orden({"show", importar[2], letra}).salida).split('\n');
      EXPECT_EQ(desdeLaIzquierda(dibujo.mid(1, 7)), comoElToolkit(tipo, letra, umbral < 0 ? 127 : umbral))
          << familia << " " << QString(letra).toStdString() << " " << tamano.toStdString();
    }
    // The capitals fit at the size chosen, and a pixel larger they no longer do.
    EXPECT_FALSE(c.errores.contains("H: recortado")) << c.errores.toStdString();
    const QStringList mayor{"--size", QString::number(tamano.toInt() + 1)};
    EXPECT_TRUE(orden(importar + argumentos + mayor).errores.contains("H: recortado, puntos fuera de la cuadrícula: "));
  }
  // Each case: the exit status and the arguments, where T is the typeface and B a text that is none.
  for (const char* caso :
       {"2 T --size=0", "0 T --size=1", "0 T --size=128", "2 T --size=129", "2 T --threshold=-1", "0 T --threshold=0",
        "0 T --threshold=255", "2 T --threshold=256", "1 --family=Ninguna", "2 B --size=9", "2 T --family=Ninguna"}) {
    const QStringList partes = QString::fromUtf8(caso).split(' ');
    QStringList linea = importar;
    for (const QString& a : partes.mid(1))
      linea << (a == "T" ? deJaVu : a == "B" ? QStringLiteral(MTZ_DATOS "/fuentes/basica.txt") : a);
    EXPECT_EQ(orden(linea).estado, partes[0].toInt()) << caso;
  }
}
