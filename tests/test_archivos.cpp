// Font files: slot layout, search and count, stores cut short, the file commands, the brand line.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <QDir>
#include <chrono>
#include <thread>

#include "Apoyo.h"
#include "ColumnCode.h"
#include "Comandos.h"
#include "ListaCaracteres.h"
#include "mdlArchivos.h"

using namespace fontfile;

// A bool flag, where true would mean "say nothing", does not compile.
template <typename T>
concept TomaBandera = requires(T bandera) {
  ExisteArchivo(QString(), bandera);
};
static_assert(TomaBandera<std::int16_t> && !TomaBandera<bool>);

namespace {

QByteArray ranura(quint16 longitud, const QByteArray& caracter, char codigo = 5) {
  QByteArray r(LongitudRegistro, codigo);
  qToLittleEndian(longitud, r.data());
  return r.replace(2, caracter.size(), caracter);
}

class Archivos : public testing::Test {
 protected:
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  QString dir = carpeta.tipografias(), ruta = carpeta.fuente("f.mtz");
};

}  // namespace

TEST(Registro, LosCodigosVanTrasElCaracterSeaCualSeaSuLongitud) {
  for (const QByteArray& c : {QByteArray(), QByteArray("I"), QByteArray("ab")}) {
    const FontRecord r{c, {127, 0, 0, 0, 0, 0, 0, 0, 0, -2}};
    const QByteArray bytes =
        (char(c.size()) + QByteArray(1, '\0') + c + "\x7f" + QByteArray(17, '\0') + "\xfe\xff" + QByteArray(2, '\0'))
            .left(LongitudRegistro);
    EXPECT_EQ(QByteArray(codificarRanura(r).data(), LongitudRegistro), bytes);
    const Ranura otraVez = codificarRanura(decodificarRanura(bytes.constData()).value());
    EXPECT_EQ(QByteArray(otraVez.data(), LongitudRegistro), bytes);  // read back whole
  }
  for (const quint16 mala : {3, 0x0100, 0xFFFF}) EXPECT_FALSE(decodificarRanura(ranura(mala, "a").constData())) << mala;
  EXPECT_EQ(aWindows1252(ListaCaracteres().join("") + QString::fromUtf8("€ñ")).right(4), "~^\x80\xF1");
}

TEST_F(Archivos, BuscarYContar) {
  escribirArchivo(ruta, {});
  EXPECT_EQ(BuscarCaracter(ruta, "a"), 0);
  EXPECT_EQ(ProximoRegistro(ruta), 1);
  escribirArchivo(ruta, ranura(2, "ab") + ranura(1, "a") + ranura(1, "A") + ranura(0, "") + ranura(1, "a") +
                            ranura(1, "\xF1") + ranura(2, "ba") + ranura(1, "b").left(10) /* no record */);
  for (const auto& [caracter, k] : std::vector<std::pair<QString, int>>{
           {"a", 2}, {"A", 3}, {"ab", 1}, {"ac", 0}, {"ba", 7}, {"", 4}, {QString::fromUtf8("ñ"), 6}, {"b", 0}}) {
    EXPECT_EQ(BuscarCaracter(ruta, caracter), k) << caracter.toStdString();
  }
  EXPECT_EQ(ProximoRegistro(ruta), 8);
  escribirArchivo(ruta, ranura(1, "a") + ranura(0x0100, "c") + ranura(1, "c"));
  EXPECT_EQ(BuscarCaracter(ruta, "a"), 1);
  EXPECT_THROW(BuscarCaracter(ruta, "c"), ErrorArchivo);
  escribirArchivo(ruta, ranura(1, "a").repeated(32766));
  EXPECT_EQ(ProximoRegistro(ruta), 32767);
}

// A store cut short leaves its rollback record and its slot torn, whole or untouched. Readers see it
// undone only when torn; the next store puts the file so and removes the record either way.
TEST_F(Archivos, UnaGrabacionCortadaSeDeshaceSoloSiDesgarro) {
  const QByteArray viejo = ranura(1, "a") + ranura(1, "b"), nueva = ranura(1, "B", 9), otra = ranura(1, "c");
  const QByteArray rota = viejo.left(34) + nueva.mid(10);
  // As an earlier version wrote it, without the file's identity: the store of "rota".
  const QByteArray primeraForma = QByteArray::fromHex(
      "44455348414345521800000000000000300000000000000001006205050505050505050505050505050505050505050501004209"
      "09090909090909090909090909090909090909090e2af566a856e0a2");
  // Where, what the crash left, what readers and then the file hold, how much of the record was
  // written. Bytes neither old nor new are another file's, a record cut short is no store begun;
  // an append cut short is cut off whatever its tail holds (stale bytes after a power loss).
  for (const auto& [desde, tras, esperado, largo] : std::vector<std::tuple<int, QByteArray, QByteArray, int>>{
           {24, rota, viejo, 999},
           {24, viejo.left(24) + nueva, viejo.left(24) + nueva, 999},
           {48, viejo + nueva.left(5), viejo, 999},
           {48, viejo + otra, viejo, 999},
           {48, viejo + nueva, viejo + nueva, 999},
           {24, viejo.left(24) + otra, viejo.left(24) + otra, 999},
           {24, rota, rota, 50},
           {24, rota, viejo, 0}}) {
    escribirArchivo(ruta, tras);
    const QByteArray d = deshacerPara(ruta, desde, 48, viejo.mid(24, desde < 48 ? 24 : 0), nueva);
    const QString registro = dejarDeshacer(ruta, largo ? d.left(largo) : primeraForma);
    EXPECT_EQ(vistaDeUnLector(ruta), esperado);
    EXPECT_EQ(leerArchivo(ruta), tras);
    ArchivoFuente(ruta, ArchivoFuente::Modo::Escritura).bloquear(ArchivoFuente::Bloqueo::Exclusivo);
    EXPECT_EQ(leerArchivo(ruta), esperado);
    EXPECT_FALSE(QFile::exists(registro));
  }
}

