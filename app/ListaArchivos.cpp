#include "ListaArchivos.h"

#include <QDir>
#include <QDirIterator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>
#include <vector>

ListaArchivos::ListaArchivos(QWidget* padre) : QListWidget(padre), carpeta_(QDir::currentPath()) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Thousands of names are measured a batch at a time between events, so
  // that the window shows at once and the rest of the list follows.
  setLayoutMode(QListView::Batched);
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
  // The names are matched and sorted here rather than by QDir, which would
  // compile a pattern for "*.mtz" at every start-up and keep a file
  // information object per name to sort them: a folder of thousands of
  // fonts is read at once, in little memory. Names are compared in lower
  // case; names equal in lower case keep a fixed order among themselves.
  std::vector<std::pair<QString, QString>> porClave;
  QDirIterator entradas(carpeta_, QDir::Files | QDir::Hidden | QDir::System);
  while (entradas.hasNext()) {
    entradas.next();
    QString nombre = entradas.fileName();
    if (nombre.endsWith(QLatin1String(".mtz"), Qt::CaseInsensitive)) {
      porClave.emplace_back(nombre.toLower(), std::move(nombre));
    }
  }
  std::sort(porClave.begin(), porClave.end());
  QStringList nombres;
  nombres.reserve(qsizetype(porClave.size()));
  for (auto& [clave, nombre] : porClave) nombres.append(std::move(nombre));
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

bool ListaArchivos::event(QEvent* evento) {
  // The names are measured and laid out when the list is first painted, as
  // the item views do anyway, and not already when it is shown: they are
  // the first text the window measures, and the window shows sooner without
  // it. So the item view's own handling of Show, which lays them out and
  // scrolls to the current entry, is passed over: the first paint lays
  // them out, and the list never has a current entry when it is shown.
  if (evento->type() == QEvent::Show) {
    return QAbstractScrollArea::event(evento);  // NOLINT(bugprone-parent-virtual-call)
  }
  return QListWidget::event(evento);
}

void ListaArchivos::mousePressEvent(QMouseEvent* evento) {
  const QListWidgetItem* item = currentItem();
  filaAntesDelClic_ = item != nullptr && item->isSelected() ? currentRow() : -1;
  QListWidget::mousePressEvent(evento);
}

// Taking the focus gives the list a current entry without choosing it, and
// Down would go on to the entry below: the first Down chooses that entry.
void ListaArchivos::keyPressEvent(QKeyEvent* evento) {
  if (evento->key() == Qt::Key_Down && evento->modifiers() == Qt::NoModifier && currentItem() != nullptr &&
      selectedItems().isEmpty()) {
    setCurrentRow(currentRow(), QItemSelectionModel::ClearAndSelect);
    return;
  }
  QListWidget::keyPressEvent(evento);
}
