// Service calls against slow and dead servers on loopback: the window keeps painting and
// resizing, refuses input, says what it waits for, cancels a read at once, never an update, and
// tells several failures alike in one box.

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>

#include "DemoData.h"
#include "DemoHost.h"
#include "FaultServer.h"
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

// What a poll saw while a call ran: the overlay's text and whether it offered Cancel.
struct Seen {
  int polls = 0;
  QString text;
  bool cancellable = false;
};

class WaitingTest : public ::testing::Test {
 protected:
  WaitingTest() {
    // A read that a broken Cancel does not end fails by this time limit instead, as a time-out.
    control.setTimeouts({1000ms, 20'000ms});
    tarvine::test::pointAtDemo(control, server->server());
    widget.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
  }

  // Runs action as a user action while a timer polls every 10 ms: onPoll(n) at each poll, and
  // onOverlay once when the overlay shows.
  Seen runPolling(const std::function<void()>& action, const std::function<void(int)>& onPoll,
                  const std::function<void(WaitOverlay&)>& onOverlay) {
    Seen seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      onPoll(++seen.polls);
      auto* overlay = widget.findChild<WaitOverlay*>(QString::fromLatin1(kWaitOverlayName));
      if (!overlay || !overlay->isVisible() || !seen.text.isEmpty()) return;
      seen.text = overlay->findChild<QLabel*>(QString::fromLatin1(kWaitTextName))->text();
      seen.cancellable = overlay->cancelButton() != nullptr;
      onOverlay(*overlay);
    });
    poll.start(10);
    widget.perform(action);
    return seen;
  }

  // Expects the next message box to say `text`, and presses OK.
  static void expectBox(ModalScript& script, const QString& text) {
    script.expect(kMessageBoxName, [text](QWidget& dialog) {
      auto& box = static_cast<QMessageBox&>(dialog);
      EXPECT_TRUE(box.text().startsWith(text)) << box.text().toStdString();
      box.button(QMessageBox::Ok)->click();
    });
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

TEST_F(WaitingTest, AReadKeepsTheWindowAliveRefusesInputAndCancelsAtOnce) {
  server->inject("GetOutgoingLoadCenterIDAndCenter", Fault::Silent);
  PaintCounter counter(widget);
  QWidget& list = *widget.widgetFor("lvwOrderIDs");
  const QSize grown = list.size() + QSize(120, 90);
  int cancelClicks = 0;
  control.widgets().cmdCancel.click.connect([&] { ++cancelClicks; });
  QSize listDuringCall;
  ModalScript script;
  expectBox(script, "4 requests to the route service failed: Cancelled by the user");
  script.start();
  const Seen seen = runPolling([&] { control.PutTarvineID(5001); },
                               [&](int poll) {
                                 if (poll != 1) return;
                                 widget.resize(widget.size() + QSize(120, 90));
                                 QTest::mouseClick(widget.widgetFor("cmdCancel"), Qt::LeftButton);
                               },
                               [&](WaitOverlay& overlay) {
                                 listDuringCall = list.size();
                                 QTest::mouseClick(overlay.cancelButton(), Qt::LeftButton);
                               });
  EXPECT_EQ(seen.text, "Loading the centers of load 5001\u2026");
  EXPECT_TRUE(seen.cancellable);
  EXPECT_EQ(listDuringCall, grown);
  EXPECT_GT(counter.paints, 0);
  EXPECT_EQ(cancelClicks, 0);
  EXPECT_TRUE(script.done());
  ASSERT_EQ(log.entries().size(), 4u);
  for (const std::string& entry : log.entries()) {
    EXPECT_NE(entry.find("Cancelled by the user"), std::string::npos) << entry;
  }

  server->clear();
  widget.perform([&] { control.PutTarvineID(5001); });
  EXPECT_GT(control.widgets().lvwOrderIDs.rowCount(), 10u);
  EXPECT_EQ(log.entries().size(), 4u);
}

TEST_F(WaitingTest, AnUpdateShowsTheWaitWithoutCancel) {
  widget.perform([&] { control.PutTarvineID(5001); });
  // The first row is P.O. 12-34567, off the load, with five segments.
  widget.perform([&] { control.widgets().lvwOrderIDs.userToggleCheck(1); });
  ASSERT_EQ(control.unsavedChanges().rows, 5u);
  server->setSlowDelay(1500ms);
  server->inject("UpdateOutgoingLoadOrder", Fault::Slow);
  ModalScript script;
  expectBox(script, "Outgoing load information has been updated successfully!!!");
  script.start();
  const Seen seen = runPolling([&] { control.widgets().cmdSave.userClick(); }, [](int) {},
                               [&](WaitOverlay&) { QTest::keyClick(&widget, Qt::Key_Escape); });
  EXPECT_EQ(seen.text, "Saving 5 changes\u2026");
  EXPECT_FALSE(seen.cancellable);
  EXPECT_TRUE(script.done());
  EXPECT_TRUE(log.entries().empty());
  EXPECT_EQ(control.unsavedChanges().rows, 0u);
}

}  // namespace
}  // namespace tarvine::qt::test
