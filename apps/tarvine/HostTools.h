#pragma once
// The dispatcher's tools in the host window: the "P.O." box with "Pick on scan" in a bar of its
// own (Ctrl+F), the trailer's gauges in a bar beside the control when limits are given, and
// File > Export load sheet (CSV, PDF) and Print (Ctrl+P). The sheet is the load as the route
// service holds it; with changes on screen unsaved, the tools first ask "Save and print",
// "Print the saved load" (the default) or "Cancel". "Fill trailer…" (Ctrl+L, a button in the P.O.
// bar and an entry in the Tools menu) is enabled while limits are set.

#include <QObject>
#include <QPointer>
#include <optional>
#include <vector>

#include "CapacityGauges.h"
#include "OrderFindBox.h"
#include "OrderPickWidget.h"
#include "tools/LoadFill.h"
#include "tools/LoadSheet.h"
#include "tools/TrailerCapacity.h"

class QMainWindow;
class QToolBar;

namespace tarvine::app {

class HostTools : public QObject {
 public:
  // Adds the tools to the window. The control and its view must outlive this object.
  HostTools(QMainWindow& window, OrderPick& control, qt::OrderPickWidget& view,
            const std::optional<tools::TrailerLimits>& limits);
  // Takes the tools' bars, shortcut and menu entries out of the window again.
  ~HostTools() override;

  tools::TrailerCapacity& capacity() { return capacity_; }
  // The gauges, null without limits.
  qt::CapacityGauges* gauges() const { return gauges_; }
  // The sheet of the load, printed now, once unsaved changes are saved or left out as the user
  // chooses; nothing when the user cancelled or there is no sheet (the status bar says why).
  std::optional<tools::LoadSheet> sheet();

 private:
  void addFileMenu();
  // "Fill trailer…": into bar and the Tools menu.
  void addFillTrailer(QToolBar& bar);
  void exportCsv();
  void exportPdf();
  void print();
  // A file name chosen in a save dialog, or empty when cancelled.
  QString chooseFile(const QString& title, const QString& suffix, const QString& filter);
  void tell(const QString& text);

  QMainWindow& window_;
  OrderPick& control_;
  QPointer<qt::OrderPickWidget> view_;
  tools::TrailerCapacity capacity_;
  tools::LoadFill fill_;
  qt::OrderFindBox* findBox_ = nullptr;
  qt::CapacityGauges* gauges_ = nullptr;
  // What the tools added to the window, removed with them (the window may have gone first).
  std::vector<QPointer<QObject>> added_;
};

}  // namespace tarvine::app
