#include "ListaArchivos.h"

#include <QDir>
#include <QMouseEvent>

ListaArchivos::ListaArchivos(QWidget* padre) : QListWidget(padre), carpeta_(QDir::currentPath()) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (!leyendo_ && !selectedItems().isEmpty()) emit Click();
  });
  // A click on the entry that is already selected changes no selection.
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (row(item) == filaAntesDelClic_ && item->isSelected()) emit Click();
  });
}

bool ListaArchivos::setCarpeta(const QString& carpeta) {
  if (!QDir(carpeta).exists()) return false;
  carpeta_ = carpeta;
  refrescar();
  return true;
}

void ListaArchivos::refrescar() {
  QDir dir(carpeta_);
  const QStringList nombres = dir.entryList({QStringLiteral("*.mtz")}, QDir::Files | QDir::Hidden | QDir::System,
                                            QDir::Name | QDir::IgnoreCase);
  leyendo_ = true;
  clear();
  addItems(nombres);
  setCurrentRow(-1, QItemSelectionModel::Clear);
  leyendo_ = false;
}

QString ListaArchivos::seleccionado() const {
  const QList<QListWidgetItem*> elegidos = selectedItems();
  return elegidos.isEmpty() ? QString() : elegidos.first()->text();
}

void ListaArchivos::mousePressEvent(QMouseEvent* evento) {
  const QListWidgetItem* item = currentItem();
  filaAntesDelClic_ = item != nullptr && item->isSelected() ? currentRow() : -1;
  QListWidget::mousePressEvent(evento);
}
