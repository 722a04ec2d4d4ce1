// A disk that fills while a record is overwritten in place, and the editor's
// answer to the file size limit. The hostile-file matrix has the other disk
// and permission faults.

#include <sys/mount.h>

#include <QDir>
#include <QProcess>
#include <QThread>
#include <csignal>

#include "Editor.h"

namespace {

// Record 171 crosses the first page boundary; with the second page a hole in
// a sparse file, overwriting it needs a new block. A small file system of
// its own is filled so that it has none left, or only the one the rollback
// record takes: the store fails before touching the font, or after the
// first part of the record.
TEST_F(Editor, UnDiscoQueSeLlenaAMitadDeUnaSobreescrituraDejaElRegistroEntero) {
  const QByteArray tipografias = QFile::encodeName(carpeta.tipografias());
  if (::mount("tmpfs", tipografias.constData(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "a small file system cannot be mounted here (it needs root)";
  }
  const QString ruta = carpeta.fuente(QStringLiteral("disperso.mtz"));
  const QByteArray z = registro('Z', {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  escribirArchivo(ruta, registro('A').repeated(170) + z.left(16));
  ASSERT_TRUE(QFile::resize(ruta, 3 * 4096));
  const QByteArray antes = leerArchivo(ruta);
  for (const int libres : {0, 1}) {
    SCOPED_TRACE(libres);
    QFile relleno(carpeta.fuente(QStringLiteral("relleno")));
    ASSERT_TRUE(relleno.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered));
    while (relleno.write(QByteArray(4096, 'x')) == 4096) {
    }
    ASSERT_TRUE(relleno.resize(relleno.size() - libres * 4096));
    relleno.close();
    avisos.responder(avisos::Respuesta::Si);
    grabar(QStringLiteral("disperso.mtz"), QStringLiteral("Z"));
    EXPECT_EQ(avisos.textos(), (QStringList{QStringLiteral("El caracter ya existe, desea sobreescribirlo?"),
                                            QStringLiteral("No se puede escribir el archivo.")}));
    avisos.olvidar();
    EXPECT_EQ(leerArchivo(ruta), antes);
    EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::Files | QDir::Hidden).size(), 2);
  }
  EXPECT_EQ(::umount2(tipografias.constData(), MNT_DETACH), 0);
  sigueFuncionando();
}

// Under a file size limit (ulimit -f) a store past it would kill the editor
// with SIGXFSZ unless it ignores the signal; an ignored signal stays ignored
// across exec, so the program must not owe it to whoever started it.
TEST(Programa, IgnoraLaSenalDelLimiteDeTamano) {
  CarpetaDeTrabajo carpeta;
  QProcess programa;
  programa.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
  programa.setProcessEnvironment([] {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return entorno;
  }());
  programa.start(QStringLiteral(GRAFOLUX_PROGRAMA), {});
  ASSERT_TRUE(programa.waitForStarted(10000));
  bool ignorada = false;
  // The signal is set first thing in main; until then the process may still be loading.
  for (int intento = 0; intento < 200 && !ignorada; ++intento, QThread::msleep(50)) {
    const QByteArray estado = leerArchivo(QStringLiteral("/proc/%1/status").arg(programa.processId()));
    const qsizetype i = estado.indexOf("SigIgn:");
    ignorada = i >= 0 && (estado.mid(i + 7, 17).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1)) & 1;
  }
  programa.kill();
  programa.waitForFinished(10000);
  EXPECT_TRUE(ignorada);
}

}  // namespace
