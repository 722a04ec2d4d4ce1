#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "Apoyo.h"
#include "frmPrincipal.h"

namespace {

class Ventana : public testing::Test {
 protected:
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  frmPrincipal ventana;

  template <typename T = QWidget>
  T* control(const char* nombre) {
    T* c = ventana.findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(c, nullptr) << nombre;
    return c;
  }
  QLineEdit* nombre() { return control<QLineEdit>("txtArch"); }
  QListWidget* lista() { return control<QListWidget>("filArchivos"); }
  void clic(const char* boton) { QTest::mouseClick(control<QPushButton>(boton), Qt::LeftButton); }

  void mostrar() {
    ASSERT_TRUE(ventana.Form_Load());
    ventana.show();
    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
  }
  void elegir(const QString& caracter) {
    auto* cbo = control<QComboBox>("cboCarac");
    cbo->setCurrentIndex(cbo->findText(caracter));
  }
  // Types into the name box and leaves it with Tab, as a user would.
  void escribirNombre(const QString& texto) {
    nombre()->setFocus();
    nombre()->setText(texto);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QString enfocado() const {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
  }
};

}  // namespace

TEST_F(Ventana, CadaControlEnSuLugar) {
  EXPECT_EQ(ventana.windowTitle(), "Grafolux");
  EXPECT_EQ(ventana.size(), QSize(451, 426));
  EXPECT_EQ(ventana.minimumSize(), ventana.maximumSize());
  EXPECT_FALSE(ventana.windowIcon().isNull());
  struct Esperado {
    const char* nombre;
    QRect lugar;
    const char* texto;
    const char* ayuda;
  };
  const Esperado tabla[] = {
      {"Image1", {8, 8, 435, 55}, nullptr, ""},
      {"cmdAyuda", {376, 64, 65, 17}, "Ayuda", "Abre la ayuda del Grafolux."},
      {"lblCarac", {32, 112, 49, 17}, "Caracter:", ""},
      {"cboCarac", {32, 128, 65, 21}, nullptr, "Seleccione el caracter que quiera editar."},
      {"cmdLeer", {32, 152, 65, 25}, "Leer", "Lee el caracter desde el archivo."},
      {"cmdGrabar", {48, 184, 49, 17}, "Grabar", "Almacena el caracter en el archivo."},
      {"cmdRotarIzq", {280, 112, 25, 25}, "", "Rota el dibujo 90º a la izquierda."},
      {"cmdArr", {304, 112, 25, 25}, "", "Desplaza el dibujo hacia arriba."},
      {"cmdRotarDer", {328, 112, 25, 25}, "", "Rota el dibujo 90º a la derecha."},
      {"cmdIzq", {280, 136, 25, 25}, "", "Desplaza el dibujo hacia la izquierda."},
      {"cmdAba", {304, 136, 25, 25}, "", "Desplaza el dibujo hacia abajo."},
      {"cmdDer", {328, 136, 25, 25}, "", "Desplaza el dibujo hacia la derecha."},
      {"cmdBorrar", {368, 112, 57, 25}, "Borrar", "Vacía la matríz."},
      {"cmdLlenar", {368, 136, 57, 25}, "Llenar", "Llena la matríz."},
      {"cmdReflejoH", {280, 176, 97, 25}, "Reflejo Horizontal", "Reflejo horizontal de la matríz."},
      {"cmdReflejoV", {280, 200, 97, 25}, "Reflejo Vertical", "Reflejo Vertical de la matríz"},
      {"lblArch", {32, 256, 89, 17}, "Archivo de trabajo", ""},
      {"txtArch", {128, 256, 241, 19}, "", ""},
      {"cmdCrear", {376, 256, 49, 17}, "Crear", "Crea un archivo de fuentes vacío."},
      {"filArchivos", {32, 288, 121, 123}, nullptr, "Doble click sobre un archivo para seleccionarlo."},
      {"imgTolvane", {200, 288, 201, 117}, nullptr, "https://www.grafolux.example/"},
      {"lblTolvane", {224, 408, 161, 17}, "", "https://www.grafolux.example/"},
      {"Line1", {8, 96, 433, 1}, nullptr, ""},
      {"Line2", {8, 240, 433, 1}, nullptr, ""},
  };
  for (const Esperado& e : tabla) {
    QWidget* w = control(e.nombre);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), e.lugar) << e.nombre;
    EXPECT_EQ(w->toolTip(), QString::fromUtf8(e.ayuda)) << e.nombre;
    if (e.texto == nullptr) continue;
    const QVariant texto = w->property("text");
    EXPECT_EQ(texto.toString(), QString::fromUtf8(e.texto)) << e.nombre;
  }
  for (const char* picture : {"cmdRotarIzq", "cmdArr", "cmdRotarDer", "cmdIzq", "cmdAba", "cmdDer"}) {
    EXPECT_FALSE(control<QPushButton>(picture)->icon().isNull()) << picture;
  }
  EXPECT_FALSE(control<QLabel>("Image1")->pixmap().isNull());
  for (int r = 1; r <= 7; ++r) {
    for (int c = 1; c <= 10; ++c) {
      QCheckBox* celda = ventana.celda(r, c);
      EXPECT_EQ(celda->objectName(), QString("chk%1_%2").arg(r).arg(c));
      EXPECT_EQ(QRect(celda->mapTo(&ventana, QPoint()), celda->size()),
                QRect(112 + 16 * (c - 1), 112 + 16 * (r - 1), 17, 17));
      EXPECT_TRUE(celda->text().isEmpty() && celda->toolTip().isEmpty());
      EXPECT_FALSE(celda->isChecked());
    }
  }
}

