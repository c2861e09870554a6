// The host window as a dispatcher uses it: load numbers checked, an unknown load told apart, a
// window that grows and remembers its place, the keyboard, and unsaved work kept.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QtTest/QTest>

#include "HostWindow.h"
#include "QtTestSupport.h"
#include "UnsavedPrompt.h"

namespace tarvine::qt::test {
namespace {

using app::HostWindow;

class HostWindowTest : public ::testing::Test {
 protected:
  HostWindowTest() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.path().string()));
    qputenv("TARVINE_EVENT_LOG", QByteArray::fromStdString((dir.path() / "events.log").string()));
    window = open();
    window->openLoad(5001);
  }

  std::unique_ptr<HostWindow> open() {
    app::HostOptions options;
    options.server = service.server();
    options.facility = "DEMO";
    options.personId = "7";
    options.personType = "2";
    auto shown = std::make_unique<HostWindow>(options, false);
    shown->show();
    shown->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(shown.get()));
    return shown;
  }
  TarvineOrderPick& control() { return *window->control(); }
  QRect placeOf(const char* name) { return window->pickWidget()->widgetFor(name)->geometry(); }
  QString status() { return window->statusBar()->currentMessage(); }

  TempDir dir;
  DemoService service;
  std::unique_ptr<HostWindow> window;
};

// The load box takes load numbers only and tells an unknown load apart.
TEST_F(HostWindowTest, LoadBoxTakesLoadNumbersOnlyAndTellsAnUnknownLoad) {
  const char* notALoad = "load numbers are whole numbers from 1 to 32767";
  const std::tuple<const char*, const char*, std::int32_t> typed[] = {
      {"5001", "", 5001},
      {"99999", notALoad, 5001},
      {"0", notALoad, 5001},
      {"12a", notALoad, 5001},
      {"4242", "Load 4242 has no segments on the route service.", 4242}};
  auto* box = child<QLineEdit>(*window, "loadBox");
  for (const auto& [text, said, shown] : typed) {
    box->clear();
    QTest::keyClicks(box, QString::fromLatin1(text));
    QTest::keyClick(box, Qt::Key_Return);
    const QString expected = QString::fromLatin1(said);
    EXPECT_TRUE(expected.isEmpty() ? status().isEmpty() : status().contains(expected))
        << text << ": " << status().toStdString();
    EXPECT_EQ(control().outgoingLoadID(), shown) << text;
  }
}

TEST_F(HostWindowTest, GrowsTheListKeepsTheRestUnderItAndRemembersItsPlace) {
  OrderPickWidget& pick = *window->pickWidget();
  const QSize before = pick.size();
  const QRect list = placeOf("lvwOrderIDs"), totals = placeOf("fraTotals"),
              save = placeOf("cmdSave"), center = placeOf("cboCenter");
  window->resize(window->size() + QSize(200, 150));
  drainEvents();
  const QSize extra = pick.size() - before;
  ASSERT_GT(extra.width(), 0);
  ASSERT_GT(extra.height(), 0);
  EXPECT_EQ(placeOf("lvwOrderIDs"), list.adjusted(0, 0, extra.width(), extra.height()));
  EXPECT_EQ(placeOf("fraTotals"), totals.translated(0, extra.height()));
  EXPECT_EQ(placeOf("cmdSave"), save.translated(0, extra.height()));
  EXPECT_EQ(placeOf("cboCenter"), center);

  window->resize(100, 100);
  drainEvents();
  EXPECT_EQ(pick.size(), pick.designSize());
  window->resize(900, 760);
  window->close();
  EXPECT_EQ(open()->size(), QSize(900, 760));
}

