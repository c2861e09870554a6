#include "ReportListModel.h"

#include <QBrush>
#include <QColor>
#include <QPointer>

#include "Layout.h"

namespace tarvine::qt {
namespace {

Qt::Alignment qtAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Center:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// Row colours are kept as 0x00BBGGRR.
QColor qtColor(std::uint32_t color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace

ReportListModel::ReportListModel(ListView& list, QObject* parent)
    : QAbstractTableModel(parent),
      list_(list),
      shownRows_(static_cast<int>(list.rowCount())),
      shownColumns_(static_cast<int>(list.columns().size())) {
  timer_.setSingleShot(true);
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &ReportListModel::refresh);
  QPointer<ReportListModel> self(this);
  list_.listChanged.connect([self](ListChange what) {
    if (self) self->note(what);
  });
  list_.changed.connect([self] {
    if (self) self->noteWidget();
  });
}

void ReportListModel::note(ListChange what) {
  switch (what) {
    case ListChange::Rows:
      rows_ = true;
      break;
    case ListChange::Cells:
      cells_ = true;
      break;
    case ListChange::Columns:
      columns_ = true;
      break;
    case ListChange::Selection:
      selection_ = true;
      break;
    case ListChange::Sort:
      rows_ = true;
      columns_ = true;
      break;
  }
  schedule();
}

void ReportListModel::noteWidget() {
  widget_ = true;
  schedule();
}

void ReportListModel::schedule() {
  if (!timer_.isActive()) timer_.start();
}

void ReportListModel::refresh() {
  timer_.stop();
  const int rows = static_cast<int>(list_.rowCount());
  const int columns = static_cast<int>(list_.columns().size());
  const bool reset = rows_ || rows != shownRows_ || columns != shownColumns_;
  const bool columnsChanged = columns_ || columns != shownColumns_;
  const bool selectionChanged = selection_ || reset;
  const bool cells = cells_;
  rows_ = cells_ = columns_ = selection_ = widget_ = false;
  if (reset) {
    beginResetModel();
    shownRows_ = rows;
    shownColumns_ = columns;
    endResetModel();
  } else if (cells && rows > 0 && columns > 0) {
    Q_EMIT dataChanged(index(0, 0), index(rows - 1, columns - 1));
  }
  if (columnsChanged && columns > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns - 1);
  Q_EMIT refreshed(reset, columnsChanged, selectionChanged);
}

void ReportListModel::setHighlighted(std::unordered_set<std::string> orders) {
  highlighted_ = std::move(orders);
  if (shownRows_ > 0 && shownColumns_ > 0) {
    Q_EMIT dataChanged(index(0, 0), index(shownRows_ - 1, shownColumns_ - 1), {Qt::BackgroundRole});
  }
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownColumns_;
}

const ListRow* ReportListModel::rowAt(int row) const {
  // Between a change of the list and the next refresh the view may still ask for rows that are
  // gone; they read as empty.
  if (row < 0 || static_cast<std::size_t>(row) >= list_.rowCount()) return nullptr;
  return &list_.row(list_.order()[static_cast<std::size_t>(row)]);
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
  const int column = index.column();
  if (!index.isValid() || column < 0 || column >= static_cast<int>(list_.columns().size())) {
    return {};
  }
  const ListRow* row = rowAt(index.row());
  if (!row) return {};
  switch (role) {
    case Qt::DisplayRole:
      if (column == 0) return toQString(row->text);
      if (column <= ListRow::kSubItems)
        return toQString(row->sub[static_cast<std::size_t>(column - 1)]);
      return {};
    case Qt::CheckStateRole:
      if (column == 0) return row->checked ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ForegroundRole:
      if (row->color) return QBrush(qtColor(*row->color));
      return {};
    case Qt::BackgroundRole:
      if (highlighted_.contains(row->text)) return QBrush(QColor(255, 236, 153));
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(
          qtAlignment(list_.columns()[static_cast<std::size_t>(column)].alignment));
    default:
      return {};
  }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(list_.columns().size())) {
    return {};
  }
  const ColumnHeader& header = list_.columns()[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return toQString(header.caption);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(qtAlignment(header.alignment));
  return {};
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) result |= Qt::ItemIsUserCheckable;
  return result;
}

bool ReportListModel::setData(const QModelIndex& index, const QVariant&, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
      !rowAt(index.row())) {
    return false;
  }
  Q_EMIT checkToggleRequested(index.row() + 1);
  return true;
}

}  // namespace tarvine::qt
