// Editors killed while they store, and two editors storing into one font
// while another program keeps replacing it by rename. The helper program
// `grabador` is the other editor; see its header for what it writes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
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

// The records that are not whole: each record these tests write holds ten
// equal codes below 128 behind L = 1. Their characters go to vistos.
int desgarrados(const QByteArray& datos, std::multiset<char>* vistos = nullptr) {
  int n = 0;
  for (qsizetype desde = 0; desde + 24 <= datos.size(); desde += 24) {
    const auto r = fontfile::leerRanura(datos.constData() + desde);
    const auto igual = [&](qint16 c) { return c == r->columnas[0] && c >= 0 && c < 128; };
    n += !r || r->caracter.size() != 1 || !std::all_of(r->columnas.begin(), r->columnas.end(), igual);
    if (vistos && r) vistos->insert(r->caracter.front());
  }
  return n;
}

// A grabador that has started and waits for a line to begin storing.
QProcess* grabador(QObject* padre, const QString& carpeta, const QStringList& args,
                   const std::function<void()>& antes = {}) {
  auto* p = new QProcess(padre);
  p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  if (antes) p->setChildProcessModifier(antes);
  p->start(QStringLiteral(GRABADOR), QStringList{carpeta, QStringLiteral("f.mtz")} + args);
  EXPECT_TRUE(p->waitForReadyRead(10000));
  return p;
}

QStringList nombresEn(const QString& carpeta) { return QDir(carpeta).entryList(QDir::Files | QDir::Hidden); }

// The characters grabador stores sit in records that cross a page boundary
// of a file of 1400 records; it never touches the others. Pages are dropped
// from the cache all along, so that a write often waits for the disk
// half-way through its record: where a kill tears it.
class EditorMatado : public testing::Test {
 protected:
  void SetUp() override {
    datos = registro('\x01', {5, 5, 5, 5, 5, 5, 5, 5, 5, 5}).repeated(1400);
    for (int i = 0; const int k : {171, 342, 683, 854, 1195, 1366}) {
      datos.replace((k - 1) * 24, 24, registro(fontfile::aWindows1252(fontfile::ListaCaracteres()[i++])[0]));
    }
    escribirArchivo(ruta, datos);
    desalojador = std::thread([this, fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC)] {
      for (; !fin; QThread::usleep(200)) ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
      ::close(fd);
    });
  }
  void TearDown() override {
    fin = true;
    desalojador.join();
  }

  // After grabador died: every reader sees its store cut short undone, and
  // the next store undoes it on the file. Returns the records torn till then.
  int trasMorir() {
    const QByteArray tras = leerArchivo(ruta);
    {
      ArchivoFuente lectura(ruta, ArchivoFuente::Modo::Lectura);
      lectura.bloquear(ArchivoFuente::Bloqueo::Compartido);
      EXPECT_EQ(lectura.longitud(), 1400 * 24);
      EXPECT_EQ(desgarrados(lectura.leer(0, tras.size())), 0);
    }
    ArchivoFuente(ruta, ArchivoFuente::Modo::Escritura).bloquear(ArchivoFuente::Bloqueo::Exclusivo);
    datos = leerArchivo(ruta);
    EXPECT_EQ(datos.size(), 1400 * 24);
    EXPECT_EQ(desgarrados(datos), 0);
    EXPECT_EQ(nombresEn(carpeta.path()), QStringList{QStringLiteral("f.mtz")});
    return desgarrados(tras);
  }

  QTemporaryDir carpeta;
  QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  QByteArray datos;
  std::atomic<bool> fin{false};
  std::thread desalojador;
};

// The file size limit, with its signal's default action, ends grabador at
// its second write into the record it appends, the first having written 10
// bytes of it: a torn record every time.
TEST_F(EditorMatado, PorElLimiteDeTamanoAMitadDeUnRegistro) {
  QObject padre;
  QProcess* p = grabador(&padre, carpeta.path(), {"7", "0", "7"}, [limite = rlim_t(datos.size() + 10)] {
    const rlimit r{limite, limite};
    ::setrlimit(RLIMIT_FSIZE, &r);
    std::signal(SIGXFSZ, SIG_DFL);
  });
  p->write("\n"), p->waitForBytesWritten();
  ASSERT_TRUE(p->waitForFinished(10000));
  EXPECT_EQ(p->exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(leerArchivo(ruta).size(), datos.size() + 10);
  EXPECT_EQ(nombresEn(carpeta.path()).size(), 2);  // with the rollback record
  trasMorir();
}

TEST_F(EditorMatado, PorSenalesAMitadDeGrabar) {
  const int muertes = qEnvironmentVariableIntValue("GRAFOLUX_MUERTES") ?: 40;
  int rotos = 0, cambios = 0;
  for (const int senal : {SIGTERM, SIGKILL}) {
    for (int i = 0; i < muertes; ++i) {
      SCOPED_TRACE(testing::Message() << senal << " " << i);
      const QByteArray antes = datos;
      QObject padre;
      QProcess* p = grabador(&padre, carpeta.path(), {"1000000", QString::number(2 * i), "6"});
      p->write("\n"), p->waitForBytesWritten();
      QThread::usleep(QRandomGenerator::global()->bounded(1000, 30000));
      ::kill(static_cast<pid_t>(p->processId()), senal);
      ASSERT_TRUE(p->waitForFinished(10000));
      rotos += trasMorir();
      cambios += datos != antes;
    }
  }
  EXPECT_GT(cambios, muertes / 2);  // many kills landed after a store had written
  std::printf("%d kills, %d records torn in the file until the next store undid them\n", 2 * muertes, rotos);
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
  // into a fresh file; hence many rounds on fresh files, in memory when the
  // machine offers it: the flushes would only slow them down.
  const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  std::multiset<char> lista;
  for (const QString& c : fontfile::ListaCaracteres()) lista.insert(fontfile::aWindows1252(c).front());
  for (int ronda = 0; ronda < 20; ++ronda) {
    QTemporaryDir carpeta(base + QStringLiteral("/grafolux-XXXXXX"));
    const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
    escribirArchivo(ruta, {});
    QObject padre;
    QProcess* editores[] = {grabador(&padre, carpeta.path(), {"300", "0", "121"}),
                            grabador(&padre, carpeta.path(), {"300", "1", "121"})};
    for (QProcess* p : editores) p->write("\n"), p->waitForBytesWritten();
    for (QProcess* p : editores) {
      for (; p->state() != QProcess::NotRunning; p->waitForFinished(2)) reemplazar(ruta);
      EXPECT_TRUE(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0) << ronda;
    }
    std::multiset<char> vistos;
    EXPECT_EQ(desgarrados(leerArchivo(ruta), &vistos), 0) << ronda;
    EXPECT_EQ(vistos, lista) << ronda;
    EXPECT_EQ(nombresEn(carpeta.path()), QStringList{QStringLiteral("f.mtz")}) << ronda;
  }
}

}  // namespace
