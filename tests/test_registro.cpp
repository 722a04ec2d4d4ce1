// The slot layout, the search and the count, a store cut short as readers
// and the next store meet it, and the brand line.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>

#include "Apoyo.h"
#include "ListaCaracteres.h"
#include "mdlArchivos.h"

using namespace fontfile;

namespace {

// A slot with this length field, these character bytes and these codes.
QByteArray ranura(quint16 longitud, const QByteArray& caracter, std::initializer_list<int> codigos = {}) {
  QByteArray r(LongitudRegistro, '\0');
  qToLittleEndian(longitud, r.data());
  r.replace(2, caracter.size(), caracter);
  int c = 0;
  for (const int v : codigos) qToLittleEndian<qint16>(static_cast<qint16>(v), r.data() + 2 + caracter.size() + 2 * c++);
  return r;
}

}  // namespace

TEST(Registro, LosCodigosVanTrasElCaracterSeaCualSeaSuLongitud) {
  for (const QByteArray& c : {QByteArray(), QByteArray("I"), QByteArray("ab")}) {
    const FontRecord r{c, {127, 0, 0, 0, 0, 0, 0, 0, 0, -2}};
    const QByteArray esperado =
        (char(c.size()) + QByteArray(1, '\0') + c + "\x7f" + QByteArray(17, '\0') + "\xfe\xff" + QByteArray(2, '\0'))
            .left(LongitudRegistro);
    EXPECT_EQ(QByteArray(escribirRanura(r).data(), LongitudRegistro), esperado);
    EXPECT_EQ(leerRanura(esperado.constData())->caracter, c);
    EXPECT_EQ(leerRanura(esperado.constData())->columnas, r.columnas);
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

TEST_F(Archivos, BuscarYContarHastaElRegistro32767) {
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
  escribirArchivo(ruta, ranura(1, "a").repeated(32766));
  EXPECT_EQ(ProximoRegistro(ruta), 32767);
  escribirArchivo(ruta, ranura(1, "a").repeated(32767));
  EXPECT_THROW(ProximoRegistro(ruta), ErrorArchivo);
  EXPECT_EQ(BuscarCaracter(ruta, "b"), 0);
  escribirArchivo(ruta, ranura(1, "a").repeated(32768));
  EXPECT_THROW(BuscarCaracter(ruta, "b"), ErrorArchivo);
}

// A store cut short leaves its rollback record beside the font, and its
// slot torn, whole, or not yet written. Readers see it undone only when
// torn; the next store puts the file so and removes the record either way.
TEST_F(Archivos, UnaGrabacionCortadaSeDeshaceSoloSiDesgarro) {
  const QByteArray viejo = ranura(1, "a") + ranura(1, "b"), nueva = ranura(1, "B", {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
  Deshacer sobre{24, 48, {}, {}}, agregado{48, 48, {}, {}};
  std::copy_n(viejo.constData() + 24, 24, sobre.antes.begin());
  std::copy_n(nueva.constData(), 24, sobre.nueva.begin());
  agregado.nueva = sobre.nueva;
  const struct {
    Deshacer d;
    QByteArray tras, esperado;  // what the crash left, what every reader and then the file must hold
  } casos[] = {{sobre, viejo.left(34) + nueva.mid(10), viejo},
               {sobre, viejo.left(24) + nueva, viejo.left(24) + nueva},
               {sobre, viejo, viejo},
               {agregado, viejo + nueva.left(5), viejo},
               {agregado, viejo + nueva, viejo + nueva},
               // Bytes neither old nor new: another file now, left alone.
               {sobre, viejo.left(24) + ranura(1, "c"), viejo.left(24) + ranura(1, "c")},
               // A record cut short while it was written: the store never began.
               {Deshacer{0, 24, {}, {}}, viejo.left(30), viejo.left(30)}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.tras.toHex().toStdString());
    escribirArchivo(ruta, c.tras);
    struct stat e {};
    ASSERT_EQ(::stat(QFile::encodeName(ruta).constData(), &e), 0);
    const QString registro =
        QFile::decodeName(rutaDeshacer(QFile::encodeName(QFileInfo(ruta).canonicalPath()), e.st_ino));
    escribirArchivo(registro, c.d.aBytes().left(c.d.desde == 0 ? 50 : 80));
    {
      ArchivoFuente lectura(ruta, ArchivoFuente::Modo::Lectura);
      lectura.bloquear(ArchivoFuente::Bloqueo::Compartido);
      EXPECT_EQ(lectura.leer(0, lectura.longitud() + 10), c.esperado);
    }
    EXPECT_EQ(leerArchivo(ruta), c.tras);
    ASSERT_TRUE(ArchivoFuente(ruta, ArchivoFuente::Modo::Escritura).bloquear(ArchivoFuente::Bloqueo::Exclusivo));
    EXPECT_EQ(leerArchivo(ruta), c.esperado);
    EXPECT_FALSE(QFileInfo::exists(registro));
  }
}

TEST(Marca, PrimeraLineaEnWindows1252) {
  CarpetaDeTrabajo carpeta;
  EXPECT_EQ(LeerMarca(), "");
  QDir().mkpath("ayuda/Archivos");
  const QString marca = "ayuda/Archivos/marca.txt";
  for (const char* fin : {"\r\nsegunda", "\rsegunda", "\nsegunda", ""}) {
    escribirArchivo(marca, QByteArray("Compa\xF1\xED"
                                      "a \x80 1") +
                               fin);
    EXPECT_EQ(LeerMarca(), QString::fromUtf8("Compañía € 1")) << fin;
  }
  // A FIFO would block the open for ever: start-up goes on without the line.
  QFile::remove(marca);
  ASSERT_EQ(::mkfifo(QFile::encodeName(marca).constData(), 0644), 0);
  EXPECT_EQ(LeerMarca(), "");
}
