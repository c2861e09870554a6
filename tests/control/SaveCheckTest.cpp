// The check before a save: the P.O.s a save writes are read again and compared with what was
// loaded; a difference is asked about before anything is sent.

#include <gtest/gtest.h>

#include "ControlFixture.h"

namespace tarvine::test {
namespace {

constexpr const char* kQuestion =
    "\r\nSave your changes over theirs? Choose No to keep your changes unsaved and look first.";
constexpr const char* kSaved = "Outgoing load information has been updated successfully!!!";

// 12-34567 (the P.O. the user changes) and 15-20001 (one nobody here touches).
std::vector<ReplyRow> rows(std::vector<ReplyRow> changed, const std::string& untouchedLoad) {
  changed.push_back(orderRow("15-20001", 1, untouchedLoad, "60", 2, 300));
  return changed;
}
ReplyRow segment(int number, const std::string& load,
                 std::vector<std::pair<std::string, std::string>> extra = {}) {
  return orderRow("12-34567", number, load, "40", 3, 700, std::move(extra));
}

struct CheckCase {
  const char* name;
  std::vector<ReplyRow> loaded, now;
  std::string told;  // the lines of the question; empty: the save goes on unasked
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.name;
}

class SaveCheck : public ControlTest, public ::testing::WithParamInterface<CheckCase> {};

// The user clicks the first P.O. twice, so the save writes it as loaded, over whatever the back
// office holds now.
TEST_P(SaveCheck, AsksBeforeSavingOverADifference) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", GetParam().loaded);
  control.PutTarvineID(5001);
  service.setRows("GetOutgoingLoadAllOrders", GetParam().now);
  const bool checked = checkedAt(1);
  list().userToggleCheck(1);
  list().userToggleCheck(1);
  service.clearRequests();
  dialogs.clearShown();
  control.widgets().cmdSave.userClick();

