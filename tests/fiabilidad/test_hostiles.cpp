// Hostile font files, each met through every file command of the window:
// store, load, a click in the file list and create. Each command must end
// with its message, leave the file as it was (byte for byte, or the same
// node for what is not a regular file) and the grid as it was, create
// nothing, and leave the editor working.

#include <QDir>
#include <QFile>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "Editor.h"

namespace {

const QString Formato = QStringLiteral("Error: El archivo no tiene el formato adecuado.");
const QString NoEsta = QStringLiteral("El carácter Z no está en el archivo.");
const QString Lleno = QStringLiteral("El archivo está lleno: no admite más de 32767 caracteres.");
const QString Demasiados = QStringLiteral("Error: El archivo tiene más de 32767 registros.");
const QString Existe = QStringLiteral("El archivo ya existe.");
const QString NoAbre = QStringLiteral("No se puede abrir el archivo \"%1\".");
const QString NoExiste = QStringLiteral("El archivo \"%1\" no existe.");
const QString NoCrea = QStringLiteral("No se puede crear el archivo \"%1\".");
const QString NoEscribe = QStringLiteral("No se puede escribir el archivo.");

enum class Clic { NoListado, Acepta, Formato, Calla };

QByteArray ranuraConLongitud(quint8 bajo, quint8 alto) {
  QByteArray r = registro('Z', {1, 2, 3});
  r[0] = static_cast<char>(bajo);
  r[1] = static_cast<char>(alto);
  return r;
}

QByteArray registros(int cuantos, char caracter = 'A') {
  const QByteArray uno = registro(caracter, {127, 1});
  QByteArray todos;
  todos.reserve(qsizetype(cuantos) * uno.size());
  for (int i = 0; i < cuantos; ++i) todos += uno;
  return todos;
}

void contenido(const QString& ruta, const QByteArray& datos) { escribirArchivo(ruta, datos); }

struct Hostil {
  const char* titulo;  // also the test's name
  QString archivo;
  std::function<void(const QString& ruta)> preparar;
  QString alGrabar, alLeer;  // storing and loading "Z"; %1 is the path
  Clic alPulsar;
  QString alCrear;
};

// What a command could change about a name in the folder: the node, its
// size and blocks, its times, and the bytes of a regular file.
struct Huella {
  mode_t tipo = 0;
  off_t tamano = 0;
  blkcnt_t bloques = 0;
  timespec modificado{};
  QByteArray bytes;
  QString destino;

