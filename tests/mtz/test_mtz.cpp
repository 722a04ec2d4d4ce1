#include <QImage>
#include <QRegularExpression>

#include "ListaCaracteres.h"
#include "Mtz.h"
#include "Pintar.h"

using fontfile::LongitudRegistro;

TEST(FuenteBasica, TieneCadaCaracterDeLaListaEnSuOrdenYSaleDeSusDibujos) {
  const QByteArray datos = leer(Basica);
  const QStringList& lista = fontfile::ListaCaracteres();
  ASSERT_EQ(datos.size(), lista.size() * LongitudRegistro);
  for (int i = 0; i < lista.size(); ++i) {
    const auto r = fontfile::leerRanura(datos.constData() + i * LongitudRegistro);
    EXPECT_EQ(fontfile::deWindows1252(r->caracter), lista[i]) << i + 1;
    EXPECT_NE(r->columnas, glyph::Codigos{}) << "sin dibujo: " << lista[i].toStdString();
  }
  // basica.txt is what the font is built from, and show writes the form build reads.
  QTemporaryDir dir;
  const QString construida = dir.filePath(QStringLiteral("b.mtz")), dibujos = dir.filePath(QStringLiteral("d.txt"));
  escribir(dibujos, orden({QStringLiteral("show"), Basica}).salida);
  for (const QString& fuente : {QStringLiteral(MTZ_DATOS "/fuentes/basica.txt"), dibujos}) {
    ASSERT_EQ(orden({QStringLiteral("build"), fuente, QStringLiteral("-o"), construida}).estado, 0);
    EXPECT_EQ(leer(construida), datos) << fuente.toStdString();
  }
}

TEST(Check, DiceQueYDondeDeCadaFalla) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(QStringLiteral("mala.mtz"));
  QByteArray ilegible = ranura("b", {});
  ilegible[0] = 3;
  const QByteArray datos =
      ranura("a", {1}) + ranura("\x01", {}) + ranura("a", {2}) + ilegible + ranura("c", {0, 200}) + QByteArray(5, '\0');
  escribir(ruta, datos);
  const Corrida c = orden({QStringLiteral("check"), ruta});
  EXPECT_EQ(c.estado, 1);
  const QString s = QString::fromUtf8(c.salida);
  EXPECT_TRUE(s.contains(QStringLiteral("registro 2 (byte 24): el carácter \\x01 no está en la lista")))
      << s.toStdString();
  EXPECT_TRUE(s.contains(QStringLiteral("registro 3 (byte 48): el carácter a ya está en el registro 1")))
      << s.toStdString();
  EXPECT_TRUE(s.contains(QStringLiteral("registro 4 (byte 72): longitud de carácter 3"))) << s.toStdString();
  EXPECT_TRUE(s.contains(QStringLiteral("registro 5 (byte 96): el código de la columna 2 es 200"))) << s.toStdString();
  EXPECT_TRUE(s.contains(QStringLiteral("byte 120: registro incompleto al final, 5 bytes"))) << s.toStdString();
  EXPECT_EQ(leer(ruta), datos);  // only read

  QByteArray muchos;
  for (int i = 0; i < fontfile::MaximoRegistros + 1; ++i) muchos += ranura("a", {});
  escribir(ruta, muchos);
  const Corrida m = orden({QStringLiteral("check"), ruta});
  EXPECT_EQ(m.estado, 1);
  EXPECT_TRUE(m.salida.contains("32768 registros")) << m.salida.right(300).toStdString();
  // The records past 32767 are not quietly dropped by the other commands.
  const Corrida lista = orden({QStringLiteral("list"), ruta});
  EXPECT_EQ(lista.estado, 1);
  EXPECT_EQ(lista.salida.count('\n'), fontfile::MaximoRegistros);
  EXPECT_TRUE(lista.errores.contains("32768 registros"));
  EXPECT_EQ(orden({QStringLiteral("export"), ruta, QStringLiteral("--format"), QStringLiteral("json")}).estado, 1);

  const Corrida vacia = orden({QStringLiteral("check"), dir.filePath(QStringLiteral("no-esta.mtz"))});
  EXPECT_EQ(vacia.estado, 1);
  EXPECT_EQ(vacia.errores.count('\n'), 1);
  EXPECT_TRUE(vacia.errores.contains("no existe"));
}

