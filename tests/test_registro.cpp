#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "Apoyo.h"
#include "FontRecord.h"
#include "ListaCaracteres.h"
#include "mdlArchivos.h"

using namespace fontfile;

TEST(Registro, ElEjemploDeLaIByteAByte) {
  const Ranura r = escribirRanura({"I", {127, 0, 0, 0, 0, 0, 0, 0, 0, 64}});
  const QByteArray esperado = QByteArray::fromHex(
      "010049"
      "7f00"
      "0000000000000000"
      "0000000000000000"
      "4000"
      "00");
  EXPECT_EQ(QByteArray(r.data(), LongitudRegistro).toHex(), esperado.toHex());
  const auto leido = leerRanura(r.data());
  ASSERT_TRUE(leido);
  EXPECT_EQ(leido->caracter, "I");
  EXPECT_EQ(leido->columnas[0], 127);
  EXPECT_EQ(leido->columnas[9], 64);
}

TEST(Registro, LongitudDelCaracterDecideDondeEstanLosCodigos) {
  QByteArray ranura(24, '\0');
  EXPECT_TRUE(leerRanura(ranura.constData()));  // 24 zero bytes: empty character, codes 0
  ranura[0] = 2;
  ranura[2] = 'a';
  ranura[3] = 'b';
  ranura[4] = 5;
  const auto dos = leerRanura(ranura.constData());
  ASSERT_TRUE(dos);
  EXPECT_EQ(dos->caracter, "ab");
  EXPECT_EQ(dos->columnas[0], 5);
  for (quint16 mala : {3, 0x0100, 0xFFFF}) {
    ranura[0] = static_cast<char>(mala & 0xFF);
    ranura[1] = static_cast<char>(mala >> 8);
    EXPECT_FALSE(leerRanura(ranura.constData())) << mala;
  }
}

TEST(ListaDeCaracteres, CientoVeintiunoDeUnByteCadaUno) {
  const QStringList& lista = ListaCaracteres();
  ASSERT_EQ(lista.size(), 121);
  EXPECT_EQ(lista.first(), "a");
  EXPECT_EQ(lista[14], QString::fromUtf8("ñ"));
  EXPECT_EQ(lista[41], QString::fromUtf8("Ñ"));
  EXPECT_EQ(lista[74], "0");
  EXPECT_EQ(lista[100], "/");
  EXPECT_EQ(lista[101], "\\");
  EXPECT_EQ(lista[116], QString::fromUtf8("€"));
  EXPECT_EQ(lista.last(), "^");
  QSet<QByteArray> bytes;
  for (const QString& c : lista) {
    const QByteArray b = aWindows1252(c);
    ASSERT_EQ(b.size(), 1) << c.toStdString();
    EXPECT_EQ(deWindows1252(b), c);
    // Every byte equals the code point, but for the euro sign.
    if (c != QString::fromUtf8("€")) {
      EXPECT_EQ(static_cast<uchar>(b[0]), c.at(0).unicode());
    }
    bytes.insert(b);
  }
  EXPECT_EQ(bytes.size(), 121);
  EXPECT_EQ(aWindows1252(QString::fromUtf8("€")), QByteArray("\x80"));
  EXPECT_EQ(aWindows1252(QString::fromUtf8("ñ¿º")), QByteArray("\xF1\xBF\xBA"));
}

class Archivos : public testing::Test {
 protected:
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  QString ruta = carpeta.fuente("f.mtz");
};

TEST_F(Archivos, BuscarYContar) {
  escribirArchivo(ruta, {});
  EXPECT_EQ(BuscarCaracter(ruta, "a"), 0);
  EXPECT_EQ(ProximoRegistro(ruta), 1);
  escribirArchivo(ruta, registro('a') + registro('A') + registro('b') + registro('a', {9}) + registro('A'));
  EXPECT_EQ(BuscarCaracter(ruta, "A"), 2);  // case-sensitive
  EXPECT_EQ(BuscarCaracter(ruta, "a"), 1);  // the first match wins
  EXPECT_EQ(BuscarCaracter(ruta, "b"), 3);
  EXPECT_EQ(BuscarCaracter(ruta, QString::fromUtf8("ñ")), 0);
  EXPECT_EQ(ProximoRegistro(ruta), 6);
  // A slot of zeros holds the empty character, which no list character matches.
  escribirArchivo(ruta, QByteArray(24, '\0') + registro('\xF1'));
  EXPECT_EQ(BuscarCaracter(ruta, QString::fromUtf8("ñ")), 2);
  EXPECT_EQ(BuscarCaracter(ruta, "n"), 0);
  EXPECT_TRUE(avisos.vistos().empty());
}

TEST_F(Archivos, UnaColaIncompletaNoEsUnRegistro) {
  escribirArchivo(ruta, registro('a') + registro('b').left(10));
  EXPECT_EQ(BuscarCaracter(ruta, "b"), 0);
  EXPECT_EQ(ProximoRegistro(ruta), 2);
}

TEST_F(Archivos, ExisteArchivoAvisaSoloCuandoSeLePide) {
  const QString falta = carpeta.fuente("falta.mtz");
  EXPECT_FALSE(ExisteArchivo(falta, Falso));
  EXPECT_TRUE(avisos.vistos().empty());
  EXPECT_FALSE(ExisteArchivo(falta, Verdadero));
  ASSERT_EQ(avisos.textos(), QStringList{"El archivo \"" + falta + "\" no existe."});
  EXPECT_EQ(avisos.vistos()[0].titulo, "Grafolux");
  EXPECT_FALSE(QFile::exists(falta));

  escribirArchivo(ruta, registro('a'));
  EXPECT_TRUE(ExisteArchivo(ruta, Verdadero));
  EXPECT_EQ(leerArchivo(ruta), registro('a'));

  // A directory where the file should be cannot be opened: the user hears why.
  avisos.olvidar();
  QDir(carpeta.tipografias()).mkdir("carpeta.mtz");
  EXPECT_FALSE(ExisteArchivo(carpeta.fuente("carpeta.mtz"), Verdadero));
  EXPECT_EQ(avisos.textos(), QStringList{"No se puede abrir el archivo \"" + carpeta.fuente("carpeta.mtz") + "\"."});
}

TEST(Marca, PrimeraLineaEnWindows1252) {
  CarpetaDeTrabajo carpeta;
  EXPECT_EQ(LeerMarca(), "");  // no file, no message
  QDir().mkpath("ayuda/Archivos");
  const QString marca = "ayuda/Archivos/marca.txt";
  for (const char* fin : {"\r\n", "\r", "\n"}) {
    escribirArchivo(marca, QByteArray("Compa\xF1\xED"
                                      "a \x80 1") +
                               fin + "segunda");
    EXPECT_EQ(LeerMarca(), QString::fromUtf8("Compañía € 1")) << fin;
  }
  escribirArchivo(marca, "sin fin de linea");
  EXPECT_EQ(LeerMarca(), "sin fin de linea");
  escribirArchivo(marca, {});
  EXPECT_EQ(LeerMarca(), "");
}
