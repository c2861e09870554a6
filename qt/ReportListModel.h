#pragma once
// A Qt table model over a headless report-style list view: one row per list row in list order,
// one column per list column, with check boxes, row colours and column alignment. No widget
// item is made per row, so large lists open and scroll quickly.

#include <QAbstractTableModel>
#include <QTimer>
#include <string>
#include <unordered_set>

#include "platform/ListView.h"

namespace tarvine::qt {

class ReportListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Follows the list until either is destroyed; the list must outlive the model's use.
  explicit ReportListModel(ListView& list, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A check box change of the first column is passed on as checkToggleRequested; the list
  // itself changes only through the user action. Other roles are refused.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Applies the list's changes since the last refresh at once: a model reset when rows were
  // added, removed or reordered, else one dataChanged over every cell. The list raises a change
  // per cell, hundreds of thousands during a large fill; they are gathered and applied on the
  // next turn of the event loop, or here.
  void refresh();
  // True when changes of the list wait for refresh().
  bool pending() const { return rows_ || cells_ || columns_ || selection_ || widget_; }
  ListView& list() const { return list_; }
  // Draws the rows of these P.O.s on a highlight background (a proposal being shown); empty for
  // none.
  void setHighlighted(std::unordered_set<std::string> orders);

 Q_SIGNALS:
  // The user clicked the check box of the row at this 1-based list position.
  void checkToggleRequested(int position);
  // A refresh was applied: whether the rows were reset, the columns (captions, widths, sort)
  // and the list's selection may have changed.
  void refreshed(bool rowsReset, bool columnsChanged, bool selectionChanged);

 private:
  void note(ListChange what);
  void noteWidget();
  void schedule();
  const ListRow* rowAt(int row) const;

  ListView& list_;
  QTimer timer_;
  int shownRows_ = 0;
  int shownColumns_ = 0;
  bool rows_ = false;
  bool cells_ = false;
  bool columns_ = false;
  bool selection_ = false;
  bool widget_ = false;
  std::unordered_set<std::string> highlighted_;
};

}  // namespace tarvine::qt
