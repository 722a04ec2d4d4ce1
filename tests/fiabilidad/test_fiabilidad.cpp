// Hostile files met by every file command of the real window, a disk that fills, editors killed
// while they store, what another user plants beside a font, and an inode given to a new font.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>
#include <csignal>
#include <thread>

#include "Apoyo.h"
#include "ArchivoFuente.h"
#include "Comandos.h"
#include "ListaArchivos.h"
#include "frmPrincipal.h"

namespace {

using fontfile::ArchivoFuente;

// Bytes, a FIFO, a link; or bytes another program holds locked, or the editor may not write.
enum class Es { Datos, Tuberia, Enlace, LeidoPorOtro, GrabadoPorOtro, Protegido };
enum class Clic { Acepta, Formato, Calla };

struct Hostil {
  const char* titulo;  // also the test's name
  QString archivo;
  Es es;
  QByteArray datos;          // the bytes, or where the link points
  QString alGrabar, alLeer;  // storing and loading "Z"; %1 is the path
  Clic alPulsar;
  QString alCrear;
};

// The real window in a folder of its own, driven through its handlers as a user would.
class Editor : public testing::TestWithParam<Hostil> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ventana.Form_Load());
    for (int r = 1; r <= glyph::Filas; ++r) ventana.celda(r, (r * 3) % glyph::Columnas + 1)->setChecked(true);
    dibujo = ventana.leerCeldas();
  }
  void TearDown() override {
    if (tomado >= 0) ::close(tomado);
    EXPECT_EQ(::seteuid(::getuid()), 0);
    ::chmod(QFile::encodeName(carpeta.tipografias()).constData(), 0755);
  }
  void orden(void (frmPrincipal::*manejador)(), const QString& archivo, const QString& caracter = {}) {
    nombre->setText(archivo);
    caracteres->setCurrentIndex(caracteres->findText(caracter));
    (ventana.*manejador)();
  }
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  frmPrincipal ventana;
  QLineEdit* nombre = ventana.findChild<QLineEdit*>(QStringLiteral("txtArch"));
  QComboBox* caracteres = ventana.findChild<QComboBox*>(QStringLiteral("cboCarac"));
  QListWidget* lista = ventana.findChild<QListWidget*>(QStringLiteral("filArchivos"));
  glyph::GlyphGrid dibujo;
  int tomado = -1;
};

const QString Formato = QStringLiteral("Error: El archivo no tiene el formato adecuado."),
              NoEsta = QStringLiteral("El carácter Z no está en el archivo."),
              Lleno = QStringLiteral("El archivo está lleno: no admite más de 32767 caracteres."),
              Existe = QStringLiteral("El archivo ya existe."),
              NoAbre = QStringLiteral("No se puede abrir el archivo \"%1\"."),
              NoCrea = QStringLiteral("No se puede crear el archivo \"%1\"."),
              NoEscribe = QStringLiteral("No se puede escribir el archivo.");

QByteArray registros(int cuantos) { return registro('A', {127, 1}).repeated(cuantos); }
// "Z" drawn as the editor's grid is, so that loading it changes nothing.
const QByteArray Z = registro('Z', {0, 64, 8, 1, 0, 16, 2, 0, 32, 4});