TEST(ListYShow, UnaLineaPorRegistroYLosDibujosPedidos) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(QStringLiteral("f.mtz"));
  QByteArray ilegible = ranura("x", {});
  ilegible[1] = 1;  // length 256
  escribir(ruta, ranura("I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}) + ranura("\x80", {0x3e, 0x49}) + ilegible);
  const Corrida l = orden({QStringLiteral("list"), ruta});
  EXPECT_EQ(l.estado, 1);  // the unreadable record is a problem, said on stderr
  const QStringList lineas = QString::fromUtf8(l.salida).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lineas.size(), 2);
  EXPECT_EQ(lineas[0].simplified(), QStringLiteral("1 I 7f 00 00 00 00 00 00 00 00 40 10"));
  EXPECT_EQ(lineas[1].simplified(), QStringLiteral("2 € 3e 49 00 00 00 00 00 00 00 00 2"));
  EXPECT_TRUE(l.errores.contains("registro 3 (byte 48)"));

  const Corrida s = orden({QStringLiteral("show"), ruta, QStringLiteral("€I")});
  EXPECT_EQ(s.estado, 0);
  EXPECT_TRUE(s.salida.startsWith("[\xe2\x82\xac] registro 2, ancho 2\n.#........\n#.........\n"));
  EXPECT_TRUE(s.salida.contains("[I] registro 1, ancho 10\n#.........\n"));
  const Corrida falta = orden({QStringLiteral("show"), ruta, QStringLiteral("I?")});
  EXPECT_EQ(falta.estado, 1);  // '?' has a Windows-1252 byte the font lacks
  EXPECT_TRUE(falta.errores.contains("?"));
}

TEST(LineaDeOrdenes, AyudaVersionYErroresDeUso) {
  const Corrida ayuda = orden({QStringLiteral("--help")});
  EXPECT_EQ(ayuda.estado, 0);
  for (const char* orden : {"list", "show", "check", "export", "import", "render", "build", "ancho usado"}) {
    EXPECT_TRUE(ayuda.salida.contains(orden)) << orden;
  }
  const Corrida version = orden({QStringLiteral("--version")});
  EXPECT_EQ(version.estado, 0);
  EXPECT_TRUE(version.salida.contains(GRAFOLUX_VERSION));
  for (const QStringList& mal :
       {QStringList{}, QStringList{QStringLiteral("borrar"), Basica}, QStringList{QStringLiteral("list")},
        QStringList{QStringLiteral("list"), Basica, Basica}, QStringList{QStringLiteral("export"), Basica},
        QStringList{QStringLiteral("export"), Basica, QStringLiteral("--format=rust")},
        QStringList{QStringLiteral("list"), Basica, QStringLiteral("--scale"), QStringLiteral("3")},
        QStringList{QStringLiteral("render"), Basica, QStringLiteral("a"), QStringLiteral("--scale"),
                    QStringLiteral("0")},
        QStringList{QStringLiteral("export"), Basica, QStringLiteral("--format"), QStringLiteral("c"),
                    QStringLiteral("-o")}}) {
    const Corrida c = orden(mal);
    EXPECT_EQ(c.estado, 2) << mal.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(c.salida.isEmpty());
    EXPECT_EQ(c.errores.count('\n'), 1) << c.errores.toStdString();
  }
}

