// The file commands as the window calls them: what each writes, asks and
// tells, in which order it checks, and when it holds the file's lock.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>

#include "Apoyo.h"
#include "ColumnCode.h"
#include "Comandos.h"

using namespace fontfile;

namespace {

const QString SinCaracter = "Seleccione un caracter de la lista.",
              SinArchivo = "Debe seleccionar un archivo de trabajo.",
              Barra = "El nombre del archivo no puede contener una barra (/).",
              Formato = "Error: El archivo no tiene el formato adecuado.";

class Comandos : public testing::Test {
 protected:
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  QString dir = carpeta.tipografias(), ruta = carpeta.fuente("f.mtz");

  Resultado grabar(const QString& c, const glyph::Codigos& codigos = {}) {
    return grabarCaracter(dir, "f.mtz", c, glyph::dibujoDeCodigos(codigos));
  }
};

}  // namespace

TEST_F(Comandos, CompruebanEnOrden) {
  EXPECT_FALSE(grabarCaracter(dir, "", "", {}).focoAlNombre);  // the selection first; the focus stays
  EXPECT_FALSE(leerCaracter(dir, "", "").focoAlNombre);
  for (const char* nombre : {"", "a/b.mtz", "falta.mtz"}) {
    EXPECT_TRUE(grabarCaracter(dir, nombre, "a", {}).focoAlNombre);
    EXPECT_TRUE(leerCaracter(dir, nombre, "a").focoAlNombre);
  }
  EXPECT_TRUE(crearArchivo(dir, "").focoAlNombre);
  EXPECT_TRUE(crearArchivo(dir, "../f.mtz").focoAlNombre);
  EXPECT_TRUE(crearArchivo(dir, "sin extension").hecho);
  const QString noExiste = "El archivo \"" + carpeta.fuente("falta.mtz") + "\" no existe.";
  EXPECT_EQ(avisos.textos(), (QStringList{SinCaracter, SinCaracter, SinArchivo, SinArchivo, Barra, Barra, noExiste,
                                          noExiste, "Debe escribir un nombre para el archivo.", Barra}));
  EXPECT_EQ(QDir(carpeta.raiz()).entryList(QDir::Files) + QDir(dir).entryList(QDir::Files),
            QStringList{"sin extension"});
}

// The question is asked with the file closed, so another editor may store
// meanwhile: the search is made again after the answer.
TEST_F(Comandos, SobreescribeEnSuSitioTrasPreguntarSinTenerElArchivo) {
  const QByteArray antes = registro('a') + registro('I', {1});
  escribirArchivo(ruta, antes);
  int preguntas = 0;
  const avisos::Presentador anterior = avisos::instalar([&](const avisos::Aviso& a) {
    const int otro = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::flock(otro, LOCK_EX | LOCK_NB), 0);
    ::close(otro);
    EXPECT_EQ(QStringList({a.texto, a.titulo}),
              QStringList({"El caracter ya existe, desea sobreescribirlo?", "Sobreescribe el caracter?"}));
    EXPECT_TRUE(a.botones == avisos::Botones::SiNo && a.icono == avisos::Icono::Ninguno);
    if (++preguntas == 1) escribirArchivo(ruta, registro('x') + antes);
    return preguntas == 1 ? avisos::Respuesta::Si : avisos::Respuesta::No;
  });
  EXPECT_TRUE(grabar("I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}).hecho);
  const QByteArray despues = registro('x') + registro('a') + registro('I', {127, 0, 0, 0, 0, 0, 0, 0, 0, 64});
  EXPECT_EQ(leerArchivo(ruta), despues);
  EXPECT_FALSE(grabar("I").hecho);
  EXPECT_EQ(leerArchivo(ruta), despues);
  avisos::instalar(anterior);
  EXPECT_TRUE(grabar("A").hecho);  // another character than "a": appended
  EXPECT_EQ(leerArchivo(ruta), despues + registro('A'));
}

TEST_F(Comandos, LoQueHayAntesDeUnDefectoSeLeeYSeSobreescribe) {
  for (const QByteArray& defecto : {"\x03" + registro('x').mid(1), QByteArray(10, '\x01')}) {
    escribirArchivo(ruta, registro('A', {1, 0, 0, 0, 0, 0, 0, 0, 0, 64}) + defecto);
    EXPECT_EQ(glyph::codigosDelDibujo(*leerCaracter(dir, "f.mtz", "A").dibujo),
              (glyph::Codigos{1, 0, 0, 0, 0, 0, 0, 0, 0, 64}));
    avisos.responder(avisos::Respuesta::Si);
    grabar("A", {5});
    EXPECT_EQ(leerArchivo(ruta), registro('A', {5}) + defecto);
    EXPECT_FALSE(grabar("B").hecho);  // no search past the slot, no append over the tail
    EXPECT_EQ(avisos.textos().mid(1), QStringList{Formato});
    avisos.olvidar();
  }
}

TEST_F(Comandos, LaPruebaDeFormatoMiraLaLongitudDelRegistro1) {
  const QByteArray largo2 = "\x02" + registro('a').mid(1);
  for (const auto& [datos, adecuado] : std::vector<std::pair<QByteArray, bool>>{
           {{}, true}, {"x", true}, {largo2, true}, {"\x03" + largo2.mid(1), false}, {"hola", false}}) {
    escribirArchivo(ruta, datos);
    EXPECT_EQ(formatoAdecuado(ruta), adecuado) << datos.toHex().toStdString();
    EXPECT_EQ(avisos.textos(), adecuado ? QStringList{} : QStringList{Formato});
    avisos.olvidar();
  }
}
