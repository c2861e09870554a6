#include "platform/ListView.h"

#include <algorithm>
#include <numeric>

#include "platform/HugePages.h"
#include "platform/Text.h"
#include "platform/WidgetErrors.h"

namespace tarvine {

namespace {

unsigned char foldCase(char c) {
  return static_cast<unsigned char>(text::lowerAscii(c));
}

// True when a comes before b in text order, ASCII letters compared without their case.
bool lessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return foldCase(x) < foldCase(y); });
}

const std::string& sortText(const ListRow& row, int key) {
  return key == 0 ? row.text : row.sub[static_cast<std::size_t>(key - 1)];
}

void checkSubItem(int k) {
  if (k < 1 || k > ListRow::kSubItems) throw indexOutOfBoundsError();
}

}  // namespace

int ListView::addColumn(std::string caption, double width, Alignment alignment) {
  columns_.push_back(ColumnHeader{std::move(caption), width, alignment});
  notify(ListChange::Columns);
  return static_cast<int>(columns_.size());
}

void ListView::setColumnWidth(int column, double width) {
  if (column < 1 || column > static_cast<int>(columns_.size())) throw indexOutOfBoundsError();
  double& current = columns_[static_cast<std::size_t>(column - 1)].width;
  if (current == width) return;
  current = width;
  notify(ListChange::Columns);
}

RowId ListView::addRow(std::string text) {
  ListRow row;
  row.text = std::move(text);
  return addRow(std::move(row));
}

RowId ListView::addRow(ListRow row) {
  const auto id = static_cast<RowId>(rows_.size());
  rows_.push_back(std::move(row));
  // Unsorted rows go to the end at once; sorted ones are placed when the order is next read.
  if (!sorted_ && !orderDirty_) {
    positions_.push_back(static_cast<std::uint32_t>(order_.size()));
    order_.push_back(id);
  }
  notify(ListChange::Rows);
  return id;
}

void ListView::reserveRows(std::size_t rows) {
  reserveOnHugePages(rows_, rows);
  if (!sorted_ && !orderDirty_) {
    order_.reserve(rows);
    positions_.reserve(rows);
  }
}

void ListView::clear() {
  rows_.clear();
  order_.clear();
  positions_.clear();
  orderDirty_ = false;
  selected_.reset();
  notify(ListChange::Rows);
}

const std::string& ListView::subItem(RowId id, int k) const {
  checkSubItem(k);
  return rowRef(id).sub[static_cast<std::size_t>(k - 1)];
}

void ListView::setSubItem(RowId id, int k, std::string text) {
  checkSubItem(k);
  std::string& cell = rowRef(id).sub[static_cast<std::size_t>(k - 1)];
  if (cell == text) return;
  cell = std::move(text);
  notify(ListChange::Cells);
}

void ListView::setText(RowId id, std::string text) {
  std::string& cell = rowRef(id).text;
  if (cell == text) return;
  cell = std::move(text);
  notify(ListChange::Cells);
}

void ListView::setChecked(RowId id, bool checked) {
  bool& current = rowRef(id).checked;
  if (current == checked) return;
  current = checked;
  notify(ListChange::Cells);
}

void ListView::setTag(RowId id, std::string tag) {
  std::string& current = rowRef(id).tag;
  if (current == tag) return;
  current = std::move(tag);
  notify(ListChange::Cells);
}

void ListView::setColor(RowId id, std::optional<std::uint32_t> color) {
  auto& current = rowRef(id).color;
  if (current == color) return;
  current = color;
  notify(ListChange::Cells);
}

const std::vector<RowId>& ListView::order() const {
  resolveOrder();
  return order_;
}

RowId ListView::rowAt(std::size_t position) const {
  if (position < 1 || position > rows_.size()) throw indexOutOfBoundsError();
  return order()[position - 1];
}

std::size_t ListView::positionOf(RowId id) const {
  rowRef(id);
  resolveOrder();
  return positions_[id] + 1;
}

void ListView::setSelected(std::optional<RowId> id) {
  if (id) rowRef(*id);
  if (id == selected_) return;
  selected_ = id;
  notify(ListChange::Selection);
}

