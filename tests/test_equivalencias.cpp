// The quicker ways give what the general ones gave: pictures compiled in as
// pixels, cells painted by their frame, the file list's own matching and
// sorting.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <functional>

#include "Apoyo.h"
#include "Controles.h"
#include "ImagenEmpaquetada.h"
#include "Imagenes.h"
#include "ListaArchivos.h"

namespace {

TEST(Imagenes, SonLosPngPixelAPixel) {
  const QDir carpeta(QStringLiteral(DIBUJOS_PNG));
  const QStringList png = carpeta.entryList({QStringLiteral("*.png")}, QDir::Files);
  ASSERT_EQ(png.size(), CantidadDeImagenes);
  for (const QString& archivo : png) {
    EXPECT_EQ(imagenGuardada(QLatin1StringView(archivo.chopped(4).toLatin1())),
              QImage(carpeta.filePath(archivo)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
}

// The cells' frame paints them on the screen from kept pictures; whatever
// changes a cell's look, the screen shows what the cell draws on its own.
TEST(Celdas, LaPantallaSigueATodoCambioDeAspecto) {
  frmPrincipal ventana;
  ventana.show();
  ventana.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
  QCheckBox* celda = ventana.celda(4, 5);
  const QPoint centro = celda->rect().center();
  glyph::GlyphGrid dibujo;
  for (int i = 0; i < glyph::Celdas; ++i) dibujo.valores[i] = (i * 7) % 3 == 0 ? 1 : 0;
  const std::pair<const char*, std::function<void()>> pasos[] = {
      {"shown", [] {}},
      {"a drawing written", [&] { ventana.escribirCeldas(dibujo); }},
      {"hovered", [&] { QTest::mouseMove(celda, centro); }},
      {"pressed", [&] { QTest::mousePress(celda, Qt::LeftButton, {}, centro); }},
      {"released: unchecked", [&] { QTest::mouseRelease(celda, Qt::LeftButton, {}, centro); }},
      {"focus moved by keyboard", [&] { QTest::keyClick(ventana.celda(6, 9), Qt::Key_Tab); }},
      {"disabled", [&] { ventana.setEnabled(false); }}};
  const QRect marco = controles::porNombre("marcoCeldas")->lugar;
  for (const auto& [paso, hacer] : pasos) {
    hacer();
    QApplication::processEvents();
    QImage segunLasCeldas(marco.size(), QImage::Format_RGB32);
    QPainter pintor(&segunLasCeldas);
    for (QCheckBox* c : ventana.findChildren<QCheckBox*>()) pintor.drawImage(c->pos(), c->grab().toImage());
    const QImage enPantalla =
        ventana.screen()->grabWindow(ventana.winId(), marco.x(), marco.y(), marco.width(), marco.height()).toImage();
    EXPECT_EQ(enPantalla.convertToFormat(QImage::Format_RGB32), segunLasCeldas) << paso;
  }
}

TEST(ListaDeArchivos, ListaLoQueListariaQDir) {
  CarpetaDeTrabajo carpeta;
  for (const char* nombre : {"b.mtz", "A.MTZ", ".oculto.mtz", "c.Mtz", "_x.mtz", ".mtz", "z.mtz.bak", "mtz", "10.mtz",
                             "9.mtz", "a.mtz", "a.Mtz", "ñandú.mtz"})
    escribirArchivo(carpeta.fuente(QString::fromUtf8(nombre)), {});
  QDir(carpeta.tipografias()).mkdir("carpeta.mtz");
  ASSERT_EQ(::mkfifo(QFile::encodeName(carpeta.fuente("tubo.mtz")).constData(), 0644), 0);
  for (const QString enlace : {"no-esta", "carpeta.mtz", "b.mtz"})
    ASSERT_TRUE(QFile::link(enlace, carpeta.fuente(enlace + ".mtz")));
  ListaArchivos lista;
  ASSERT_TRUE(lista.setCarpeta(carpeta.tipografias()));
  QStringList nombres;
  for (int i = 0; i < lista.count(); ++i) nombres << lista.item(i)->text();
  const QDir::Filters filtro = QDir::Files | QDir::Hidden | QDir::System;
  const QStringList segunQDir = QDir(carpeta.tipografias()).entryList({"*.mtz"}, filtro, QDir::Name | QDir::IgnoreCase);
  EXPECT_EQ(nombres.join('/').toLower(), segunQDir.join('/').toLower());
  EXPECT_EQ(QSet<QString>(nombres.begin(), nombres.end()), QSet<QString>(segunQDir.begin(), segunQDir.end()));
}

}  // namespace
