#include "ReportListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "Layout.h"

namespace tarvine::qt {

ReportListView::ReportListView(ListView& list, UserActionRunner runner, QWidget* parent)
    : QTreeView(parent),
      list_(list),
      runner_(std::move(runner)),
      model_(new ReportListModel(list, this)) {
  setModel(model_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);  // the list sorts itself; the header only shows its key
  header()->setSectionsClickable(true);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  header()->setMinimumSectionSize(1);  // the layout has columns as narrow as 20 pixels
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  connect(header(), &QHeaderView::sectionClicked, this,
          [this](int section) { act([this, section] { list_.userColumnClick(section + 1); }); });
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    const auto position = static_cast<std::size_t>(index.row() + 1);
    act([this, position] { list_.userDoubleClick(position); });
  });
  connect(model_, &ReportListModel::checkToggleRequested, this, [this](int position) {
    act([this, position] { list_.userToggleCheck(static_cast<std::size_t>(position)); });
  });
  connect(model_, &ReportListModel::refreshed, this, &ReportListView::applyRefresh);
  applyRefresh(true, true, true);
}

std::size_t ReportListView::currentPosition() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? static_cast<std::size_t>(current.row() + 1) : 0;
}

void ReportListView::applyRefresh(bool rowsReset, bool columnsChanged, bool selectionChanged) {
  setEnabled(list_.enabled());
  // A model reset may give the header its default sizes back.
  if (rowsReset || columnsChanged) applyColumns();
  if (selectionChanged) applySelection();
}

void ReportListView::applyColumns() {
  const double dpi = logicalDpiX();
  const auto& columns = list_.columns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const int column = static_cast<int>(i);
    const int width = twipsToPixels(columns[i].width, dpi);
    setColumnHidden(column, width <= 0);
    if (width > 0 && columnWidth(column) != width) setColumnWidth(column, width);
  }
  header()->setSortIndicatorShown(list_.sorted());
  if (list_.sorted()) header()->setSortIndicator(list_.sortKey(), Qt::AscendingOrder);
}

void ReportListView::applySelection() {
  const std::optional<RowId> selected = list_.selected();
  if (!selected || model_->rowCount() == 0) {
    selectionModel()->clear();
    return;
  }
  const int row = static_cast<int>(list_.positionOf(*selected)) - 1;
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  if (currentIndex() != index || !selectionModel()->isRowSelected(row, {})) {
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
}

void ReportListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                 const QList<int>& roles) {
  // The model announces a change of every row at once (after a check, a total, a highlight); the
  // tree view would look at each row of that range to find which it shows, tens of milliseconds
  // for a large load. Rows are all one height and nothing is edited in place, so drawing the rows
  // shown again is all that such a change needs.
  if (topLeft.row() != bottomRight.row()) {
    viewport()->update();
    return;
  }
  QTreeView::dataChanged(topLeft, bottomRight, roles);
}

void ReportListView::keyPressEvent(QKeyEvent* event) {
  const std::size_t position = currentPosition();
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
      if (position != 0) act([this, position] { list_.userToggleCheck(position); });
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (position != 0) act([this, position] { list_.userDoubleClick(position); });
      event->accept();
      return;
    default:
      break;
  }
  QTreeView::keyPressEvent(event);
  // Moving to another row with the keyboard selects it, as a click does.
  const std::size_t now = currentPosition();
  if (now != 0 && now != position) act([this, now] { list_.userClick(now); });
}

void ReportListView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  QTreeView::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && index.isValid()) {
    const auto position = static_cast<std::size_t>(index.row() + 1);
    act([this, position] { list_.userClick(position); });
  }
}

}  // namespace tarvine::qt