TEST_F(Archivos, UnNombreConBarraNoSaleDeLaCarpetaYUnaCarpetaQueFaltaNoEsUnArchivoQueFalta) {
  EXPECT_TRUE(grabarCaracter(dir, "../f.mtz", "a", {}).focoAlNombre);
  EXPECT_TRUE(cargarCaracter(dir, "../f.mtz", "a").focoAlNombre);
  EXPECT_TRUE(crearArchivo(dir, "../f.mtz").focoAlNombre);
  EXPECT_FALSE(ExisteArchivo(dir + "/falta/f.mtz", Verdadero));
  EXPECT_EQ(avisos.textos(), QStringList(3, "El nombre del archivo no puede contener una barra (/).") +
                                 QStringList{"No se puede abrir el archivo \"" + dir + "/falta/f.mtz\"."});
  EXPECT_FALSE(QFile::exists(carpeta.raiz() + "/f.mtz"));
}

// Asked with the file closed, so another editor may store meanwhile: the search is made again.
TEST_F(Archivos, SobreescribeEnSuSitioTrasPreguntarSinTenerElArchivo) {
  escribirArchivo(ruta, registro('a') + registro('I', {1}));
  int preguntas = 0;
  const avisos::Presentador anterior = avisos::instalar([&](const avisos::Aviso& a) {
    const int otro = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::flock(otro, LOCK_EX | LOCK_NB), 0);
    ::close(otro);
    EXPECT_EQ(a.texto + a.titulo, "El caracter ya existe, desea sobreescribirlo?Sobreescribe el caracter?");
    EXPECT_EQ(std::pair(a.botones, a.icono), std::pair(avisos::Botones::SiNo, avisos::Icono::Ninguno));
    if (++preguntas == 1) escribirArchivo(ruta, registro('x') + leerArchivo(ruta));
    return preguntas == 1 ? avisos::Respuesta::Si : avisos::Respuesta::No;
  });
  const auto grabar = [&](const char* c, glyph::Codigos codigos) {
    return grabarCaracter(dir, "f.mtz", c, glyph::dibujoDeCodigos(codigos)).hecho;
  };
  EXPECT_TRUE(grabar("I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}));
  EXPECT_FALSE(grabar("I", {}));  // answered No
  avisos::instalar(anterior);
  EXPECT_TRUE(grabar("A", {}));  // another character than "a": appended
  EXPECT_EQ(leerArchivo(ruta),
            registro('x') + registro('a') + registro('I', {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}) + registro('A'));
}

// While a store waits for the lock, the program holding it stores the same character in place, or replaces the
// font by rename: the store searches the file the path names once it holds the lock, and overwrites there.
TEST_F(Archivos, LaGrabacionBuscaEnLoQueDejoQuienTeniaElArchivo) {
  const QByteArray nombre = QFile::encodeName(ruta);
  const auto abiertos = [&] {
    const QFileInfoList fds = QDir("/proc/self/fd").entryInfoList(QDir::Files | QDir::System);
    return std::count_if(fds.begin(), fds.end(), [&](const QFileInfo& fd) { return fd.symLinkTarget() == ruta; });
  };
  for (const bool renombrado : {false, true}) {
    escribirArchivo(ruta, registro('a'));
    const int viejo = ::open(nombre.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(viejo, LOCK_EX), 0);
    avisos.responder(avisos::Respuesta::Si);
    std::jthread grabacion([&] { EXPECT_TRUE(grabarCaracter(dir, "f.mtz", "b", glyph::dibujoDeCodigos({1})).hecho); });
    for (const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(1); abiertos() < 2;) {
      ASSERT_LT(std::chrono::steady_clock::now(), limite) << "the store never opened the file";
    }
    const QByteArray dejado = registro('x') + registro('y') + registro('b');
    escribirArchivo(renombrado ? ruta + ".nuevo" : ruta, dejado);
    ASSERT_TRUE(!renombrado || ::rename((nombre + ".nuevo").constData(), nombre.constData()) == 0);
    ::close(viejo);
    grabacion.join();
    EXPECT_EQ(leerArchivo(ruta), registro('x') + registro('y') + registro('b', {1})) << renombrado;
  }
}

TEST_F(Archivos, LaPruebaDeFormatoMiraLaLongitudDelRegistro1) {
  for (const auto& [datos, adecuado] : std::vector<std::pair<QByteArray, bool>>{
           {{}, true}, {"x", true}, {ranura(2, "ab"), true}, {ranura(3, "abc"), false}, {"hola", false}}) {
    escribirArchivo(ruta, datos);
    EXPECT_EQ(formatoAdecuado(ruta), adecuado) << datos.toHex().toStdString();
    EXPECT_EQ(avisos.textos(),
              adecuado ? QStringList() : QStringList{"Error: El archivo no tiene el formato adecuado."});
    avisos.olvidar();
  }
}

TEST(Marca, PrimeraLineaEnWindows1252) {
  CarpetaDeTrabajo carpeta;
  QDir().mkpath("ayuda/Archivos");
  escribirArchivo("ayuda/Archivos/marca.txt",
                  "Compa\xF1\xED"
                  "a \x80 1\nsegunda\r");
  EXPECT_EQ(LeerMarca(), QString::fromUtf8("Compañía € 1"));
}
