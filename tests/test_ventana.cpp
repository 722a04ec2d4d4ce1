#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>

#include "Apoyo.h"
#include "frmPrincipal.h"

namespace {

struct Ventana : testing::Test {
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  frmPrincipal ventana;
  QLineEdit* nombre = ventana.findChild<QLineEdit*>("txtArch");
  QComboBox* caracteres = ventana.findChild<QComboBox*>("cboCarac");

  QString enfocado() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
  void mostrar() {
    ASSERT_TRUE(ventana.Form_Load());
    ventana.show();
    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
  }
};

// Whether the control shows anything but its background in columns [desde, hasta).
bool tintaEn(QWidget* w, int desde, int hasta) {
  const QImage franja = w->grab().toImage().copy(desde, 0, hasta - desde, w->height());
  QImage fondo(franja.size(), franja.format());
  fondo.fill(franja.pixel(0, 0));
  return franja != fondo;
}

// Start-up fills the window. The brand line shows as written, centred when it
// fits and from its start when it does not; the logo is read at its box's
// size, and only from a regular file.
TEST_F(Ventana, FormLoadLlenaLaVentana) {
  escribirArchivo(carpeta.fuente("b.mtz"), {});
  QDir().mkpath("ayuda/Archivos");
  const QString etiquetas = QString::fromUtf8("<b>Negrita</b> & Cía");
  escribirArchivo("ayuda/Archivos/marca.txt", etiquetas.toLatin1() + "\r\nresto");
  ASSERT_TRUE(QImage(800, 600, QImage::Format_RGB32).save("ayuda/Archivos/logo.jpg"));
  ASSERT_TRUE(ventana.Form_Load());
  EXPECT_EQ(caracteres->count(), 121);
  EXPECT_EQ(caracteres->currentIndex(), -1);
  EXPECT_EQ(ventana.findChild<QWidget*>("filArchivos")->property("count"), 1);
  auto* marca = ventana.findChild<QLabel*>("lblTolvane");
  EXPECT_GE(marca->sizeHint().width(), marca->fontMetrics().horizontalAdvance(etiquetas));
  EXPECT_FALSE(tintaEn(marca, 0, 8));
  EXPECT_TRUE(tintaEn(marca, 70, 91));
  EXPECT_EQ(ventana.findChild<QLabel*>("imgTolvane")->pixmap().deviceIndependentSize(), QSizeF(201, 117));
  nombre->setText("b.mtz");
  caracteres->setCurrentIndex(0);  // "a", the first entry, is a character like any other
  ventana.cmdGrabar_Click();
  EXPECT_EQ(leerArchivo(carpeta.fuente("b.mtz")), registro('a'));

  QFile::remove("ayuda/Archivos/logo.jpg");
  ASSERT_EQ(::mkfifo("ayuda/Archivos/logo.jpg", 0644), 0);
  escribirArchivo("ayuda/Archivos/marca.txt", "Inicio" + QByteArray(100, ' ') + "fin\r\n");
  frmPrincipal otra;
  ASSERT_TRUE(otra.Form_Load());
  EXPECT_TRUE(otra.findChild<QLabel*>("imgTolvane")->pixmap().isNull());
  EXPECT_TRUE(tintaEn(otra.findChild<QLabel*>("lblTolvane"), 0, 8));
}

TEST_F(Ventana, CadaRotuloCabeEnSuCaja) {
  mostrar();
  for (QWidget* w : ventana.findChildren<QWidget*>()) {
    EXPECT_EQ(w->font(), ventana.font()) << w->objectName().toStdString();
    const QString texto = w->property("text").toString();
    if (texto.isEmpty()) continue;
    QRect caja = w->contentsRect();
    if (auto* b = qobject_cast<QPushButton*>(w)) {
      QStyleOptionButton opcion;
      opcion.initFrom(b);
      caja = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opcion, b);
    }
    EXPECT_LE(w->fontMetrics().horizontalAdvance(texto), caja.width()) << texto.toStdString();
    EXPECT_LE(w->fontMetrics().height(), caja.height()) << texto.toStdString();
  }
}

TEST_F(Ventana, CadaControlTieneNombreAccesible) {
  const auto leido = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
  for (int i = 0; i < 70; ++i) {
    EXPECT_EQ(leido(ventana.celda(i / 10 + 1, i % 10 + 1)),
              QString("Fila %1, columna %2").arg(i / 10 + 1).arg(i % 10 + 1));
  }
  for (auto* b : ventana.findChildren<QPushButton*>()) {
    EXPECT_EQ(leido(b), b->text().isEmpty() ? b->toolTip() : b->text());
  }
  EXPECT_EQ(leido(caracteres), "Caracter:");
  EXPECT_EQ(leido(nombre), "Archivo de trabajo");
  EXPECT_EQ(leido(ventana.findChild<QWidget*>("filArchivos")), "Archivo de trabajo");
}