  static Huella de(const QString& ruta) {
    Huella h;
    struct stat e {};
    if (::lstat(QFile::encodeName(ruta).constData(), &e) != 0) return h;
    h.tipo = e.st_mode;
    h.tamano = e.st_size;
    h.bloques = e.st_blocks;
    h.modificado = e.st_mtim;
    // Up to a few megabytes the bytes are compared; beyond, a write would
    // show in the size, the blocks (the big file is sparse) or the time.
    if (S_ISREG(e.st_mode) && e.st_size <= 4 * 1024 * 1024) h.bytes = leerArchivo(ruta);
    if (S_ISLNK(e.st_mode)) h.destino = QFile::symLinkTarget(ruta);
    return h;
  }
  bool operator==(const Huella& o) const {
    return tipo == o.tipo && tamano == o.tamano && bloques == o.bloques && modificado.tv_sec == o.modificado.tv_sec &&
           modificado.tv_nsec == o.modificado.tv_nsec && bytes == o.bytes && destino == o.destino;
  }
};

const std::vector<Hostil>& matriz() {
  static const std::vector<Hostil> casos = {
      {"TextoRenombrado", QStringLiteral("texto.mtz"),
       [](const QString& r) { contenido(r, "Lista de la compra:\nleche, pan, huevos y fruta\n"); }, Formato, Formato,
       Clic::Formato, Existe},
      {"TextoMasCortoQueUnRegistro", QStringLiteral("corto.mtz"), [](const QString& r) { contenido(r, "hola\n"); },
       Formato, NoEsta, Clic::Formato, Existe},
      {"Longitud3EnElRegistro1", QStringLiteral("l3.mtz"),
       [](const QString& r) { contenido(r, ranuraConLongitud(3, 0) + registros(2)); }, Formato, Formato,
       Clic::Formato, Existe},
      {"LongitudFFFFEnElRegistro1", QStringLiteral("ffff.mtz"),
       [](const QString& r) { contenido(r, ranuraConLongitud(0xFF, 0xFF) + registros(2)); }, Formato, Formato,
       Clic::Formato, Existe},
      {"Longitud3EnElRegistro2", QStringLiteral("l3tarde.mtz"),
       [](const QString& r) { contenido(r, registros(1) + ranuraConLongitud(3, 0)); }, Formato, Formato, Clic::Acepta,
       Existe},
      // The character looked for lies after the unreadable slot: the search
      // stops there and never reaches it.
      {"LongitudFFFFEnElRegistro40", QStringLiteral("fffftarde.mtz"),
       [](const QString& r) { contenido(r, registros(39) + ranuraConLongitud(0xFF, 0xFF) + registro('Z')); }, Formato,
       Formato, Clic::Acepta, Existe},
      {"LongitudQueNoEsMultiploDe24", QStringLiteral("cola.mtz"),
       [](const QString& r) { contenido(r, registros(2) + QByteArray(10, '\x01')); }, Formato, NoEsta, Clic::Acepta,
       Existe},
      {"Exactamente32767Registros", QStringLiteral("lleno.mtz"),
       [](const QString& r) { contenido(r, registros(32767)); }, Lleno, NoEsta, Clic::Acepta, Existe},
      {"Registros32768", QStringLiteral("rebosa.mtz"), [](const QString& r) { contenido(r, registros(32768)); }, Lleno,
       Demasiados, Clic::Acepta, Existe},
      {"CienMegabytes", QStringLiteral("enorme.mtz"),
       [](const QString& r) {
         QFile f(r);
         ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(100 * 1024 * 1024));
       },
       Lleno, Demasiados, Clic::Acepta, Existe},
      {"CarpetaConNombreDeFuente", QStringLiteral("carpeta.mtz"), [](const QString& r) { QDir().mkdir(r); }, NoAbre,
       NoAbre, Clic::NoListado, NoCrea},
      {"TuberiaConNombreDeFuente", QStringLiteral("tubo.mtz"),
       [](const QString& r) { ASSERT_EQ(::mkfifo(QFile::encodeName(r).constData(), 0644), 0); }, NoAbre, NoAbre,
       Clic::Calla, NoCrea},
      // A create must not make the missing target through the link.
      {"EnlaceRoto", QStringLiteral("roto.mtz"),
       [](const QString& r) { ASSERT_TRUE(QFile::link(r + QStringLiteral(".no-esta"), r)); }, NoExiste, NoExiste,
       Clic::Calla, NoCrea},
      {"EnlaceCircular", QStringLiteral("bucle.mtz"),
       [](const QString& r) { ASSERT_TRUE(QFile::link(r, r)); }, NoAbre, NoAbre, Clic::Calla, NoCrea},
      {"DiscoLleno", QStringLiteral("devfull.mtz"),
       [](const QString& r) { ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), r)); }, NoEscribe, NoEsta,
       Clic::Acepta, Existe},
  };
  return casos;
}

class ArchivoHostil : public Editor, public testing::WithParamInterface<Hostil> {};

TEST_P(ArchivoHostil, CadaOrdenLoDiceYNoCambiaNada) {
  const Hostil& caso = GetParam();
  const QString ruta = carpeta.fuente(caso.archivo);
  caso.preparar(ruta);
  releerLista();
  const QStringList nombresAntes = QDir(carpeta.tipografias()).entryList(QDir::AllEntries | QDir::System);
  const Huella antes = Huella::de(ruta);

  const auto tras = [&](const char* orden, const QString& esperado) {
    SCOPED_TRACE(orden);
    const QStringList vistos = avisos.textos();
    if (esperado.isEmpty()) {
      EXPECT_TRUE(vistos.isEmpty()) << vistos.join('|').toStdString();
    } else {
      EXPECT_EQ(vistos, QStringList{esperado.contains(QLatin1String("%1")) ? esperado.arg(ruta) : esperado});
    }
    avisos.olvidar();
    EXPECT_TRUE(Huella::de(ruta) == antes);
    EXPECT_EQ(ventana->leerCeldas(), dibujo);
    EXPECT_EQ(QDir(carpeta.tipografias()).entryList(QDir::AllEntries | QDir::System), nombresAntes);
  };

  grabar(caso.archivo, QStringLiteral("Z"));
  tras("grabar", caso.alGrabar);
  leer(caso.archivo, QStringLiteral("Z"));
  tras("leer", caso.alLeer);

  nombre->setText(QStringLiteral("otro.mtz"));
  const bool listado = pulsar(caso.archivo);
  EXPECT_EQ(listado, caso.alPulsar != Clic::NoListado);
  tras("pulsar", caso.alPulsar == Clic::Formato ? Formato : QString());
  EXPECT_EQ(nombre->text(), caso.alPulsar == Clic::Acepta ? caso.archivo : QStringLiteral("otro.mtz"));

  crear(caso.archivo);
  tras("crear", caso.alCrear.contains(QLatin1String("%1")) ? caso.alCrear.arg(ruta) : caso.alCrear);

  sigueFuncionando();
}