TEST(Salidas, EnterasONadaYNuncaSobreLaEntrada) {
  QTemporaryDir dir;
  const QString fuente = dir.filePath(QStringLiteral("f.mtz"));
  escribir(fuente, leer(Basica));
  const QString previa = dir.filePath(QStringLiteral("previa.c"));
  escribir(previa, "lo de antes");
  QFile::setPermissions(previa, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  const auto permisos = QFile::permissions(previa);

  // A font that cannot be exported leaves the old output as it was.
  QByteArray rota = leer(Basica);
  rota[24] = 9;
  escribir(dir.filePath(QStringLiteral("rota.mtz")), rota);
  EXPECT_EQ(orden({QStringLiteral("export"), dir.filePath(QStringLiteral("rota.mtz")), QStringLiteral("--format"),
                   QStringLiteral("c"), QStringLiteral("-o"), previa})
                .estado,
            1);
  EXPECT_EQ(leer(previa), "lo de antes");

  // Replaced whole, keeping the file's permissions.
  EXPECT_EQ(orden({QStringLiteral("export"), fuente, QStringLiteral("--format"), QStringLiteral("c"),
                   QStringLiteral("-o"), previa})
                .estado,
            0);
  EXPECT_TRUE(leer(previa).startsWith("/* f: 121 caracteres"));
  EXPECT_EQ(QFile::permissions(previa), permisos);

  // Failures to write, also for root: a folder in the way, a full device, a missing folder.
  QDir(dir.path()).mkdir(QStringLiteral("carpeta"));
  QFile::link(QStringLiteral("/dev/full"), dir.filePath(QStringLiteral("lleno.json")));
  for (const QString& salida : {dir.filePath(QStringLiteral("carpeta")), dir.filePath(QStringLiteral("lleno.json")),
                                dir.filePath(QStringLiteral("no/hay.json"))}) {
    const Corrida c = orden({QStringLiteral("export"), fuente, QStringLiteral("--format"), QStringLiteral("json"),
                             QStringLiteral("-o"), salida});
    EXPECT_EQ(c.estado, 1) << salida.toStdString();
    EXPECT_EQ(c.errores.count('\n'), 1) << c.errores.toStdString();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4)
      << "a temporary file was left";

  // The input is never the output, not even through a link.
  QFile::link(fuente, dir.filePath(QStringLiteral("enlace.mtz")));
  for (const QString& salida : {fuente, dir.filePath(QStringLiteral("enlace.mtz"))}) {
    EXPECT_EQ(orden({QStringLiteral("build"), fuente, QStringLiteral("-o"), salida}).estado, 2);
    EXPECT_EQ(orden({QStringLiteral("export"), fuente, QStringLiteral("--format"), QStringLiteral("bdf"),
                     QStringLiteral("-o"), salida})
                  .estado,
              2);
  }
  EXPECT_EQ(leer(fuente), leer(Basica));
}

TEST(Render, CadaPuntoEncendidoOApagadoComoEnElLetrero) {
  QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("v.png"));
  const Corrida c = orden({QStringLiteral("render"), Basica, QStringLiteral("I.\nl"), QStringLiteral("-o"), png,
                           QStringLiteral("--scale"), QStringLiteral("5")});
  ASSERT_EQ(c.estado, 0) << c.errores.toStdString();
  const QImage imagen(png);
  ASSERT_FALSE(imagen.isNull());
  // "I" (3 columns), a gap, "." (1 column): 5 columns and a border of one dot, two lines of 7 rows.
  EXPECT_EQ(imagen.width(), (5 + 2) * 5);
  EXPECT_EQ(imagen.height(), (2 * 8 + 1) * 5);
  const auto punto = [&](int fila, int columna) { return imagen.pixel(columna * 5 + 2, fila * 5 + 2); };
  EXPECT_EQ(punto(1, 1), mtz::ColorEncendido);  // top bar of I
  EXPECT_EQ(punto(2, 1), mtz::ColorApagado);
  EXPECT_EQ(punto(7, 5), mtz::ColorEncendido);  // the full stop
  EXPECT_EQ(punto(6, 5), mtz::ColorApagado);
  EXPECT_EQ(punto(9, 1), mtz::ColorEncendido);  // l on the second line
  EXPECT_EQ(imagen.pixel(0, 0), mtz::ColorFondo);

  const Corrida falta =
      orden({QStringLiteral("render"), Basica, QStringLiteral("año 2€ ß"), QStringLiteral("-o"), png});
  EXPECT_EQ(falta.estado, 1);
  EXPECT_TRUE(falta.errores.contains("\xc3\x9f"));  // names the ß
}
