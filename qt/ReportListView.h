#pragma once
// The Qt view of a headless report-style list view: column captions, widths and alignment from
// the list, the two hidden columns hidden, a check box in the first column, row colours and the
// sort key shown in the header once sorting is on. Mouse and keyboard become the list's user
// actions: a check box click or Space toggles the row's check box, a double-click or Enter
// opens the row, a header click asks to sort, a row click or moving the current row selects.

#include <QTreeView>

#include "ReportListModel.h"
#include "UserAction.h"

namespace tarvine::qt {

class ReportListView : public QTreeView {
  Q_OBJECT

 public:
  ReportListView(ListView& list, UserActionRunner runner, QWidget* parent = nullptr);

  ReportListModel& listModel() const { return *model_; }
  // The 1-based list position of the current row, or 0 for none.
  std::size_t currentPosition() const;

 protected:
  // A change over many rows draws the rows shown again (see the definition).
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles = QList<int>()) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void applyRefresh(bool rowsReset, bool columnsChanged, bool selectionChanged);
  void applyColumns();
  void applySelection();
  void act(const std::function<void()>& action) const { runner_.run(action); }

  ListView& list_;
  UserActionRunner runner_;
  ReportListModel* model_;
};

}  // namespace tarvine::qt