void ListView::setSortKey(int key) {
  if (key < 0 || key > ListRow::kSubItems) throw invalidPropertyValueError();
  if (key == sortKey_ && !sorted_) return;
  sortKey_ = key;
  // Setting the key of a sorted list sorts it again, also when the key stays the same.
  if (sorted_) orderDirty_ = true;
  notify(ListChange::Sort);
}

void ListView::setSorted(bool on) {
  if (!on && !sorted_) return;
  // Switching sorting on sorts the list again, also when it was already on.
  sorted_ = on;
  orderDirty_ = true;
  notify(ListChange::Sort);
}

void ListView::userToggleCheck(std::size_t position) {
  if (!enabled() || position < 1 || position > rows_.size()) return;
  const RowId id = rowAt(position);
  rows_[id].checked = !rows_[id].checked;
  notify(ListChange::Cells);
  itemCheck.emit(id);
}

void ListView::userClick(std::size_t position) {
  if (!enabled() || position < 1 || position > rows_.size()) return;
  const RowId id = rowAt(position);
  setSelected(id);
  itemClick.emit(id);
}

void ListView::userDoubleClick(std::size_t position) {
  if (!enabled() || position < 1 || position > rows_.size()) return;
  setSelected(rowAt(position));
  dblClick.emit();
}

void ListView::userColumnClick(int column) {
  if (!enabled() || column < 1 || column > static_cast<int>(columns_.size())) return;
  columnClick.emit(column);
}

void ListView::notify(ListChange what) {
  listChanged.emit(what);
  changed.emit();
}

ListRow& ListView::rowRef(RowId id) {
  if (id >= rows_.size()) throw indexOutOfBoundsError();
  return rows_[id];
}

const ListRow& ListView::rowRef(RowId id) const {
  if (id >= rows_.size()) throw indexOutOfBoundsError();
  return rows_[id];
}

bool ListView::sortsBefore(RowId a, RowId b) const {
  return lessIgnoringCase(sortText(rows_[a], sortKey_), sortText(rows_[b], sortKey_));
}

void ListView::resolveOrder() const {
  if (orderDirty_) {
    order_.resize(rows_.size());
    std::iota(order_.begin(), order_.end(), RowId{0});
    if (sorted_) {
      std::stable_sort(order_.begin(), order_.end(),
                       [this](RowId a, RowId b) { return sortsBefore(a, b); });
    }
    orderDirty_ = false;
    renumber();
  } else if (order_.size() < rows_.size()) {
    placeNewRows();
  }
}

void ListView::placeNewRows() const {
  // Rows not yet placed are the newest ones. Each goes after the placed rows found before it by
  // a binary search, as the platform list inserts into a sorted list; placed rows keep their
  // order even when their texts changed since the last sort. For added rows in sorted order the
  // places found never decrease, so one pass builds the new order.
  std::vector<RowId> added(rows_.size() - order_.size());
  std::iota(added.begin(), added.end(), static_cast<RowId>(order_.size()));
  std::stable_sort(added.begin(), added.end(),
                   [this](RowId a, RowId b) { return sortsBefore(a, b); });
  const auto placeOf = [this](RowId row) {
    std::size_t low = 0, high = order_.size();
    while (low < high) {
      const std::size_t middle = low + (high - low) / 2;
      if (sortsBefore(row, order_[middle])) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return low;
  };
  std::vector<RowId> merged;
  merged.reserve(rows_.size());
  std::size_t copied = 0;
  for (RowId row : added) {
    const std::size_t place = std::max(placeOf(row), copied);
    merged.insert(merged.end(), order_.begin() + static_cast<std::ptrdiff_t>(copied),
                  order_.begin() + static_cast<std::ptrdiff_t>(place));
    copied = place;
    merged.push_back(row);
  }
  merged.insert(merged.end(), order_.begin() + static_cast<std::ptrdiff_t>(copied), order_.end());
  order_.swap(merged);
  renumber();
}

void ListView::renumber() const {
  positions_.resize(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) {
    positions_[order_[i]] = static_cast<std::uint32_t>(i);
  }
}

}  // namespace tarvine
