#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "Apoyo.h"
#include "ColumnCode.h"
#include "Comandos.h"
#include "FontRecord.h"

using namespace fontfile;
using avisos::Respuesta;

namespace {

const QString SinArchivo = "Debe seleccionar un archivo de trabajo.";
const QString SinCaracter = "Seleccione un caracter de la lista.";
const QString Formato = "Error: El archivo no tiene el formato adecuado.";

glyph::GlyphGrid dibujoDeLaI() {
  glyph::GlyphGrid g;
  for (int r = 1; r <= 7; ++r) g(r, 1) = 1;
  g(7, 10) = 1;
  return g;
}

}  // namespace

class Comandos : public testing::Test {
 protected:
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  QString dir = carpeta.tipografias();
  QString ruta = carpeta.fuente("f.mtz");

  Resultado grabar(const QString& c, const glyph::GlyphGrid& g = {}, const QString& nombre = "f.mtz") {
    return grabarCaracter(dir, nombre, c, g);
  }
};

TEST_F(Comandos, CrearUnArchivoVacio) {
  EXPECT_TRUE(crearArchivo(dir, "f.mtz").hecho);
  EXPECT_EQ(QFileInfo(ruta).size(), 0);
  escribirArchivo(ruta, registro('a'));
  const Resultado otraVez = crearArchivo(dir, "f.mtz");
  EXPECT_FALSE(otraVez.hecho);
  EXPECT_TRUE(otraVez.focoAlNombre);
  EXPECT_EQ(leerArchivo(ruta), registro('a'));
  EXPECT_TRUE(crearArchivo(dir, "sin extension").hecho);  // created as typed
  EXPECT_TRUE(QFile::exists(carpeta.fuente("sin extension")));
  EXPECT_EQ(avisos.textos(), QStringList{"El archivo ya existe."});
}

TEST_F(Comandos, CrearRechazaLoQueNoPuedeCrear) {
  EXPECT_TRUE(crearArchivo(dir, "").focoAlNombre);
  EXPECT_TRUE(crearArchivo(dir, "../fuera.mtz").focoAlNombre);
  QDir(dir).mkdir("carpeta.mtz");
  EXPECT_FALSE(crearArchivo(dir, "carpeta.mtz").hecho);
  QDir(dir).removeRecursively();
  EXPECT_FALSE(crearArchivo(dir, "f.mtz").hecho);
  EXPECT_EQ(avisos.textos(), (QStringList{"Debe escribir un nombre para el archivo.",
                                          "El nombre del archivo no puede contener una barra (/).",
                                          "No se puede crear el archivo \"" + dir + "/carpeta.mtz\".",
                                          "No se puede crear el archivo \"" + ruta + "\"."}));
  EXPECT_FALSE(QFile::exists(carpeta.raiz() + "/fuera.mtz"));
  EXPECT_FALSE(QDir(dir).exists());
}

TEST_F(Comandos, GrabarAgregaYSobreescribeTrasPreguntar) {
  escribirArchivo(ruta, {});
  EXPECT_TRUE(grabar("I", dibujoDeLaI()).hecho);
  EXPECT_EQ(leerArchivo(ruta).toHex(), QByteArray("010049"
                                                  "7f00"
                                                  "00000000000000000000000000000000"
                                                  "4000"
                                                  "00"));
  grabar("b");
  grabar("A");  // a different character from "a"
  const QByteArray tres = leerArchivo(ruta);
  EXPECT_EQ(tres.size(), 72);
  EXPECT_TRUE(avisos.vistos().empty());

  avisos.responder(Respuesta::No);
  EXPECT_FALSE(grabar("I").hecho);
  EXPECT_EQ(leerArchivo(ruta), tres);
  ASSERT_EQ(avisos.vistos().size(), 1u);
  const avisos::Aviso& pregunta = avisos.vistos()[0];
  EXPECT_EQ(pregunta.texto, "El caracter ya existe, desea sobreescribirlo?");
  EXPECT_EQ(pregunta.titulo, "Sobreescribe el caracter?");
  EXPECT_EQ(pregunta.botones, avisos::Botones::SiNo);
  EXPECT_EQ(pregunta.icono, avisos::Icono::Ninguno);

  avisos.responder(Respuesta::Si);
  EXPECT_TRUE(grabar("I", glyph::GlyphGrid{}).hecho);
  const QByteArray sobreescrito = leerArchivo(ruta);
  EXPECT_EQ(sobreescrito.size(), 72);
  EXPECT_EQ(sobreescrito.left(24), registro('I'));
  EXPECT_EQ(sobreescrito.mid(24), tres.mid(24));
}

