// The embeddable widget on the demo load: it mirrors the headless control, and clicks, keys and
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
  bool shownChecked(int row) {
    return model().data(model().index(row, 0), Qt::CheckStateRole).toInt() == Qt::Checked;
  }
  // The view row of a P.O.'s segment; -1 when it is not listed.
  int rowOf(const std::string& order, int segment) {
    const auto& ids = list().order();
    for (std::size_t i = 0; i < ids.size(); ++i) {
      const ListRow& row = list().row(ids[i]);
      if (row.text == order && row.sub[1] == std::to_string(segment)) return static_cast<int>(i);
    }
    return -1;
  }
  void clickCheckBox(int row) {
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, checkBoxCenter(view(), row));
    drainEvents();
  }
  void clickRow(int row) {
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, cellCenter(view(), row, 2));
    drainEvents();
  }
  // What a user's double-click sends: press, release, double-click, release.
  void doubleClickRow(int row) {
    const QPoint at = cellCenter(view(), row, 4);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, at);
    drainEvents();
  }
  void expectMirrorsControl();
};

void PickWindowTest::expectMirrorsControl() {
  drainEvents();
  ASSERT_EQ(static_cast<std::size_t>(model().rowCount()), list().rowCount());
  const auto& ids = list().order();
  for (int r = 0; r < model().rowCount(); ++r) {
    const ListRow& row = list().row(ids[static_cast<std::size_t>(r)]);
    EXPECT_EQ(shown(r, 0).toStdString(), row.text) << "row " << r;
    for (int k = 1; k <= ListRow::kSubItems; ++k) {
      EXPECT_EQ(shown(r, k).toStdString(), row.sub[static_cast<std::size_t>(k - 1)])
          << "row " << r << " sub-item " << k;
    }
    EXPECT_EQ(shownChecked(r), row.checked) << "row " << r;
    const QVariant colour = model().data(model().index(r, 4), Qt::ForegroundRole);
    const QColor expected = row.color == kColorBlue ? Qt::blue : row.color ? Qt::red : QColor();
    EXPECT_EQ(colour.isValid() ? colour.value<QBrush>().color() : QColor(), expected) << r;
  }
  const ControlWidgets& w = control.widgets();
  auto* centers = child<QComboBox>(*widget, "cboCenter");
  ASSERT_EQ(centers->count(), w.cboCenter.count());
  for (int i = 0; i < centers->count(); ++i) {
    EXPECT_EQ(centers->itemText(i).toStdString(),
              w.cboCenter.entries()[static_cast<std::size_t>(i)].text);
  }
  EXPECT_EQ(centers->currentIndex(), w.cboCenter.listIndex());
  auto* selectAll = child<QCheckBox>(*widget, "chkSellectAll");
  EXPECT_EQ(selectAll->checkState() == Qt::Checked, w.chkSellectAll.value() == 1);
  EXPECT_EQ(selectAll->isEnabled(), w.chkSellectAll.enabled());
  for (const auto& headless : control.screen().widgets()) {
    if (headless->kind() != WidgetKind::Label) continue;
    auto* label = child<QLabel>(*widget, headless->name().c_str());
    EXPECT_EQ(label->text().toStdString(), headless->caption()) << headless->name();
  }
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

TEST_F(PickWindowTest, MirrorsTheLoadedControl) {
  ASSERT_GT(list().rowCount(), 10u);
  EXPECT_FALSE(child<QLabel>(*widget, "lblTotal6")->text().isEmpty());
  EXPECT_TRUE(view().isColumnHidden(7));
  EXPECT_TRUE(view().isColumnHidden(10));
  EXPECT_FALSE(view().header()->isSortIndicatorShown());
  expectMirrorsControl();
}

TEST_F(PickWindowTest, ACheckBoxClickPicksTheWholePO) {
  const int first = rowOf("12-34567", 1);
  ASSERT_GE(first, 0);
  ASSERT_FALSE(shownChecked(first));
  clickCheckBox(first);
  for (int segment = 1; segment <= 5; ++segment) {
    const int row = rowOf("12-34567", segment);
    EXPECT_TRUE(shownChecked(row)) << segment;
    EXPECT_EQ(shown(row, 1), "X");
    EXPECT_EQ(shown(row, 7), "1");
  }
  expectMirrorsControl();
  clickCheckBox(rowOf("12-34567", 3));
  EXPECT_FALSE(shownChecked(first));
  expectMirrorsControl();
}

TEST_F(PickWindowTest, SpaceTogglesTheCurrentRowAndArrowsSelect) {
  const int first = rowOf("12-34567", 1);
  clickRow(first);
  ASSERT_TRUE(list().selected().has_value());
  EXPECT_EQ(list().positionOf(*list().selected()), static_cast<std::size_t>(first + 1));
  QTest::keyClick(&view(), Qt::Key_Space);
  drainEvents();
  EXPECT_TRUE(shownChecked(first));
  QTest::keyClick(&view(), Qt::Key_Down);
  drainEvents();
  EXPECT_EQ(list().positionOf(*list().selected()), static_cast<std::size_t>(first + 2));
  QTest::keyClick(&view(), Qt::Key_Space);
  drainEvents();
  EXPECT_FALSE(shownChecked(first));
  expectMirrorsControl();
}

TEST_F(PickWindowTest, ChoosingACenterRefillsTheList) {
  auto* centers = child<QComboBox>(*widget, "cboCenter");
  centers->setFocus();
  QTest::keyClick(centers, Qt::Key_Down);
  drainEvents();
  EXPECT_EQ(control.widgets().cboCenter.listIndex(), 1);
  EXPECT_EQ(centers->currentIndex(), 1);
  const std::string prefix = std::to_string(control.selectedCenterID()) + "-";
  ASSERT_GT(model().rowCount(), 0);
  for (int r = 0; r < model().rowCount(); ++r) {
    EXPECT_TRUE(shown(r, 0).startsWith(QString::fromStdString(prefix)))
        << r << " " << shown(r, 0).toStdString() << " " << prefix;
  }
  expectMirrorsControl();
}

TEST_F(PickWindowTest, SelectAllChecksAndClearsEveryRow) {
  auto* selectAll = child<QCheckBox>(*widget, "chkSellectAll");
  const bool wasChecked = selectAll->isChecked();
  for (const bool checked : {!wasChecked, wasChecked}) {
    QTest::mouseClick(selectAll, Qt::LeftButton);
    drainEvents();
    for (int r = 0; r < model().rowCount(); ++r) EXPECT_EQ(shownChecked(r), checked) << r;
    expectMirrorsControl();
  }
}

TEST_F(PickWindowTest, AHeaderClickSortsAndShowsTheKeyTheSameWayEachTime) {
  for (int click = 0; click < 2; ++click) {
    QTest::mouseClick(view().header()->viewport(), Qt::LeftButton, {}, headerCenter(view(), 3));
    drainEvents();
    EXPECT_TRUE(list().sorted());
    EXPECT_EQ(list().sortKey(), 3);
    EXPECT_EQ(view().header()->sortIndicatorSection(), 3);
    EXPECT_EQ(view().header()->sortIndicatorOrder(), Qt::AscendingOrder) << "click " << click;
    for (int r = 1; r < model().rowCount(); ++r) {
      EXPECT_LE(shown(r - 1, 3).toLower(), shown(r, 3).toLower()) << r;
    }
  }
  expectMirrorsControl();
}

TEST_F(PickWindowTest, ADoubleClickOverridesTheFreightInARealInputBox) {
  const int first = rowOf("12-34567", 1);
  const QString before = shown(first, 6);
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
  doubleClickRow(first);
  EXPECT_TRUE(script.done());
  EXPECT_EQ(shown(first, 6), "1,500.00");
  EXPECT_EQ(shown(first, 7), "1");
  expectMirrorsControl();
}

TEST_F(PickWindowTest, EnterOnAFurtherSegmentShowsARealMessageBox) {
  const int further = rowOf("12-34567", 2);
  clickRow(further);
  ModalScript script;
  script.expect(kMessageBoxName, [](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_EQ(box.text(), "Please select P.O's first segment line to update freight");
    EXPECT_EQ(box.windowTitle(), "TarvineOrderPick");
    box.button(QMessageBox::Ok)->click();
  });
  script.start();
  QTest::keyClick(&view(), Qt::Key_Return);
  drainEvents();
  EXPECT_TRUE(script.done());
  EXPECT_EQ(shown(further, 7), "0");
}

TEST_F(PickWindowTest, CancelClearsTheScreen) {
  QTest::mouseClick(child<QPushButton>(*widget, "cmdCancel"), Qt::LeftButton);
  drainEvents();
  EXPECT_EQ(model().rowCount(), 0);
  EXPECT_EQ(child<QComboBox>(*widget, "cboCenter")->currentIndex(), -1);
  EXPECT_TRUE(child<QLabel>(*widget, "lblTotal4")->text().isEmpty());
  expectMirrorsControl();
}

}  // namespace
}  // namespace tarvine::qt::test
