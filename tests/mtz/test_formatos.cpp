#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include "ColumnCode.h"
#include "ListaCaracteres.h"
#include "Mtz.h"

namespace {

// What the exported tables must give back: per record the byte, the seven
// rows of the drawing and the width, as the printing program below writes.
QByteArray esperado(const QByteArray& fuente) {
  QByteArray t;
  for (int i = 0; i + fontfile::LongitudRegistro <= fuente.size(); i += fontfile::LongitudRegistro) {
    const auto r = fontfile::leerRanura(fuente.constData() + i);
    const glyph::GlyphGrid g = glyph::dibujoDeCodigos(r->columnas);
    t += QByteArray::number(static_cast<uchar>(r->caracter[0]), 16).rightJustified(2, '0') + ':';
    int ancho = 0;
    for (int f = 1; f <= glyph::Filas; ++f) {
      t += ' ';
      for (int c = 1; c <= glyph::Columnas; ++c) {
        t += g.encendida(f, c) ? '#' : '.';
        if (g.encendida(f, c)) ancho = std::max(ancho, c);
      }
    }
    t += ' ' + QByteArray::number(ancho) + '\n';
  }
  return t;
}

const char* const Impresor = R"(
#include <stdio.h>
#include "basica.inc"
int main(void) {
  for (int i = 0; i < BASICA_CARACTERES; ++i) {
    printf("%02x:", basica_caracteres[i]);
    for (int f = 0; f < BASICA_FILAS; ++f) {
      putchar(' ');
      for (int c = 0; c < BASICA_COLUMNAS; ++c) putchar(basica_codigos[i][c] >> f & 1 ? '#' : '.');
    }
    printf(" %d\n", basica_anchos[i]);
  }
  return 0;
}
)";

}  // namespace

TEST(Exportar, LaTablaDeCYLaDeArduinoCompilanYDevuelvenLosDibujos) {
  QTemporaryDir dir;
  const QString fuente = dir.filePath(QStringLiteral("basica.mtz"));
  escribir(fuente, leer(Basica));
  escribir(dir.filePath(QStringLiteral("imprimir.c")), Impresor);
  struct Caso {
    const char* formato;
    QStringList compilador;
  };
  for (const Caso& caso : {Caso{"c", {QStringLiteral("cc"), QStringLiteral("-std=c99"), QStringLiteral("-pedantic")}},
                           Caso{"arduino", {QStringLiteral("c++"), QStringLiteral("-x"), QStringLiteral("c++")}}}) {
    SCOPED_TRACE(caso.formato);
    const Corrida e =
        orden({QStringLiteral("export"), fuente, QStringLiteral("--format"), QLatin1String(caso.formato)});
    ASSERT_EQ(e.estado, 0) << e.errores.toStdString();
    escribir(dir.filePath(QStringLiteral("basica.inc")), e.salida);
    const QStringList argumentos =
        caso.compilador.mid(1) + QStringList{QStringLiteral("-Wall"),   QStringLiteral("-Wextra"),
                                             QStringLiteral("-Werror"), QStringLiteral("imprimir.c"),
                                             QStringLiteral("-o"),      QStringLiteral("imprimir")};
    const Corrida compilado = correr(caso.compilador[0], argumentos, dir.path());
    ASSERT_EQ(compilado.estado, 0) << compilado.errores.toStdString();
    const Corrida impreso = correr(dir.filePath(QStringLiteral("imprimir")), {});
    EXPECT_EQ(impreso.salida, esperado(leer(Basica)));
  }
  // A table of C cannot index a character that is not one byte.
  const QString dos = dir.filePath(QStringLiteral("dos.mtz"));
  escribir(dos, ranura("a", {1}) + ranura("ab", {2}));
  const Corrida e = orden({QStringLiteral("export"), dos, QStringLiteral("--format"), QStringLiteral("c")});
  EXPECT_EQ(e.estado, 1);
  EXPECT_TRUE(e.salida.isEmpty());
  EXPECT_TRUE(e.errores.contains("registro 2"));
}

