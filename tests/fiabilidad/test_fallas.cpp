// Disks and folders that fail under the editor: a file it may not write, a
// disk that fills in the middle of a record, a lock nobody releases, the
// working folder removed and a listed file deleted while the window is open. CI runs as root, so every
// refusal here holds for root as well: the effective uid is dropped, or the
// file size limit, which binds root too, stands in for a full disk.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Editor.h"

namespace {

const QString NoEscribe = QStringLiteral("No se puede escribir el archivo.");

// While it lives the process acts as an unprivileged user when it runs as
// root; otherwise the permission bits alone already refuse.
class SinPrivilegios {
 public:
  SinPrivilegios() {
    if (::geteuid() == 0) cambiado_ = ::seteuid(65534) == 0;  // nobody
  }
  ~SinPrivilegios() {
    if (cambiado_) {
      EXPECT_EQ(::seteuid(0), 0);
    }
  }
  bool bajoRoot() const { return cambiado_; }

 private:
  bool cambiado_ = false;
};

// While it lives no file may grow past limite bytes.
class LimiteDeTamano {
 public:
  explicit LimiteDeTamano(rlim_t limite) {
    anteriorSenal_ = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &anterior_), 0);
    rlimit nuevo = anterior_;
    nuevo.rlim_cur = limite;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &nuevo), 0);
  }
  ~LimiteDeTamano() {
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &anterior_), 0);
    std::signal(SIGXFSZ, anteriorSenal_);
  }

 private:
  rlimit anterior_{};
  void (*anteriorSenal_)(int) = nullptr;
};

class DiscoQueFalla : public Editor {
 protected:
  QString ruta(const char* archivo) const { return carpeta.fuente(QLatin1String(archivo)); }
};

TEST_F(DiscoQueFalla, UnArchivoProtegidoSeLeePeroNoSeEscribeNiSeCreaNadaJuntoAEl) {
  const QByteArray original = registro('A', {127, 1, 2});
  escribirArchivo(ruta("prot.mtz"), original);
  ASSERT_EQ(::chmod(QFile::encodeName(carpeta.raiz()).constData(), 0755), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(carpeta.tipografias()).constData(), 0555), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(ruta("prot.mtz")).constData(), 0444), 0);
  {
    SinPrivilegios sin;
    if (::access(QFile::encodeName(ruta("prot.mtz")).constData(), R_OK) != 0) {
      GTEST_SKIP() << "the temporary folder cannot be reached without privileges";
    }
    grabar(QStringLiteral("prot.mtz"), QStringLiteral("B"));
    EXPECT_EQ(avisos.textos(), QStringList{NoEscribe});
    avisos.olvidar();
    avisos.responder(avisos::Respuesta::Si);
    grabar(QStringLiteral("prot.mtz"), QStringLiteral("A"));
    EXPECT_EQ(avisos.textos(),
              (QStringList{QStringLiteral("El caracter ya existe, desea sobreescribirlo?"), NoEscribe}));
    avisos.olvidar();
    crear(QStringLiteral("nuevo.mtz"));
    EXPECT_EQ(avisos.textos(), QStringList{QStringLiteral("No se puede crear el archivo \"%1\".").arg(ruta("nuevo.mtz"))});
    avisos.olvidar();
    ventana->cmdBorrar_Click();
    leer(QStringLiteral("prot.mtz"), QStringLiteral("A"));
    EXPECT_TRUE(avisos.textos().isEmpty());
    EXPECT_EQ(ventana->leerCeldas(), glyph::dibujoDeCodigos({127, 1, 2}));
  }
  ASSERT_EQ(::chmod(QFile::encodeName(carpeta.tipografias()).constData(), 0755), 0);
  EXPECT_EQ(leerArchivo(ruta("prot.mtz")), original);
  EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::Files), QStringList{QStringLiteral("prot.mtz")});
  sigueFuncionando();
}

// A disk that fills after part of a record: the part written is taken back,
// so the file never holds a piece of a record.
// A disk that fills after part of a record, or before its first byte.
TEST_F(DiscoQueFalla, UnDiscoQueSeLlenaAMitadDeRegistroNoDejaMedioRegistro) {
  const QByteArray original = registro('A') + registro('B');
  escribirArchivo(ruta("medio.mtz"), original);
  for (const int margen : {10, 0}) {
    SCOPED_TRACE(margen);
    {
      LimiteDeTamano limite(static_cast<rlim_t>(original.size() + margen));
      grabar(QStringLiteral("medio.mtz"), QStringLiteral("C"));
      EXPECT_EQ(avisos.textos(), QStringList{NoEscribe});
      avisos.olvidar();
    }
    EXPECT_EQ(leerArchivo(ruta("medio.mtz")), original);
    EXPECT_EQ(ventana->leerCeldas(), dibujo);
  }
  sigueFuncionando();
}

