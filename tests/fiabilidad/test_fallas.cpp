// A disk that fills while a record is overwritten in place, and the file
// size limit's signal. The hostile-file matrix has the other disk faults.

#include <sys/mount.h>

#include <QProcess>
#include <QThread>
#include <csignal>
#include <cstdlib>

#include "Editor.h"

namespace {

// Record 171 crosses the first page boundary, over a hole of a sparse file:
// overwriting it needs a new block. A small file system of its own is filled
// so that it has none left, or only the one the rollback record takes: the
// store fails before touching the font, or after the first part of the record.
TEST_F(Editor, UnDiscoQueSeLlenaAMitadDeUnaSobreescrituraDejaElRegistroEntero) {
  const QByteArray tipografias = QFile::encodeName(carpeta.tipografias());
  if (::mount("tmpfs", tipografias.constData(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs without root";
  const QString ruta = carpeta.fuente(QStringLiteral("disperso.mtz"));
  escribirArchivo(ruta, registro('A').repeated(170) + registro('Z', {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}).left(16));
  ASSERT_TRUE(QFile::resize(ruta, 3 * 4096));
  const QByteArray antes = leerArchivo(ruta);
  for (const int libres : {0, 1}) {
    QFile relleno(carpeta.fuente(QStringLiteral("relleno")));
    ASSERT_TRUE(relleno.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered));
    while (relleno.write(QByteArray(4096, 'x')) == 4096) {
    }
    ASSERT_TRUE(relleno.resize(relleno.size() - libres * 4096));
    avisos.responder(avisos::Respuesta::Si);
    orden(&frmPrincipal::cmdGrabar_Click, QStringLiteral("disperso.mtz"), QStringLiteral("Z"));
    EXPECT_EQ(avisos.textos(), QStringList({QStringLiteral("El caracter ya existe, desea sobreescribirlo?"),
                                            QStringLiteral("No se puede escribir el archivo.")}));
    avisos.olvidar();
    EXPECT_EQ(leerArchivo(ruta), antes) << libres;
    EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::Files | QDir::Hidden).size(), 2);
  }
  EXPECT_EQ(::umount2(tipografias.constData(), MNT_DETACH), 0);
  sigueFuncionando();
}

// Past a file size limit (ulimit -f) a store would end the editor with
// SIGXFSZ, unless the program ignores it itself: an ignored signal stays
// ignored across exec, so it must not owe that to whoever started it.
TEST(Programa, IgnoraLaSenalDelLimiteDeTamano) {
  CarpetaDeTrabajo carpeta;
  QProcess programa;
  programa.setChildProcessModifier([] {
    std::signal(SIGXFSZ, SIG_DFL);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  });
  programa.start(QStringLiteral(GRAFOLUX_PROGRAMA), {});
  bool ignorada = false;
  for (int i = 0; i < 200 && !ignorada && programa.waitForStarted(); ++i, QThread::msleep(50)) {
    const QByteArray estado = leerArchivo(QStringLiteral("/proc/%1/status").arg(programa.processId()));
    ignorada = (estado.mid(estado.indexOf("SigIgn:") + 7, 17).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1)) & 1;
  }
  programa.kill();
  programa.waitForFinished();
  EXPECT_TRUE(ignorada);
}

}  // namespace