// The arrow keys go along the tab order on the cells, each a button group of its own.
TEST_F(Ventana, TabYLasFlechasRecorrenLaVentanaEnSuOrden) {
  mostrar();
  QStringList orden;
  for (int i = 0; i < 70; ++i) orden << QString("chk%1_%2").arg(i % 7 + 1).arg(i / 7 + 1);
  const QString resto =
      "cmdIzq cmdDer cmdBorrar cmdLlenar cboCarac txtArch filArchivos cmdLeer cmdGrabar cmdReflejoV "
      "cmdArr cmdAba cmdRotarIzq cmdRotarDer cmdReflejoH cmdAyuda cmdCrear chk1_1";
  orden += resto.split(' ');
  for (const QString& siguiente : orden) {
    ASSERT_EQ(enfocado(), siguiente);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  for (const auto& [tecla, fila] :
       {std::pair{Qt::Key_Down, 3}, {Qt::Key_Right, 4}, {Qt::Key_Up, 3}, {Qt::Key_Left, 2}}) {
    QTest::keyClick(QApplication::focusWidget(), tecla);
    EXPECT_EQ(QApplication::focusWidget(), ventana.celda(fila, 1));
  }
}

TEST_F(Ventana, LosBotonesConImagenTienenMarcoYSeHunden) {
  mostrar();
  QTest::mouseMove(&ventana, QPoint(445, 230));  // hovering lightens a button
  auto* conTexto = ventana.findChild<QPushButton*>("cmdBorrar");
  const auto costados = [](QPushButton* b) {
    const QImage imagen = b->grab().toImage();
    return std::pair{imagen.copy(0, 0, 2, 25), imagen.copy(b->width() - 2, 0, 2, 25)};
  };
  for (const char* nombre : {"cmdRotarIzq", "cmdArr", "cmdRotarDer", "cmdIzq", "cmdAba", "cmdDer"}) {
    auto* b = ventana.findChild<QPushButton*>(nombre);
    EXPECT_EQ(costados(b), costados(conTexto)) << nombre;
    conTexto->setFocus();
    const auto conFoco = costados(conTexto);
    b->setFocus();
    EXPECT_EQ(costados(b), conFoco) << nombre;
    const QImage arriba = b->grab().toImage();
    b->setDown(true);
    EXPECT_EQ(b->grab().toImage().copy(3, 5, 20, 16), arriba.copy(2, 4, 20, 16)) << nombre;
    b->setDown(false);
  }
}

// Enter in the box neither completes the name nor refuses it.
TEST_F(Ventana, ElNombreSeCompletaAlSalirDelCuadro) {
  mostrar();
  const QStringList casos = {"||",         "a|a.mtz|",           "abc|abc.mtz|",       "abcd|abcd.mtz|",
                             ".mtz|.mtz|", "f.c|f.c.mtz|",       "f.mtzx|f.mtzx.mtz|", "abc.|abc..mtz|",
                             "  |  .mtz|", "a.mtz |a.mtz .mtz|", "f.txt|f.txt|txt",    "f.MTZ|f.MTZ|MTZ"};
  for (const QString& caso : casos) {
    const QString escrito = caso.section('|', 0, 0), queda = caso.section('|', 1, 1), ajena = caso.section('|', 2);
    avisos.olvidar();
    nombre->setFocus();
    nombre->setText(escrito);
    QTest::keyClick(nombre, Qt::Key_Return);
    QTest::keyClick(nombre, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(nombre->text(), escrito);
    QTest::keyClick(nombre, Qt::Key_Tab);
    EXPECT_EQ(nombre->text(), queda) << caso.toStdString();
    EXPECT_EQ(enfocado(), ajena.isEmpty() ? "filArchivos" : "txtArch") << caso.toStdString();
    const QString aviso =
        "La extensión del archivo (" + ajena + ") no es correcta. Puede escribir el nombre sin extensión.";
    EXPECT_EQ(avisos.textos(), ajena.isEmpty() ? QStringList() : QStringList{aviso});
  }
  // The click that leaves the box is not let through to the control it was meant for.
  QTest::mouseClick(ventana.celda(1, 1), Qt::LeftButton);
  EXPECT_EQ(ventana.leerCeldas(), glyph::GlyphGrid{});
}

TEST_F(Ventana, SinNombreCadaOrdenDevuelveElFocoAlCuadro) {
  mostrar();
  caracteres->setCurrentIndex(0);
  for (const auto orden :
       {&frmPrincipal::cmdCrear_Click, &frmPrincipal::cmdGrabar_Click, &frmPrincipal::cmdLeer_Click}) {
    ventana.celda(1, 1)->setFocus();
    (ventana.*orden)();
    EXPECT_EQ(enfocado(), "txtArch");
  }
}

TEST_F(Ventana, ElCaracterEscritoEsElQueSeElige) {
  mostrar();
  for (const QString& c : QStringList{"I", "i", QString::fromUtf8("Ñ"), "^", "1"}) {
    QTest::keyClicks(caracteres, c);
    EXPECT_EQ(caracteres->currentText(), c);
  }
  caracteres->showPopup();  // the open list searches the same way
  QTest::keyClicks(caracteres->view(), "A");
  QTest::keyClick(caracteres->view(), Qt::Key_Return);
  EXPECT_EQ(caracteres->currentText(), "A");
}

}  // namespace