TEST_F(Ventana, FormLoadLlenaLaListaYLaCarpeta) {
  escribirArchivo(carpeta.fuente("b.mtz"), {});
  QDir().mkpath("ayuda/Archivos");
  escribirArchivo("ayuda/Archivos/marca.txt", "Marca\nresto");
  escribirArchivo("ayuda/Archivos/logo.jpg", "esto no es una imagen");
  ASSERT_TRUE(ventana.Form_Load());
  auto* cbo = control<QComboBox>("cboCarac");
  EXPECT_EQ(cbo->count(), 121);
  EXPECT_EQ(cbo->currentIndex(), -1);
  EXPECT_EQ(cbo->itemText(0), "a");
  EXPECT_EQ(cbo->itemText(120), "^");
  EXPECT_FALSE(cbo->isEditable());
  EXPECT_EQ(lista()->count(), 1);
  EXPECT_TRUE(lista()->selectedItems().isEmpty());
  EXPECT_EQ(control<QLabel>("lblTolvane")->text(), "Marca");
  EXPECT_TRUE(control<QLabel>("imgTolvane")->pixmap().isNull());
  EXPECT_TRUE(avisos.vistos().empty());
}

TEST(Arranque, SinCarpetaDeTipografiasNoSeAbre) {
  CarpetaDeTrabajo carpeta(false);
  AvisosGrabados avisos;
  frmPrincipal ventana;
  EXPECT_FALSE(ventana.Form_Load());
  ASSERT_EQ(avisos.vistos().size(), 1u);
  EXPECT_EQ(avisos.vistos()[0].icono, avisos::Icono::Critico);
  EXPECT_TRUE(avisos.vistos()[0].texto.contains(QDir::currentPath() + "/tipografias"));
  EXPECT_TRUE(avisos.vistos()[0].texto.contains(QString::fromUtf8("No se encontró la ruta")));
  EXPECT_FALSE(QDir("tipografias").exists());
}

TEST_F(Ventana, ElNombreSeCompletaAlSalirDelCuadro) {
  mostrar();
  const std::pair<QString, QString> casos[] = {{"", ""},
                                               {"a", "a.mtz"},
                                               {"abc", "abc.mtz"},
                                               {"abcd", "abcd.mtz"},
                                               {".mtz", ".mtz"},
                                               {"fuente.mtz", "fuente.mtz"},
                                               {"fuente.c", "fuente.c.mtz"},
                                               {"fuente.mtzx", "fuente.mtzx.mtz"},
                                               {"abc.", "abc..mtz"},
                                               {"  ", "  .mtz"},
                                               {"a.mtz ", "a.mtz .mtz"}};
  for (const auto& [escrito, queda] : casos) {
    escribirNombre(escrito);
    EXPECT_EQ(nombre()->text(), queda) << escrito.toStdString();
    EXPECT_EQ(enfocado(), "filArchivos");
  }
  EXPECT_TRUE(avisos.vistos().empty());
}

