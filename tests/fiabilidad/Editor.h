#pragma once
// The real window in a working directory of its own, driven through its
// public handlers with its controls set as a user would set them.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>
#include <memory>

#include "Apoyo.h"
#include "ColumnCode.h"
#include "ListaArchivos.h"
#include "frmPrincipal.h"

class Editor : public testing::Test {
 protected:
  void SetUp() override {
    ventana = std::make_unique<frmPrincipal>();
    ASSERT_TRUE(ventana->Form_Load());
    nombre = ventana->findChild<QLineEdit*>(QStringLiteral("txtArch"));
    caracteres = ventana->findChild<QComboBox*>(QStringLiteral("cboCarac"));
    lista = ventana->findChild<QListWidget*>(QStringLiteral("filArchivos"));
    ASSERT_TRUE(nombre && caracteres && lista);
    // A drawing no command leaves by chance: every grid check compares with it.
    for (int r = 1; r <= glyph::Filas; ++r) ventana->celda(r, (r * 3) % glyph::Columnas + 1)->setChecked(true);
    dibujo = ventana->leerCeldas();
  }

  void elegir(const QString& caracter) { caracteres->setCurrentIndex(caracteres->findText(caracter)); }
  void grabar(const QString& archivo, const QString& caracter) {
    nombre->setText(archivo);
    elegir(caracter);
    ventana->cmdGrabar_Click();
  }
  void leer(const QString& archivo, const QString& caracter) {
    nombre->setText(archivo);
    elegir(caracter);
    ventana->cmdLeer_Click();
  }
  void crear(const QString& archivo) {
    nombre->setText(archivo);
    ventana->cmdCrear_Click();
  }
  // The list is read only when asked, as the user's own list is.
  void releerLista() { qobject_cast<ListaArchivos*>(lista)->refrescar(); }
  // Picks the entry as a click would; false when the list does not show it.
  bool pulsar(const QString& archivo) {
    const auto items = lista->findItems(archivo, Qt::MatchExactly);
    if (items.isEmpty()) return false;
    lista->setCurrentItem(items.first());
    return true;
  }

  // After a failure the editor still stores and loads: a fresh file takes
  // the drawing and gives it back.
  void sigueFuncionando() {
    const QString archivo = QStringLiteral("despues.mtz");
    QFile::remove(carpeta.fuente(archivo));
    escribirArchivo(carpeta.fuente(archivo), {});
    AvisosGrabados otros;
    const glyph::GlyphGrid actual = ventana->leerCeldas();
    grabar(archivo, QStringLiteral("k"));
    ventana->cmdBorrar_Click();
    leer(archivo, QStringLiteral("k"));
    EXPECT_TRUE(otros.textos().isEmpty()) << otros.textos().join('|').toStdString();
    EXPECT_EQ(ventana->leerCeldas(), actual);
    QFile::remove(carpeta.fuente(archivo));
  }

  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  std::unique_ptr<frmPrincipal> ventana;
  QLineEdit* nombre = nullptr;
  QComboBox* caracteres = nullptr;
  QListWidget* lista = nullptr;
  glyph::GlyphGrid dibujo;
};
