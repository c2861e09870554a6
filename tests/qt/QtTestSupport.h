// Shared by the Qt tests: a QApplication on the offscreen platform, the reference route service
// with the demo data on 127.0.0.1, a script that answers modal dialogs, and helpers that click
// where a user would.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "DemoRouteService.h"
#include "OrderPickWidget.h"
#include "QtDialogs.h"
#include "TemporaryFolder.h"
#include "control/TarvineOrderPick.h"
#include "platform/EventLog.h"

class QTreeView;

namespace tarvine::qt::test {

using TempDir = tarvine::test::TemporaryFolder;
using DemoService = tarvine::test::DemoRouteService;

// Answers the modal dialogs that the code under test opens, in order: each step names the
// object name of the dialog it expects and acts on it (types, clicks, accepts, closes). It polls
// on a short timer, which also runs inside the dialogs' own event loops. A dialog it does not
// expect, or one that never comes, fails the test after a bounded number of polls; every open
// dialog is then rejected so that a broken test ends instead of hanging.
class ModalScript : public QObject {
 public:
  using Step = std::function<void(QWidget& dialog)>;
  ModalScript();
  ~ModalScript() override;
  // Adds a step for the next dialog, which must carry this object name.
  void expect(const char* objectName, Step step);
  // Starts answering; call before the action that opens the first dialog.
  void start();
  // True when every step has run.
  bool done() const { return steps_.empty(); }

 private:
  void poll();
  void finish();
  void giveUp(const std::string& why);

  struct Entry {
    std::string name;
    Step step;
  };
  std::deque<Entry> steps_;
  bool active_ = false;
  int pollsLeft_ = 0;
  int strangerPolls_ = 0;
};

// True while some ModalScript is answering dialogs.
bool modalScriptRunning();

// Lets queued events (list refreshes, repaints) run.
void drainEvents();

// The child widget of that object name and type; fails the test when missing.
template <typename W>
W* child(QWidget& parent, const char* name) {
  W* found = parent.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << "no " << name;
  return found;
}

// A control with real dialogs and its widget, shown and opened on load 5001 of a demo route
// service that the test suite shares.
class DemoWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { service_ = new DemoService; }
  static void TearDownTestSuite() {
    delete service_;
    service_ = nullptr;
  }
  DemoWindowTest();

  static DemoService* service_;
  QtDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
  std::unique_ptr<OrderPickWidget> widget;
};

// Runs a shell command line and gives its exit status (-1 when it did not exit) and what it
// printed on both streams.
std::pair<int, std::string> runCommand(const std::string& line);

// Where a user clicks to toggle the check box of a row, in the view's viewport.
QPoint checkBoxCenter(QTreeView& view, int row);
// Where a user clicks on a row's text in a column, in the view's viewport.
QPoint cellCenter(QTreeView& view, int row, int column);
// Where a user clicks on a column header, in the header's viewport.
QPoint headerCenter(QTreeView& view, int column);

}  // namespace tarvine::qt::test
