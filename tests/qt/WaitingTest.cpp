// Service calls against slow and dead servers on loopback: the window keeps painting and
// resizing, refuses input, says what it waits for, cancels a read at once, never an update, and
// tells several failures alike in one box. What each call shows, its dialogs, its log entries and
// the load afterwards are compared with tests/golden/qt/waiting-*.txt.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>
#include <utility>

#include "DemoData.h"
#include "DemoHost.h"
#include "FaultServer.h"
#include "Golden.h"
#include "QtTestSupport.h"
#include "WaitOverlay.h"

namespace tarvine::qt::test {
namespace {

using namespace std::chrono_literals;
using tarvine::test::Fault;

// Counts the paint events of a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct WaitCase {
  const char* name;
  const char* operation;  // the route service operation that is slow or silent
  Fault fault;
  bool save;  // saves a picked P.O. instead of opening the load
};

class WaitingTest : public ::testing::TestWithParam<WaitCase> {
 protected:
  WaitingTest() {
    // A read that a broken Cancel does not end fails by this time limit instead, as a time-out.
    control.setTimeouts({1000ms, 20'000ms});
    tarvine::test::pointAtDemo(control, server->server());
    widget.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
  }

  TempDir dir;
  std::string dbPath = (dir.path() / "demo.db").string();
  std::unique_ptr<tarvine::test::FaultServer> server =
      std::make_unique<tarvine::test::FaultServer>((serve::openDemoDatabase(dbPath), dbPath));
  QtDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
  OrderPickWidget widget{control};
};

// While the call waits, the first poll grows the window and clicks the form's Cancel (refused);
// once the wait shows, its Cancel is clicked, or Escape pressed when it offers none.
TEST_P(WaitingTest, KeepsTheWindowAliveRefusesInputAndCancelsOnlyARead) {
  const WaitCase& c = GetParam();
  if (c.save) {
    widget.perform([&] { control.PutTarvineID(5001); });
    // The first row is P.O. 12-34567, off the load, with five segments.
    widget.perform([&] { control.widgets().lvwOrderIDs.userToggleCheck(1); });
  }
  server->setSlowDelay(1500ms);
  server->inject(c.operation, c.fault);
  PaintCounter counter(widget);
  int cancelClicks = 0;
  control.widgets().cmdCancel.click.connect([&] { ++cancelClicks; });
  ModalScript script;
  script.answer("Ok");
  script.start();
  int polls = 0;
  bool shown = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (++polls == 1) {
      widget.resize(widget.size() + QSize(120, 90));
      QTest::mouseClick(widget.widgetFor("cmdCancel"), Qt::LeftButton);
    }
    auto* overlay = widget.findChild<WaitOverlay*>(QString::fromLatin1(kWaitOverlayName));
    if (!overlay || !overlay->isVisible() || std::exchange(shown, true)) return;
    script.note("waiting: " + overlay->findChild<QLabel*>(kWaitTextName)->text().toStdString() +
                (overlay->cancelButton() ? ", with Cancel" : "") + ", list " +
                toText(widget.widgetFor("lvwOrderIDs")->size()));
    if (overlay->cancelButton()) QTest::mouseClick(overlay->cancelButton(), Qt::LeftButton);
    if (!overlay->cancelButton()) QTest::keyClick(&widget, Qt::Key_Escape);
  });
  poll.start(10);
  widget.perform([&] {
    if (c.save) control.widgets().cmdSave.userClick();
    if (!c.save) control.PutTarvineID(5001);
  });
  EXPECT_GT(counter.paints, 0);
  script.note("unsaved " + std::to_string(control.unsavedChanges().rows) + ", form's Cancel ran " +
              std::to_string(cancelClicks) + " times");
  for (const std::string& entry : log.entries()) script.note("log: " + entry);
  // The service well again, the load opens as before.
  server->clear();
  widget.perform([&] { control.PutTarvineID(5001); });
  script.note("opened again: " + std::to_string(control.widgets().lvwOrderIDs.rowCount()) +
              " rows, " + std::to_string(log.entries().size()) + " log entries");
  std::string seen = script.transcript();
  for (std::size_t at; (at = seen.find(server->server())) != std::string::npos;) {
    seen.replace(at, server->server().size(), "SERVER");
  }
  tarvine::test::expectGolden(seen, std::string("qt/waiting-") + c.name + ".txt");
}

INSTANTIATE_TEST_SUITE_P(
    Calls, WaitingTest,
    ::testing::Values(WaitCase{"ReadCancelled", "GetOutgoingLoadCenterIDAndCenter", Fault::Silent,
                               false},
                      WaitCase{"SlowUpdate", "UpdateOutgoingLoadOrder", Fault::Slow, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvine::qt::test