INSTANTIATE_TEST_SUITE_P(Matriz, ArchivoHostil, testing::ValuesIn(matriz()),
                         [](const testing::TestParamInfo<Hostil>& i) { return std::string(i.param.titulo); });

// Files with a defect the commands can work around: what lies before or
// beside the defect is still read and may be overwritten, in place.
class ArchivoDefectuoso : public Editor {};

TEST_F(ArchivoDefectuoso, LoQueHayAntesDelDefectoSeLeeYSeSobreescribeEnSuSitio) {
  for (const QByteArray& defecto : {ranuraConLongitud(3, 0), QByteArray(10, '\x01')}) {
    const QString ruta = carpeta.fuente(QStringLiteral("defecto.mtz"));
    const QByteArray original = registro('A', {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}) + defecto;
    escribirArchivo(ruta, original);

    leer(QStringLiteral("defecto.mtz"), QStringLiteral("A"));
    EXPECT_EQ(ventana->leerCeldas(), glyph::dibujoDeCodigos({127, 0, 0, 0, 0, 0, 0, 0, 0, 64}));
    ventana->cmdLlenar_Click();
    avisos.responder(avisos::Respuesta::Si);
    grabar(QStringLiteral("defecto.mtz"), QStringLiteral("A"));
    EXPECT_EQ(avisos.textos(), QStringList{QStringLiteral("El caracter ya existe, desea sobreescribirlo?")});
    avisos.olvidar();
    EXPECT_EQ(leerArchivo(ruta), registro('A', {127, 127, 127, 127, 127, 127, 127, 127, 127, 127}) + defecto);
  }
}

TEST_F(ArchivoDefectuoso, UnArchivoVacioNoTieneNadaPeroAdmiteElPrimerCaracter) {
  escribirArchivo(carpeta.fuente(QStringLiteral("vacio.mtz")), {});
  releerLista();
  EXPECT_TRUE(pulsar(QStringLiteral("vacio.mtz")));
  leer(QStringLiteral("vacio.mtz"), QStringLiteral("Z"));
  EXPECT_EQ(avisos.textos(), QStringList{NoEsta});
  EXPECT_EQ(ventana->leerCeldas(), dibujo);
  grabar(QStringLiteral("vacio.mtz"), QStringLiteral("Z"));
  EXPECT_EQ(leerArchivo(carpeta.fuente(QStringLiteral("vacio.mtz"))).size(), 24);
}

TEST_F(ArchivoDefectuoso, UnNombreConEspaciosYLetrasNoAsciiSirveEnTodasLasOrdenes) {
  const QString archivo = QStringLiteral("mi fuente ñandú Ç€.mtz");
  crear(archivo);
  ASSERT_TRUE(QFileInfo::exists(carpeta.fuente(archivo)));
  EXPECT_TRUE(pulsar(archivo));
  grabar(archivo, QStringLiteral("Ñ"));
  ventana->cmdBorrar_Click();
  leer(archivo, QStringLiteral("Ñ"));
  EXPECT_EQ(ventana->leerCeldas(), dibujo);
  EXPECT_TRUE(avisos.textos().isEmpty()) << avisos.textos().join('|').toStdString();
  EXPECT_EQ(leerArchivo(carpeta.fuente(archivo)).at(2), '\xD1');
}

}  // namespace
