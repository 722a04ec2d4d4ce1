#include <QImage>

#include "Mtz.h"
#include "Pintar.h"

using namespace Qt::StringLiterals;

TEST(FuenteBasica, SaleDeSusDibujosYShowDevuelveLoQueBuildLee) {
  const QByteArray datos = leerArchivo(Basica);
  QTemporaryDir dir;
  const QString construida = dir.filePath(u"b.mtz"_s), dibujos = dir.filePath(u"d.txt"_s);
  escribirArchivo(dibujos, ejecutar("show", Basica).salida);
  for (const QString& fuente : {QStringLiteral(MTZ_DATOS "/fuentes/basica.txt"), dibujos}) {
    ASSERT_EQ(ejecutar("build", fuente, "-o", construida).estado, 0);
    EXPECT_EQ(leerArchivo(construida), datos) << fuente.toStdString();
  }
}

TEST(Check, DiceQueYDondeDeCadaFalla) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(u"mala.mtz"_s);
  QByteArray ilegible = registro("b", {});
  ilegible[0] = 3;
  // Codes on both sides of 0..127: only 128 and -1 are faults.
  const QByteArray datos = registro("a", {1}) + registro("\x01", {}) + registro("a", {2}) + ilegible +
                           registro("c", {0, 128, 127, -1}) + QByteArray(5, 0);
  escribirArchivo(ruta, datos);
  const Corrida c = ejecutar("check", ruta);
  EXPECT_EQ(c.estado, 1);
  for (const char* falla :
       {"registro 2 (byte 24): el carácter \\x01 no está en la lista",
        "registro 3 (byte 48): el carácter a ya está en el registro 1", "registro 4 (byte 72): longitud de carácter 3",
        "registro 5 (byte 96): el código de la columna 2 es 128",
        "registro 5 (byte 96): el código de la columna 4 es -1", "byte 120: registro incompleto al final, 5 bytes",
        "5 registros, 6 problemas"})
    EXPECT_TRUE(c.salida.contains(falla)) << c.salida.toStdString();
  EXPECT_EQ(leerArchivo(ruta), datos);  // only read

  // 32767 records are what the editor reaches; one more is too many, and not quietly dropped.
  escribirArchivo(ruta, registro("a", {}).repeated(fontfile::MaximoRegistros));
  EXPECT_FALSE(ejecutar("check", ruta).salida.contains("más de"));
  escribirArchivo(ruta, registro("a", {}).repeated(fontfile::MaximoRegistros + 1));
  EXPECT_TRUE(ejecutar("check", ruta).salida.contains("tiene 32768 registros, más de 32767"));
  const Corrida lista = ejecutar("list", ruta);
  EXPECT_EQ(lista.salida.count('\n'), fontfile::MaximoRegistros);
  EXPECT_EQ(lista.estado, 1);
  EXPECT_TRUE(lista.errores.contains("32768 registros")) << lista.errores.toStdString();
  EXPECT_EQ(ejecutar("export", ruta, "--format", "json").estado, 1);

  // A store cut short: check names the slot torn on the disk and its record until repair undoes it.
  const QByteArray antes = registro("b", {2, 2, 2, 2, 2}), nueva = registro("b", {9, 9, 9, 9, 9});
  escribirArchivo(ruta, nueva.left(8) + antes.mid(8));
  const QString deshacer = dejarDeshacer(ruta, deshacerPara(ruta, 0, 24, antes, nueva));
  const Corrida rota = ejecutar("check", ruta);
  EXPECT_EQ(rota.estado, 1);
  EXPECT_TRUE(rota.salida.contains(
      "registro 1 (byte 0): a medio grabar en el disco por una grabación cortada; lo deshace mtz repair con " +
      deshacer.toUtf8()))
      << rota.salida.toStdString();
  EXPECT_EQ(ejecutar("repair", ruta).salida,
            ruta + ": registro 1 (byte 0): deshecha la grabación cortada con " + deshacer + "\n");
  EXPECT_EQ(leerArchivo(ruta) + ejecutar("repair", ruta).salida, antes + ruta.toUtf8() + ": nada que reparar\n");
}