const std::vector<Hostil> Matriz = {
    {"TextoRenombrado", "texto ñ.mtz", Es::Datos, "Lista de la compra:\nleche, pan, huevos y fruta\n", Formato, Formato,
     Clic::Formato, Existe},
    {"Longitud3EnElRegistro2", "l3 ñ.mtz", Es::Datos, registros(1) + "\x03" + registro('A').mid(1) + Z, Formato,
     Formato, Clic::Acepta, Existe},
    {"LongitudQueNoEsMultiploDe24", "cola.mtz", Es::Datos, registros(2) + QByteArray(10, '\x01'), Formato, NoEsta,
     Clic::Acepta, Existe},
    {"Exactamente32767Registros", "lleno.mtz", Es::Datos, registros(32767), Lleno, NoEsta, Clic::Acepta, Existe},
    {"Registros32768", "rebosa.mtz", Es::Datos, registros(32768), Lleno,
     QStringLiteral("Error: El archivo tiene más de 32767 registros."), Clic::Acepta, Existe},
    {"Tuberia", "tubo.mtz", Es::Tuberia, {}, NoAbre, NoAbre, Clic::Calla, NoCrea},
    {"EnlaceRoto", "roto.mtz", Es::Enlace, "no-esta", "El archivo \"%1\" no existe.", "El archivo \"%1\" no existe.",
     Clic::Calla, NoCrea},
    {"EnlaceADevZero", "ceros.mtz", Es::Enlace, "/dev/zero", NoAbre, NoAbre, Clic::Calla, NoCrea},
    // Refused before the overwrite question, which would show among the messages.
    {"ProtegidoContraEscritura", "protegido.mtz", Es::Protegido, Z, NoEscribe, "", Clic::Calla, Existe},
    {"LeidoPorOtro", "leído ñ.mtz", Es::LeidoPorOtro, Z, NoEscribe, "", Clic::Acepta, Existe},
    {"GrabadoPorOtroQueNoLoSuelta", "tomado.mtz", Es::GrabadoPorOtro, Z, NoEscribe, "No se puede leer el archivo.",
     Clic::Calla, Existe},
};

