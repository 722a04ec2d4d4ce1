#pragma once
// The file list: the names of the font files of one folder, matched without
// regard to case and sorted the same way. It is read when its folder is set
// and when it is refreshed, never watched. Click runs when the user picks an
// entry, with the mouse or by moving the selection with the keyboard;
// reading the folder selects nothing and runs nothing.

#include <QListWidget>

class ListaArchivos : public QListWidget {
  Q_OBJECT

 public:
  explicit ListaArchivos(QWidget* padre = nullptr);

  QString carpeta() const { return carpeta_; }
  // False, and nothing changed, when the folder does not exist.
  bool setCarpeta(const QString& carpeta);
  void refrescar();
  QString seleccionado() const;

 signals:
  void Click();

 protected:
  bool event(QEvent* evento) override;
  void mousePressEvent(QMouseEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  QString carpeta_;
  bool leyendo_ = false;
  int filaAntesDelClic_ = -1;
};
