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
