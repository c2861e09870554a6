// The host window on the demo load as a dispatcher uses it: the widget drawn at its layout, and
// a user's steps (clicks, keys, the load box, the dialogs they open) each with the dialogs, the
// state after each step and the window it leaves compared with tests/golden/qt/window-*.txt.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QtTest/QTest>
#include <cctype>
#include <chrono>
#include <fstream>
#include <sstream>

#include "CaseName.h"
#include "ConnectionProfiles.h"
#include "DemoData.h"
#include "FaultServer.h"
#include "Golden.h"
#include "HostWindow.h"
#include "QtTestSupport.h"
#include "ReportListView.h"
#include "TestText.h"
#include "WaitOverlay.h"
#include "WindowWaiting.h"
#include "platform/Text.h"

namespace tarvine::qt::test {
namespace {

using namespace std::chrono_literals;
using tarvine::test::Fault;

// Where a user clicks to toggle the check box of a row, in the view's viewport.
QPoint checkBoxCenter(QTreeView& view, int row) {
  QStyleOptionViewItem option;
  option.initFrom(&view);
  option.rect = view.visualRect(view.model()->index(row, 0));
  option.features |= QStyleOptionViewItem::HasCheckIndicator;
  option.widget = &view;
  return view.style()
      ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view)
      .center();
}

class WindowTest : public QObject, public ::testing::Test {
 protected:
  WindowTest() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.path().string()));
    qputenv("TARVINE_EVENT_LOG", QByteArray::fromStdString((dir.path() / "events.log").string()));
    window = open();
    window->openLoad(5001);
    // The astray form follows the user's focus.
    script.afterTab = [this] { return '/' + control().astrayForm()->screen().focus(); };
  }

  std::unique_ptr<app::HostWindow> open() {
    app::HostOptions options;
    options.server = server.server();
    options.facility = "DEMO";
    options.personId = "7";
    options.personType = "2";
    auto shown = std::make_unique<app::HostWindow>(options, false);
    shown->show();
    shown->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(shown.get()));
    return shown;
  }
  OrderPickWidget& widget() { return *window->pickWidget(); }
  OrderPick& control() { return *window->control(); }
  ListView& list() { return control().widgets().lvwOrderIDs; }
  ReportListView& view() { return *child<ReportListView>(widget(), "lvwOrderIDs"); }
  std::string placeOf(const char* name) {
    return std::string(", ") + name + ' ' + toText(widget().widgetFor(name)->geometry());
  }
  void perform(const std::string& step);
  void watchTheWait();
  // Counts the pick widget's paints.
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
  std::string state();
  std::string drawn();

  TempDir dir;
  std::string dbPath = (dir.path() / "demo.db").string();
  tarvine::test::FaultServer server{(serve::openDemoDatabase(dbPath), dbPath)};
  std::unique_ptr<app::HostWindow> window;
  QTimer poll;  // watches a service call that a step waits for
  bool waited = false;
  int paints = 0, cancelClicks = 0;
  QWidget* keys = nullptr;  // where key:K goes; the list when null
  ModalScript script;
};