QStringList nombresEn(const QString& carpeta) {
  return QDir(carpeta).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

// What a command could change about a name.
QByteArray huella(const QString& ruta) {
  struct stat e {};
  if (::lstat(QFile::encodeName(ruta).constData(), &e) != 0) return {};
  return QByteArray::number(e.st_mode) + ' ' + QByteArray::number(e.st_size) + ' ' + QByteArray::number(e.st_blocks) +
         ' ' + QByteArray::number(e.st_mtim.tv_nsec) + (S_ISREG(e.st_mode) ? leerArchivo(ruta) : QByteArray());
}

// The file stays as it was: byte for byte, or the same node when it is not a regular file.
TEST_P(Editor, CadaOrdenLoDiceYNoCambiaNada) {
  const Hostil& caso = GetParam();
  const QString ruta = carpeta.fuente(caso.archivo);
  const QByteArray nombreRuta = QFile::encodeName(ruta);
  if (caso.es == Es::Tuberia) {
    ASSERT_EQ(::mkfifo(nombreRuta.constData(), 0644), 0);
  } else if (caso.es == Es::Enlace) {
    ASSERT_TRUE(QFile::link(caso.datos, ruta));
  } else {
    escribirArchivo(ruta, caso.datos);
  }
  if (caso.es == Es::LeidoPorOtro || caso.es == Es::GrabadoPorOtro) {
    tomado = ::open(nombreRuta.constData(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::flock(tomado, caso.es == Es::LeidoPorOtro ? LOCK_SH : LOCK_EX), 0);
  }
  if (caso.es == Es::Protegido) {  // for root too: as user nobody
    for (const auto& [r, modo] : {std::pair{carpeta.raiz(), 0755}, {carpeta.tipografias(), 0555}, {ruta, 0444}}) {
      EXPECT_EQ(::chmod(QFile::encodeName(r).constData(), modo), 0);
    }
    ASSERT_EQ(::seteuid(::geteuid() == 0 ? 65534 : ::geteuid()), 0);
  }
  const QStringList nombresAntes = nombresEn(carpeta.tipografias());
  const QByteArray antes = huella(ruta);
  const auto tras = [&](const char* orden, QString esperado) {
    esperado.replace(QLatin1String("%1"), ruta);
    EXPECT_EQ(avisos.textos(), esperado.isEmpty() ? QStringList() : QStringList{esperado}) << orden;
    avisos.olvidar();
    EXPECT_EQ(huella(ruta), antes) << orden;
    EXPECT_EQ(ventana.leerCeldas(), dibujo) << orden;
    EXPECT_EQ(nombresEn(carpeta.tipografias()), nombresAntes) << orden;
  };
  avisos.responder(avisos::Respuesta::Si);
  orden(&frmPrincipal::cmdGrabar_Click, caso.archivo, QStringLiteral("Z"));
  tras("grabar", caso.alGrabar);
  orden(&frmPrincipal::cmdLeer_Click, caso.archivo, QStringLiteral("Z"));
  tras("leer", caso.alLeer);
  nombre->setText(QStringLiteral("otro.mtz"));
  qobject_cast<ListaArchivos*>(lista)->refrescar();
  const auto entradas = lista->findItems(caso.archivo, Qt::MatchExactly);
  ASSERT_EQ(entradas.size(), 1);
  lista->setCurrentItem(entradas.first());
  tras("pulsar", caso.alPulsar == Clic::Formato ? Formato : QString());
  EXPECT_EQ(nombre->text(), caso.alPulsar == Clic::Acepta ? caso.archivo : QStringLiteral("otro.mtz"));
  orden(&frmPrincipal::cmdCrear_Click, caso.archivo);
  tras("crear", caso.alCrear);
}

INSTANTIATE_TEST_SUITE_P(Matriz, Editor, testing::ValuesIn(Matriz),
                         [](const testing::TestParamInfo<Hostil>& i) { return std::string(i.param.titulo); });

// A small file system filled so that it has no block left, or only the rollback record's: the
// store fails before touching the font, or after the first page of a record that crosses one
// (appended, or overwritten over a hole of a sparse file). Either file ends as it was.
TEST_F(Editor, UnDiscoQueSeLlenaAMitadDeUnRegistroDejaElArchivoComoEstaba) {
  const QByteArray tipografias = QFile::encodeName(carpeta.tipografias());
  if (::mount("tmpfs", tipografias.constData(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs without root";
  escribirArchivo(carpeta.fuente("agrega.mtz"), registros(170));
  escribirArchivo(carpeta.fuente("sobre.mtz"), registros(341) + registro('Z', {9}).left(8));
  ASSERT_TRUE(QFile::resize(carpeta.fuente("sobre.mtz"), 342 * 24));
  for (const int libres : {0, 1}) {
    for (const auto& [archivo, avisado] :
         {std::pair{"agrega.mtz", QStringList{NoEscribe}},
          {"sobre.mtz", QStringList{"El caracter ya existe, desea sobreescribirlo?", NoEscribe}}}) {
      const QByteArray antes = leerArchivo(carpeta.fuente(archivo));
      QFile relleno(carpeta.fuente("relleno"));
      ASSERT_TRUE(relleno.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered));
      while (relleno.write(QByteArray(4096, 'x')) == 4096) continue;
      ASSERT_TRUE(relleno.resize(relleno.size() - libres * 4096));
      avisos.responder(avisos::Respuesta::Si);
      orden(&frmPrincipal::cmdGrabar_Click, archivo, QStringLiteral("Z"));
      EXPECT_EQ(avisos.textos(), avisado) << archivo << libres;
      avisos.olvidar();
      EXPECT_EQ(leerArchivo(carpeta.fuente(archivo)), antes) << archivo << libres;
      EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }
  }
  EXPECT_EQ(::umount2(tipografias.constData(), MNT_DETACH), 0);
}

// An editor, forked, stores "Z" again and again as record 171, which crosses the first page, with
// ten equal codes that change each time, while the font's pages are dropped from the cache so that
// a write often waits for the disk half-way; it is killed 1 to 100 ms in, spread evenly. First the
// file size limit ends one at its second write into the record it appends, after 10 bytes.
// Readers never see the record torn; the next store puts the file right and leaves nothing beside.
TEST(EditorMatado, AMitadDeGrabarNoDejaNingunRegistroDesgarrado) {
  QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("f.mtz"));
  const QByteArray antes = registro('A', {1}).repeated(170);
  escribirArchivo(ruta, antes);
  const auto entero = [&](const QByteArray& datos) {  // record 171 absent, or whole
    const int c = datos.size() > antes.size() + 3 ? datos[antes.size() + 3] : 0;
    return datos == antes || datos == antes + registro('Z', {c, c, c, c, c, c, c, c, c, c});
  };
  const std::jthread desalojador([fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY)](std::stop_token fin) {
    for (; !fin.stop_requested(); QThread::usleep(200)) ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  });
  const int muertes = qEnvironmentVariableIntValue("GRAFOLUX_MUERTES") ?: 40;
  int rotos = 0, cambios = 0;
  QByteArray previo = antes;
  for (int i = -1; i < 2 * muertes; ++i) {
    SCOPED_TRACE(i);
    const pid_t hijo = ::fork();
    if (hijo == 0) {
      ::alarm(10);  // a deadline for the first editor, which nobody kills
      const rlim_t limite = i < 0 ? rlim_t(antes.size() + 10) : RLIM_INFINITY;
      const rlimit r{limite, limite};
      ::setrlimit(RLIMIT_FSIZE, &r);
      std::signal(SIGXFSZ, SIG_DFL);
      avisos::instalar([](const avisos::Aviso& a) {  // any message but the question ends it
        if (a.botones != avisos::Botones::SiNo) ::_exit((std::fprintf(stderr, "aviso: %s\n", qPrintable(a.texto)), 1));
        return avisos::Respuesta::Si;
      });
      for (int k = (i + 1) * 50;; ++k) {
        glyph::Codigos codigos{};
        codigos.fill(static_cast<glyph::ColumnCode>(k % 128));
        fontfile::grabarCaracter(carpeta.path(), QStringLiteral("f.mtz"), QStringLiteral("Z"),
                                 glyph::dibujoDeCodigos(codigos));
      }
    }
    if (i >= 0) {
      QThread::usleep(1000 + (i % muertes) * 99000 / muertes);
      ::kill(hijo, i < muertes ? SIGTERM : SIGKILL);
    }
    int e = 0;
    ASSERT_EQ(::waitpid(hijo, &e, 0), hijo);
    EXPECT_EQ(WIFSIGNALED(e) ? WTERMSIG(e) : -1, i < 0 ? SIGXFSZ : i < muertes ? SIGTERM : SIGKILL);
    const QByteArray tras = leerArchivo(ruta);
    rotos += !entero(tras);
    if (i < 0) {  // its append cut short, its rollback record left
      EXPECT_EQ(tras.size(), antes.size() + 10);
      EXPECT_EQ(nombresEn(carpeta.path()).size(), 2);
    }
    EXPECT_TRUE(entero(vistaDeUnLector(ruta))) << tras.mid(antes.size()).toHex().toStdString();
    ArchivoFuente(ruta, ArchivoFuente::Modo::Escritura).bloquear(ArchivoFuente::Bloqueo::Exclusivo);
    const QByteArray reparado = leerArchivo(ruta);
    EXPECT_TRUE(entero(reparado)) << reparado.mid(antes.size()).toHex().toStdString();
    EXPECT_EQ(nombresEn(carpeta.path()), QStringList{QStringLiteral("f.mtz")});
    cambios += reparado != previo;
    previo = reparado;
  }
  EXPECT_GT(cambios, muertes / 2);  // many kills landed after a store had written
  std::printf("%d kills, %d records torn in the file until the next store undid them\n", 2 * muertes, rotos);
}

constexpr uid_t A = 60001, B = 60002;  // A owns the fonts; B, in A's team group, may not write them
constexpr gid_t Equipo = 60000;

constexpr std::array Bien{0, 0, 0};  // three calls, each done

// The effective user, with its own group and the team's, while it lives; root again after.
struct Como {
  explicit Como(uid_t u) { EXPECT_EQ((std::array{::setgroups(1, &Equipo), ::setegid(u), ::seteuid(u)}), Bien); }
  ~Como() { EXPECT_EQ((std::array{::seteuid(0), ::setegid(0), ::setgroups(0, nullptr)}), Bien); }
};

// Under the name of the rollback record of A's font, in a sticky and a team folder (setgid), on an
// ext4 of its own that gives a deleted file's inode to the next: a second hard link to the font, a
// record forged by B that puts X into record 1, B's link to the font, a FIFO, a folder, a huge
// file, or A's record for a deleted font of that inode. A's store is then cut short
// appending (umask 077, a stale tail); B may take back what it planted. B reads the font as it was,
// and A's next store writes exactly its record, leaving alone what B planted.
TEST(OtroUsuario, LoQuePlantaJuntoALaFuenteNiGuiaNiDetieneLaGrabacion) {
  QTemporaryDir base;
  const QString imagen = base.filePath(QStringLiteral("ext4")), punto = base.filePath(QStringLiteral("m"));
  escribirArchivo(imagen, QByteArray(8 << 20, '\0'));
  if (::geteuid() != 0 || !QDir().mkdir(punto) ||
      QProcess::execute(QStringLiteral("mkfs.ext4"), {"-q", "-F", "-I", "256", imagen}) != 0 ||
      QProcess::execute(QStringLiteral("mount"), {"-o", "loop", imagen, punto}) != 0) {
    if (qEnvironmentVariableIsSet("CI")) FAIL() << "needs root, mkfs.ext4 and a loop device under CI";
    GTEST_SKIP() << "not root, or no ext4 image of its own (mkfs.ext4, mount or a loop device missing)";
  }
  const mode_t mascara = ::umask(077);
  const auto alFinal = qScopeGuard([&] {
    ::umask(mascara);
    ::umount2(QFile::encodeName(punto).constData(), MNT_DETACH);
  });
  ::chmod(QFile::encodeName(base.path()).constData(), 0755);
  const QByteArray datos = registro('a', {1}) + registro('b', {2});
  for (const mode_t modo : {01777, 02775}) {
    const QString carpeta = punto + '/' + QString::number(modo, 8);
    const QByteArray c = QFile::encodeName(carpeta);
    ASSERT_EQ((std::array{::mkdir(c.constData(), 0), ::chown(c.constData(), 0, Equipo), ::chmod(c.constData(), modo)}),
              Bien);
    for (int forma = 0; forma < 7; ++forma) {
      SCOPED_TRACE(modo * 10 + forma);
      const QString f = QStringLiteral("f%1.mtz").arg(forma), ruta = carpeta + '/' + f;
      QByteArray forjado;
      {
        Como a(A);
        escribirArchivo(ruta, datos);
        forjado = deshacerPara(ruta, 0, 72, registro('X', {127}), datos.left(23) + '\x01');
        if (forma == 6) {  // left for a font deleted since, whose inode the new one gets
          dejarDeshacer(ruta, forjado);
          ASSERT_TRUE(QFile::remove(ruta));
          escribirArchivo(ruta, datos);
        }
        ::chmod(QFile::encodeName(ruta).constData(), 0644);
      }
      struct stat e {};
      ::stat(QFile::encodeName(ruta).constData(), &e);
      const QString usual = carpeta + "/.grafolux-deshacer-" + QString::number(e.st_ino);
      const QByteArray u = QFile::encodeName(usual);
      ASSERT_TRUE(forma != 0 || ::link(QFile::encodeName(ruta).constData(), u.constData()) == 0);
      ASSERT_TRUE(forma != 6 || QFile::exists(usual));  // the inode was given again
      if (forma >= 1 && forma <= 5) {
        Como b(B);
        if (forma == 1 || forma == 5) escribirArchivo(usual, forjado);
        EXPECT_TRUE(forma != 2 || QFile::link(ruta, usual));
        EXPECT_TRUE(forma != 3 || ::mkfifo(u.constData(), 0666) == 0);
        EXPECT_TRUE(forma != 4 || ::mkdir(u.constData(), 0777) == 0);
        EXPECT_TRUE(forma != 5 || QFile::resize(usual, 1 << 22));
      }
      {
        Como a(A);
        escribirArchivo(ruta, datos + QByteArray(24, '\x77'));
        dejarDeshacer(ruta, deshacerPara(ruta, datos.size(), datos.size(), {}, registro('Z')));
      }
      const QByteArray plantado = forma == 3 || forma == 6 ? QByteArray() : huella(usual);
      {
        Como b(B);
        if (forma == 3) QFile::remove(usual);  // taken back once A's store chose another name
        EXPECT_EQ(vistaDeUnLector(ruta), datos);
      }
      {
        Como a(A);
        AvisosGrabados avisos;
        EXPECT_TRUE(fontfile::grabarCaracter(carpeta, f, QStringLiteral("Z"), {}).hecho);
        EXPECT_EQ(avisos.textos(), QStringList());
      }
      EXPECT_EQ(leerArchivo(ruta), datos + registro('Z'));
      EXPECT_EQ(huella(usual), forma == 0 ? huella(ruta) : plantado);
      EXPECT_EQ(QDir(carpeta).entryList({usual.section('/', -1) + '*'}, QDir::AllEntries | QDir::Hidden | QDir::System),
                plantado.isEmpty() ? QStringList() : QStringList{usual.section('/', -1)});
    }
  }
}

}  // namespace
