// The quicker ways must give what the general ones gave: the pictures
// compiled in as pixels are the committed PNGs; the cells look like check
// boxes though their frame paints them from kept pictures; the file list
// matches and sorts the names itself.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include "Apoyo.h"
#include "Dibujos.h"
#include "ListaArchivos.h"
#include "frmPrincipal.h"

namespace {

TEST(Dibujos, SonLosPngPixelAPixel) {
  const QDir carpeta(QStringLiteral(DIBUJOS_PNG));
  const QStringList png = carpeta.entryList({QStringLiteral("*.png")}, QDir::Files);
  ASSERT_EQ(png.size(), 8);
  for (const QString& archivo : png) {
    const QImage esperado = QImage(carpeta.filePath(archivo)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QByteArray nombre = archivo.chopped(4).toLatin1();
    EXPECT_EQ(dibujo(QLatin1StringView(nombre)), esperado) << archivo.toStdString();
  }
  EXPECT_TRUE(dibujo(QLatin1StringView("no-hay")).isNull());
}

// What a stock check box of the cell's size shows, on the window's
// background, for the given state.
QImage comoCheckBox(QWidget* ventana, bool marcada) {
  QCheckBox muestra(ventana);
  muestra.setGeometry(0, 0, 17, 17);
  muestra.setChecked(marcada);
  return muestra.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage comoSeVe(QCheckBox* celda) { return celda->grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(Celdas, SeVenComoUnCheckBox) {
  frmPrincipal ventana;
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  QCheckBox* celda = ventana.celda(7, 10);
  const QImage vacia = comoCheckBox(&ventana, false);
  const QImage marcada = comoCheckBox(&ventana, true);
  ASSERT_NE(vacia, marcada);
  for (bool estado : {true, false}) {
    celda->setChecked(estado);
    EXPECT_EQ(comoSeVe(celda), estado ? marcada : vacia) << estado;
  }
}

// The grid as the window holds it for the screen, and as the cells say they
// look, each drawn where it lies, later cells on top.
QImage gridEnPantalla(frmPrincipal& ventana) {
  const QRect grid(ventana.celda(1, 1)->mapTo(&ventana, QPoint()),
                   QSize(16 * glyph::Columnas + 1, 16 * glyph::Filas + 1));
  return ventana.screen()
      ->grabWindow(ventana.winId(), grid.x(), grid.y(), grid.width(), grid.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

QImage gridSegunLasCeldas(frmPrincipal& ventana) {
  QImage imagen(16 * glyph::Columnas + 1, 16 * glyph::Filas + 1, QImage::Format_RGB32);
  QPainter pintor(&imagen);
  for (int r = 1; r <= glyph::Filas; ++r) {
    for (int c = 1; c <= glyph::Columnas; ++c)
      pintor.drawImage(16 * (c - 1), 16 * (r - 1), comoSeVe(ventana.celda(r, c)));
  }
  return imagen;
}

// The cells do not repaint themselves on the screen: their frame does, when
// a cell tells it its look changed. Whatever changes a cell's look, the
// screen must follow.
TEST(Celdas, LaPantallaSigueATodoCambioDeAspecto) {
  frmPrincipal ventana;
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  ventana.activateWindow();
  const auto igual = [&](const char* paso) {
    QApplication::processEvents();
    EXPECT_EQ(gridEnPantalla(ventana), gridSegunLasCeldas(ventana)) << paso;
  };
  igual("shown");
  glyph::GlyphGrid dibujo;
  for (int i = 0; i < glyph::Celdas; ++i) dibujo.valores[i] = (i * 7) % 3 == 0 ? 1 : 0;
  ventana.escribirCeldas(dibujo);
  igual("a drawing written");
  ventana.cmdIzq_Click();
  igual("shifted left");
  ventana.cmdLlenar_Click();
  igual("filled");
  QCheckBox* celda = ventana.celda(4, 5);
  const QPoint centro = celda->rect().center();
  QTest::mouseMove(celda, centro);
  igual("hovered");
  QTest::mousePress(celda, Qt::LeftButton, {}, centro);
  igual("pressed");
  QTest::mouseRelease(celda, Qt::LeftButton, {}, centro);
  igual("released: unchecked");
  QTest::mouseMove(ventana.celda(6, 9), ventana.celda(6, 9)->rect().center());
  igual("hover moved on");
  QTest::keyClick(ventana.celda(6, 9), Qt::Key_Tab);
  igual("focus moved by keyboard");
  QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
  igual("space held");
  QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
  igual("space released");
  ventana.setEnabled(false);
  igual("disabled");
  ventana.setEnabled(true);
  igual("enabled again");
}

// A cell is a button group of its own, but the arrow keys still go through
// the tab order, as on any check box.
TEST(Celdas, LasFlechasSiguenElOrdenDeTabulacion) {
  frmPrincipal ventana;
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  ventana.activateWindow();
  ventana.celda(3, 4)->setFocus();
  QTest::keyClick(ventana.celda(3, 4), Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), ventana.celda(4, 4));
  QTest::keyClick(ventana.celda(4, 4), Qt::Key_Right);
  EXPECT_EQ(QApplication::focusWidget(), ventana.celda(5, 4));
  QTest::keyClick(ventana.celda(5, 4), Qt::Key_Up);
  QTest::keyClick(ventana.celda(4, 4), Qt::Key_Left);
  EXPECT_EQ(QApplication::focusWidget(), ventana.celda(3, 4));
  // Unchecking a cell leaves the others as they are.
  ventana.cmdLlenar_Click();
  ventana.celda(3, 4)->setChecked(false);
  glyph::GlyphGrid esperado;
  glyph::cambiar(esperado, 1);
  esperado(3, 4) = 0;
  EXPECT_EQ(ventana.leerCeldas(), esperado);
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

}  // namespace
