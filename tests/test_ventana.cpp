#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QUndoStack>

#include "Apoyo.h"
#include "Controles.h"
#include "Transformaciones.h"

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

// Start-up fills the window. The brand line shows as written, centred when it fits and from its start when it does
// not; the logo is read at its box's size, and only from a regular file. Every control shows its texts, and a screen
// reader finds a name on each; every caption is whole in its box at the toolkit's 12 pixels, in a narrow face where
// DejaVu Sans is too wide.
TEST_F(Ventana, FormLoadLlenaLaVentanaYCadaTextoCabeEnSuCaja) {
  escribirArchivo(carpeta.fuente("b.mtz"), {});
  QDir().mkpath("ayuda/Archivos");
  const QString etiquetas = QString::fromUtf8("<b>Negrita</b> & Cía");
  escribirArchivo("ayuda/Archivos/marca.txt", etiquetas.toLatin1() + "\r\nresto");
  ASSERT_TRUE(QImage(800, 600, QImage::Format_RGB32).save("ayuda/Archivos/logo.jpg"));
  mostrar();
  EXPECT_EQ(caracteres->count(), 121);
  EXPECT_EQ(caracteres->currentIndex(), -1);
  EXPECT_EQ(ventana.findChild<QWidget*>("filArchivos")->property("count"), 1);
  auto* marca = ventana.findChild<QLabel*>("lblTolvane");
  EXPECT_GE(marca->sizeHint().width(), marca->fontMetrics().horizontalAdvance(etiquetas));
  EXPECT_FALSE(tintaEn(marca, 0, 8));
  EXPECT_TRUE(tintaEn(marca, 70, 91));
  EXPECT_EQ(ventana.findChild<QLabel*>("imgTolvane")->pixmap().deviceIndependentSize(), QSizeF(201, 117));

  // A JPEG cut half-way is shown as far as it goes by the reader: not at all by the window.
  escribirArchivo("ayuda/Archivos/logo.jpg", leerArchivo("ayuda/Archivos/logo.jpg").chopped(100));
  frmPrincipal cortado;
  ASSERT_TRUE(cortado.Form_Load());
  EXPECT_TRUE(cortado.findChild<QLabel*>("imgTolvane")->pixmap().isNull());
  QFile::remove("ayuda/Archivos/logo.jpg");
  ASSERT_EQ(::mkfifo("ayuda/Archivos/logo.jpg", 0644), 0);
  escribirArchivo("ayuda/Archivos/marca.txt", "Inicio" + QByteArray(100, ' ') + "fin\r\n");
  frmPrincipal otra;
  ASSERT_TRUE(otra.Form_Load());
  EXPECT_TRUE(otra.findChild<QLabel*>("imgTolvane")->pixmap().isNull());
  EXPECT_TRUE(tintaEn(otra.findChild<QLabel*>("lblTolvane"), 0, 8));

  caracteres->setCurrentIndex(caracteres->findText(QString::fromUtf8("ñ")));
  const auto leido = [](QWidget* w, QAccessible::Text t = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(w)->text(t);
  };
  for (const controles::Control& c : controles::Tabla) {
    const textos::TextosDeControl* t = textos::deControl(c.nombre);
    if (t == nullptr) continue;
    auto* w = ventana.findChild<QWidget*>(controles::nombreDe(c));
    const QString texto = c.tipo == controles::Tipo::Marca ? etiquetas : QString::fromUtf8(t->texto);
    EXPECT_EQ(w->property("text").toString(), texto) << c.nombre;
    EXPECT_EQ(w->toolTip(), QString::fromUtf8(t->ayuda)) << c.nombre;
    EXPECT_EQ(leido(w), t->nombreAccesible != nullptr ? QString::fromUtf8(t->nombreAccesible) : texto) << c.nombre;
    if (texto.isEmpty()) continue;
    QRect caja = w->contentsRect();
    if (auto* b = qobject_cast<QPushButton*>(w)) {
      QStyleOptionButton opcion;
      opcion.initFrom(b);
      caja = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opcion, b);
    }
    EXPECT_EQ(QFontInfo(w->font()).pixelSize(), 12) << c.nombre;
    EXPECT_GE(w->fontMetrics().tightBoundingRect("H").height(), 8) << c.nombre;
    EXPECT_LE(w->fontMetrics().horizontalAdvance(texto), caja.width()) << c.nombre;
    EXPECT_LE(w->fontMetrics().tightBoundingRect(texto).height(), caja.height()) << c.nombre;
  }
  EXPECT_EQ(leido(ventana.celda(7, 3)), "Fila 7, columna 3");
  EXPECT_EQ(leido(caracteres, QAccessible::Value), QString::fromUtf8("ñ"));
  auto* lista = ventana.findChild<QWidget*>("filArchivos");
  EXPECT_EQ(leido(lista, QAccessible::Description), lista->toolTip());
  EXPECT_TRUE(caracteres->findChildren<QAbstractItemView*>().isEmpty()) << "the open list is made at start-up";
  EXPECT_GE(caracteres->fontMetrics().tightBoundingRect(QString::fromUtf8("Ñ")).height(), 12);
  caracteres->showPopup();
  EXPECT_LT(caracteres->view()->window()->height(), 400);
  caracteres->hidePopup();
}

