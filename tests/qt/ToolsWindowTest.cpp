// The dispatcher's tools drawn by Qt: the P.O. box and the gauges on the demo load, and the load
// sheet's PDF checked by rendering it (pdfinfo and pdftotext of poppler-utils).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QtTest/QTest>
#include <sstream>
#include <string>

#include "CapacityGauges.h"
#include "DemoHost.h"
#include "Golden.h"
#include "HostTools.h"
#include "LoadSheetPaint.h"
#include "OrderFindBox.h"
#include "QtTestSupport.h"
#include "tools/FindOrder.h"
#include "tools/LoadSheet.h"
#include "tools/SheetText.h"

namespace tarvine::qt::test {
namespace {

// A control on the demo load's route service.
struct DemoControl {
  DemoService service;
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
  DemoControl() { tarvine::test::pointAtDemo(control, service.server()); }
};

// A scan of a P.O. the list lacks marks the box red and offers Add as astray; with Pick on scan a
// scan picks the P.O., and the weight gauge adds the segments on the load and turns red over the
// limit (tests/golden/qt/tools-FindBox.txt).
TEST(ToolsWindowTest, FindBoxPicksOnScanAndGaugesFollowThePicks) {
  DemoControl demo;
  TarvineOrderPick& control = demo.control;
  tools::TrailerCapacity capacity(control);
  capacity.setLimits(tools::TrailerLimits{1000, 5000, std::nullopt});
  OrderPickWidget widget(control);
  CapacityGauges gauges(capacity);
  OrderFindBox box(control, widget.runner());
  std::string seen;
  QObject::connect(&box, &OrderFindBox::statusMessage,
                   [&](const QString& text) { seen += "status: " + text.toStdString() + '\n'; });
  const auto note = [&](const std::string& step) {
    const ListView& list = control.widgets().lvwOrderIDs;
    auto* weight = child<QLabel>(gauges, "weightGaugeText");
    seen += step + ": weight " + control.widgets().lblTotal5.caption() + ", gauge \"" +
            weight->text().toStdString() + '"' +
            (weight->parentWidget()->styleSheet().isEmpty() ? "" : " red") +
            (capacity.over().weight ? " over" : "") +
            (box.idBox()->property("missing").toBool() ? ", box red" : "") +
            (box.addAstray()->isVisibleTo(&box) ? ", Add as astray offered" : "") +
            (list.selected() ? ", selected " + list.row(*list.selected()).text +
                                   (list.row(*list.selected()).checked ? " picked" : "")
                             : "") +
            '\n';
  };
  widget.perform([&] { control.PutTarvineID(5001); });
  note("opened");
  for (const auto& [id, pickOnScan] : {std::pair{"12-99999", false}, {"12-34567", true}}) {
    box.idBox()->clear();
    box.pickOnScan()->setChecked(pickOnScan);
    QTest::keyClicks(box.idBox(), QString::fromLatin1(id));
    note(std::string(id) + " typed");
    QTest::keyClick(box.idBox(), Qt::Key_Return);
    note(std::string(id) + " scanned");
  }
  tarvine::test::expectGolden(seen, "qt/tools-FindBox.txt");
}

// Two centers of 90 segments each: several pages, each with the header and its number, and the
// totals and the count of unsaved P.O.s left out at the end (that the sheet is the load whatever
// the screen shows: LoadSheetTest).
TEST(SheetPdfTest, EveryPageHasTheHeaderAndTheEndHasTheTotals) {
  tools::LoadSheet sheet{"5001",
                         "Lakes run [ R7 ]",
                         "06/01/2026 07:30",
                         "7 (type 2)",
                         {},
                         {},
                         tools::TrailerLimits{44000, 3800, 500}};
  for (const char* id : {"12", "15"}) {
    tools::SheetCenter center{id, "North", {}, {90, 180, 9000, 135, 900}};
    for (int i = 0; i < 90; ++i) {
      center.lines.push_back({std::string(id) + "-" + std::to_string(1000 + i), "1", "11/30/2026",
                              2, 100, 1.5, 10, i % 7 == 0});
    }
    sheet.centers.push_back(center);
  }
  sheet.totals = {180, 360, 18000, 270, 1800};
  sheet.unsavedOrders = 2;
  for (const auto& [paper, pageSize] :
       {std::pair{QPageSize::Letter, "612 x 792"}, {QPageSize::A4, "595 x 842 pts (A4)"}}) {
    TempDir dir;
    const std::string path = (dir.path() / "sheet.pdf").string();
    ASSERT_EQ(writeLoadSheetPdf(sheet, QString::fromStdString(path), paper), "");

    const std::string info = runCommand("pdfinfo '" + path + "'").second;
    EXPECT_NE(info.find(pageSize), std::string::npos) << info;
    const auto pagesAt = info.find("Pages:");
    ASSERT_NE(pagesAt, std::string::npos) << info;
    const int pages = std::stoi(info.substr(pagesAt + 6));
    ASSERT_GE(pages, 3);
    // Pages end with a form feed: each one has the header, the column titles and its number.
    const std::string all = runCommand("pdftotext -layout '" + path + "' -").second;
    std::istringstream text(all);
    int page = 0;
    for (std::string one; std::getline(text, one, '\f') && page < pages;) {
      ++page;
      for (const std::string& expected :
           {std::string("Load sheet - Manifest 5001"), std::string("Freight ($)"),
            "Page " + std::to_string(page) + " of " + std::to_string(pages)}) {
        EXPECT_NE(one.find(expected), std::string::npos) << page << ": " << expected;
      }
    }
    EXPECT_EQ(page, pages);
    for (const char* expected : {"Load total, 180 segments", "18,000", "1,800.00",
                                 "Center 15 North", "Trailer Cartons: 360 of 500 cartons (72 %)",
                                 "Unsaved changes on screen are not on this sheet: 2"}) {
      EXPECT_NE(all.find(expected), std::string::npos) << expected;
    }
  }
}

// With unsaved work the window asks before a sheet: Escape makes none, Enter (the default)
// prints the saved load with the pick left out and counted, Save and print saves it first.
TEST(ToolsWindowTest, ASheetWithUnsavedWorkAsksFirst) {
  DemoControl demo;
  TarvineOrderPick& control = demo.control;
  QMainWindow window;
  OrderPickWidget widget(control);
  app::HostTools hostTools(window, control, widget, std::nullopt);
  ListView& list = control.widgets().lvwOrderIDs;
  widget.perform([&] {
    control.PutTarvineID(5001);
    list.userToggleCheck(*tools::findOrder(list, "15-20017"));  // 5 segments
  });
  const std::tuple<const char*, std::size_t, std::size_t> rows[] = {
      {"Escape", 0, 0}, {"Return", 24, 1}, {"saveAndPrint", 29, 0}};
  for (const auto& [answer, segments, unsaved] : rows) {
    ModalScript script;
    script.expect([answer](QWidget& box) {
      auto* button = box.findChild<QAbstractButton*>(answer);
      button ? button->click()
             : QTest::keyClick(box.focusWidget(), *answer == 'E' ? Qt::Key_Escape : Qt::Key_Return);
    });
    script.start();
    const std::optional<tools::LoadSheet> sheet = hostTools.sheet();
    EXPECT_EQ(sheet ? sheet->totals.segments : 0, segments) << answer;
    EXPECT_EQ(sheet ? sheet->unsavedOrders : 0, unsaved) << answer;
  }
}

}  // namespace
}  // namespace tarvine::qt::test
