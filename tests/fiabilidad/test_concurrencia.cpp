// Editors killed while they store, and two editors storing into one font
// while another program keeps replacing it by rename.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <set>
#include <thread>

#include "Apoyo.h"
#include "ArchivoFuente.h"
#include "ColumnCode.h"
#include "Comandos.h"
#include "ListaCaracteres.h"

namespace {

using fontfile::ArchivoFuente;

// Another editor, a process of its own: store i puts character i mod
// distintos of the list (from the back for an odd etiqueta) with all ten
// codes (etiqueta * 50 + i) mod 128, so that a record mixed from two stores
// shows as codes that differ. It answers "Sí" to the question; any other
// message ends it with status 1.
pid_t grabador(const QString& carpeta, int vueltas, int etiqueta, int distintos, rlim_t limite = RLIM_INFINITY) {
  if (const pid_t hijo = ::fork(); hijo != 0) return hijo;
  avisos::instalar([](const avisos::Aviso& a) {
    if (a.botones != avisos::Botones::SiNo) ::_exit((std::fprintf(stderr, "aviso: %s\n", qPrintable(a.texto)), 1));
    return avisos::Respuesta::Si;
  });
  const rlimit r{limite, limite};
  ::setrlimit(RLIMIT_FSIZE, &r);
  std::signal(SIGXFSZ, SIG_DFL);
  const QStringList& lista = fontfile::ListaCaracteres();
  for (int i = 0; i < vueltas; ++i) {
    glyph::Codigos codigos{};
    codigos.fill(static_cast<glyph::ColumnCode>((etiqueta * 50 + i) % 128));
    const int j = i % distintos;
    fontfile::grabarCaracter(carpeta, QStringLiteral("f.mtz"), lista.at(etiqueta % 2 ? lista.size() - 1 - j : j),
                             glyph::dibujoDeCodigos(codigos));
  }
  ::_exit(0);
}

int estado(pid_t proceso) {
  int e = 0;
  return ::waitpid(proceso, &e, 0) == proceso ? e : -1;
}

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

QStringList nombresEn(const QString& carpeta) { return QDir(carpeta).entryList(QDir::Files | QDir::Hidden); }

// The characters stored sit in records that cross a page boundary of a file
// of 1400 records; the others are never touched. Pages are dropped from the
// cache all along, so that a write often waits for the disk half-way through
// its record: where a kill tears it. First the file size limit, with its
// signal's default action, ends an editor at its second write into the
// record it appends, the first having written 10 bytes.
TEST(EditorMatado, AMitadDeGrabarNoDejaNingunRegistroDesgarrado) {
  QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  QByteArray datos = registro('\x01', {5, 5, 5, 5, 5, 5, 5, 5, 5, 5}).repeated(1400);
  for (int i = 0; const int k : {171, 342, 683, 854, 1195, 1366}) {
    datos.replace((k - 1) * 24, 24, registro(fontfile::aWindows1252(fontfile::ListaCaracteres()[i++])[0]));
  }
  escribirArchivo(ruta, datos);
  const std::jthread desalojador([fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY)](std::stop_token fin) {
    for (; !fin.stop_requested(); QThread::usleep(200)) ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  });
  const int muertes = qEnvironmentVariableIntValue("GRAFOLUX_MUERTES") ?: 40;
  int rotos = 0, cambios = 0;
  for (int i = -1; i < 2 * muertes; ++i) {
    SCOPED_TRACE(i);
    const pid_t p =
        i < 0 ? grabador(carpeta.path(), 7, 0, 7, datos.size() + 10) : grabador(carpeta.path(), 1000000, 2 * i, 6);
    if (i >= 0) QThread::usleep(QRandomGenerator::global()->bounded(1000, 30000));
    if (i >= 0) ::kill(p, i < muertes ? SIGTERM : SIGKILL);
    EXPECT_EQ(WTERMSIG(estado(p)), i < 0 ? SIGXFSZ : i < muertes ? SIGTERM : SIGKILL);
    const QByteArray tras = leerArchivo(ruta);
    EXPECT_TRUE(i >= 0 || (tras.size() == datos.size() + 10 && nombresEn(carpeta.path()).size() == 2));
    rotos += desgarrados(tras);
    // Every reader sees the store cut short undone, and the next store
    // undoes it on the file.
    {
      ArchivoFuente lectura(ruta, ArchivoFuente::Modo::Lectura);
      lectura.bloquear(ArchivoFuente::Bloqueo::Compartido);
      EXPECT_EQ(lectura.longitud(), 1400 * 24);
      EXPECT_EQ(desgarrados(lectura.leer(0, tras.size())), 0);
    }
    ArchivoFuente(ruta, ArchivoFuente::Modo::Escritura).bloquear(ArchivoFuente::Bloqueo::Exclusivo);
    cambios += leerArchivo(ruta) != datos;
    datos = leerArchivo(ruta);
    EXPECT_EQ(datos.size(), 1400 * 24);
    EXPECT_EQ(desgarrados(datos), 0);
    EXPECT_EQ(nombresEn(carpeta.path()), QStringList{QStringLiteral("f.mtz")});
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
    for (const pid_t p : {grabador(carpeta.path(), 300, 0, 121), grabador(carpeta.path(), 300, 1, 121)}) {
      int e = 0;
      for (; ::waitpid(p, &e, WNOHANG) == 0; QThread::usleep(2000)) reemplazar(ruta);
      EXPECT_EQ(e, 0) << ronda;
    }
    std::multiset<char> vistos;
    EXPECT_EQ(desgarrados(leerArchivo(ruta), &vistos), 0) << ronda;
    EXPECT_EQ(vistos, lista) << ronda;
    EXPECT_EQ(nombresEn(carpeta.path()), QStringList{QStringLiteral("f.mtz")}) << ronda;
  }
}

}  // namespace
