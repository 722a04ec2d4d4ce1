// The quicker ways must give what the general ones gave: the cells draw a
// kept picture of themselves and leave out what the cells on top of them
// cover; the file list matches and sorts the names itself; the search
// compares the bytes of each slot in place.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTest>

#include "Apoyo.h"
#include "ListaArchivos.h"
#include "frmPrincipal.h"
#include "mdlArchivos.h"

namespace {

// What a stock check box of the cell's size shows, on the window's
// background, for the given state.
QImage comoCheckBox(QWidget* ventana, bool marcada) {
  QCheckBox muestra(ventana);
  muestra.setGeometry(0, 0, 17, 17);
  muestra.setChecked(marcada);
  return muestra.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage comoSeVe(QCheckBox* celda) { return celda->grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(Celdas, SeVenComoUnCheckBoxYSiguenSuEstado) {
  frmPrincipal ventana;
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  QCheckBox* celda = ventana.celda(7, 10);  // the one cell that nothing covers
  const QImage vacia = comoCheckBox(&ventana, false);
  const QImage marcada = comoCheckBox(&ventana, true);
  ASSERT_NE(vacia, marcada);
  for (bool estado : {true, false, true, false}) {
    celda->setChecked(estado);
    EXPECT_EQ(comoSeVe(celda), estado ? marcada : vacia) << estado;
  }
}

TEST(Celdas, ElPixelCompartidoEsDeLaCeldaDeEncima) {
  frmPrincipal ventana;
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  // Cell (r, c) spans 17 pixels from 16 * (c - 1): its last column is the
  // first of (r, c + 1), its last row the first of (r + 1, c). The clicks go
  // through the window, which finds the cell under the pointer.
  const auto clic = [&](QPoint punto) { QTest::mouseClick(ventana.windowHandle(), Qt::LeftButton, {}, punto); };
  const auto esquina = [&](int r, int c) { return ventana.celda(r, c)->mapTo(&ventana, QPoint()); };
  clic(esquina(3, 4) + QPoint(16, 8));
  clic(esquina(2, 6) + QPoint(8, 16));
  // The outer edge of the grid stays clickable.
  clic(esquina(7, 10) + QPoint(16, 16));
  glyph::GlyphGrid esperado;
  esperado(3, 5) = esperado(3, 6) = esperado(7, 10) = 1;
  EXPECT_EQ(ventana.leerCeldas(), esperado);
}

// The names QDir lists for "*.mtz", case-insensitively sorted.
QStringList segunQDir(const QString& carpeta) {
  return QDir(carpeta).entryList({QStringLiteral("*.mtz")}, QDir::Files | QDir::Hidden | QDir::System,
                                 QDir::Name | QDir::IgnoreCase);
}

QStringList listados(const ListaArchivos& lista) {
  QStringList nombres;
  for (int i = 0; i < lista.count(); ++i) nombres << lista.item(i)->text();
  return nombres;
}

TEST(ListaDeArchivos, ListaLoQueListariaQDir) {
  CarpetaDeTrabajo carpeta;
  for (const char* nombre : {"b.mtz", "A.MTZ", ".oculto.mtz", "c.Mtz", "_x.mtz", ".mtz", "z.mtz.bak", "notas.txt",
                             "mtz", "10.mtz", "9.mtz"}) {
    escribirArchivo(carpeta.fuente(nombre), {});
  }
  escribirArchivo(carpeta.fuente(QString::fromUtf8("ñandú.mtz")), {});
  QDir(carpeta.tipografias()).mkdir("carpeta.mtz");
  ASSERT_EQ(::mkfifo(QFile::encodeName(carpeta.fuente("tubo.mtz")).constData(), 0644), 0);
  ASSERT_EQ(::symlink("no-esta", QFile::encodeName(carpeta.fuente("roto.mtz")).constData()), 0);
  ASSERT_EQ(::symlink("carpeta.mtz", QFile::encodeName(carpeta.fuente("a-carpeta.mtz")).constData()), 0);
  ASSERT_EQ(::symlink("b.mtz", QFile::encodeName(carpeta.fuente("enlace.mtz")).constData()), 0);

  ListaArchivos lista;
  ASSERT_TRUE(lista.setCarpeta(carpeta.tipografias()));
  EXPECT_EQ(listados(lista), segunQDir(carpeta.tipografias()));
  EXPECT_EQ(listados(lista), (QStringList{".mtz", ".oculto.mtz", "10.mtz", "9.mtz", "_x.mtz", "A.MTZ", "b.mtz", "c.Mtz",
                                          "enlace.mtz", "roto.mtz", "tubo.mtz", QString::fromUtf8("ñandú.mtz")}));
  EXPECT_TRUE(lista.selectedItems().isEmpty());
}

TEST(ListaDeArchivos, NombresQueSoloDifierenEnMayusculasVanJuntos) {
  CarpetaDeTrabajo carpeta;
  for (const char* nombre : {"b.mtz", "A.mtz", "c.mtz", "a.MTZ", "a.mtz"}) escribirArchivo(carpeta.fuente(nombre), {});
  ListaArchivos lista;
  ASSERT_TRUE(lista.setCarpeta(carpeta.tipografias()));
  const QStringList nombres = listados(lista);
  ASSERT_EQ(nombres.size(), 5);
  EXPECT_EQ(QStringList(nombres.mid(0, 3)).join(' ').toLower(), "a.mtz a.mtz a.mtz");
  EXPECT_EQ(nombres.mid(3), (QStringList{"b.mtz", "c.mtz"}));
  // Refreshing gives the same order again.
  lista.refrescar();
  EXPECT_EQ(listados(lista), nombres);
}

// A slot holding the given character bytes (L = their count).
QByteArray ranuraCon(const QByteArray& bytes) {
  QByteArray r(fontfile::LongitudRegistro, '\0');
  r[0] = static_cast<char>(bytes.size());
  r.replace(2, bytes.size(), bytes);
  return r;
}

std::int16_t buscar(const QByteArray& datos, const QByteArray& caracter) {
  fontfile::RegistrosLeidos leidos;
  leidos.datos = datos;
  return fontfile::buscarEn(leidos, caracter);
}

TEST(Busqueda, ComparaLongitudYBytesComoAntes) {
  const QByteArray datos = ranuraCon("ab") + ranuraCon("a") + ranuraCon("") + ranuraCon("b") + ranuraCon("ba");
  EXPECT_EQ(buscar(datos, "a"), 2);  // not the two-byte slot that starts with it
  EXPECT_EQ(buscar(datos, "ab"), 1);
  EXPECT_EQ(buscar(datos, "ba"), 5);
  EXPECT_EQ(buscar(datos, "b"), 4);
  EXPECT_EQ(buscar(datos, ""), 3);     // the empty character is the zero-length slot
  EXPECT_EQ(buscar(datos, "abc"), 0);  // longer than any slot holds
  EXPECT_EQ(buscar(datos, "c"), 0);
  // The length field is little-endian: 0x0100 is not 1, and stops the search.
  QByteArray grande = ranuraCon("c");
  grande[0] = 0;
  grande[1] = 1;
  EXPECT_THROW(buscar(datos + grande, "c"), fontfile::ErrorArchivo);
  EXPECT_THROW(buscar(datos + grande, "abc"), fontfile::ErrorArchivo);
  EXPECT_EQ(buscar(datos + grande, "ab"), 1);
}

}  // namespace