TEST(Exportar, JsonYPythonLlevanCadaCaracterConSusCodigos) {
  QTemporaryDir dir;
  const QString fuente = dir.filePath(QStringLiteral("rara.mtz"));
  escribir(fuente, ranura("\"", {0x03, 0, 0x03}) + ranura("\\", {0x01, 0x02, 0x04}) + ranura("\x80", {0x80, -1}) +
                       ranura("\"", {0x7f}));
  const Corrida j = orden({QStringLiteral("export"), fuente, QStringLiteral("--format"), QStringLiteral("json")});
  ASSERT_EQ(j.estado, 0);
  QJsonParseError error{};
  const QJsonArray caracteres =
      QJsonDocument::fromJson(j.salida, &error).object().value(QStringLiteral("caracteres")).toArray();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << j.salida.toStdString();
  ASSERT_EQ(caracteres.size(), 4);
  EXPECT_EQ(caracteres[0][QStringLiteral("caracter")].toString(), QStringLiteral("\""));
  EXPECT_EQ(caracteres[1][QStringLiteral("caracter")].toString(), QStringLiteral("\\"));
  EXPECT_EQ(caracteres[2][QStringLiteral("caracter")].toString(), QStringLiteral("€"));
  // Codes as the editor shows them: 128 lights the whole column, -1 none.
  EXPECT_EQ(caracteres[2][QStringLiteral("codigos")].toArray().first().toInt(), 127);
  EXPECT_EQ(caracteres[2][QStringLiteral("codigos")].toArray().at(1).toInt(), 0);
  EXPECT_EQ(caracteres[1][QStringLiteral("ancho")].toInt(), 3);

  // A line feed in the file's name stays inside the comment that names the file.
  const QString nombreRaro = dir.filePath(QStringLiteral("x\nFALLO = 1\n.mtz"));
  QFile::copy(fuente, nombreRaro);
  for (const char* formato : {"python", "bdf"}) {
    const Corrida e = orden({QStringLiteral("export"), nombreRaro, QStringLiteral("--format"), QLatin1String(formato)});
    EXPECT_EQ(e.estado, 0);
    EXPECT_FALSE(e.salida.contains("\nFALLO")) << formato;
  }

  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  if (python.isEmpty()) GTEST_SKIP() << "sin python3";
  const Corrida p = orden({QStringLiteral("export"), fuente, QStringLiteral("--format"), QStringLiteral("python"),
                           QStringLiteral("-o"), dir.filePath(QStringLiteral("rara.py"))});
  ASSERT_EQ(p.estado, 0);
  EXPECT_TRUE(p.errores.contains("registro 4"));  // the repeated '"' is left out, and said
  const Corrida leido =
      correr(python,
             {QStringLiteral("-c"),
              QStringLiteral("import rara; print(rara.GLIFOS['\"'].hex(), "
                             "rara.GLIFOS['\\\\'].hex(), rara.GLIFOS['\\u20ac'].hex(), rara.ANCHOS['\\\\'])")},
             dir.path());
  EXPECT_EQ(leido.salida, "03000300000000000000 01020400000000000000 7f000000000000000000 3\n")
      << leido.errores.toStdString();
}

TEST(Bdf, LoLeeBdftopcfYVuelveIgualConImport) {
  QTemporaryDir dir;
  const QString bdf = dir.filePath(QStringLiteral("basica.bdf"));
  ASSERT_EQ(orden({QStringLiteral("export"), Basica, QStringLiteral("--format"), QStringLiteral("bdf"),
                   QStringLiteral("-o"), bdf})
                .estado,
            0);
  const Corrida pcf =
      correr(QStringLiteral("bdftopcf"), {QStringLiteral("-o"), dir.filePath(QStringLiteral("basica.pcf")), bdf});
  EXPECT_EQ(pcf.estado, 0) << pcf.errores.toStdString();
  EXPECT_TRUE(pcf.errores.isEmpty()) << pcf.errores.toStdString();
  EXPECT_TRUE(leer(dir.filePath(QStringLiteral("basica.pcf")))
                  .startsWith("\x01"
                              "fcp"));

  const QString vuelta = dir.filePath(QStringLiteral("vuelta.mtz"));
  const Corrida i = orden({QStringLiteral("import"), bdf, QStringLiteral("-o"), vuelta});
  ASSERT_EQ(i.estado, 0) << i.errores.toStdString();
  EXPECT_EQ(leer(vuelta), leer(Basica));
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