  if (GetParam().told.empty()) {
    EXPECT_EQ(messagePrompts(), std::vector<std::string>{kSaved});
    EXPECT_EQ(service.operations(),
              (std::vector<std::string>{"GetOutgoingLoadAllOrders", "UpdateOutgoingLoadOrder",
                                        "GetOutgoingLoadAllOrders", "GetOutgoingLoadBasicTotal"}));
    return;
  }
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const MessageBoxShown asked = dialogs.messages()[0];
  EXPECT_EQ(asked.prompt, GetParam().told + kQuestion);
  EXPECT_EQ(asked.title, "TarvineOrderPick");
  EXPECT_EQ(asked.buttons, 4 + 48);
  // Unanswered, the box says No: nothing is sent and the change stays on screen.
  EXPECT_EQ(asked.answer, kMsgResultNo);
  EXPECT_EQ(service.operations(), std::vector<std::string>{"GetOutgoingLoadAllOrders"});
  EXPECT_EQ(checkedAt(1), checked);
  EXPECT_EQ(cell(1, 7), "1");
}

const std::string kSince = " since you opened it\r\n";

INSTANTIATE_TEST_SUITE_P(
    Differences, SaveCheck,
    ::testing::Values(
        CheckCase{"OnlyAnUntouchedPOChanged", rows({segment(1, "0")}, "5001"),
                  rows({segment(1, "0")}, "0"), ""},
        CheckCase{"TakenOff", rows({segment(1, "5001"), segment(2, "5001")}, "5001"),
                  rows({segment(1, "0"), segment(2, "0")}, "0"),
                  "12-34567: taken off this load by someone else" + kSince},
        CheckCase{"PutOn", rows({segment(1, "0"), segment(2, "0")}, "5001"),
                  rows({segment(1, "5001"), segment(2, "5001")}, "0"),
                  "12-34567: put on this load by someone else" + kSince},
        CheckCase{"OneSegmentTakenOff", rows({segment(1, "5001"), segment(2, "5001")}, "5001"),
                  rows({segment(1, "5001"), segment(2, "0")}, "0"),
                  "12-34567 segment 2: taken off this load by someone else" + kSince},
        CheckCase{"FreightChanged",
                  rows({segment(2, "0", {{"Freight", "0"}, {"TotalSuggestedFreight", "0"}}),
                        segment(3, "0")},
                       "5001"),
                  rows({segment(2, "0", {{"Freight", "45"}, {"TotalSuggestedFreight", "0"}}),
                        segment(3, "0", {{"Freight", "0"}})},
                       "0"),
                  "12-34567 segment 2: freight changed from 0.00 to 45.00" + kSince},
        CheckCase{"OverrideSet", rows({segment(1, "0")}, "5001"),
                  rows({segment(1, "0", {{"OverrideFreightIndicator", "true"}})}, "0"),
                  "12-34567 segment 1: freight override set by someone else" + kSince},
        CheckCase{
            "SegmentAddedByAnAstrayAdd", rows({segment(1, "5001")}, "5001"),
            rows({segment(1, "5001"), segment(2, "5001", {{"OverrideFreightIndicator", "true"}})},
                 "0"),
            "12-34567 segment 2: added to this load by someone else" + kSince},
        CheckCase{"SegmentGone", rows({segment(1, "0"), segment(2, "0")}, "5001"),
                  rows({segment(1, "0")}, "0"),
                  "12-34567 segment 2: gone from this load's list" + kSince},
        CheckCase{"POGone", rows({segment(1, "0"), segment(2, "0")}, "5001"), rows({}, "0"),
                  "12-34567: gone from this load's list" + kSince}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

// Someone did just what this save writes (or an earlier save went through though its reply was
// lost): nothing would be undone, so nothing is asked.
TEST_F(ControlTest, AChangeTheSaveWritesAlikeIsNotAsked) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", {segment(1, "0")});
  control.PutTarvineID(5001);
  service.setRows("GetOutgoingLoadAllOrders", {segment(1, "5001", {{"Freight", "99"}})});
  list().userToggleCheck(1);
  dialogs.queueAnswer("99");
  list().userClick(1);
  list().userDoubleClick(1);
  dialogs.clearShown();
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(messagePrompts(), std::vector<std::string>{kSaved});
}

TEST_F(ControlTest, TheQuestionShowsTenLinesAndCountsTheRest) {
  serveExampleLoad();
  std::vector<ReplyRow> loaded, now;
  std::string told;
  for (int i = 1; i <= 12; ++i) {
    const std::string order = "12-" + std::to_string(i);
    loaded.push_back(orderRow(order, 1, "0", "40", 1, 100));
    now.push_back(orderRow(order, 1, "5001", "40", 1, 100));
    if (i <= 10) told += order + ": put on this load by someone else since you opened it\r\n";
  }
  service.setRows("GetOutgoingLoadAllOrders", loaded);
  control.PutTarvineID(5001);
  service.setRows("GetOutgoingLoadAllOrders", now);
  // Every P.O. on and off again: the save writes them as loaded.
  control.widgets().chkSellectAll.userClick();
  control.widgets().chkSellectAll.userClick();
  dialogs.clearShown();
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(messagePrompts(), std::vector<std::string>{told + "and 2 more\r\n" + kQuestion});
}

struct FailedRead {
  const char* name;
  int status;
  std::string body;
  std::string logged;     // number and description of the one error report
  std::string procedure;  // where it was reported
};

void PrintTo(const FailedRead& c, std::ostream* os) {
  *os << c.name;
}

class FailedCheckRead : public ControlTest, public ::testing::WithParamInterface<FailedRead> {};

// A check read that fails stops the save as a refused update does: told, nothing sent.
TEST_P(FailedCheckRead, StopsTheSaveAndKeepsThePicks) {
  openExampleLoad();
  list().userToggleCheck(1);
  service.setReply("GetOutgoingLoadAllOrders", GetParam().status, GetParam().body);
  control.widgets().cmdSave.userClick();
  EXPECT_EQ(service.operations(), std::vector<std::string>{"GetOutgoingLoadAllOrders"});
  EXPECT_EQ(messagePrompts(), std::vector<std::string>{
                                  "An application error has occured. Please check the error logs"});
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find(GetParam().logged), std::string::npos) << log.entries()[0];
  EXPECT_NE(log.entries()[0].find(" " + GetParam().procedure + "\r\n"), std::string::npos);
  EXPECT_EQ(cell(1, 7), "1");
  EXPECT_TRUE(checkedAt(1));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FailedCheckRead,
    ::testing::Values(
        FailedRead{"Refused", 500, service::test::soapFaultReply("busy"),
                   "Error Number - 500\r\nError Description - busy\r\n", "ReturnWebserviceXML"},
        FailedRead{"NotADataSet", 200,
                   service::test::soapDataSetReply("GetOutgoingLoadAllOrders", "no rows today"),
                   "Error Number - 200\r\nError Description - The GetOutgoingLoadAllOrders reply "
                   "read before saving holds no data set; nothing was saved\r\n",
                   "cmdSave_Click()"}),
    [](const ::testing::TestParamInfo<FailedRead>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvine::test
