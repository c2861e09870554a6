// The embeddable widget on the demo load: it draws the headless control, and clicks, keys and
// dialogs reach the control's handlers the way a user's do.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <sstream>

#include "Golden.h"
#include "Layout.h"
#include "QtTestSupport.h"
#include "ReportListView.h"

namespace tarvine::qt::test {
namespace {

class PickWindowTest : public DemoWindowTest {
 protected:
  ReportListView& view() { return *child<ReportListView>(*widget, "lvwOrderIDs"); }
  const ReportListModel& model() { return view().listModel(); }
  ListView& list() { return control.widgets().lvwOrderIDs; }
  QString shown(int row, int column) {
    return model().data(model().index(row, column), Qt::DisplayRole).toString();
  }
  // The view row of segment N of P.O. 12-34567, the first on the list.
  int rowOf(const std::string& segment) {
    const auto& ids = list().order();
    for (std::size_t i = 0; i < ids.size(); ++i) {
      const ListRow& row = list().row(ids[i]);
      if (row.text == "12-34567" && row.sub[1] == segment) return static_cast<int>(i);
    }
    return -1;
  }
  // A user's steps, separated by spaces: check:N, row:N and double:N click the check box or
  // the text (once or twice) of segment N of P.O. 12-34567; header:N a column header; click:W
  // a widget; focus:W gives a widget the keys, which go to the list until then; key:Space,
  // key:Down and key:Return press a key.
  void perform(const std::string& steps) {
    QWidget* keys = &view();
    std::istringstream words(steps);
    for (std::string word; words >> word;) {
      const std::string verb = word.substr(0, word.find(':')), what = word.substr(verb.size() + 1);
      QWidget* port = view().viewport();
      if (verb == "check")
        QTest::mouseClick(port, Qt::LeftButton, {}, checkBoxCenter(view(), rowOf(what)));
      if (verb == "row")
        QTest::mouseClick(port, Qt::LeftButton, {}, cellCenter(view(), rowOf(what), 2));
      if (verb == "double") {
        // What a user's double-click sends: press, release, double-click, release.
        const QPoint at = cellCenter(view(), rowOf(what), 4);
        QTest::mouseClick(port, Qt::LeftButton, {}, at);
        QTest::mouseDClick(port, Qt::LeftButton, {}, at);
        QTest::mouseRelease(port, Qt::LeftButton, {}, at);
      }
      if (verb == "header") {
        QTest::mouseClick(view().header()->viewport(), Qt::LeftButton, {},
                          headerCenter(view(), std::stoi(what)));
      }
      if (verb == "click") QTest::mouseClick(widget->widgetFor(what), Qt::LeftButton);
      if (verb == "focus") (keys = widget->widgetFor(what))->setFocus();
      if (verb == "key") {
        QTest::keyClick(keys, what == "Space"  ? Qt::Key_Space
                              : what == "Down" ? Qt::Key_Down
                                               : Qt::Key_Return);
      }
      drainEvents();
    }
  }
  std::string drawn();
};

// What the window draws, as text: the list's sort key, hidden columns and current row (and the
// control's selected position), its columns' widths and alignments, each row with its check, texts
// and weight colour, the centers box, Select All and every label.
std::string PickWindowTest::drawn() {
  drainEvents();
  std::ostringstream out;
  const QHeaderView& header = *view().header();
  out << "sort " << (header.isSortIndicatorShown() ? header.sortIndicatorSection() : -1)
      << (header.sortIndicatorOrder() == Qt::AscendingOrder ? " up" : " down") << ", hidden";
  for (int c = 0; c < model().columnCount(); ++c) {
    if (view().isColumnHidden(c)) out << ' ' << c;
  }
  out << ", current " << view().currentIndex().row() << ", selected "
      << (list().selected() ? list().positionOf(*list().selected()) : 0)
      << (view().isEnabled() ? "" : ", disabled") << "\nwidth and alignment of each column:";
  for (int c = 0; c < model().columnCount(); ++c) {
    out << ' ' << view().columnWidth(c) << '/'
        << model().data(model().index(0, c), Qt::TextAlignmentRole).toInt();
  }
  out << '\n';
  for (int r = 0; r < model().rowCount(); ++r) {
    out << (model().data(model().index(r, 0), Qt::CheckStateRole).toInt() == Qt::Checked ? "[x]"
                                                                                         : "[ ]");
    for (int c = 0; c < model().columnCount(); ++c) out << '|' << shown(r, c).toStdString();
    const QVariant colour = model().data(model().index(r, 4), Qt::ForegroundRole);
    if (colour.isValid()) out << ' ' << colour.value<QBrush>().color().name().toStdString();
    out << '\n';
  }
  auto* centers = child<QComboBox>(*widget, "cboCenter");
  out << "centers at " << centers->currentIndex() << ':';
  for (int i = 0; i < centers->count(); ++i) out << " " << centers->itemText(i).toStdString();
  auto* selectAll = child<QCheckBox>(*widget, "chkSellectAll");
  out << "\nselect all " << selectAll->checkState() << (selectAll->isEnabled() ? "" : " disabled")
      << '\n';
  for (const auto& headless : control.screen().widgets()) {
    if (headless->kind() != WidgetKind::Label) continue;
    out << headless->name() << ": "
        << child<QLabel>(*widget, headless->name().c_str())->text().toStdString() << '\n';
  }
  return out.str();
}

TEST_F(PickWindowTest, DrawsEveryControlAtItsLayoutPlaceWithItsName) {
  const double dpi = widget->logicalDpiX();
  EXPECT_EQ(widget->size(), toPixels(Rect{0, 0, 8820, 7455}, dpi).size());
  for (const auto& headless : control.screen().widgets()) {
    QWidget* drawn = widget->widgetFor(headless->name());
    ASSERT_NE(drawn, nullptr) << headless->name();
    EXPECT_EQ(drawn->objectName().toStdString(), headless->name());
    EXPECT_EQ(drawn->geometry(), toPixels(headless->rect(), dpi)) << headless->name();
    const std::string container = headless->container();
    EXPECT_EQ(drawn->parentWidget(),
              container.empty() ? widget.get() : widget->widgetFor(container))
        << headless->name();
  }
  // Access keys are Qt's alone: the control's captions stay as they are.
  EXPECT_EQ(child<QPushButton>(*widget, "cmdAddAstrayItem")->text(), "Add &Astray Item");
  EXPECT_EQ(child<QPushButton>(*widget, "cmdSave")->text(), "&Save");
  EXPECT_EQ(control.widgets().cmdAddAstrayItem.caption(), "Add Astray Item");
  EXPECT_EQ(child<QCheckBox>(*widget, "chkSellectAll")->text(), "Select All");
}

// A user's steps on the demo load, each with the window it leaves in tests/golden/qt.
class PickWindowStepsTest
    : public PickWindowTest,
      public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(PickWindowStepsTest, LeaveTheWindowAsItsGoldenFile) {
  perform(GetParam().second);
  tarvine::test::expectGolden(drawn(), std::string("qt/pick-") + GetParam().first + ".txt");
}

INSTANTIATE_TEST_SUITE_P(
    Window, PickWindowStepsTest,
    ::testing::Values(std::pair{"Loaded", ""},
                      std::pair{"CheckBoxClick", "check:1"},  // the whole P.O. is picked
                      std::pair{"CheckBoxClickTwice",
                                "check:1 check:3"},  // a further one clears it
                      std::pair{"SpaceOnce", "row:1 key:Space"},
                      std::pair{"SpaceAndArrows", "row:1 key:Space key:Down key:Space"},
                      std::pair{"ChooseCenter", "focus:cboCenter key:Down"},
                      std::pair{"SelectAll", "click:chkSellectAll"},
                      std::pair{"SelectAllTwice", "click:chkSellectAll click:chkSellectAll"},
                      std::pair{"HeaderClickTwice", "header:3 header:3"},  // the same way each time
                      std::pair{"SortedWithSelection", "row:3 header:5"},  // the selection follows
                      std::pair{"CancelWithSelection", "row:3 click:cmdCancel"},
                      std::pair{"Cancel", "click:cmdCancel"}),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(PickWindowTest, ADoubleClickOverridesTheFreightInARealInputBox) {
  const QString before = shown(rowOf("1"), 6);
  ModalScript script;
  script.expect(kInputBoxName, [&](QWidget& dialog) {
    auto& input = static_cast<QInputDialog&>(dialog);
    EXPECT_EQ(input.windowTitle(), "Outgoing Load");
    EXPECT_EQ(input.labelText(), "Please enter the new Freight to for P.O 12-34567");
    EXPECT_EQ(input.textValue(), before);
    input.setTextValue("1500");
    input.accept();
  });
  script.start();
  perform("double:1");
  EXPECT_TRUE(script.done());
  tarvine::test::expectGolden(drawn(), "qt/pick-FreightOverride.txt");
}

TEST_F(PickWindowTest, EnterOnAFurtherSegmentShowsARealMessageBox) {
  ModalScript script;
  script.expect(kMessageBoxName, [](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_EQ(box.text(), "Please select P.O's first segment line to update freight");
    EXPECT_EQ(box.windowTitle(), "TarvineOrderPick");
    box.button(QMessageBox::Ok)->click();
  });
  script.start();
  perform("row:2 key:Return");
  EXPECT_TRUE(script.done());
  EXPECT_EQ(shown(rowOf("2"), 7), "0");
}

}  // namespace
}  // namespace tarvine::qt::test