TEST(ListShowYRender, CadaRegistroYLaBusquedaDelEditor) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(u"f.mtz"_s), png = dir.filePath(u"f.png"_s);
  const QByteArray i10 = registro("I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}) + registro("\x80", {0x3e, 0x49}),
                   x9 = registro("x", {1, 0, 0, 0, 0, 0, 0, 0, 1});
  escribirArchivo(ruta, i10 + x9);
  ASSERT_EQ(ejecutar("render", ruta, "I€\nx", "-o", png, "--scale", "5").estado, 0);
  const QImage imagen(png);
  // I (10 columns), a gap, € (2 columns): 13 columns within a border of one dot; two lines of 7 rows.
  EXPECT_EQ(imagen.size(), QSize((13 + 2) * 5, (2 * 8 + 1) * 5));
  // clang-format off
  for (const auto& [fila, columna, color] : {std::tuple{0, 0, mtz::ColorFondo}, {1, 1, mtz::ColorEncendido},
       {2, 2, mtz::ColorApagado}, {7, 10, mtz::ColorEncendido}, {6, 10, mtz::ColorApagado}, {2, 11, mtz::ColorApagado},
       {2, 12, mtz::ColorEncendido}, {1, 13, mtz::ColorEncendido}, {9, 9, mtz::ColorEncendido}})  // clang-format on
    EXPECT_EQ(imagen.pixel(columna * 5 + 2, fila * 5 + 2), color) << fila << ", " << columna;
  fracasa(ejecutar("render", ruta, "año ß", "-o", png), 1, ": la fuente no tiene a ñ o ß\n");

  const Corrida s = ejecutar("show", ruta, "€I");
  EXPECT_EQ(s.estado, 0);
  EXPECT_TRUE(s.salida.startsWith("[€] registro 2, ancho 2\n.#........\n#.........\n")) << s.salida.toStdString();
  EXPECT_TRUE(s.salida.contains("\n[I] registro 1, ancho 10\n#.........\n")) << s.salida.toStdString();
  QByteArray ilegible = registro("x", {});
  ilegible[1] = 1;  // length 257
  escribirArchivo(ruta, i10 + ilegible + x9);
  const Corrida l = ejecutar("list", ruta);
  EXPECT_EQ(
      QString::fromUtf8(l.salida).simplified(),
      u"1 I 7f 00 00 00 00 00 00 00 00 40 10 2 € 3e 49 00 00 00 00 00 00 00 00 2 4 x 01 00 00 00 00 00 00 00 01 00 9"_s);
  EXPECT_EQ(l.estado, 1);  // a problem, said on stderr
  EXPECT_TRUE(l.errores.contains("registro 3 (byte 48)")) << l.errores.toStdString();
  // As in the editor, the unreadable record 3 ends the search for x before record 4.
  for (const Corrida& c : {ejecutar("show", ruta, "x"), ejecutar("render", ruta, "x", "-o", png)})
    fracasa(
        c, 1,
        "f.mtz: registro 3 (byte 48): longitud de carácter 257, no se puede leer; la búsqueda de x se detiene ahí\n");
}

TEST(LineaDeOrdenes, AyudaVersionYErroresDeUso) {
  const Corrida ayuda = ejecutar("--help");
  EXPECT_EQ(ayuda.estado, 0);
  // A command's usage wrapped between options, never between an option and its value; each format under export.
  for (const char* linea :
       {"\n  mtz export FUENTE --format FORMATO [--order columns|rows]\n        [--bit-order lsb|msb]",
        "\n        max72xx  encabezado con la tabla de fuente de MD_MAX72XX y MD_Parola,\n   ",
        "\n  -o, --output ARCHIVO\n      escribe en ARCHIVO", "\n  --version\n      muestra la versión\n"})
    EXPECT_TRUE(ayuda.salida.contains(linea)) << linea;
  EXPECT_TRUE(ejecutar("--version").salida.contains(GRAFOLUX_VERSION));
  for (const char* mal : {"", "borrar F", "list", "list F F", "export F", "export F --format=rust", "list F --scale 3",
                          "render F a --scale 0", "export F --format c -o", "export F --format=bdf --invert",
                          "export F --format=c --order=diagonal", "export F --format=c --invert=1", "list -"}) {
    SCOPED_TRACE(mal);
    fracasa(ejecutar(palabras(mal, Basica)), 2, " (vea mtz --help)\n");
  }
  // A name that is not UTF-8 is refused, never read or written as another name.
  QTemporaryDir dir;
  escribirArchivo(dir.filePath(u"f.mtz"_s), registro("I", {127}));
  for (const char* linea :
       {R"s("$0" list "$(printf '\361and\372.mtz')")s", R"s("$0" export f.mtz --format c -o "$(printf 'a\361.c')")s"})
    fracasa(correr(u"sh"_s, {u"-c"_s, QString::fromUtf8(linea), QStringLiteral(MTZ_PROGRAMA)}, dir.path()), 2,
            "mtz: el nombre del archivo no es UTF-8 válido: ");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(Salidas, EnterasONadaYNuncaSobreLaEntrada) {
  QTemporaryDir dir;
  const QString fuente = dir.filePath(u"f.mtz"_s), previa = dir.filePath(u"previa.c"_s);
  escribirArchivo(fuente, leerArchivo(Basica));
  escribirArchivo(previa, "lo de antes");
  QFile::setPermissions(previa, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  const auto permisos = QFile::permissions(previa);

  // A font that cannot be exported leaves the old output as it was.
  QByteArray rota = leerArchivo(Basica);
  rota[24] = 9;
  escribirArchivo(dir.filePath(u"rota.mtz"_s), rota);
  EXPECT_EQ(ejecutar("export", dir.filePath(u"rota.mtz"_s), "--format", "c", "-o", previa).estado, 1);
  EXPECT_EQ(leerArchivo(previa), "lo de antes");
  // Replaced whole, keeping the file's permissions.
  EXPECT_EQ(ejecutar("export", fuente, "--format", "c", "-o", previa).estado, 0);
  EXPECT_TRUE(leerArchivo(previa).startsWith("/* f: 121 caracteres"));
  EXPECT_EQ(QFile::permissions(previa), permisos);

  // Failures to write, also for root: a folder in the way, a full device, a missing folder.
  QDir(dir.path()).mkdir(u"carpeta"_s);
  QFile::link(u"/dev/full"_s, dir.filePath(u"lleno.json"_s));
  for (const char* salida : {"carpeta", "lleno.json", "no/hay.json"})
    fracasa(ejecutar("export", fuente, "--format", "json", "-o", dir.filePath(QLatin1String(salida))), 1, salida);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4)
      << "a temporary file was left";

  // The input is never the output, not even through a link.
  QFile::link(fuente, dir.filePath(u"enlace.mtz"_s));
  EXPECT_EQ(ejecutar("build", fuente, "-o", fuente).estado, 2);
  EXPECT_EQ(ejecutar("export", fuente, "--format", "bdf", "-o", dir.filePath(u"enlace.mtz"_s)).estado, 2);
  EXPECT_EQ(leerArchivo(fuente), leerArchivo(Basica));
}