TEST_F(HostWindowTest, CtrlSSavesAndEscapeClosesTheInputBoxAndTheForm) {
  ListView& list = control().widgets().lvwOrderIDs;
  const std::string freight = list.subItem(list.rowAt(1), 6);
  ModalScript script;
  script.expect(kMessageBoxName, [](QWidget& dialog) {
    EXPECT_EQ(static_cast<QMessageBox&>(dialog).text(),
              "Outgoing load information has been updated successfully!!!");
    static_cast<QMessageBox&>(dialog).accept();
  });
  for (const char* name : {kInputBoxName, kFormDialogName}) {
    script.expect(name, [](QWidget& dialog) {
      QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Escape);
    });
  }
  script.start();
  window->pickWidget()->perform([&] { list.userToggleCheck(1); });
  QTest::keyClick(window->pickWidget(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(control().unsavedChanges().rows, 0u);
  EXPECT_TRUE(list.row(list.rowAt(1)).checked);
  window->pickWidget()->perform([&] { list.userDoubleClick(1); });
  EXPECT_EQ(list.subItem(list.rowAt(1), 6), freight);
  QTest::mouseClick(window->pickWidget()->widgetFor("cmdAddAstrayItem"), Qt::LeftButton);
  EXPECT_TRUE(script.done());
}

enum class Leave { Open, Refresh, Close };

struct UnsavedCase {
  const char* name;
  Leave leave;
  QMessageBox::StandardButton answer;
  bool deadServer;  // the save fails
  bool goesOn;
  bool oneRow = false;  // one changed row instead of six picked P.O.s
};

std::ostream& operator<<(std::ostream& out, const UnsavedCase& c) {
  return out << c.name;
}

class UnsavedWorkTest : public HostWindowTest, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedWorkTest, AsksSaveDiscardOrCancelNamingThePOs) {
  const UnsavedCase& c = GetParam();
  // Six P.O.s off the load are picked: five are named, then "and 1 more". One changed row is
  // work too.
  ListView& list = control().widgets().lvwOrderIDs;
  if (c.oneRow) window->pickWidget()->perform([&] { list.setSubItem(list.rowAt(1), 7, "1"); });
  for (std::size_t at = 1; !c.oneRow && control().unsavedChanges().orders.size() < 6; ++at) {
    if (!list.row(list.rowAt(at)).checked) {
      window->pickWidget()->perform([&] { list.userToggleCheck(at); });
    }
  }
  const std::vector<std::string> picked = control().unsavedChanges().orders;
  ASSERT_EQ(picked.size(), c.oneRow ? 1u : 6u);
  const QString named = QString::fromStdString(c.oneRow ? picked[0] : picked[4] + " and 1 more");
  if (c.deadServer) control().PutServerName("http://127.0.0.1:1");

  ModalScript script;
  script.expect(kUnsavedBoxName, [&](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_TRUE(box.text().contains(named)) << box.text().toStdString();
    box.button(c.answer)->click();
  });
  if (c.answer == QMessageBox::Save) {
    script.expect(kMessageBoxName, [](QWidget& dialog) { static_cast<QDialog&>(dialog).accept(); });
  }
  script.start();
  if (c.leave == Leave::Open) window->openLoad(5001);
  if (c.leave == Leave::Refresh) QTest::keyClick(window->pickWidget(), Qt::Key_F5);
  if (c.leave == Leave::Close) window->close();
  EXPECT_TRUE(script.done());
  if (c.leave == Leave::Close) {
    EXPECT_EQ(window->isVisible(), !c.goesOn);
    return;
  }
  EXPECT_EQ(control().unsavedChanges().rows == 0, c.goesOn);
  const bool saved = c.goesOn && c.answer == QMessageBox::Save;
  for (std::size_t at = 1; at <= list.rowCount(); ++at) {
    const ListRow& row = list.row(list.rowAt(at));
    if (row.text == picked[0]) {
      EXPECT_EQ(row.checked, !c.oneRow && (saved || !c.goesOn)) << at;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedWorkTest,
    ::testing::Values(
        UnsavedCase{"OpenCancel", Leave::Open, QMessageBox::Cancel, false, false},
        UnsavedCase{"OpenDiscard", Leave::Open, QMessageBox::Discard, false, true},
        UnsavedCase{"OpenSave", Leave::Open, QMessageBox::Save, false, true},
        UnsavedCase{"OpenSaveFails", Leave::Open, QMessageBox::Save, true, false},
        UnsavedCase{"RefreshDiscard", Leave::Refresh, QMessageBox::Discard, false, true},
        UnsavedCase{"CloseCancel", Leave::Close, QMessageBox::Cancel, false, false},
        UnsavedCase{"OneRowCancel", Leave::Open, QMessageBox::Cancel, false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvine::qt::test
