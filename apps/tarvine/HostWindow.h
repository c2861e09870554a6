#pragma once
// The host window: a main window holding the picking widget, titled with the product name and
// the load, with a small bar to open another load by number and the server, facility and
// person in its status bar. File > Connect... switches to another route service, facility or
// person. Closing it tears the control down.

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

#include "ConnectionProfiles.h"
#include "HostTools.h"
#include "OrderPickWidget.h"
#include "QtDialogs.h"
#include "WindowRun.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"

class QLabel;
class QLineEdit;

namespace tarvine {
class OrderPick;
}

namespace tarvine::app {

// The product name, used as the window title and the default dialog title.
inline constexpr const char* kProductName = "TarvineOrderPick";

class HostWindow : public QMainWindow {
 public:
  // Creates the control and hands it server, facility and person. Unattended (for screenshots),
  // message boxes are written to stderr and answered with OK, input boxes are cancelled and
  // forms closed at once, so that nothing waits for a person. Throws std::invalid_argument when
  // the person id or type is not a 16-bit number.
  HostWindow(const HostOptions& options, bool unattended);
  ~HostWindow() override;

  // Shows a load (PutTarvineID) as a user action, once unsaved changes of the load shown are
  // saved or given up (the user may cancel: nothing happens then), and updates the title, the
  // load box and the status bar (an unknown load or a failed read is told there; a read the
  // user cancelled leaves the load shown before). True when the load was read without an error
  // report.
  bool openLoad(std::int32_t load);
  // File > Connect...: once unsaved changes are saved or given up, the Connect dialog; when the
  // user connects, a new control with that connection replaces the one shown.
  void chooseConnection();
  // The connection of the control shown; its name is empty when it came from the command line.
  const qt::ConnectionProfile& connection() const { return connection_; }
  // Draws the window as it stands and writes it as a PNG; false when the file cannot be written.
  bool saveScreenshot(const QString& path);

  // The control and its widget; null once the window was closed.
  OrderPick* control() const { return control_.get(); }
  qt::OrderPickWidget* pickWidget() const { return widget_; }
  // The dispatcher's tools of the window; null once the window was closed.
  HostTools* tools() const { return tools_.get(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildLoadBar();
  // The product, the load shown and the mark of unsaved work.
  void showTitle();
  // Creates the control, its widget and the tools for the connection. Throws as the constructor.
  void connectTo(const qt::ConnectionProfile& connection);
  void openTypedLoad();
  void tearDown();
  // In HostWindowGuards.cpp: the load box's number (1 to 32767), or nothing after telling the
  // user in the status bar what load numbers are; what the opened load turned out to be; the
  // window's size and place between runs.
  std::optional<std::int32_t> typedLoad();
  void tellOpenedLoad(std::int32_t load, int errorReports);
  void restorePlacement();
  void savePlacement() const;

  std::unique_ptr<EventLog> log_;
  qt::QtDialogs realDialogs_;
  RecordingDialogs unattendedDialogs_;
  std::unique_ptr<OrderPick> control_;
  QPointer<qt::OrderPickWidget> widget_;
  QLineEdit* loadBox_ = nullptr;
  std::unique_ptr<HostTools> tools_;
  QLabel* connectionLabel_ = nullptr;
  qt::ConnectionProfile connection_;
  std::optional<tools::TrailerLimits> limits_;
  bool unattended_ = false;
  int unattendedMessages_ = 0;  // message boxes answered unattended so far
  std::int32_t shownLoad_ = 0;  // the load the window shows, 0 before the first
};

}  // namespace tarvine::app