TEST_F(Ventana, UnaExtensionAjenaNoDejaSalirDelCuadro) {
  mostrar();
  for (const QString ext : {"txt", "MTZ"}) {
    avisos.olvidar();
    escribirNombre("fuente." + ext);
    EXPECT_EQ(avisos.textos(), QStringList{QString::fromUtf8("La extensión del archivo (") + ext +
                                           ") no es correcta. Puede escribir el nombre sin extensión."});
    EXPECT_EQ(nombre()->text(), "fuente." + ext);
    EXPECT_EQ(enfocado(), "txtArch");
  }
  // Leaving for a cell asks again and does not toggle the cell.
  avisos.olvidar();
  QTest::mouseClick(ventana.celda(1, 1), Qt::LeftButton);
  EXPECT_EQ(avisos.vistos().size(), 1u);
  EXPECT_EQ(enfocado(), "txtArch");
  EXPECT_FALSE(ventana.celda(1, 1)->isChecked());
}

TEST_F(Ventana, UnBotonPulsadoDesdeElCuadroVeElNombreCompleto) {
  mostrar();
  nombre()->setFocus();
  QTest::keyClicks(nombre(), "nueva");
  clic("cmdCrear");
  EXPECT_EQ(nombre()->text(), "nueva.mtz");
  EXPECT_EQ(QFileInfo(carpeta.fuente("nueva.mtz")).size(), 0);
  ASSERT_EQ(lista()->count(), 1);
  EXPECT_EQ(lista()->item(0)->text(), "nueva.mtz");
  EXPECT_TRUE(lista()->selectedItems().isEmpty());  // refreshing selects nothing
  EXPECT_TRUE(avisos.vistos().empty());
}

TEST_F(Ventana, GrabarYLeerDesdeLaVentana) {
  mostrar();
  escribirArchivo(carpeta.fuente("f.mtz"), {});
  nombre()->setText("f.mtz");
  for (int r = 1; r <= 7; ++r) ventana.celda(r, 1)->setChecked(true);
  ventana.celda(7, 10)->setChecked(true);
  const glyph::GlyphGrid dibujo = ventana.leerCeldas();
  clic("cmdGrabar");
  EXPECT_EQ(avisos.textos(), QStringList{"Seleccione un caracter de la lista."});
  elegir("I");
  clic("cmdGrabar");
  EXPECT_EQ(leerArchivo(carpeta.fuente("f.mtz")).toHex(), QByteArray("010049"
                                                                     "7f00"
                                                                     "00000000000000000000000000000000"
                                                                     "4000"
                                                                     "00"));
  EXPECT_EQ(ventana.leerCeldas(), dibujo);  // storing only reads the grid
  clic("cmdBorrar");
  clic("cmdLeer");
  EXPECT_EQ(ventana.leerCeldas(), dibujo);
  elegir("Z");
  clic("cmdLeer");
  EXPECT_EQ(avisos.textos().last(), QString::fromUtf8("El carácter Z no está en el archivo."));
  EXPECT_EQ(ventana.leerCeldas(), dibujo);
  nombre()->setText("");
  clic("cmdGrabar");
  EXPECT_EQ(enfocado(), "txtArch");
}

TEST_F(Ventana, ElCaracterEscritoEsElQueSeElige) {
  mostrar();
  auto* cbo = control<QComboBox>("cboCarac");
  cbo->setFocus();
  for (const QString& c : QStringList{"I", "i", QString::fromUtf8("Ñ"), "^", "1"}) {
    QTest::keyClicks(cbo, c);
    EXPECT_EQ(cbo->currentText(), c);
  }
  // The open list searches the same way.
  cbo->showPopup();
  QTest::keyClicks(cbo->view(), "A");
  QTest::keyClick(cbo->view(), Qt::Key_Return);
  EXPECT_EQ(cbo->currentText(), "A");
}
