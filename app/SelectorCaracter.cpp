#include "SelectorCaracter.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QListView>
#include <QProxyStyle>

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

// Some styles open a list as a menu of all its entries over the box; this
// one drops it below the box, as many entries high as the list allows.
class EstiloDeLista : public QProxyStyle {
 public:
  int styleHint(StyleHint pista, const QStyleOption* opcion, const QWidget* control,
                QStyleHintReturn* devuelto) const override {
    if (pista == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(pista, opcion, control, devuelto);
  }
};

// On this platform the toolkit names a list by the entry chosen, and the
// list's own name is lost once an entry is picked.
class SelectorAccesible : public QAccessibleWidget {
 public:
  explicit SelectorAccesible(QComboBox* lista) : QAccessibleWidget(lista, QAccessible::ComboBox) {}
  QString text(QAccessible::Text que) const override {
    const auto* lista = static_cast<const QComboBox*>(widget());
    if (que == QAccessible::Value) return lista->currentIndex() < 0 ? QString() : lista->currentText();
    return QAccessibleWidget::text(que);
  }
  QStringList actionNames() const override {
    return QAccessibleWidget::actionNames() << QAccessibleActionInterface::showMenuAction();
  }
  void doAction(const QString& accion) override {
    if (accion == QAccessibleActionInterface::showMenuAction()) {
      static_cast<QComboBox*>(widget())->showPopup();
      return;
    }
    QAccessibleWidget::doAction(accion);
  }
};

QAccessibleInterface* fabricaAccesible(const QString&, QObject* objeto) {
  auto* lista = dynamic_cast<SelectorCaracter*>(objeto);
  return lista != nullptr ? new SelectorAccesible(lista) : nullptr;
}

}  // namespace

SelectorCaracter::SelectorCaracter(QWidget* padre) : QComboBox(padre) {
  static const bool fabricaInstalada = (QAccessible::installFactory(fabricaAccesible), true);
  (void)fabricaInstalada;
  QFont letra = font();
  letra.setPixelSize(PixelesDeLaLetra);
  setFont(letra);
  setMaxVisibleItems(EntradasALaVista);
}

void SelectorCaracter::showPopup() {
  if (!listaHecha_) {
    listaHecha_ = true;
    auto* estilo = new EstiloDeLista;
    estilo->setParent(this);
    setStyle(estilo);
    setView(new VistaCaracteres(this));
    view()->window()->setFont(font());
  }
  QComboBox::showPopup();
}

// The toolkit's list makes its open list on a change of font, to give it
// the font too; here that waits until the list is first opened.
void SelectorCaracter::changeEvent(QEvent* evento) {
  if (evento->type() == QEvent::FontChange && !listaHecha_) {
    QWidget::changeEvent(evento);  // NOLINT(bugprone-parent-virtual-call)
    return;
  }
  QComboBox::changeEvent(evento);
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
