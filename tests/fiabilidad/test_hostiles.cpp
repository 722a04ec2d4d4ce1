// Hostile font files and hostile conditions, each met through every file
// command of the window: store, load, a click in the file list and create.
// Each command must end with its message, leave the file as it was (byte
// for byte, or the same node for what is not a regular file) and the grid
// as it was, and create nothing. And a disk that fills half-way through a
// record.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtEndian>
#include <functional>

#include "Editor.h"

namespace {

const QString Formato = QStringLiteral("Error: El archivo no tiene el formato adecuado."),
              NoEsta = QStringLiteral("El carácter Z no está en el archivo."),
              Lleno = QStringLiteral("El archivo está lleno: no admite más de 32767 caracteres."),
              Existe = QStringLiteral("El archivo ya existe."),
              NoAbre = QStringLiteral("No se puede abrir el archivo \"%1\"."),
              NoCrea = QStringLiteral("No se puede crear el archivo \"%1\"."),
              NoEscribe = QStringLiteral("No se puede escribir el archivo.");

enum class Clic { NoListado, Acepta, Formato, Calla };

// A preparation makes the file and returns what stays in force over the four
// commands, until the pointer is dropped.
using Condicion = std::shared_ptr<void>;
using Preparar = std::function<Condicion(const QString& ruta)>;

QByteArray registros(int cuantos) { return registro('A', {127, 1}).repeated(cuantos); }
QByteArray longitud3(QByteArray r) { return r.replace(0, 1, "\x03"); }
// "Z" drawn as the editor's grid is, so that loading it changes nothing.
const QByteArray ZComoLaMatriz = registro('Z', {0, 64, 8, 1, 0, 16, 2, 0, 32, 4});

Preparar hecho(const std::function<bool(const QString&)>& hacer, const Preparar& despues = {}) {
  return [=](const QString& r) {
    EXPECT_TRUE(hacer(r));
    return despues ? despues(r) : Condicion();
  };
}
Preparar contenido(const QByteArray& datos, const Preparar& despues = {}) {
  return hecho([=](const QString& r) { return escribirArchivo(r, datos), true; }, despues);
}
Preparar enlaceA(const QString& destino) {
  return hecho([=](const QString& r) { return QFile::link(destino, r); });
}
// Another program holding the file's lock all along.
Preparar tomado(int operacion) {
  return contenido(ZComoLaMatriz, [=](const QString& r) {
    const int fd = ::open(QFile::encodeName(r).constData(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::flock(fd, operacion), 0);
    return Condicion(nullptr, [fd](void*) { ::close(fd); });
  });
}
// Readable but not writable, for root too: user nobody while it lasts.
Condicion protegido(const QString& r) {
  for (const auto& [ruta, modo] : {std::pair{r + "/../..", 0755}, {r + "/..", 0555}, {r, 0444}}) {
    EXPECT_EQ(::chmod(QFile::encodeName(QDir::cleanPath(ruta)).constData(), modo), 0);
  }
  const bool cambiado = ::geteuid() == 0 && ::seteuid(65534) == 0;
  return {nullptr, [=](void*) { EXPECT_TRUE(!cambiado || ::seteuid(0) == 0); }};
}

struct Hostil {
  const char* titulo;  // also the test's name
  QString archivo;
  Preparar preparar;
  QString alGrabar, alLeer;  // storing and loading "Z"; %1 is the path
  Clic alPulsar;
  QString alCrear;
};

const std::vector<Hostil> Matriz = {
    {"TextoRenombrado", "texto ñ.mtz", contenido("Lista de la compra:\nleche, pan, huevos y fruta\n"), Formato, Formato,
     Clic::Formato, Existe},
    {"Longitud3EnElRegistro1", "l3.mtz", contenido(longitud3(registro('A')) + registros(2)), Formato, Formato,
     Clic::Formato, Existe},
    {"Longitud3EnElRegistro2", "l3 ñ.mtz", contenido(registros(1) + longitud3(registro('A')) + ZComoLaMatriz), Formato,
     Formato, Clic::Acepta, Existe},
    {"LongitudQueNoEsMultiploDe24", "cola.mtz", contenido(registros(2) + QByteArray(10, '\x01')), Formato, NoEsta,
     Clic::Acepta, Existe},
    {"Exactamente32767Registros", "lleno.mtz", contenido(registros(32767)), Lleno, NoEsta, Clic::Acepta, Existe},
    {"Registros32768", "rebosa.mtz", contenido(registros(32768)), Lleno,
     QStringLiteral("Error: El archivo tiene más de 32767 registros."), Clic::Acepta, Existe},
    {"Carpeta", "carpeta.mtz", hecho([](const QString& r) { return QDir().mkdir(r); }), NoAbre, NoAbre, Clic::NoListado,
     NoCrea},
    {"Tuberia", "tubo.mtz",
     hecho([](const QString& r) { return ::mkfifo(QFile::encodeName(r).constData(), 0644) == 0; }), NoAbre, NoAbre,
     Clic::Calla, NoCrea},
    // A create must not make the missing target through the link.
    {"EnlaceRoto", "roto.mtz", enlaceA("no-esta"), "El archivo \"%1\" no existe.", "El archivo \"%1\" no existe.",
     Clic::Calla, NoCrea},
    {"EnlaceADevNull", "nulo.mtz", enlaceA("/dev/null"), NoAbre, NoAbre, Clic::Calla, NoCrea},
    {"EnlaceADevZero", "ceros.mtz", enlaceA("/dev/zero"), NoAbre, NoAbre, Clic::Calla, NoCrea},
    {"CarpetaDeTrabajoBorrada", "f.mtz",
     hecho([](const QString& r) { return QDir(QDir::cleanPath(r + "/../..")).removeRecursively(); }), NoAbre, NoAbre,
     Clic::NoListado, NoCrea},
    // Refused before the overwrite question, which would show among the messages.
    {"ProtegidoContraEscritura", "protegido.mtz", contenido(ZComoLaMatriz, protegido), NoEscribe, "", Clic::Acepta,
     Existe},
    // A store needs the file to itself; a load shares it.
    {"LeidoPorOtro", "leído ñ.mtz", tomado(LOCK_SH), NoEscribe, "", Clic::Acepta, Existe},
    {"GrabadoPorOtroQueNoLoSuelta", "tomado.mtz", tomado(LOCK_EX), NoEscribe, "No se puede leer el archivo.",
     Clic::Calla, Existe},
};

// What a command could change about a name: the node, its size, blocks and
// time, and the bytes of a regular file.
QByteArray huella(const QString& ruta) {
  struct stat e {};
  if (::lstat(QFile::encodeName(ruta).constData(), &e) != 0) return {};
  return QByteArray::number(e.st_mode) + ' ' + QByteArray::number(e.st_size) + ' ' + QByteArray::number(e.st_blocks) +
         ' ' + QByteArray::number(e.st_mtim.tv_nsec) + (S_ISREG(e.st_mode) ? leerArchivo(ruta) : QByteArray());
}

class ArchivoHostil : public Editor, public testing::WithParamInterface<Hostil> {};

TEST_P(ArchivoHostil, CadaOrdenLoDiceYNoCambiaNada) {
  const Hostil& caso = GetParam();
  const QString ruta = carpeta.fuente(caso.archivo);
  Condicion condicion = caso.preparar(ruta);
  const auto nombres = [&] {
    return QDir(carpeta.tipografias()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
  };
  const QStringList nombresAntes = nombres();
  const QByteArray antes = huella(ruta);
  const auto tras = [&](const char* orden, const QString& esperado) {
    EXPECT_EQ(avisos.textos().join('|'), esperado.contains(QLatin1String("%1")) ? esperado.arg(ruta) : esperado)
        << orden;
    avisos.olvidar();
    EXPECT_TRUE(huella(ruta) == antes && ventana.leerCeldas() == dibujo && nombres() == nombresAntes) << orden;
  };
  avisos.responder(avisos::Respuesta::Si);
  orden(&frmPrincipal::cmdGrabar_Click, caso.archivo, QStringLiteral("Z"));
  tras("grabar", caso.alGrabar);
  orden(&frmPrincipal::cmdLeer_Click, caso.archivo, QStringLiteral("Z"));
  tras("leer", caso.alLeer);
  nombre->setText(QStringLiteral("otro.mtz"));
  EXPECT_EQ(pulsar(caso.archivo), caso.alPulsar != Clic::NoListado);
  tras("pulsar", caso.alPulsar == Clic::Formato ? Formato : QString());
  EXPECT_EQ(nombre->text(), caso.alPulsar == Clic::Acepta ? caso.archivo : QStringLiteral("otro.mtz"));
  orden(&frmPrincipal::cmdCrear_Click, caso.archivo);
  tras("crear", caso.alCrear);
  condicion.reset();
  ::chmod(QFile::encodeName(carpeta.tipografias()).constData(), 0755);
}

INSTANTIATE_TEST_SUITE_P(Matriz, ArchivoHostil, testing::ValuesIn(Matriz),
                         [](const testing::TestParamInfo<Hostil>& i) { return std::string(i.param.titulo); });

// A small file system of its own, filled so that it has no block left, or
// only the one the rollback record takes: a store fails before touching the
// font, or after the first part of its record. Appended, record 171 crosses
// the first page boundary; overwritten, record 342 crosses the second, over a
// hole of a sparse file. Either file ends as it was.
TEST_F(Editor, UnDiscoQueSeLlenaAMitadDeUnRegistroDejaElArchivoComoEstaba) {
  const QByteArray tipografias = QFile::encodeName(carpeta.tipografias());
  if (::mount("tmpfs", tipografias.constData(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs without root";
  escribirArchivo(carpeta.fuente("agrega.mtz"), registros(170));
  escribirArchivo(carpeta.fuente("sobre.mtz"), registros(341) + ZComoLaMatriz.left(8));
  ASSERT_TRUE(QFile::resize(carpeta.fuente("sobre.mtz"), 342 * 24));
  for (const int libres : {0, 1}) {
    for (const auto& [archivo, avisado] :
         {std::pair{"agrega.mtz", NoEscribe},
          {"sobre.mtz", "El caracter ya existe, desea sobreescribirlo?|" + NoEscribe}}) {
      const QByteArray antes = leerArchivo(carpeta.fuente(archivo));
      QFile relleno(carpeta.fuente("relleno"));
      ASSERT_TRUE(relleno.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered));
      while (relleno.write(QByteArray(4096, 'x')) == 4096) {
      }
      ASSERT_TRUE(relleno.resize(relleno.size() - libres * 4096));
      avisos.responder(avisos::Respuesta::Si);
      orden(&frmPrincipal::cmdGrabar_Click, archivo, QStringLiteral("Z"));
      EXPECT_EQ(avisos.textos().join('|'), avisado) << archivo << libres;
      avisos.olvidar();
      EXPECT_EQ(leerArchivo(carpeta.fuente(archivo)), antes) << archivo << libres;
      EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }
  }
  EXPECT_EQ(::umount2(tipografias.constData(), MNT_DETACH), 0);
}

}  // namespace
