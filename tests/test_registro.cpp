// The record layout, the search and the count, a store cut short as readers
// and the next store meet it, and the brand line.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>

#include "Apoyo.h"
#include "Deshacer.h"
#include "ListaCaracteres.h"
#include "mdlArchivos.h"

using namespace fontfile;

namespace {

// A slot with this length field, these character bytes and the codes 1 to 10.
QByteArray ranura(quint16 longitud, const QByteArray& caracter) {
  const Ranura r = escribirRanura({caracter, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
  QByteArray b(r.data(), LongitudRegistro);
  qToLittleEndian(longitud, b.data());
  return b;
}

}  // namespace

TEST(Registro, LosCodigosVanTrasElCaracterSeaCualSeaSuLongitud) {
  for (const QByteArray& c : {QByteArray(), QByteArray("I"), QByteArray("ab")}) {
    const FontRecord registro{c, {127, 0, 0, 0, 0, 0, 0, 0, 0, -2}};
    QByteArray esperado = QByteArray(1, char(c.size())) + '\0' + c + "\x7f" + QByteArray(17, '\0') + "\xfe\xff";
    esperado.resize(LongitudRegistro, '\0');
    const Ranura r = escribirRanura(registro);
    EXPECT_EQ(QByteArray(r.data(), LongitudRegistro).toHex(), esperado.toHex());
    const auto leido = leerRanura(r.data());
    ASSERT_TRUE(leido);
    EXPECT_EQ(leido->caracter, c);
    EXPECT_EQ(leido->columnas, registro.columnas);
  }
  for (const quint16 mala : {3, 0x0100, 0xFFFF}) EXPECT_FALSE(leerRanura(ranura(mala, "a").constData())) << mala;
  EXPECT_EQ(aWindows1252(ListaCaracteres().join("")).size(), 121);  // one byte each
  EXPECT_EQ(aWindows1252(QString::fromUtf8("€ñ¿º")), QByteArray("\x80\xF1\xBF\xBA"));
}

class Archivos : public testing::Test {
 protected:
  CarpetaDeTrabajo carpeta;
  QString ruta = carpeta.fuente("f.mtz");
};

TEST_F(Archivos, BuscarYContar) {
  escribirArchivo(ruta, {});
  EXPECT_EQ(BuscarCaracter(ruta, "a"), 0);
  EXPECT_EQ(ProximoRegistro(ruta), 1);
  escribirArchivo(ruta, ranura(2, "ab") + ranura(1, "a") + ranura(1, "A") + ranura(0, "") + ranura(1, "a") +
                            ranura(1, "\xF1") + ranura(2, "ba") + ranura(1, "b").left(10));
  for (const auto& [caracter, k] : std::vector<std::pair<QString, int>>{
           {"a", 2}, {"A", 3}, {"ab", 1}, {"ba", 7}, {"", 4}, {QString::fromUtf8("ñ"), 6}, {"n", 0}, {"b", 0}}) {
    EXPECT_EQ(BuscarCaracter(ruta, caracter), k) << caracter.toStdString();
  }
  EXPECT_EQ(ProximoRegistro(ruta), 8);  // the incomplete tail is no record
  // Little-endian: 0x0100 is 256, unreadable, and the search stops there.
  escribirArchivo(ruta, ranura(1, "a") + ranura(0x0100, "c") + ranura(1, "c"));
  EXPECT_EQ(BuscarCaracter(ruta, "a"), 1);
  EXPECT_THROW(BuscarCaracter(ruta, "c"), ErrorArchivo);
}

TEST_F(Archivos, ElLimiteDe32767RegistrosPorAmbosLados) {
  const auto falla = [](auto llamada) {
    try {
      llamada();
    } catch (const ErrorArchivo& e) {
      return e.falla();
    }
    return Falla::NoSePuedeLeer;
  };
  escribirArchivo(ruta, ranura(1, "a").repeated(32766));
  EXPECT_EQ(ProximoRegistro(ruta), 32767);
  escribirArchivo(ruta, ranura(1, "a").repeated(32767));
  EXPECT_EQ(falla([&] { ProximoRegistro(ruta); }), Falla::Desbordamiento);
  EXPECT_EQ(BuscarCaracter(ruta, "b"), 0);
  escribirArchivo(ruta, ranura(1, "a").repeated(32768));
  EXPECT_EQ(falla([&] { BuscarCaracter(ruta, "b"); }), Falla::Desbordamiento);
  EXPECT_EQ(BuscarCaracter(ruta, "a"), 1);
}

// A store cut short leaves its rollback record beside the font and the slot
// torn, whole, or not yet written. Readers see it undone only when torn; the
// next store puts the file so and removes the record either way.
TEST_F(Archivos, UnaGrabacionCortadaSeDeshaceSoloSiDesgarro) {
  const QByteArray viejo = ranura(1, "a") + ranura(1, "b"), b2 = registro('B', {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
  Deshacer sobre{24, 48, {}, {}}, agregado{48, 48, {}, {}};
  std::copy_n(viejo.constData() + 24, 24, sobre.antes.begin());
  std::copy_n(b2.constData(), 24, sobre.nueva.begin());
  agregado.nueva = sobre.nueva;
  struct Caso {
    const char* nombre;
    Deshacer d;
    QByteArray tras;      // what the crash left
    QByteArray esperado;  // what every reader, then the file, must hold
  } casos[] = {
      {"desgarrado", sobre, viejo.left(24) + b2.left(10) + viejo.mid(34), viejo},
      {"entero", sobre, viejo.left(24) + b2, viejo.left(24) + b2},
      {"sin empezar", sobre, viejo, viejo},
      {"agregado a medias", agregado, viejo + b2.left(5), viejo},
      {"agregado entero", agregado, viejo + b2, viejo + b2},
      // Another file now: bytes that are neither old nor new are left alone.
      {"ajeno", sobre, viejo.left(24) + ranura(1, "c"), viejo.left(24) + ranura(1, "c")},
      {"registro cortado", Deshacer{}, viejo.left(30), viejo.left(30)},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    escribirArchivo(ruta, c.tras);
    struct stat e {};
    ASSERT_EQ(::stat(QFile::encodeName(ruta).constData(), &e), 0);
    const QString registro =
        QFile::decodeName(rutaDeshacer(QFile::encodeName(QFileInfo(ruta).canonicalPath()), e.st_ino));
    escribirArchivo(registro, c.d.aBytes().left(c.d.desde ? 80 : 50));
    {
      ArchivoFuente lectura(ruta, ArchivoFuente::Modo::Lectura);
      lectura.bloquear(ArchivoFuente::Bloqueo::Compartido);
      EXPECT_EQ(lectura.longitud(), c.esperado.size());
      EXPECT_EQ(lectura.leer(0, 1000).toHex().toStdString(), c.esperado.toHex().toStdString());
    }
    EXPECT_EQ(leerArchivo(ruta), c.tras);
    ASSERT_TRUE(ArchivoFuente(ruta, ArchivoFuente::Modo::Escritura).bloquear(ArchivoFuente::Bloqueo::Exclusivo));
    EXPECT_EQ(leerArchivo(ruta).toHex().toStdString(), c.esperado.toHex().toStdString());
    EXPECT_FALSE(QFileInfo::exists(registro));
  }
}

TEST(Marca, PrimeraLineaEnWindows1252) {
  CarpetaDeTrabajo carpeta;
  EXPECT_EQ(LeerMarca(), "");  // no file, no message
  QDir().mkpath("ayuda/Archivos");
  const QString marca = "ayuda/Archivos/marca.txt";
  for (const char* fin : {"\r\n", "\r", "\n", ""}) {
    escribirArchivo(marca, QByteArray("Compa\xF1\xED"
                                      "a \x80 1") +
                               fin + (*fin ? "segunda" : ""));
    EXPECT_EQ(LeerMarca(), QString::fromUtf8("Compañía € 1")) << fin;
  }
  // A FIFO would block the open for ever: start-up goes on without the line.
  QFile::remove(marca);
  ASSERT_EQ(::mkfifo(QFile::encodeName(marca).constData(), 0644), 0);
  EXPECT_EQ(LeerMarca(), "");
}
