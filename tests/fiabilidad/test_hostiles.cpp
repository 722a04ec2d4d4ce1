// Hostile font files and hostile conditions, each met through every file
// command of the window: store, load, a click in the file list and create.
// Each command must end with its message, leave the file as it was (byte
// for byte, or the same node for what is not a regular file) and the grid
// as it was, create nothing, and leave the editor working.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtEndian>
#include <csignal>
#include <functional>

#include "Editor.h"

namespace {

const QString Formato = QStringLiteral("Error: El archivo no tiene el formato adecuado.");
const QString NoEsta = QStringLiteral("El carácter Z no está en el archivo.");
const QString Lleno = QStringLiteral("El archivo está lleno: no admite más de 32767 caracteres.");
const QString Demasiados = QStringLiteral("Error: El archivo tiene más de 32767 registros.");
const QString Existe = QStringLiteral("El archivo ya existe.");
const QString NoAbre = QStringLiteral("No se puede abrir el archivo \"%1\".");
const QString NoCrea = QStringLiteral("No se puede crear el archivo \"%1\".");
const QString NoEscribe = QStringLiteral("No se puede escribir el archivo.");

enum class Clic { NoListado, Acepta, Formato, Calla };

// A preparation makes the file, and returns what stays in force over the
// four commands: it ends when the last copy of the pointer goes.
using Condicion = std::shared_ptr<void>;
using Preparar = std::function<Condicion(const QString& ruta)>;

QByteArray registros(int cuantos) { return registro('A', {127, 1}).repeated(cuantos); }
QByteArray longitud3(QByteArray r) { return r.replace(0, 1, "\x03"); }
// "Z" drawn as the editor's grid is, so that loading it changes nothing.
const QByteArray ZComoLaMatriz = registro('Z', {0, 64, 8, 1, 0, 16, 2, 0, 32, 4});

Preparar contenido(
    const QByteArray& datos, Preparar despues = [](const QString&) { return Condicion(); }) {
  return [=](const QString& r) {
    escribirArchivo(r, datos);
    return despues(r);
  };
}
Preparar hecho(const std::function<bool(const QString&)>& hacer) {
  return [=](const QString& r) { return hacer(r) ? Condicion() : (ADD_FAILURE(), Condicion()); };
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
  const QString carpeta = QFileInfo(r).path();
  for (const auto& [ruta, modo] : {std::pair{carpeta + "/..", 0755}, {carpeta, 0555}, {r, 0444}}) {
    EXPECT_EQ(::chmod(QFile::encodeName(ruta).constData(), modo), 0);
  }
  const bool cambiado = ::geteuid() == 0 && ::seteuid(65534) == 0;
  return {nullptr, [=](void*) { EXPECT_TRUE(!cambiado || ::seteuid(0) == 0); }};
}
// A disk that fills 10 bytes further; the signal is ignored, as the editor
// ignores it, so that the write fails instead.
Condicion casiLleno(const QString& r) {
  rlimit antes{}, ahora{};
  ::getrlimit(RLIMIT_FSIZE, &antes);
  ahora = {static_cast<rlim_t>(QFileInfo(r).size() + 10), antes.rlim_max};
  const auto senal = std::signal(SIGXFSZ, SIG_IGN);
  EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &ahora), 0);
  return {nullptr, [=](void*) { ::setrlimit(RLIMIT_FSIZE, &antes), std::signal(SIGXFSZ, senal); }};
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
    {"Registros32768", "rebosa.mtz", contenido(registros(32768)), Lleno, Demasiados, Clic::Acepta, Existe},
    {"CienMegabytesDispersos", "enorme.mtz",
     hecho([](const QString& r) { return QFile(r).open(QIODevice::WriteOnly) && QFile::resize(r, 100 << 20); }), Lleno,
     Demasiados, Clic::Acepta, Existe},
    {"Carpeta", "carpeta.mtz", hecho([](const QString& r) { return QDir().mkdir(r); }), NoAbre, NoAbre, Clic::NoListado,
     NoCrea},
    {"Tuberia", "tubo.mtz",
     hecho([](const QString& r) { return ::mkfifo(QFile::encodeName(r).constData(), 0644) == 0; }), NoAbre, NoAbre,
     Clic::Calla, NoCrea},
    // A create must not make the missing target through the link.
    {"EnlaceRoto", "roto.mtz", enlaceA("no-esta"), "El archivo \"%1\" no existe.", "El archivo \"%1\" no existe.",
     Clic::Calla, NoCrea},
    {"EnlaceCircular", "bucle.mtz", enlaceA("bucle.mtz"), NoAbre, NoAbre, Clic::Calla, NoCrea},
    {"EnlaceADevNull", "nulo.mtz", enlaceA("/dev/null"), NoAbre, NoAbre, Clic::Calla, NoCrea},
    {"EnlaceADevZero", "ceros.mtz", enlaceA("/dev/zero"), NoAbre, NoAbre, Clic::Calla, NoCrea},
    {"CarpetaDeTrabajoBorrada", "f.mtz",
     hecho([](const QString& r) { return QDir(QFileInfo(r).path() + "/..").removeRecursively(); }), NoAbre, NoAbre,
     Clic::NoListado, NoCrea},
    // Refused before the overwrite question, which would show among the messages.
    {"ProtegidoContraEscritura", "protegido.mtz", contenido(ZComoLaMatriz, protegido), NoEscribe, "", Clic::Acepta,
     Existe},
    // A store needs the file to itself; a load shares it.
    {"LeidoPorOtro", "leido.mtz", tomado(LOCK_SH), NoEscribe, "", Clic::Acepta, Existe},
    {"GrabadoPorOtroQueNoLoSuelta", "tomado.mtz", tomado(LOCK_EX), NoEscribe, "No se puede leer el archivo.",
     Clic::Calla, Existe},
    // The part of the record written is taken back.
    {"DiscoLlenoAMitadDeRegistro", "medio.mtz", contenido(registros(2), casiLleno), NoEscribe, NoEsta, Clic::Acepta,
     Existe},
};

// What a command could change about a name: the node, its size, blocks and
// time, and the bytes of a regular file up to a few megabytes.
QByteArray huella(const QString& ruta) {
  struct stat e {};
  if (::lstat(QFile::encodeName(ruta).constData(), &e) != 0) return {};
  const QByteArray h = QByteArray::number(e.st_mode) + ' ' + QByteArray::number(e.st_size) + ' ' +
                       QByteArray::number(e.st_blocks) + ' ' + QByteArray::number(e.st_mtim.tv_nsec);
  return S_ISREG(e.st_mode) && e.st_size <= (4 << 20) ? h + leerArchivo(ruta) : h;
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
    SCOPED_TRACE(orden);
    EXPECT_EQ(avisos.textos().join('|'), esperado.contains(QLatin1String("%1")) ? esperado.arg(ruta) : esperado);
    avisos.olvidar();
    EXPECT_EQ(huella(ruta), antes);
    EXPECT_EQ(ventana.leerCeldas(), dibujo);
    EXPECT_EQ(nombres(), nombresAntes);
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
  sigueFuncionando();
}

INSTANTIATE_TEST_SUITE_P(Matriz, ArchivoHostil, testing::ValuesIn(Matriz),
                         [](const testing::TestParamInfo<Hostil>& i) { return std::string(i.param.titulo); });

}  // namespace
