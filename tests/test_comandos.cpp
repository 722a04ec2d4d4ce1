// The file commands as the window calls them: what each writes, asks and
// tells, in which order it checks, and when it holds the file's lock.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "Apoyo.h"
#include "ColumnCode.h"
#include "Comandos.h"

using namespace fontfile;
using avisos::Respuesta;

namespace {

const QString SinCaracter = "Seleccione un caracter de la lista.";
const QString SinArchivo = "Debe seleccionar un archivo de trabajo.";
const QString Formato = "Error: El archivo no tiene el formato adecuado.";
const QString Barra = "El nombre del archivo no puede contener una barra (/).";

class Comandos : public testing::Test {
 protected:
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  QString dir = carpeta.tipografias();
  QString ruta = carpeta.fuente("f.mtz");

  Resultado grabar(const QString& c, const glyph::Codigos& codigos = {}, const QString& nombre = "f.mtz") {
    return grabarCaracter(dir, nombre, c, glyph::dibujoDeCodigos(codigos));
  }
};

}  // namespace

TEST_F(Comandos, CrearUnArchivoVacioYNadaMas) {
  EXPECT_TRUE(crearArchivo(dir, "f.mtz").hecho);
  EXPECT_EQ(leerArchivo(ruta), "");
  EXPECT_TRUE(crearArchivo(dir, "f.mtz").focoAlNombre);
  EXPECT_TRUE(crearArchivo(dir, "").focoAlNombre);
  EXPECT_TRUE(crearArchivo(dir, "../fuera.mtz").focoAlNombre);
  EXPECT_TRUE(crearArchivo(dir, "sin extension").hecho);  // created as typed
  EXPECT_EQ(avisos.textos(), (QStringList{"El archivo ya existe.", "Debe escribir un nombre para el archivo.", Barra}));
  EXPECT_EQ(QDir(dir).entryList(QDir::Files), (QStringList{"f.mtz", "sin extension"}));
  EXPECT_FALSE(QFile::exists(carpeta.raiz() + "/fuera.mtz"));
}

// The question is asked with the file closed: another editor may take the
// lock meanwhile, and what it stores is searched again after the answer.
TEST_F(Comandos, SobreescribeEnSuSitioTrasPreguntarSinTenerElArchivo) {
  escribirArchivo(ruta, registro('a') + registro('I', {1}) + registro('b'));
  const QByteArray antes = leerArchivo(ruta);
  bool libre = false;
  int preguntas = 0;
  const avisos::Presentador grabadas = avisos::instalar([&](const avisos::Aviso& a) {
    const int otro = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC);
    libre = ::flock(otro, LOCK_EX | LOCK_NB) == 0;
    ::close(otro);
    EXPECT_EQ(a.texto, "El caracter ya existe, desea sobreescribirlo?");
    EXPECT_EQ(a.titulo, "Sobreescribe el caracter?");
    EXPECT_EQ(a.botones, avisos::Botones::SiNo);
    EXPECT_EQ(a.icono, avisos::Icono::Ninguno);
    if (++preguntas == 1) escribirArchivo(ruta, registro('x') + antes);  // stored by another editor
    return preguntas == 1 ? Respuesta::Si : Respuesta::No;
  });
  EXPECT_TRUE(grabar("I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}).hecho);
  EXPECT_TRUE(libre);
  EXPECT_EQ(leerArchivo(ruta),
            registro('x') + registro('a') + registro('I', {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}) + registro('b'));
  const QByteArray sobreescrito = leerArchivo(ruta);
  EXPECT_FALSE(grabar("I").hecho);  // answered No
  EXPECT_EQ(leerArchivo(ruta), sobreescrito);
  avisos::instalar(grabadas);
  EXPECT_TRUE(grabar("A").hecho);  // a different character from "a": appended
  EXPECT_EQ(leerArchivo(ruta).mid(96), registro('A'));
}

TEST_F(Comandos, GrabarYLeerCompruebanEnOrden) {
  const QString falta = carpeta.fuente("falta.mtz");
  EXPECT_FALSE(grabarCaracter(dir, "", "", {}).focoAlNombre);  // the selection first; the focus stays
  EXPECT_FALSE(leerCaracter(dir, "", "").focoAlNombre);
  for (const char* nombre : {"", "a/b.mtz", "falta.mtz"}) {
    EXPECT_TRUE(grabarCaracter(dir, nombre, "a", {}).focoAlNombre);
    EXPECT_TRUE(leerCaracter(dir, nombre, "a").focoAlNombre);
  }
  const QString noExiste = "El archivo \"" + falta + "\" no existe.";
  EXPECT_EQ(avisos.textos(),
            (QStringList{SinCaracter, SinCaracter, SinArchivo, SinArchivo, Barra, Barra, noExiste, noExiste}));
  EXPECT_FALSE(QFile::exists(falta));
}

TEST_F(Comandos, LoQueHayAntesDeUnDefectoSeLeeYSeSobreescribe) {
  for (const QByteArray& defecto : {QByteArray("\x03") + registro('x').mid(1), QByteArray(10, '\x01')}) {
    escribirArchivo(ruta, registro('A', {1, 0, 0, 0, 0, 0, 0, 0, 0, 64}) + defecto);
    EXPECT_EQ(glyph::codigosDelDibujo(*leerCaracter(dir, "f.mtz", "A").dibujo),
              (glyph::Codigos{1, 0, 0, 0, 0, 0, 0, 0, 0, 64}));
    avisos.responder(Respuesta::Si);
    grabar("A", {5});
    EXPECT_EQ(leerArchivo(ruta), registro('A', {5}) + defecto);
    EXPECT_FALSE(grabar("B").hecho);  // no search past the slot, no append over the tail
    EXPECT_EQ(avisos.textos().mid(1), QStringList{Formato});
    avisos.olvidar();
  }
}

TEST_F(Comandos, LaPruebaDeFormatoMiraLaLongitudDelRegistro1) {
  const QByteArray largo2 = QByteArray("\x02") + registro('a').mid(1);
  for (const auto& [datos, adecuado] : std::vector<std::pair<QByteArray, bool>>{{{}, true},
                                                                                {"x", true},
                                                                                {largo2, true},
                                                                                {registro('a') + "ajeno", true},
                                                                                {"\x03" + largo2.mid(1), false},
                                                                                {"hola", false}}) {
    escribirArchivo(ruta, datos);
    EXPECT_EQ(formatoAdecuado(ruta), adecuado) << datos.toHex().toStdString();
    EXPECT_EQ(avisos.textos(), adecuado ? QStringList{} : QStringList{Formato});
    avisos.olvidar();
  }
}
