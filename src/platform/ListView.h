#pragma once
// The headless list view in report style with a check box per row: column headers, rows with
// an item text and ten sub-items, check state, Tag, text colour, a selected row, and sorting by
// the text of one column.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Widget.h"

namespace tarvine {

enum class Alignment { Left, Right, Center };

struct ColumnHeader {
  std::string caption;
  double width = 0;  // twips; 0 hides the column
  Alignment alignment = Alignment::Left;
};

// A row's handle: stable from its addition until the list is cleared.
using RowId = std::uint32_t;

struct ListRow {
  static constexpr int kSubItems = 10;
  std::string text;
  std::array<std::string, kSubItems> sub;  // sub-items 1..10 at indexes 0..9
  bool checked = false;
  std::string tag;
  std::optional<std::uint32_t> color;  // 0x00BBGGRR; none = the list's default colour
};

// What a change notification is about, so that a viewer can redraw just enough.
enum class ListChange { Rows, Cells, Columns, Selection, Sort };

class ListView : public Widget {
 public:
  ListView(std::string name, std::string container, Rect rect)
      : Widget(WidgetKind::ListView, std::move(name), std::move(container), rect) {}

  // Columns, 1-based as the platform counts them.
  int addColumn(std::string caption, double width, Alignment alignment = Alignment::Left);
  const std::vector<ColumnHeader>& columns() const { return columns_; }
  void setColumnWidth(int column, double width);
  // The list's own width in twips.
  double width() const { return rect().width; }

  // Rows. Adding is O(1); while sorting is on, added rows take their sorted place the next time
  // the list order is read.
  RowId addRow(std::string text);
  // Adds a row with its texts, check state, Tag and colour in one change.
  RowId addRow(ListRow row);
  // Makes room for this many rows in all, so that a fill does not move rows it already added.
  void reserveRows(std::size_t rows);
  void clear();
  std::size_t rowCount() const { return rows_.size(); }
  const ListRow& row(RowId id) const { return rows_[id]; }
  // Sub-item k (1..10). Throws RuntimeError 35600 "Index out of bounds" for another k. The
  // reading and writing calls below throw the same error for a row id not in the list.
  const std::string& subItem(RowId id, int k) const;
  void setSubItem(RowId id, int k, std::string text);
  void setText(RowId id, std::string text);
  // Code changes the check state: raises nothing (only the user's click raises itemCheck).
  void setChecked(RowId id, bool checked);
  void setTag(RowId id, std::string tag);
  void setColor(RowId id, std::optional<std::uint32_t> color);

  // Rows in list order (sorted when sorting is on). Amortised O(1); a pending sort costs
  // O(n log n) once.
  const std::vector<RowId>& order() const;
  // The row at 1-based list position; throws RuntimeError 35600 "Index out of bounds".
  RowId rowAt(std::size_t position) const;
  // 1-based list position of a row.
  std::size_t positionOf(RowId id) const;

  std::optional<RowId> selected() const { return selected_; }
  void setSelected(std::optional<RowId> id);

  // Sort key: 0 sorts by the item text, n by sub-item n. Rows are ordered by the key text,
  // ascending, letter case ignored, stable. Setting the key or switching sorting on sorts the
  // list again (also to the same value); editing cells later does not move rows. A key outside
  // 0..10 throws RuntimeError 380 "Invalid property value".
  int sortKey() const { return sortKey_; }
  void setSortKey(int key);
  bool sorted() const { return sorted_; }
  void setSorted(bool on);

  // User actions (1-based positions and columns). Each changes the list, then raises its event.
  // Positions and columns out of range, and any action on a disabled list, are ignored.
  void userToggleCheck(std::size_t position);  // flips the check box, raises itemCheck
  void userClick(std::size_t position);        // selects the row, raises itemClick
  void userDoubleClick(std::size_t position);  // selects the row, raises dblClick
  void userColumnClick(int column);            // raises columnClick

  Signal<RowId> itemCheck;
  Signal<RowId> itemClick;
  Signal<> dblClick;
  Signal<int> columnClick;
  // Raised after every change, saying what changed; `changed` of Widget is raised too.
  Signal<ListChange> listChanged;

 private:
  void notify(ListChange what);
  // The row of that id; throws RuntimeError 35600 for an id not in the list.
  ListRow& rowRef(RowId id);
  const ListRow& rowRef(RowId id) const;
  bool sortsBefore(RowId a, RowId b) const;
  void resolveOrder() const;
  void placeNewRows() const;
  void renumber() const;

  std::vector<ColumnHeader> columns_;
  std::vector<ListRow> rows_;
  mutable std::vector<RowId> order_;
  mutable std::vector<std::uint32_t> positions_;  // RowId -> 0-based position
  mutable bool orderDirty_ = false;
  std::optional<RowId> selected_;
  int sortKey_ = 0;
  bool sorted_ = false;
};

}  // namespace tarvine
