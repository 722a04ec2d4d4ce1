#include "SelectorCaracter.h"

#include <QKeyEvent>
#include <QListView>

namespace {

int entradaExacta(const QComboBox& lista, const QString& texto) {
  return texto.size() == 1 ? lista.findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
}

// The open list searches the same way.
class VistaCaracteres : public QListView {
 public:
  explicit VistaCaracteres(QComboBox* lista) : lista_(lista) {}
  void keyboardSearch(const QString& busqueda) override {
    const int fila = entradaExacta(*lista_, busqueda.right(1));
    if (fila < 0) return QListView::keyboardSearch(busqueda);
    setCurrentIndex(model()->index(fila, 0, rootIndex()));
  }

 private:
  QComboBox* lista_;
};

}  // namespace

SelectorCaracter::SelectorCaracter(QWidget* padre) : QComboBox(padre) {}

void SelectorCaracter::showPopup() {
  if (dynamic_cast<VistaCaracteres*>(view()) == nullptr) setView(new VistaCaracteres(this));
  QComboBox::showPopup();
}

void SelectorCaracter::keyPressEvent(QKeyEvent* evento) {
  const int fila = entradaExacta(*this, evento->text());
  if (fila < 0 || (evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    QComboBox::keyPressEvent(evento);
    return;
  }
  setCurrentIndex(fila);
  evento->accept();
}