// A user's step: check:N, row:N and double:N click the check box or the text (once or twice) of
// list row N; header:N clicks column header N; click:W clicks widget W; focus:W gives W the keys;
// key:K presses key K; load:N types N into the load box and presses Enter; picks:N picks P.O.s
// off the load until N are; change:N changes row N's freight; limits:N sets the trailer's weight
// and cube limits to N; open opens load 5001 again; dead points the control at a dead server;
// close closes the window; slow:OP and silent:OP make the route service's operation OP slow or
// silent and watch the next call; clear ends that.
void WindowTest::perform(const std::string& step) {
  const std::string verb = step.substr(0, step.find(':'));
  const std::string what = step.substr(std::min(step.size(), verb.size() + 1));
  const int number = std::isdigit(what[0]) ? std::stoi(what) : 1, row = number - 1;
  QWidget* port = view().viewport();
  const QPoint cell = view().visualRect(view().model()->index(row, 2)).center();
  if (verb == "check") QTest::mouseClick(port, Qt::LeftButton, {}, checkBoxCenter(view(), row));
  if (verb == "row") QTest::mouseClick(port, Qt::LeftButton, {}, cell);
  if (verb == "double") {
    // What a user's double-click sends: press, release, double-click, release.
    QTest::mouseClick(port, Qt::LeftButton, {}, cell);
    QTest::mouseDClick(port, Qt::LeftButton, {}, cell);
    QTest::mouseRelease(port, Qt::LeftButton, {}, cell);
  }
  if (verb == "header") {
    QHeaderView& header = *view().header();
    QTest::mouseClick(
        header.viewport(), Qt::LeftButton, {},
        QPoint(header.sectionViewportPosition(number) + header.sectionSize(number) / 2,
               header.height() / 2));
  }
  if (verb == "click") QTest::mouseClick(widget().widgetFor(what), Qt::LeftButton);
  if (verb == "focus") (keys = widget().widgetFor(what))->setFocus();
  if (verb == "key") {
    QTest::keySequence(keys ? keys : &view(), QKeySequence(QString::fromStdString(what)));
  }
  if (verb == "load") {
    auto* box = child<QLineEdit>(*window, "loadBox");
    box->clear();
    QTest::keyClicks(box, QString::fromStdString(what));
    QTest::keyClick(box, Qt::Key_Return);
  }
  const std::size_t wanted = verb == "picks" ? number : 0;
  for (std::size_t at = 1; control().unsavedChanges().orders.size() < wanted; ++at) {
    if (!list().row(list().rowAt(at)).checked)
      widget().perform([&] { list().userToggleCheck(at); });
  }
  if (verb == "change") {
    widget().perform([&] { list().setSubItem(list().rowAt(row + 1), 7, "1"); });
  }
  if (verb == "limits")
    window->tools()->capacity().setLimits({{1.0 * number, 1.0 * number, std::nullopt}});
  if (verb == "open") window->openLoad(5001);
  if (verb == "dead") control().PutServerName("http://127.0.0.1:1");
  if (verb == "close") window->close();
  if (verb == "slow" || verb == "silent") {
    // A read that a broken Cancel does not end fails by this time limit instead, as a time-out.
    control().setTimeouts({1000ms, 20'000ms});
    server.setSlowDelay(1500ms);
    server.inject(what, verb == "slow" ? Fault::Slow : Fault::Silent);
    watchTheWait();
  }
  if (verb == "clear") server.clear();
  drainEvents();
}

// While the next call waits, the first poll grows the window and clicks the form's Cancel, which
// the wait refuses; once the wait shows, its Cancel is clicked, or Escape pressed when it offers
// none. The window keeps painting.
void WindowTest::watchTheWait() {
  control().widgets().cmdCancel.click.connect([this] { ++cancelClicks; });
  widget().installEventFilter(this);
  QObject::connect(&poll, &QTimer::timeout, [this, polls = 0]() mutable {
    if (!WindowWaiting::anyWaiting()) return;
    if (++polls == 1) {
      window->resize(window->size() + QSize(120, 90));
      QTest::mouseClick(widget().widgetFor("cmdCancel"), Qt::LeftButton);
    }
    auto* overlay = widget().findChild<WaitOverlay*>(QString::fromLatin1(kWaitOverlayName));
    if (!overlay || !overlay->isVisible() || std::exchange(waited, true)) return;
    script.note("waiting: " + overlay->findChild<QLabel*>(kWaitTextName)->text().toStdString() +
                (overlay->cancelButton() ? ", with Cancel" : "") + ", list " +
                toText(widget().widgetFor("lvwOrderIDs")->size()));
    if (overlay->cancelButton()) QTest::mouseClick(overlay->cancelButton(), Qt::LeftButton);
    if (!overlay->cancelButton()) QTest::keyClick(&widget(), Qt::Key_Escape);
  });
  poll.start(10);
}

// The load, the unsaved rows (" *" when the title marks them) and the status text.
std::string WindowTest::state() {
  if (!window->isVisible()) return "closed";
  return "load " + std::to_string(control().outgoingLoadID()) + ", unsaved " +
         std::to_string(control().unsavedChanges().rows) +
         (window->isWindowModified() ? " *" : "") + ", status \"" +
         window->statusBar()->currentMessage().toStdString() + '"';
}

// What the window draws, as text: the list's sort key, hidden columns and current row (and the
// control's selected position), its columns' alignments (not their pixel widths, which depend on
// Qt's style), each row with its check, texts and weight colour, the centers box, Select All and
// every label.
std::string WindowTest::drawn() {
  if (!window->isVisible()) return "";
  const ReportListModel& model = view().listModel();
  std::ostringstream out;
  const QHeaderView& header = *view().header();
  out << "sort " << (header.isSortIndicatorShown() ? header.sortIndicatorSection() : -1)
      << (header.sortIndicatorOrder() == Qt::AscendingOrder ? " up" : " down") << ", hidden";
  for (int c = 0; c < model.columnCount(); ++c) {
    if (view().isColumnHidden(c)) out << ' ' << c;
  }
  out << ", current " << view().currentIndex().row() << ", selected "
      << (list().selected() ? list().positionOf(*list().selected()) : 0)
      << (view().isEnabled() ? "" : ", disabled") << "\nalignment of each column:";
  for (int c = 0; c < model.columnCount(); ++c) {
    out << ' ' << model.index(0, c).data(Qt::TextAlignmentRole).toInt();
  }
  out << '\n';
  for (int r = 0; r < model.rowCount(); ++r) {
    out << (model.index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? "[x]" : "[ ]");
    for (int c = 0; c < model.columnCount(); ++c) {
      out << '|' << model.index(r, c).data().toString().toStdString();
    }
    const QVariant colour = model.index(r, 4).data(Qt::ForegroundRole);
    if (colour.isValid()) out << ' ' << colour.value<QBrush>().color().name().toStdString();
    out << '\n';
  }
  auto* centers = child<QComboBox>(widget(), "cboCenter");
  out << "centers at " << centers->currentIndex() << ':';
  for (int i = 0; i < centers->count(); ++i) out << " " << centers->itemText(i).toStdString();
  auto* selectAll = child<QCheckBox>(widget(), "chkSellectAll");
  out << "\nselect all " << selectAll->checkState() << (selectAll->isEnabled() ? "" : " disabled")
      << '\n';
  for (const auto& headless : control().screen().widgets()) {
    if (headless->kind() != WidgetKind::Label) continue;
    out << headless->name() << ": "
        << child<QLabel>(widget(), headless->name().c_str())->text().toStdString() << '\n';
  }
  return out.str();
}

// Every control of the layout drawn at its place in its container, with its name and text: access
// keys are Qt's alone, the control's captions stay as they are.
TEST_F(WindowTest, DrawsEveryControlAtItsLayoutPlaceWithItsName) {
  std::string seen = "widget " + toText(widget().designSize()) + '\n';
  for (const auto& headless : control().screen().widgets()) {
    QWidget* drawn = widget().widgetFor(headless->name());
    ASSERT_NE(drawn, nullptr) << headless->name();
    seen += drawn->objectName().toStdString() + " in " +
            drawn->parentWidget()->objectName().toStdString() + ' ' + toText(drawn->geometry()) +
            " \"" + drawn->property("text").toString().toStdString() + "\" \"" +
            headless->caption() + "\"\n";
  }
  tarvine::test::expectGolden(seen, "qt/window-Layout.txt");
}

// Tab goes through the window as it reads: the load and find bars, the center box, the list,
// Select All, then the buttons.
TEST_F(WindowTest, TabGoesThroughTheWindowAsItReads) {
  std::string order;
  child<QLineEdit>(*window, "loadBox")->setFocus();
  for (int i = 0; i < 10; ++i) {
    order += QApplication::focusWidget()->objectName().toStdString() + ' ';
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(order,
            "loadBox openLoad orderIdBox pickOnScan cboCenter lvwOrderIDs chkSellectAll cmdSave "
            "cmdCancel cmdAddAstrayItem ");
}

// The list takes what the window grows by and the rest moves down with it; the window never
// shrinks the widget below its design size, and opens again at the size it was left at.
TEST_F(WindowTest, GrowsTheListKeepsTheRestUnderItAndRemembersItsPlace) {
  for (const QSize size : {window->size(), window->size() + QSize(200, 150), QSize(100, 100)}) {
    window->resize(size);
    drainEvents();
    script.note("widget " + toText(widget().size()) + placeOf("lvwOrderIDs") +
                placeOf("fraTotals") + placeOf("cmdSave") + placeOf("cboCenter"));
  }
  window->resize(900, 760);
  window->close();
  script.note("opened again at " + toText(open()->size()));
  tarvine::test::expectGolden(script.transcript(), "qt/window-Grows.txt");
}

// File > Connect... switches to another profile once unsaved work is settled (Cancel keeps it)
// and offers that profile first the next time (tests/golden/qt/connect-switch.txt).
TEST_F(WindowTest, FileConnectSwitchesProfileOnceUnsavedWorkIsSettled) {
  widget().perform([&] { list().userToggleCheck(1); });
  script.answer(
      "Cancel Discard profileBox=Night;facilityBox=NORTH;personIdBox=x;connect "
      "personIdBox=12;connect");
  script.start();
  auto* connectAction = window->findChild<QAction*>(QStringLiteral("connectAction"));
  connectAction->trigger();
  EXPECT_EQ(control().unsavedChanges().orders.size(), 1u) << "Cancel keeps the work";
  connectAction->trigger();
  drainEvents();
  // The person id "x" was refused, then 12 taken, in a new control with nothing unsaved.
  EXPECT_EQ(window->connection().facility, "NORTH");
  EXPECT_EQ(control().personID(), 12);
  EXPECT_EQ(control().unsavedChanges().rows, 0);
  EXPECT_EQ(savedProfiles().at(0).name, "Night");
  std::string seen = script.transcript();
  tarvine::text::replaceAllInPlace(seen, server.server(), "SERVER");
  tarvine::test::expectGolden(seen, "qt/connect-switch.txt");
}

// Fill trailer (Ctrl+L) shows its proposal before anything changes: under 29,040 lb hot
// 21-51877 and 12-34567, their nine rows highlighted and nothing checked. Cancel leaves the load
// as it was; Apply checks both P.O.s; neither leaves a highlight.
TEST_F(WindowTest, FillTrailerShowsTheProposalAndChangesNothingUntilApplied) {
  window->tools()->capacity().setLimits({{29040, 3500, std::nullopt}});
  std::vector<std::string> seen;
  const auto note = [&](const std::string& what) {
    int highlighted = 0;
    for (int row = 0; row < view().model()->rowCount(); ++row)
      highlighted += view().model()->index(row, 0).data(Qt::BackgroundRole).isValid();
    seen.push_back(what + ": " + std::to_string(highlighted) + " highlighted, " + state());
  };
  for (const char* button : {"fillCancel", "fillApply"}) {
    script.expect([&, button](QWidget& dialog) {
      note(child<QLabel>(dialog, "fillSummary")->text().toStdString());
      QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
    });
    script.start();
    window->activateWindow();  // as the window manager does once the box is gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    perform("key:Ctrl+L");
    note(button);
  }
  const std::string preview = "Add 2 P.O.s, 1 of them hot: best fill.: 9 highlighted, load 5001, ";
  EXPECT_EQ(seen,
            (std::vector<std::string>{
                preview + "unsaved 0, status \"\"",
                "fillCancel: 0 highlighted, load 5001, unsaved 0, status \"Fill trailer "
                "cancelled; nothing changed.\"",
                preview + "unsaved 0, status \"Fill trailer cancelled; nothing changed.\"",
                "fillApply: 0 highlighted, load 5001, unsaved 9 *, status \"2 P.O.s put on the "
                "load, 1 hot.\""}));
}

struct Steps {
  const char* name;
  const char* steps;
  const char* answers = "";  // to the dialogs the steps open, as ModalScript::answer takes them
  const char* holds = "";    // what the window shows after them: the fact the steps exist for
};

class WindowStepsTest : public WindowTest, public ::testing::WithParamInterface<Steps> {};

TEST_P(WindowStepsTest, LeaveTheWindowAsItsGoldenFile) {
  script.answer(GetParam().answers);
  script.start();
  std::istringstream steps(GetParam().steps);
  for (std::string step; steps >> step;) {
    perform(step);
    if (std::exchange(waited, false)) {
      poll.stop();
      script.note("painted " + std::string(paints > 0 ? "" : "nothing ") + "while waiting, " +
                  "the form's Cancel ran " + std::to_string(cancelClicks) + " times");
    }
    script.note(step + ": " + state());
  }
  std::string seen = script.transcript() + drawn() + "event log:\n";
  EXPECT_NE(seen.find(GetParam().holds), std::string::npos) << GetParam().holds;
  std::ifstream log(dir.path() / "events.log");
  for (std::string line; std::getline(log, line);) seen += line + '\n';
  tarvine::text::replaceAllInPlace(seen, server.server(), "SERVER");
  tarvine::test::expectGolden(tarvine::test::withoutElapsedTime(seen),
                              std::string("qt/window-") + GetParam().name + ".txt");
}

INSTANTIATE_TEST_SUITE_P(
    Window, WindowStepsTest,
    ::testing::Values(
        Steps{"Loaded", "", "", "centers at 0: For ALL centers on the route Columbus  [ 12 ]"},
        // A click picks the whole P.O., and the title marks it unsaved.
        Steps{"CheckBoxClick", "check:1", "", "check:1: load 5001, unsaved 5 *"},
        Steps{"CheckBoxClickTwice", "check:1 check:3", "",
              "check:3: load 5001, unsaved 5 *"},  // a further one clears it
        Steps{"SpaceOnce", "row:1 key:Space", "", "key:Space: load 5001, unsaved 5 *"},
        Steps{"SpaceAndArrows", "row:1 key:Space key:Down key:Space", "",
              "key:Down: load 5001, unsaved 5 *"},
        Steps{"ChooseCenter", "focus:cboCenter key:Down", "", "centers at 1:"},
        Steps{"SelectAll", "click:chkSellectAll", "", "unsaved 50 *"},
        Steps{"SelectAllTwice", "click:chkSellectAll click:chkSellectAll", "",
              "unsaved 50 *, status \"\"\nclick:chkSellectAll: load 5001, unsaved 50 *"},
        Steps{"HeaderClickTwice", "header:3 header:3", "", "sort 3 up"},  // the same way each time
        Steps{"SortedWithSelection", "row:3 header:5", "",
              "current 1, selected 2"},  // the selection follows
        Steps{"CancelWithSelection", "row:3 click:cmdCancel", "", "centers at -1:"},
        Steps{"Cancel", "click:cmdCancel", "", "select all 0 disabled"},
        Steps{"FreightOverride", "double:1", "=1500", "double:1: load 5001, unsaved 5 *"},
        Steps{"EnterOnAFurtherSegment", "row:2 key:Return", "Ok",
              "first segment line to update freight"},
        // Saving over the trailer's limits asks first.
        Steps{"SaveOverLimits", "limits:1 check:1 click:cmdSave click:cmdSave", "No Ok Yes Ok",
              "click:cmdSave: load 5001, unsaved 5 *"},
        // The load box takes load numbers only and tells an unknown load apart.
        Steps{"LoadBox", "load:5001 load:99999 load:0 load:12a load:4242", "",
              "Load 4242 has no segments on the route service."},
        // Ctrl+S saves; Escape closes the freight input box, keeping the freight, and the form.
        Steps{"CtrlSAndEscape", "check:1 key:Ctrl+S double:1 click:cmdAddAstrayItem",
              "Ok Escape Escape", "key:Ctrl+S: load 5001, unsaved 0"},
        // The astray form: drawn with its tab order, a refused entry, then an added P.O. (27-70460,
        // of a route center the load does not list, its other segments on load 5002: Yes to the
        // question) and the form cleared for the next one.
        Steps{"Astray", "click:cmdAddAstrayItem",
              "Tab;Tab;Tab;Tab;Tab;Tab;txtPO1=27;cmdAddAstrayItem Ok "
              "txtPO2=70460;txtCartons=6;txtFreight=42.50;txtComments=dock;cmdAddAstrayItem Yes Ok "
              "Escape",
              "txtPO1(4)= txtPO2(6)= txtCartons(32767)= txtFreight(32767)= txtComments"},
        // Leaving unsaved work asks to save, discard or cancel, naming five P.O.s and "1 more".
        Steps{"OpenCancel", "picks:6 open", "Cancel", "open: load 5001, unsaved 26 *"},
        Steps{"OpenDiscard", "picks:6 open", "Discard", "open: load 5001, unsaved 0"},
        Steps{"OpenSave", "picks:6 open", "Save Ok", "updated successfully!!! -> Ok"},
        Steps{"OpenSaveFails", "picks:6 dead open", "Save Ok", "open: load 5001, unsaved 26 *"},
        Steps{"RefreshDiscard", "picks:6 key:F5", "Discard", "key:F5: load 5001, unsaved 0"},
        Steps{"CloseCancel", "picks:6 close", "Cancel", "close: load 5001, unsaved 26 *"},
        Steps{"CloseDiscard", "picks:6 close", "Discard", "close: closed"},
        Steps{"OneRowCancel", "change:1 open", "Cancel", "open: load 5001, unsaved 1 *"},
        // Service calls against a slow or silent server never freeze the window: a read is
        // cancelled at once and its failures told in one box; an update cannot be cancelled (the
        // slow server answers it without saving).
        Steps{"ReadCancelled", "silent:GetOutgoingLoadCenterIDAndCenter open clear open", "",
              "open: load 5001, unsaved 0, status \"Opening load 5001 was cancelled.\""},
        // A user's cancel is not an error: the window keeps the load it showed, picks included,
        // and says so; the save check's read is named and cancelled like any other read.
        Steps{"OpenCancelledKeepsThePicks", "picks:2 silent:GetOutgoingLoadAllOrders load:5002",
              "Discard",
              "load:5002: load 5001, unsaved 10 *, status \"Opening load 5002 was cancelled.\""},
        Steps{"SaveCheckCancelled", "check:1 silent:GetOutgoingLoadAllOrders click:cmdSave", "",
              "waiting: Checking load 5001 for other changes…, with Cancel"},
        Steps{"RefreshInAnOutage", "dead key:F5", "Ok",
              "key:F5: load 5001, unsaved 0, status \"The orders of load 5001 could not be read"},
        Steps{"SlowUpdate", "check:1 slow:UpdateOutgoingLoadOrder click:cmdSave", "Ok",
              "painted while waiting"}),
    tarvine::test::caseName);

}  // namespace
}  // namespace tarvine::qt::test
