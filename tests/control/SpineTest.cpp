// The control as a host creates and sets it up, its screen reset and its error report.

#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "control/ErrorReport.h"

namespace tarvine::test {
namespace {

TEST(ControlStartTest, FreshControlHasItsColumnsAndNoLoad) {
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control(dialogs, log);
  EXPECT_EQ(control.outgoingLoadID(), -1);
  EXPECT_EQ(control.selectedCenterID(), -1);
  const ListView& list = control.widgets().lvwOrderIDs;
  EXPECT_TRUE(list.reportView());
  EXPECT_EQ(list.rowCount(), 0u);
  const std::vector<std::string> captions = {
      "Order ID",    "X",  "Segment", "Received", "Cartons #", "Weight (lbs)",
      "Freight ($)", "  ", "Hot",     "Astray",   ""};
  ASSERT_EQ(list.columns().size(), captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i)
    EXPECT_EQ(list.columns()[i].caption, captions[i]);
  EXPECT_FLOAT_EQ(static_cast<float>(list.columns()[0].width), 8415.0f / 6.0f);
  EXPECT_DOUBLE_EQ(list.columns()[2].width, 8415 / 9.5);
  EXPECT_EQ(list.columns()[5].alignment, Alignment::Right);
  EXPECT_EQ(list.columns()[7].width, 0);
  EXPECT_EQ(list.columns()[10].width, 0);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(log.entries().empty());
}

TEST_F(ControlTest, SettersStoreWithoutSending) {
  control.PutServerName("http://backoffice:8080");
  EXPECT_EQ(control.webServiceURL(),
            "http://backoffice:8080/WebServices/VOZAWebservice/VOZAWebservice.asmx");
  EXPECT_EQ(control.soapActionStart(), "http://tarvine.example/VOZARouteLocations/Service1/");
  control.SetPersonInformation("12.5", "3");
  EXPECT_EQ(control.personID(), 12);
  EXPECT_EQ(control.personTypeID(), 3);
  EXPECT_TRUE(service.requests().empty());
}

TEST_F(ControlTest, PersonInformationFailsBackToTheHost) {
  try {
    control.SetPersonInformation("70000", "1");
    FAIL() << "expected an overflow";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 6);
  }
  // The first value is set before the second one fails.
  EXPECT_THROW(control.SetPersonInformation("9", "abc"), RuntimeError);
  EXPECT_EQ(control.personID(), 9);
}

TEST_F(ControlTest, CancelClearsTheListButKeepsTheLoadHeader) {
  openExampleLoad();
  control.widgets().chkSellectAll.userClick();
  control.widgets().cmdCancel.userClick();
  const ControlWidgets& w = control.widgets();
  EXPECT_EQ(list().rowCount(), 0u);
  EXPECT_EQ(totals(), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(w.chkSellectAll.value(), 0);
  EXPECT_FALSE(w.chkSellectAll.enabled());
  EXPECT_EQ(w.cboCenter.listIndex(), -1);
  EXPECT_EQ(w.lblTarvineID.caption(), "5001");
  EXPECT_EQ(w.lblRoute.caption(), "Lakes run [R7 ]");
  EXPECT_EQ(control.selectedCenterID(), -1);
}

TEST(ErrorReportTest, LogEntryLines) {
  const RuntimeError error(91, "Object variable not set", "prjTarvineActiveX");
  EXPECT_EQ(errorLogEntry(error, "cboCenter_Click()", "", kControlProjectLine),
            "\r\n\r\nError Number - 91\r\nError Description - Object variable not set\r\n"
            "Error Source - prjTarvineActiveX cboCenter_Click()\r\n"
            "Project Associated - TarvineOrderPick");
  EXPECT_EQ(errorLogEntry(RuntimeError(-2146697211, "No connection", "libcurl"), "AddPO", "more",
                          kFormProjectLine),
            "\r\n\r\nError Number - -2146697211\r\nError Description - No connection\r\n"
            "Error Source - libcurl AddPO\r\nAdditional Error Info - more\r\n"
            "Project Associated - TarvineOrderPick (frmAstray)");
  // Control characters of texts from outside cannot forge a line: they are written as escapes.
  const RuntimeError forged(5, "x\r\n\r\nError Number - 0\t\x1b[2J\xc2\x85\xc2\xa0", "a\nb");
  EXPECT_EQ(errorLogEntry(forged, "P", "c\rd", kControlProjectLine),
            "\r\n\r\nError Number - 5\r\n"
            "Error Description - x\\r\\n\\r\\nError Number - 0\\t\\x1b[2J\\u0085\xc2\xa0\r\n"
            "Error Source - a\\nb P\r\nAdditional Error Info - c\\rd\r\n"
            "Project Associated - TarvineOrderPick");
}

TEST(ErrorReportTest, ShowsThePromptBeforeLogging) {
  RecordingDialogs dialogs;
  MemoryEventLog log;
  std::size_t entriesWhenShown = 99;
  dialogs.setObserver([&](const DialogShown&) { entriesWhenShown = log.entries().size(); });
  reportError(dialogs, log, RuntimeError(6, "Overflow"), "PutTarvineID", "", kControlProjectLine);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].prompt,
            "An application error has occured. Please check the error logs");
  EXPECT_EQ(dialogs.messages()[0].buttons, 64);
  EXPECT_FALSE(dialogs.messages()[0].title);
  EXPECT_EQ(entriesWhenShown, 0u);
  EXPECT_EQ(log.entries().size(), 1u);
}

}  // namespace
}  // namespace tarvine::test
