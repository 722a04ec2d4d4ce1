#pragma once
// The real window in a working directory of its own, driven through its
// public handlers with its controls set as a user would set them, and what
// the reliability tests put around it: an unprivileged user, a file size
// limit.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <csignal>
#include <memory>
#include <optional>

#include "Apoyo.h"
#include "ColumnCode.h"
#include "ListaArchivos.h"
#include "frmPrincipal.h"

// While it lives the process acts as user nobody when it runs as root (CI
// does): permission bits alone do not stop root.
class SinPrivilegios {
 public:
  SinPrivilegios() { cambiado_ = ::geteuid() == 0 && ::seteuid(65534) == 0; }
  ~SinPrivilegios() { EXPECT_TRUE(!cambiado_ || ::seteuid(0) == 0); }

 private:
  bool cambiado_ = false;
};

// While it lives no file may grow past limite bytes; the signal is ignored,
// as the editor ignores it, so that the write fails instead.
class LimiteDeTamano {
 public:
  explicit LimiteDeTamano(rlim_t limite) {
    senal_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &anterior_);
    rlimit nuevo = anterior_;
    nuevo.rlim_cur = limite;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &nuevo), 0);
  }
  ~LimiteDeTamano() {
    ::setrlimit(RLIMIT_FSIZE, &anterior_);
    std::signal(SIGXFSZ, senal_);
  }

 private:
  rlimit anterior_{};
  void (*senal_)(int) = nullptr;
};

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

  void grabar(const QString& archivo, const QString& caracter) {
    nombre->setText(archivo);
    caracteres->setCurrentIndex(caracteres->findText(caracter));
    ventana->cmdGrabar_Click();
  }
  void leer(const QString& archivo, const QString& caracter) {
    nombre->setText(archivo);
    caracteres->setCurrentIndex(caracteres->findText(caracter));
    ventana->cmdLeer_Click();
  }
  void crear(const QString& archivo) {
    nombre->setText(archivo);
    ventana->cmdCrear_Click();
  }
  // Picks the entry as a click would, after reading the folder again; false
  // when the list does not show it.
  bool pulsar(const QString& archivo) {
    qobject_cast<ListaArchivos*>(lista)->refrescar();
    const auto items = lista->findItems(archivo, Qt::MatchExactly);
    if (!items.isEmpty()) lista->setCurrentItem(items.first());
    return !items.isEmpty();
  }

  // After a failure the editor still stores and loads: a fresh file, named
  // with a space and letters outside ASCII, takes the drawing and gives it back.
  void sigueFuncionando() {
    const QString archivo = QStringLiteral("después ñ.mtz");
    QDir().mkpath(carpeta.tipografias());
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
