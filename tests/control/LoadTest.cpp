// Opening a load and picking on the list, as transcripts of what the user sees; the host's
// setters and the error report.

#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "control/ErrorReport.h"

namespace tarvine::test {
namespace {

using C = ControlTest;

// P.O. 12-N (one segment) with these freight columns.
ReplyRow freightRow(int n, const std::string& freight, const std::string& suggested,
                    const std::string& overridden) {
  return orderRow("12-" + std::to_string(n), 1, "0", freight, 1, 10,
                  {{"TotalSuggestedFreight", suggested}, {"OverrideFreightIndicator", overridden}});
}

const Scenario kLoads[] = {
    {"ExampleLoad",
     {},
     "state; load 5001; state; !expect rows 6; !expect checked 1; !expect cell 2 5 0; selectall; "
     "state; selectall; "
     "state; toggle 2; state; !expect checked 3; toggle 3; state; sort 7; state; sort 7; state; "
     "reply no; center 2; state; center 0; state; !expect changed 0; !grey; state; cancel; state; "
     "!expect rows 6"},
    {"FreightOverrides",
     {},
     "load 5001; state; dblclick 2; state; answer 1500; dblclick 1; state; "
     "!expect cell 1 6 1,500.00; !expect changed 3; answer $12; dblclick 1; state; "
     "!expect prompt Freight must be a numeric value; answer-cancel; dblclick 5; state; "
     "answer 1,234.50; dblclick 5; state; answer 0; dblclick 1; dblclick 1; state; "
     "!expect cell 1 6 0.00; reply no; cancel; center 0; state; !expect cell 1 6 125.50; "
     "!expect changed 0"},
    {"OverrideOpensForHotAndNoRate",
     serving({orderRow("12-1", 1, "0", "10", 1, 10),
              orderRow("12-1", 2, "0", "10", 1, 10, {{"HighPriorityIndicator", "true"}}),
              orderRow("12-2", 1, "0", "10", 1, 10), orderRow("12-2", 2, "0", "NoRate", 1, 10)}),
     "load 5001; answer-cancel; answer 7; dblclick 2; dblclick 4; dblclick 4; state; "
     "!expect cell 4 6 7.00; !expect cell 4 10 True"},
    {"ColoursAtFillTime",
     serving({orderRow("12-1", 1, "5001", "10", 1, 10, {{"HighPriorityIndicator", "true"}}),
              orderRow("12-2", 1, "0", "10", 1, 10, {{"HighPriorityIndicator", "1"}}),
              orderRow("12-3", 1, "0", "10", 1, 10)}),
     "load 5001; state; !expect color 1 16711680; !expect color 2 255; toggle 3; state; "
     "!expect color 3 0"},
    {"OneCenterWithNothingListed", serving({orderRow("12-1", 1, "5001", "10", 1, 10)}),
     "load 5001; state; center 2; state; !expect rows 0; !expect caption lblTotal4 0"},
    {"CenterOffTheRouteLeftOut",
     serving({orderRow("12-1", 1, "0", "10", 1, 10), orderRow("33-1", 1, "5001", "10", 1, 10)}),
     "load 5001; state; !expect rows 1; !expect cell 1 0 12-1"},
    {"MinusOneFreight",
     serving({orderRow("12-1", 1, "5001", "NoRate", 1, 10, {{"TotalSuggestedFreight", "-1"}}),
              orderRow("12-2", 1, "5001", "20", 1, 10)}),
     "load 5001; state; !expect cell 1 6 -1; !expect caption lblTotal6 19.00"},
    // A first row without a load counts as on it; a row without values copies the row before.
    {"WorkingValuesCarryOver",
     [](C& t) {
       ReplyRow first = orderRow("12-1", 1, "0", "10", 7, 300, {{"HighPriorityIndicator", "1"}});
       std::erase_if(first, [](const auto& column) { return column.first == "OutgoingLoad"; });
       serving({first, ReplyRow{{"OrderID", "12-1"}, {"VOZA_OrderSegment", "2"}}, {}})(t);
     },
     "load 5001; state; !expect checked 3; !expect cell 3 4 7; !expect cell 3 8 X"},
    {"HeavyLoad",
     serving({orderRow("12-1", 1, "5001", "1000", 30000, 30000),
              orderRow("12-2", 1, "5001", "2000.25", 30000, 30000),
              orderRow("12-3", 1, "0", "5", 1, 5000)}),
     "load 5001; state; !expect caption lblTotal5 60,000.00; toggle 3; state; "
     "!expect caption lblTotal4 60001; selectall; state; !expect changed 3"},
    {"BadSegment",
     serving({orderRow("12-1", 1, "0", "10", 1, 10), orderRow("12-2", 40000, "0", "10", 1, 10)}),
     "load 5001; state; !expect reported 1; !expect rows 0"},
    {"UnusableReplies",
     [](C& t) {
       t.serveExampleLoad();
       t.service.setReply("GetOutgoingLoadAllOrders", 200, "<html>busy</html>");
       t.service.setReply("GetOutgoingLoadCenterIDAndCenter", 500, "");
     },
     "load 5001; state; !expect reported 2; !expect rows 0"},
    {"CenterRowWithoutId",
     serving({{{"CenterID", "12"}, {"CenterName", "North"}}, {{"CenterName", "Bad"}, {"CenterID", ""}}},
             "GetOutgoingLoadCenterIDAndCenter"),
     "load 5001; state; !expect reported 1; !expect rows 4"},
    {"NothingListening", {}, "server http://127.0.0.1:9; load 5001; state; !expect reported 4"},
    {"FacilityNotUtf8",
     {},
     "facility \"DOCK \xFF\"; load 5001; state; !expect sent GetOutgoingLoadAllOrders 0; "
     "!expect reported 1"},
    {"LoadIdBeyond16Bits",
     {},
     "load 5001; state; load 40000; state; !expect reported 1; !expect rows 6; center 0; state"},
    {"RowCheckErrorRestoresServiceTotals",
     {},
     "load 5001; state; !cartons 4 many; toggle 4; state; !expect caption lblTotal4 12.00; "
     "!expect caption lblTotal5 2,500.00"},
    {"RowCheckErrorWithoutSumParcels", serving({{{"SumWeight", "1"}}}, "GetOutgoingLoadBasicTotal"),
     "load 5001; !cartons 4 many; toggle 4; state; !expect caption lblTotal4 8"},
    {"RowCheckErrorShowsTheLastTotalRow",
     serving({{{"SumParcels", "12"}, {"SumWeight", "2500"}, {"SumFreight", "1"}},
              {{"SumParcels", "3"}, {"SumWeight", "1"}, {"SumFreight", "2"}}},
             "GetOutgoingLoadBasicTotal"),
     "load 5001; !cartons 4 many; toggle 4; state; !expect caption lblTotal4 3.00"},
    // The freight a row shows: its own, else the suggested one (rounded to cents) unless it is
    // overridden; "NoRate" counts as none. The save writes the same freight.
    {"FreightRules",
     serving({freightRow(1, "NoRate", "99.999", "false"), freightRow(2, "NoRate", "99", "true"),
              freightRow(3, "0", "123.456", "false"), freightRow(4, "45.5", "999", "false"),
              freightRow(5, "0", "999", "True"), freightRow(6, "-1", "-1", "false"),
              freightRow(7, "NoRate", "-1", "0")}),
     "load 5001; state; selectall; save; !expect statements 14; "
     "!expect cell 3 6 123.46; !expect statement Update VOZA_OrderHeader Set "
     "VOZA_OrderHeader.OutgoingLoad = 5001, Freight = 0.00  Where CenterID = 12 and OrderID = "
     "'12-2' and VOZA_OrderSegment = 1"},
    // The host hears of a person it cannot set; the first value of a pair is set before the
    // second one fails, as the saved history shows (person 9, type still 2).
    {"PersonSetFailsBackToTheHost",
     {},
     "person 70000 1; person 9 abc; load 5001; toggle 4; save; "
     "!expect statement EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-200',1,9,2"},
    {"SelectAllErrorKeepsTheTotals",
     {},
     "load 5001; state; !cartons 2 40000; selectall; state; !expect reported 1; "
     "!expect caption lblTotal4 8"},
    // Values the back office holds with "&", "<" and ">" show and save as it holds them.
    {"MarkupCharactersInValues",
     [](C& t) {
       serving({orderRow("12-P&O", 1, "0", "10", 1, 10)})(t);
       t.service.setRows("GetOutgoingLoadCenterIDAndCenter",
                         {{{"CenterID", "12"}, {"CenterName", "Dayton & <Co>"}}});
       t.service.setRows("GetOutgoingLoadDescriptionRoute",
                         {{{"Description", "Ohio & Valley"}, {"Route", "R&7"}}});
     },
     "load 5001; state; toggle 1; save; !expect caption lblRoute Ohio & Valley [R&7 ]; "
     "!expect cell 1 0 12-P&O; !expect statements 2; "
     "!expect statement EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-P&O',1,7,2"},
    // An answer without a data set is told once, and the list is not filled as an empty load.
    {"AnswerWithoutADataSet",
     [](C& t) {
       t.serveExampleLoad();
       t.service.setReply(
           "GetOutgoingLoadAllOrders", 200,
           service::test::soapDataSetReply("GetOutgoingLoadAllOrders", "<Root><DataSet><broken"));
     },
     "load 5001; state; !expect reported 1; !expect logged held no readable data set; "
     "!expect logged Error Source - prjTarvineActiveX PopulateAllOrders"},
};

INSTANTIATE_TEST_SUITE_P(Loads, ScenarioTest, ::testing::ValuesIn(kLoads), caseName);

// After an outage the screen never shows the header of the load shown before, and a refresh
// reads the whole load again.
TEST_F(ControlTest, AnOutageNeverShowsTheHeaderOfTheLoadBefore) {
  serveExampleLoad();
  run("load 5001; server http://127.0.0.1:9; load 7777; state");
  EXPECT_EQ(control.widgets().lblRoute.caption(), "");
  control.PutServerName(service.server());
  run("refresh; state");
  EXPECT_EQ(control.widgets().lblRoute.caption(), "Lakes run [R7 ]");
  EXPECT_EQ(sent[4].operation, "GetOutgoingLoadCenterIDAndCenter");  // after 5001's four
  expectTranscript("AnOutageNeverShowsTheHeaderOfTheLoadBefore");
}

TEST(ErrorReportTest, LogEntryLines) {
  EXPECT_EQ(errorLogEntry(RuntimeError(-2146697211, "No connection", "libcurl"), "AddPO", "more",
                          kFormProjectLine),
            "\r\n\r\nError Number - -2146697211\r\nError Description - No connection\r\n"
            "Error Source - libcurl AddPO\r\nAdditional Error Info - more\r\n"
            "Project Associated - TarvineOrderPick (frmAstray)");
  // Texts from outside cannot forge a line: controls and separators are written as escapes, and
  // a backslash doubled, so that "\\n" in a text never reads as an escaped line break.
  const RuntimeError forged(5, "x\r\n\r\nError Number - 0\t\x1b[2J\x7f\xc2\x85\xc2\xa0\\n",
                            "a\nb\xe2\x80\xa8\xe2\x80\xa9");
  EXPECT_EQ(
      errorLogEntry(forged, "P", "c\rd", kControlProjectLine),
      "\r\n\r\nError Number - 5\r\n"
      "Error Description - x\\r\\n\\r\\nError Number - 0\\t\\x1b[2J\\x7f\\u0085\xc2\xa0\\\\n\r\n"
      "Error Source - a\\nb\\u2028\\u2029 P\r\nAdditional Error Info - c\\rd\r\n"
      "Project Associated - TarvineOrderPick");
}

}  // namespace
}  // namespace tarvine::test
