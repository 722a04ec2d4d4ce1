#pragma once
// The editor's only window. Its controls are the editor's whole state: the
// 70 cells of the drawing, the selected character, the file list's folder
// and the name box. Each handler reads the controls, calls the drawing or
// file logic, and writes the result back.

#include <QWidget>
#include <array>
#include <cstdint>
#include <utility>

#include "GlyphGrid.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QUndoStack;
class ListaArchivos;
namespace controles {
struct Control;
}

class frmPrincipal : public QWidget {
  Q_OBJECT

 public:
  explicit frmPrincipal(QWidget* padre = nullptr);
  ~frmPrincipal() override;

  // Start-up: logo, brand text, working folder and character list; given a
  // font file, its folder and its name instead (ArchivoInicial.h). False,
  // after telling the user, when the folder is missing; the window must
  // then not be shown.
  bool Form_Load(const QString& archivo = {});

  QCheckBox* celda(int r, int c) const { return celdas_[glyph::GlyphGrid::indice(r, c)]; }
  glyph::GlyphGrid leerCeldas() const;
  void escribirCeldas(const glyph::GlyphGrid& dibujo);
  void cambiar(std::int16_t valor);
  // Puts a new drawing in the grid as one step that can be undone; a drawing
  // equal to the grid's is no step.
  void cambiarDibujo(const glyph::GlyphGrid& nuevo);
  QUndoStack* pasos() const { return pasos_; }

 public slots:
  void cmdBorrar_Click();
  void cmdLlenar_Click();
  void cmdArr_Click();
  void cmdAba_Click();
  void cmdIzq_Click();
  void cmdDer_Click();
  void cmdReflejoH_Click();
  void cmdReflejoV_Click();
  void cmdRotarIzq_Click();
  void cmdRotarDer_Click();
  void cmdCrear_Click();
  void cmdGrabar_Click();
  void cmdLeer_Click();
  void cmdAyuda_Click();
  void filArchivos_Click();
  void txtArch_LostFocus();
  void Copiar();
  void Pegar();
  void Invertir();

 private:
  void crearControles();
  QWidget* crearControl(const controles::Control& control);
  void crearCeldas(QWidget* marco, QList<std::pair<int, QWidget*>>& porTabulacion);
  void ordenarTabulacion(QList<std::pair<int, QWidget*>> porTabulacion);
  void crearAcciones(QWidget* menu);
  void celdaCambiada(int indice);
  void CargarLogo();
  void aplicar(glyph::GlyphGrid (*comando)(const glyph::GlyphGrid&));
  void alFocoCambiado(QWidget* antes, QWidget* ahora);
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void showEvent(QShowEvent* evento) override;
  QString caracterElegido() const;

  std::array<QCheckBox*, glyph::Celdas> celdas_{};
  QComboBox* cboCarac_ = nullptr;
  QLineEdit* txtArch_ = nullptr;
  ListaArchivos* filArchivos_ = nullptr;
  QLabel* imgTolvane_ = nullptr;
  QLabel* lblTolvane_ = nullptr;
  // Every change of the drawing, to be undone and redone. The file, the
  // character chosen and the name box are never part of a step.
  QUndoStack* pasos_ = nullptr;
  QList<QAction*> acciones_;
};