TEST_F(Comandos, GrabarCompruebaEnOrden) {
  const QString falta = carpeta.fuente("falta.mtz");
  const Resultado sinNada = grabarCaracter(dir, "", "", {});
  EXPECT_FALSE(sinNada.focoAlNombre);  // the selection is checked first and keeps the focus
  EXPECT_TRUE(grabarCaracter(dir, "", "a", {}).focoAlNombre);
  EXPECT_TRUE(grabarCaracter(dir, "a/b.mtz", "a", {}).focoAlNombre);
  EXPECT_TRUE(grabarCaracter(dir, "falta.mtz", "a", {}).focoAlNombre);
  EXPECT_EQ(avisos.textos(),
            (QStringList{SinCaracter, SinArchivo, "El nombre del archivo no puede contener una barra (/).",
                         "El archivo \"" + falta + "\" no existe."}));
  EXPECT_FALSE(QFile::exists(falta));
}

TEST_F(Comandos, LeerDevuelveElDibujoGrabado) {
  escribirArchivo(ruta, {});
  glyph::GlyphGrid dibujo = dibujoDeLaI();
  dibujo(3, 5) = 2;  // any value other than 0 is a dot that is on
  grabar("I", dibujo);
  dibujo(3, 5) = 1;
  const Resultado r = leerCaracter(dir, "f.mtz", "I");
  ASSERT_TRUE(r.dibujo);
  EXPECT_EQ(*r.dibujo, dibujo);

  escribirArchivo(ruta, registro('z', {0, 0, 200, -1}) + registro('a', {1, 0, 0, 0, 0, 0, 0, 0, 0, 64}));
  const auto z = leerCaracter(dir, "f.mtz", "z").dibujo;
  ASSERT_TRUE(z);
  EXPECT_EQ(glyph::codigosDelDibujo(*z), (glyph::Codigos{0, 0, 127, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(glyph::codigosDelDibujo(*leerCaracter(dir, "f.mtz", "a").dibujo),
            (glyph::Codigos{1, 0, 0, 0, 0, 0, 0, 0, 0, 64}));
  EXPECT_TRUE(avisos.vistos().empty());
}

TEST_F(Comandos, LeerInformaSinTocarLaMatriz) {
  QByteArray mala = registro('x');
  mala[0] = 3;
  escribirArchivo(ruta, registro('z') + mala);
  EXPECT_FALSE(leerCaracter(dir, "", "").focoAlNombre);  // selection first, focus stays
  EXPECT_TRUE(leerCaracter(dir, "", "Z").focoAlNombre);
  EXPECT_TRUE(leerCaracter(dir, "f.mtz", "z").dibujo.has_value());  // found before the bad slot
  const Resultado noEsta = leerCaracter(dir, "f.mtz", "Z");
  EXPECT_FALSE(noEsta.dibujo);
  EXPECT_FALSE(noEsta.focoAlNombre);
  escribirArchivo(carpeta.fuente("vacio.mtz"), {});
  EXPECT_FALSE(leerCaracter(dir, "vacio.mtz", QString::fromUtf8("ñ")).dibujo);
  EXPECT_EQ(avisos.textos(),
            (QStringList{SinCaracter, SinArchivo, Formato, QString::fromUtf8("El carácter ñ no está en el archivo.")}));
}

TEST_F(Comandos, ProbarFormatoLeeSoloElRegistro1) {
  escribirArchivo(ruta, registro('a') + "basura que no se lee");
  EXPECT_TRUE(formatoAdecuado(ruta));
  escribirArchivo(ruta, "x");
  EXPECT_TRUE(formatoAdecuado(ruta));  // one byte holds no length field
  EXPECT_TRUE(avisos.vistos().empty());
}