// The test above ignores SIGXFSZ as the program must: otherwise a store past
// the limit kills the editor instead of failing.
TEST(Programa, IgnoraLaSenalDelLimiteDeTamano) {
  CarpetaDeTrabajo carpeta;
  QProcess programa;
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  programa.setProcessEnvironment(entorno);
  programa.setWorkingDirectory(carpeta.raiz());
  // An ignored signal stays ignored across exec; the program must not owe
  // it to whoever started it.
  programa.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
  programa.start(QStringLiteral(GRAFOLUX_PROGRAMA), {});
  ASSERT_TRUE(programa.waitForStarted(10000));
  const QString estado = QStringLiteral("/proc/%1/status").arg(programa.processId());
  bool ignorada = false;
  // The mask is set first thing in main; until then the process may still be
  // loading.
  for (int intento = 0; intento < 200 && !ignorada && programa.state() == QProcess::Running; ++intento) {
    QFile f(estado);
    if (f.open(QIODevice::ReadOnly)) {
      for (const QByteArray& linea : f.readAll().split('\n')) {
        if (linea.startsWith("SigIgn:")) ignorada = (linea.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1)) & 1;
      }
    }
    if (!ignorada) QThread::msleep(50);
  }
  programa.kill();
  programa.waitForFinished(10000);
  EXPECT_TRUE(ignorada);
}

// A program that takes the font's lock and never lets go: the editor gives
// up after a while with its message instead of hanging with it.
TEST_F(DiscoQueFalla, UnBloqueoQueNadieSueltaNoCuelgaElEditor) {
  const QByteArray original = registro('A', {5});
  escribirArchivo(ruta("tomado.mtz"), original);
  const int ajeno = ::open(QFile::encodeName(ruta("tomado.mtz")).constData(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(ajeno, 0);
  ASSERT_EQ(::flock(ajeno, LOCK_EX), 0);
  grabar(QStringLiteral("tomado.mtz"), QStringLiteral("B"));
  leer(QStringLiteral("tomado.mtz"), QStringLiteral("A"));
  EXPECT_EQ(avisos.textos(), (QStringList{NoEscribe, QStringLiteral("No se puede leer el archivo.")}));
  EXPECT_EQ(ventana->leerCeldas(), dibujo);
  ::close(ajeno);
  EXPECT_EQ(leerArchivo(ruta("tomado.mtz")), original);
  sigueFuncionando();
}

TEST_F(DiscoQueFalla, LaCarpetaDeTrabajoBorradaConElEditorAbiertoNoSeRehace) {
  escribirArchivo(ruta("f.mtz"), registro('A'));
  releerLista();
  ASSERT_TRUE(QDir(carpeta.raiz()).removeRecursively());
  const QString noAbre = QStringLiteral("No se puede abrir el archivo \"%1\".").arg(ruta("f.mtz"));

  grabar(QStringLiteral("f.mtz"), QStringLiteral("A"));
  leer(QStringLiteral("f.mtz"), QStringLiteral("A"));
  crear(QStringLiteral("g.mtz"));
  nombre->setText(QStringLiteral("otro.mtz"));
  EXPECT_TRUE(pulsar(QStringLiteral("f.mtz")));
  EXPECT_EQ(avisos.textos(),
            (QStringList{noAbre, noAbre, QStringLiteral("No se puede crear el archivo \"%1\".").arg(ruta("g.mtz"))}));
  EXPECT_EQ(nombre->text(), QStringLiteral("otro.mtz"));
  EXPECT_EQ(ventana->leerCeldas(), dibujo);
  EXPECT_FALSE(QFileInfo::exists(carpeta.raiz()));

  // Once the folder is back, so is the editor's work.
  ASSERT_TRUE(QDir().mkpath(carpeta.tipografias()));
  sigueFuncionando();
}

TEST_F(DiscoQueFalla, UnArchivoBorradoTrasLeerLaListaNoSeEligeNiSeRehace) {
  escribirArchivo(ruta("se-va.mtz"), registro('A'));
  releerLista();
  ASSERT_TRUE(QFile::remove(ruta("se-va.mtz")));
  nombre->setText(QStringLiteral("otro.mtz"));
  EXPECT_TRUE(pulsar(QStringLiteral("se-va.mtz")));
  EXPECT_EQ(nombre->text(), QStringLiteral("otro.mtz"));
  grabar(QStringLiteral("se-va.mtz"), QStringLiteral("A"));
  leer(QStringLiteral("se-va.mtz"), QStringLiteral("A"));
  const QString noExiste = QStringLiteral("El archivo \"%1\" no existe.").arg(ruta("se-va.mtz"));
  EXPECT_EQ(avisos.textos(), (QStringList{noExiste, noExiste}));
  EXPECT_FALSE(QFileInfo::exists(ruta("se-va.mtz")));
  EXPECT_EQ(ventana->leerCeldas(), dibujo);
  sigueFuncionando();
}

}  // namespace
