#pragma once
// The real window in a working directory of its own, driven through its
// public handlers with its controls set as a user would set them.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>

#include "Apoyo.h"
#include "ListaArchivos.h"
#include "frmPrincipal.h"

class Editor : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ventana.Form_Load());
    // A drawing no command leaves by chance: every grid check compares with it.
    for (int r = 1; r <= glyph::Filas; ++r) ventana.celda(r, (r * 3) % glyph::Columnas + 1)->setChecked(true);
    dibujo = ventana.leerCeldas();
  }

  void orden(void (frmPrincipal::*manejador)(), const QString& archivo, const QString& caracter = {}) {
    nombre->setText(archivo);
    caracteres->setCurrentIndex(caracteres->findText(caracter));
    (ventana.*manejador)();
  }
  // Picks the entry as a click would, after reading the folder again; false
  // when the list does not show it.
  bool pulsar(const QString& archivo) {
    qobject_cast<ListaArchivos*>(lista)->refrescar();
    const auto items = lista->findItems(archivo, Qt::MatchExactly);
    if (!items.isEmpty()) lista->setCurrentItem(items.first());
    return !items.isEmpty();
  }
  CarpetaDeTrabajo carpeta;
  AvisosGrabados avisos;
  frmPrincipal ventana;
  QLineEdit* nombre = ventana.findChild<QLineEdit*>(QStringLiteral("txtArch"));
  QComboBox* caracteres = ventana.findChild<QComboBox*>(QStringLiteral("cboCarac"));
  QListWidget* lista = ventana.findChild<QListWidget*>(QStringLiteral("filArchivos"));
  glyph::GlyphGrid dibujo;
};