// Tab keeps the window's order; the arrow keys go to the neighbouring cell as drawn, and stop at the edge. In the
// file list the first Down chooses the first entry. A character typed in its list is the one chosen, case and all.
TEST_F(Ventana, ElTecladoRecorreLaVentanaEnSuOrdenYEligeElCaracterEscrito) {
  for (const char* f : {"a.mtz", "b.mtz"}) escribirArchivo(carpeta.fuente(f), {});
  mostrar();
  EXPECT_TRUE(ventana.testAttribute(Qt::WA_KeyboardFocusChange)) << "the first cell's focus mark is hidden";
  // The cells down each column, then the controls that take the focus by tab index, and round to the first.
  std::map<int, QString> orden{{1000, "chk1_1"}};
  for (int r = 1; r <= glyph::Filas; ++r)
    for (int c = 1; c <= glyph::Columnas; ++c)
      orden[controles::tabulacionDeCelda(r, c)] = QString("chk%1_%2").arg(r).arg(c);
  for (const controles::Control& c : controles::Tabla)
    if (c.tabulacion != controles::SinTabulacion && c.tipo != controles::Tipo::Rotulo &&
        c.tipo != controles::Tipo::Marca)
      orden[c.tabulacion] = controles::nombreDe(c);
  for (const auto& [indice, siguiente] : orden) {
    ASSERT_EQ(enfocado(), siguiente) << indice;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  // From the first cell Tab went down its column.
  const std::tuple<Qt::Key, int, int> flechas[] = {{Qt::Key_Left, 2, 1}, {Qt::Key_Up, 1, 1},    {Qt::Key_Up, 1, 1},
                                                   {Qt::Key_Down, 2, 1}, {Qt::Key_Right, 2, 2}, {Qt::Key_Up, 1, 2}};
  for (const auto& [tecla, r, c] : flechas) {
    QTest::keyClick(QApplication::focusWidget(), tecla);
    EXPECT_EQ(QApplication::focusWidget(), ventana.celda(r, c));
  }
  nombre->setFocus();
  QTest::keyClick(nombre, Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  EXPECT_EQ(nombre->text(), "a.mtz");

  for (const QString& c : QStringList{"I", "i", QString::fromUtf8("Ñ"), "^", "1"}) {
    QTest::keyClicks(caracteres, c);
    EXPECT_EQ(caracteres->currentText(), c);
  }
  caracteres->showPopup();  // the open list searches the same way
  QTest::keyClicks(caracteres->view(), "A");
  QTest::keyClick(caracteres->view(), Qt::Key_Return);
  EXPECT_EQ(caracteres->currentText(), "A");
}

// Each key of the drawing, pressed on a cell, and the grid after it.
TEST_F(Ventana, LasTeclasDelDibujoSeDeshacenYSeCopian) {
  mostrar();
  nombre->setText("f.mtz");
  caracteres->setCurrentIndex(0);  // "a", the first entry, is a character like any other
  const glyph::GlyphGrid nada, uno = dibujoCon({{1, 1}}), dos = dibujoCon({{1, 1}, {1, 2}});
  const glyph::GlyphGrid tres = dibujoCon({{1, 1}, {1, 2}, {2, 2}}), negativo = glyph::invertir(tres);
  const QKeyCombination espacio = Qt::Key_Space, derecha = Qt::Key_Right, abajo = Qt::Key_Down;
  const QKeyCombination invertir = Qt::CTRL | Qt::Key_I, copiar = Qt::CTRL | Qt::Key_C, pegar = Qt::CTRL | Qt::Key_V;
  const QKeyCombination deshacer = Qt::CTRL | Qt::Key_Z, rehacer = Qt::CTRL | Qt::SHIFT | Qt::Key_Z;
  const std::pair<QKeyCombination, glyph::GlyphGrid> pasos[] = {
      {espacio, uno},       {derecha, uno},   {espacio, dos},    {abajo, dos},      {espacio, tres},
      {invertir, negativo}, {deshacer, tres}, {deshacer, dos},   {rehacer, tres},   {Qt::CTRL | Qt::Key_Y, negativo},
      {copiar, negativo},   {deshacer, tres}, {pegar, negativo}, {pegar, negativo}, {deshacer, tres},
      {deshacer, dos},      {deshacer, uno},  {deshacer, nada},  {deshacer, nada}};
  for (const auto& [tecla, despues] : pasos) {
    QTest::keyClick(QApplication::focusWidget(), tecla.key(), tecla.keyboardModifiers());
    EXPECT_EQ(ventana.leerCeldas(), despues) << QKeySequence(tecla).toString().toStdString();
  }
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "..########\n#.########\n" + QString("##########\n").repeated(5));

  // A paste takes text as mtz shows it, short rows filled with dots off, or a picture; anything else changes nothing.
  for (const char* pegado : {"[a] registro 1, ancho 2\n#\n.#\n\n;\n.\n.\n.\n.\n..#", "#\n#\n#\n#\n#\n#",
                             "#\n#\n#\n#\n#\n#\n#\n#", "#\n#\n#\n#\n#\n#\nx", ""}) {
    QGuiApplication::clipboard()->setText(pegado);
    QTest::keyClick(ventana.celda(1, 1), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ventana.leerCeldas(), dibujoCon({{1, 1}, {2, 2}, {7, 3}})) << pegado;
  }
  QImage imagen(20, 14, QImage::Format_ARGB32);  // dark in 3 of the 4 pixels of dot (7, 10), elsewhere clear
  imagen.fill(Qt::transparent);
  for (const QPoint p : {QPoint(19, 13), QPoint(18, 13), QPoint(19, 12)}) imagen.setPixel(p, qRgb(20, 20, 20));
  QGuiApplication::clipboard()->setImage(imagen);
  QTest::keyClick(ventana.celda(1, 1), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ventana.leerCeldas(), dibujoCon({{7, 10}}));
  EXPECT_EQ(avisos.textos(), QStringList());

  // Every command is a step, Leer too; at least 100 steps are kept. The file made is listed.
  for (const auto orden :
       {&frmPrincipal::cmdLlenar_Click, &frmPrincipal::cmdCrear_Click, &frmPrincipal::cmdGrabar_Click,
        &frmPrincipal::cmdBorrar_Click, &frmPrincipal::cmdLeer_Click})
    (ventana.*orden)();
  EXPECT_EQ(ventana.findChild<QListWidget*>()->count(), 1);
  for (int i = 0; i < 120; ++i) QTest::mouseClick(ventana.celda(1, 1), Qt::LeftButton);
  EXPECT_EQ(ventana.leerCeldas(), glyph::invertir(nada));
  for (int i = 0; i < 123; ++i) ventana.pasos()->undo();
  EXPECT_EQ(ventana.leerCeldas(), dibujoCon({{7, 10}}));
  EXPECT_EQ(leerArchivo(carpeta.fuente("f.mtz")), registro('a', {127, 127, 127, 127, 127, 127, 127, 127, 127, 127}));

  // In the name box the keys are the text's own.
  nombre->setFocus();
  QTest::keyClicks(nombre, "xy");
  for (const QKeyCombination tecla : {Qt::CTRL | Qt::Key_I, Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::Key_Z})
    QTest::keyClick(nombre, tecla.key(), tecla.keyboardModifiers());
  EXPECT_EQ(ventana.leerCeldas(), dibujoCon({{7, 10}}));
  EXPECT_NE(nombre->text(), "f.mtzxy");
}

TEST_F(Ventana, LosBotonesConImagenTienenMarcoYSeHunden) {
  mostrar();
  QTest::mouseMove(&ventana, QPoint(controles::Ancho - 1, controles::Alto - 1));  // on no button: hovering lightens it
  auto* conTexto = ventana.findChild<QPushButton*>("cmdBorrar");
  const auto costados = [](QPushButton* b) {
    const QImage imagen = b->grab().toImage();
    return std::pair{imagen.copy(0, 0, 2, 25), imagen.copy(b->width() - 2, 0, 2, 25)};
  };
  for (const controles::Control& c : controles::Tabla) {
    if (c.tipo != controles::Tipo::BotonConImagen) continue;
    auto* b = ventana.findChild<QPushButton*>(controles::nombreDe(c));
    EXPECT_EQ(costados(b), costados(conTexto)) << c.nombre;
    conTexto->setFocus();
    const auto conFoco = costados(conTexto);
    b->setFocus();
    EXPECT_EQ(costados(b), conFoco) << c.nombre;
    const QImage arriba = b->grab().toImage();
    b->setDown(true);
    EXPECT_EQ(b->grab().toImage().copy(3, 5, 20, 16), arriba.copy(2, 4, 20, 16)) << c.nombre;
    b->setDown(false);
  }
}

// Leaving the name box completes the name or refuses its extension; Enter in the box does neither. Without a name
// each command sends the focus back to the box. Ayuda with no program to open the page says so.
TEST_F(Ventana, ElCuadroDelNombre) {
  mostrar();
  // Typed, then left with Tab: what the box holds, and the extension refused, if any.
  const std::tuple<QString, QString, QString> casos[] = {{"", "", ""},
                                                         {"abc", "abc.mtz", ""},
                                                         {".mtz", ".mtz", ""},
                                                         {"f.mtzx", "f.mtzx.mtz", ""},
                                                         {"a.mtz ", "a.mtz .mtz", ""},
                                                         {"f.txt", "f.txt", "txt"},
                                                         {"f.MTZ", "f.MTZ", "MTZ"}};
  for (const auto& [escrito, queda, ajena] : casos) {
    avisos.olvidar();
    nombre->setFocus();
    nombre->setText(escrito);
    QTest::keyClick(nombre, Qt::Key_Return);
    QTest::keyClick(nombre, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(nombre->text(), escrito);
    QTest::keyClick(nombre, Qt::Key_Tab);
    EXPECT_EQ(nombre->text(), queda) << escrito.toStdString();
    EXPECT_EQ(enfocado(), ajena.isEmpty() ? "filArchivos" : "txtArch") << escrito.toStdString();
    const QString aviso =
        "La extensión del archivo (" + ajena + ") no es correcta. Puede escribir el nombre sin extensión.";
    EXPECT_EQ(avisos.textos(), ajena.isEmpty() ? QStringList() : QStringList{aviso});
  }
  // The click that leaves the box is not let through to the control it was meant for.
  QTest::mouseClick(ventana.celda(1, 1), Qt::LeftButton);
  EXPECT_EQ(ventana.leerCeldas(), glyph::GlyphGrid{});

  nombre->clear();
  caracteres->setCurrentIndex(0);
  for (const auto orden :
       {&frmPrincipal::cmdCrear_Click, &frmPrincipal::cmdGrabar_Click, &frmPrincipal::cmdLeer_Click}) {
    ventana.celda(1, 1)->setFocus();
    (ventana.*orden)();
    EXPECT_EQ(enfocado(), "txtArch");
  }
  avisos.olvidar();
  const ayuda::Abridor antes = ayuda::instalar([](const QUrl&) { return false; });
  ventana.cmdAyuda_Click();
  ayuda::instalar(antes);
  EXPECT_EQ(avisos.textos(),
            QStringList{textos::ayudaSinPrograma(QDir::current().absoluteFilePath("ayuda/editor.html"))});
}

}  // namespace
