// The astray form as a real modal dialog against the reference route service: drawn at its
// layout with its tab order, the focus following the form, and a P.O. added to the load.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "Layout.h"
#include "QtTestSupport.h"
#include "ReportListView.h"
#include "astray/frmAstray.h"

namespace tarvine::qt::test {
namespace {

// A received P.O. of a route center that load 5001 does not list.
constexpr const char* kAstrayCenter = "27";
constexpr const char* kAstrayNumber = "70460";

class AstrayDialogTest : public DemoWindowTest {
 protected:
  // Expects a message box that says `text`, and presses OK.
  void expectBox(const char* text) {
    script.expect(kMessageBoxName, [text](QWidget& dialog) {
      EXPECT_EQ(static_cast<QMessageBox&>(dialog).text(), text);
      static_cast<QMessageBox&>(dialog).button(QMessageBox::Ok)->click();
    });
  }
  // The view rows showing the P.O.
  int rowsShowing(const QString& order) {
    const ReportListModel& model = child<ReportListView>(*widget, "lvwOrderIDs")->listModel();
    int found = 0;
    for (int r = 0; r < model.rowCount(); ++r) {
      if (model.data(model.index(r, 0), Qt::DisplayRole).toString() == order) ++found;
    }
    return found;
  }
  static void type(QWidget& form, const char* box, const QString& text) {
    auto* edit = child<QLineEdit>(form, box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  ModalScript script;
};

// The form as drawn, with its tab order; a refused entry, then an added P.O. that the list shows.
TEST_F(AstrayDialogTest, IsDrawnRefusesABlankBoxAndAddsAPO) {
  const QString order = QString("%1-%2").arg(kAstrayCenter, kAstrayNumber);
  ASSERT_EQ(rowsShowing(order), 0);
  script.expect(kFormDialogName, [this](QWidget& form) {
    EXPECT_EQ(form.windowTitle(), "Astray P.O's");
    const double dpi = form.logicalDpiX();
    EXPECT_EQ(form.size(), toPixels(Rect{0, 0, 4485, 3420}, dpi).size());
    EXPECT_EQ(child<QWidget>(form, "txtComments")->geometry(),
              toPixels(Rect{120, 1440, 4095, 1455}, dpi));
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(child<QWidget>(form, "txtComments")), nullptr);
    EXPECT_EQ(child<QLineEdit>(form, "txtFreight")->text(), "0.00");
    EXPECT_EQ(child<QLineEdit>(form, "txtPO2")->maxLength(), 6);
    EXPECT_EQ(form.focusWidget(), child<QWidget>(form, "txtPO1"));
    // Tab walks the boxes in their tab order. Focus events come once the window is active.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const char* order[] = {"txtPO1",      "txtPO2",           "txtCartons", "txtFreight",
                           "txtComments", "cmdAddAstrayItem", "txtPO1"};
    for (std::size_t i = 1; i < std::size(order); ++i) {
      QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
      EXPECT_EQ(form.focusWidget(), child<QWidget>(form, order[i])) << "after " << order[i - 1];
      // The form follows the user's focus too.
      EXPECT_EQ(control.astrayForm()->screen().focus(), order[i]);
    }
    type(form, "txtPO1", kAstrayCenter);
    QTest::mouseClick(child<QPushButton>(form, "cmdAddAstrayItem"), Qt::LeftButton);
  });
  expectBox("PO text box has been left blank.");
  script.expect(kFormDialogName, [](QWidget& form) {
    // The refusal puts the focus on the box it names and keeps the entry.
    EXPECT_EQ(form.focusWidget(), child<QWidget>(form, "txtPO2"));
    EXPECT_EQ(child<QLineEdit>(form, "txtPO1")->text(), kAstrayCenter);
    type(form, "txtPO2", kAstrayNumber);
    type(form, "txtCartons", "6");
    type(form, "txtFreight", "42.50");
    auto* comments = child<QPlainTextEdit>(form, "txtComments");
    comments->setFocus();
    QTest::keyClicks(comments, "found on the dock");
    QTest::mouseClick(child<QPushButton>(form, "cmdAddAstrayItem"), Qt::LeftButton);
  });
  expectBox("Astray item has been added to the list successfully!!!");
  script.expect(kFormDialogName, [](QWidget& form) {
    // The entry was cleared and the form stays open for the next one.
    for (const char* box : {"txtPO1", "txtPO2", "txtCartons", "txtFreight"}) {
      EXPECT_TRUE(child<QLineEdit>(form, box)->text().isEmpty()) << box;
    }
    EXPECT_TRUE(child<QPlainTextEdit>(form, "txtComments")->toPlainText().isEmpty());
    EXPECT_EQ(form.focusWidget(), child<QWidget>(form, "txtPO1"));
    static_cast<QDialog&>(form).reject();
  });
  script.start();
  QTest::mouseClick(child<QPushButton>(*widget, "cmdAddAstrayItem"), Qt::LeftButton);
  drainEvents();
  EXPECT_TRUE(script.done());
  EXPECT_EQ(rowsShowing(order), 1);
  EXPECT_TRUE(log.entries().empty()) << log.entries().front();
}

}  // namespace
}  // namespace tarvine::qt::test
