// Two editors storing into one font file while another program keeps
// replacing it by rename, and editors killed while they store. The helper
// program `grabador` is the other editor; see its header for what it writes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <csignal>
#include <set>
#include <thread>

#include "Apoyo.h"
#include "ArchivoFuente.h"
#include "ListaCaracteres.h"

namespace {

using fontfile::ArchivoFuente;

// The records that are not whole; every record here holds ten equal codes
// below 128 and a zero last byte behind L = 1. The characters go to vistos.
int desgarrados(const QByteArray& datos, std::multiset<char>* vistos = nullptr) {
  int n = 0;
  for (qsizetype desde = 0; desde + 24 <= datos.size(); desde += 24) {
    const auto r = fontfile::leerRanura(datos.constData() + desde);
    const auto igual = [&](qint16 c) { return c == r->columnas[0]; };
    n += r && r->caracter.size() == 1 && datos[desde + 23] == 0 && r->columnas[0] >= 0 && r->columnas[0] < 128 &&
                 std::all_of(r->columnas.begin(), r->columnas.end(), igual)
             ? 0
             : 1;
    if (vistos && r) vistos->insert(r->caracter.front());
  }
  return n;
}

QProcess* grabador(QObject* padre, const QString& carpeta, const QStringList& args) {
  auto* p = new QProcess(padre);
  p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p->start(QStringLiteral(GRABADOR), QStringList{carpeta, QStringLiteral("f.mtz")} + args);
  EXPECT_TRUE(p->waitForStarted(10000));
  return p;
}

QStringList nombresEn(const QString& carpeta) {
  return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// As a sync tool does, but holding the file's lock while it copies, as every
// program should: each store made before the copy is in it, and a store
// that waited for the lock finds the file replaced.
void reemplazar(const QString& ruta) {
  const int fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC);
  ::flock(fd, LOCK_SH);
  escribirArchivo(ruta + QStringLiteral(".nuevo"), leerArchivo(ruta));
  ::rename(QFile::encodeName(ruta + QStringLiteral(".nuevo")).constData(), QFile::encodeName(ruta).constData());
  ::close(fd);
}

TEST(DosEditores, MientrasOtroReemplazaElArchivoNoPierdenNiRepitenCaracteres) {
  // Characters are lost or doubled while both append, over the first stores
  // into a fresh file; hence many rounds on fresh files. In memory, when the
  // machine offers it: the flushes would only slow the rounds down.
  const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  for (int ronda = 0; ronda < 20; ++ronda) {
    SCOPED_TRACE(ronda);
    QTemporaryDir carpeta(base + QStringLiteral("/grafolux-XXXXXX"));
    const QString ruta = carpeta.filePath(QStringLiteral("f.mtz")), barrera = ruta + QStringLiteral(".adelante");
    escribirArchivo(ruta, {});
    QObject padre;
    std::vector<QProcess*> editores;
    for (const char* etiqueta : {"0", "1"})
      editores.push_back(grabador(&padre, carpeta.path(), {"300", etiqueta, "121", barrera}));
    escribirArchivo(barrera, {});
    for (QProcess* p : editores) EXPECT_TRUE(p->waitForReadyRead(10000));
    QFile::remove(barrera);
    for (QProcess* p : editores) {
      for (; p->state() != QProcess::NotRunning; p->waitForFinished(2)) reemplazar(ruta);
      EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(p->exitCode(), 0);
    }
    std::multiset<char> vistos;
    EXPECT_EQ(desgarrados(leerArchivo(ruta), &vistos), 0);
    std::multiset<char> lista;
    for (const QString& c : fontfile::ListaCaracteres()) lista.insert(fontfile::aWindows1252(c).front());
    EXPECT_EQ(vistos, lista);
    EXPECT_EQ(nombresEn(carpeta.path()), QStringList{QStringLiteral("f.mtz")});
  }
}

TEST(EditorMatado, AMitadDeGrabarNoDejaNingunRegistroDesgarrado) {
  // The characters grabador stores sit in records that cross a page
  // boundary of a file of 1400 records; it never touches the others.
  constexpr int Registros = 1400, Cruzan[] = {171, 342, 683, 854, 1195, 1366};
  const int muertes = qEnvironmentVariableIntValue("GRAFOLUX_MUERTES") ?: 25;
  QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  QByteArray datos = registro('\x01', {5, 5, 5, 5, 5, 5, 5, 5, 5, 5}).repeated(Registros);
  for (int i = 0; i < 6; ++i) {
    datos.replace((Cruzan[i] - 1) * 24, 24, registro(fontfile::aWindows1252(fontfile::ListaCaracteres()[i])[0]));
  }
  escribirArchivo(ruta, datos);
  // Pages are dropped from the cache all along, so that a write often waits
  // for the disk half-way through its record: where a kill tears it.
  std::atomic<bool> fin{false};
  std::thread desalojador([&, fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC)] {
    for (; !fin; std::this_thread::sleep_for(std::chrono::microseconds(200))) {
      ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    }
    ::close(fd);
  });
  const std::shared_ptr<void> alTerminar(nullptr, [&](void*) {
    fin = true;
    desalojador.join();
  });
  int rotosEnElArchivo = 0, cambios = 0;
  for (const int senal : {SIGTERM, SIGKILL}) {
    for (int i = 0; i < muertes; ++i) {
      SCOPED_TRACE(testing::Message() << senal << " " << i);
      QObject padre;
      QProcess* p = grabador(&padre, carpeta.path(), {"1000000", QString::number(2 * i), "6"});
      ASSERT_TRUE(p->waitForReadyRead(10000));
      QThread::usleep(QRandomGenerator::global()->bounded(1000, 30000));
      ::kill(static_cast<pid_t>(p->processId()), senal);
      ASSERT_TRUE(p->waitForFinished(10000));
      const QByteArray tras = leerArchivo(ruta);
      rotosEnElArchivo += desgarrados(tras);
      cambios += tras != datos;
      // Every reader sees the store cut short undone, and the next store
      // undoes it on the file.
      {
        ArchivoFuente lectura(ruta, ArchivoFuente::Modo::Lectura);
        lectura.bloquear(ArchivoFuente::Bloqueo::Compartido);
        EXPECT_EQ(desgarrados(lectura.leer(0, tras.size())), 0);
      }
      ArchivoFuente(ruta, ArchivoFuente::Modo::Escritura).bloquear(ArchivoFuente::Bloqueo::Exclusivo);
      datos = leerArchivo(ruta);
      EXPECT_EQ(datos.size(), Registros * 24);
      EXPECT_EQ(desgarrados(datos), 0);
    }
  }
  EXPECT_GT(cambios, muertes);  // the kills landed while storing
  EXPECT_EQ(nombresEn(carpeta.path()), QStringList{QStringLiteral("f.mtz")});
  std::printf("%d kills, %d torn records in the file before the next store undid them\n", 2 * muertes,
              rotosEnElArchivo);
}

}  // namespace
