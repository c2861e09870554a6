// Saving picks, as transcripts: the statements sent, what the user is told, the screen after; and
// the check before a save, which reads the P.O.s again and asks about any difference.

#include <gtest/gtest.h>

#include "ControlFixture.h"

namespace tarvine::test {
namespace {

using C = ControlTest;
namespace replies = service::test;

// 12-34567 segment 1 (freight 125, not on the load) and 15-20001 segment 2 (on the load).
const auto kWorkedExample =
    serving({orderRow("12-34567", 1, "0", "125", 3, 700),
             orderRow("15-20001", 2, "5001", "0", 4, 900, {{"TotalSuggestedFreight", "0"}})});

// A segment of 12-34567 (the P.O. the user changes), and 15-20001 (one nobody here touches).
ReplyRow segment(int number, const std::string& load,
                 std::vector<std::pair<std::string, std::string>> extra = {}) {
  return orderRow("12-34567", number, load, "40", 3, 700, std::move(extra));
}
std::vector<ReplyRow> rows(std::vector<ReplyRow> changed, const std::string& untouchedLoad) {
  changed.push_back(orderRow("15-20001", 1, untouchedLoad, "60", 2, 300));
  return changed;
}

// P.O.s 12-1 to 12-12, one segment each, on `load`.
std::vector<ReplyRow> twelvePOs(const std::string& load) {
  std::vector<ReplyRow> rows;
  for (int i = 1; i <= 12; ++i)
    rows.push_back(orderRow("12-" + std::to_string(i), 1, load, "40", 1, 100));
  return rows;
}

// The load opens as `loaded`; the service then holds `now`. The user clicks the first P.O.
// twice, so the save writes it as loaded, over whatever the back office holds now. Unless only
// an untouched P.O. changed, the save asks first, and its unanswered question sends nothing.
Scenario checked(const char* name, std::vector<ReplyRow> loaded, std::vector<ReplyRow> now,
                 bool asks = true) {
  return {name, serving(loaded),
          std::string("load 5001; state; !midway; toggle 1; toggle 1; save; state; ") +
              (asks ? "!expect prompt Save your changes over theirs?; "
                      "!expect sent UpdateOutgoingLoadOrder 0"
                    : "!expect boxes 1; !expect sent UpdateOutgoingLoadOrder 1"),
          [now](C& t) { t.service.setRows("GetOutgoingLoadAllOrders", now); }};
}

// The example load's first P.O. picked; the save meets this reply to its update (or, when
// `check` is set, to the read before it).
Scenario replied(const char* name, int status, std::string body, bool check = false) {
  return {name,
          {},
          std::string("load 5001; toggle 1; state; !midway; save; state; !expect reported 1; "
                      "!expect changed 3; !expect sent UpdateOutgoingLoadOrder ") +
              (check ? "0" : "1"),
          [=](C& t) {
            t.service.setReply(check ? "GetOutgoingLoadAllOrders" : "UpdateOutgoingLoadOrder",
                               status, body);
          }};
}

// Unsaved work (12-100 picked, 15-300's freight set to 700) meets the user's center switch or
// Cancel, answered as hosts may: Yes saves first, No discards (the override leaves the record
// too), Cancel, an unanswered box and an OK-only host's OK keep everything, the center box back
// on the entry shown without a refill. The facts: the question's buttons (Cancel the default),
// the center entry, the rows unsaved, 15-300's record freight and the basic-total reads (one
// per refill, the load's own included).
struct Asked {
  const char* name;
  const char* action;
  const char* reply;
  int centerIndex;
  std::size_t unsaved;
  double freight;
  std::size_t totalsReads;
};
Scenario asked(const Asked& a) {
  return {a.name,
          {},
          std::string("load 5001; toggle 1; answer 700; dblclick 5; ") + a.reply + a.action +
              "; state; !expect sent GetOutgoingLoadBasicTotal " + std::to_string(a.totalsReads) +
              "; !midway",
          [a](C& t) {
            EXPECT_EQ(t.dialogs.messages().at(0).buttons, kMsgSaveDiscardCancel);
            EXPECT_EQ(t.control.widgets().cboCenter.listIndex(), a.centerIndex);
            EXPECT_EQ(t.control.unsavedChanges().rows, a.unsaved);
            EXPECT_EQ(t.control.orders()[4].Freight, a.freight);
          }};
}

const Scenario kAsked[] = {
    asked({"SwitchSaves", "center 2", "reply yes; ", 2, 0, 1234.5, 3}),
    asked({"SwitchDiscards", "center 2", "reply no; ", 2, 0, 1234.5, 2}),
    asked({"SwitchCancelled", "center 2", "reply cancel; ", 0, 4, 700, 1}),
    asked({"SwitchUnanswered", "center 2", "", 0, 4, 700, 1}),
    asked({"SwitchOkOnlyHost", "center 2", "reply ok; ", 0, 4, 700, 1}),
    asked({"SameCenterCancelled", "center 0", "reply cancel; ", 0, 4, 700, 1}),
    asked({"CancelSaves", "cancel", "reply yes; ", -1, 0, 1234.5, 3}),
    asked({"CancelDiscards", "cancel", "reply no; ", -1, 0, 1234.5, 2}),
    asked({"CancelCancelled", "cancel", "reply cancel; ", 0, 4, 700, 1}),
    asked({"CancelUnanswered", "cancel", "", 0, 4, 700, 1}),
    asked({"CancelOkOnlyHost", "cancel", "reply ok; ", 0, 4, 700, 1}),
};

const Scenario kSaves[] = {
    {"WorkedExample", kWorkedExample,
     "load 5001; state; toggle 1; toggle 2; save; state; !expect statements 4; "
     "!expect statement EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 5, '15-20001',2,7,2; "
     "!expect changed 0"},
    {"ToggledTwiceOrFreightOnlyGetNoHistory", kWorkedExample,
     "load 5001; toggle 1; toggle 1; answer 130; dblclick 1; save; state; "
     "!expect statements 1"},
    {"WholePOThenOneCenterView",
     {},
     "load 5001; toggle 1; save; state; !expect statements 6; load 5001; center 2; "
     "answer-cancel; dblclick 1; toggle 2; toggle 1; save; state; !expect statements 4; "
     "!expect statement EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '15-400',1,7,2"},
    // 12-200 put on, 15-300 taken off, 15-400's freight overridden: three updates and two
    // history statements (and the spare).
    {"ThreeChangedRowsTwoFlipped",
     {},
     "load 5001; toggle 4; toggle 5; answer 90; dblclick 6; save; state; !expect statements 5"},
    {"CenterIdFromTheOrderIdInTheAllCentersView",
     [](C& t) {
       serving({orderRow("-77", 1, "0", "10", 1, 10, {{"CenterID", "0"}})})(t);
       t.service.setRows("GetOutgoingLoadCenterIDAndCenter",
                         {{{"CenterID", "0"}, {"CenterName", "X"}}});
     },
     "load 5001; toggle 1; save; state; !expect statement Update VOZA_OrderHeader Set "
     "VOZA_OrderHeader.OutgoingLoad = 5001, Freight = 10.00  Where CenterID = 0 and "
     "OrderID = '-77' and VOZA_OrderSegment = 1"},
    {"OrderIdWithoutDashStopsTheSave",
     serving({orderRow("1277", 1, "0", "10", 1, 10, {{"CenterID", "12"}})}),
     "load 5001; toggle 1; save; state; !expect sent UpdateOutgoingLoadOrder 0; "
     "!expect reported 1; !expect changed 1"},
    {"NothingChangedSendsNothing",
     {},
     "load 5001; state; save; state; !expect sent UpdateOutgoingLoadOrder 0; "
     "!expect boxes 0"},
    {"QuotesDoubledAndPlainNumbers",
     serving({orderRow("12-3'4", 1, "0", "1500", 1, 10),
              orderRow("12-5", 1, "0", "NoRate", 1, 10, {{"TotalSuggestedFreight", "-1"}})}),
     "load 5001; selectall; save; state; !expect statement EXECUTE "
     "spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-3''4',1,7,2"},
    replied("SaveRefused", 500, replies::soapFaultReply("string 1: load 5001 is closed")),
    replied("SaveAnsweredWithNothing", 200, ""),
    {"NothingListeningKeepsThePicks", kWorkedExample,
     "load 5001; toggle 1; server http://127.0.0.1:9; save; state; !expect reported 1; "
     "!expect changed 1"},
    {"RefreshReloadsTheOrdersOnly",
     {},
     "load 5001; center 1; state; refresh; state; "
     "!expect sent GetOutgoingLoadCenterIDAndCenter 1; !expect sent GetOutgoingLoadAllOrders 2"},
    checked("OnlyAnUntouchedPOChanged", rows({segment(1, "0")}, "5001"),
            rows({segment(1, "0")}, "0"), false),
    checked("TakenOff", rows({segment(1, "5001"), segment(2, "5001")}, "5001"),
            rows({segment(1, "0"), segment(2, "0")}, "0")),
    checked("PutOn", rows({segment(1, "0"), segment(2, "0")}, "5001"),
            rows({segment(1, "5001"), segment(2, "5001")}, "0")),
    checked("OneSegmentTakenOff", rows({segment(1, "5001"), segment(2, "5001")}, "5001"),
            rows({segment(1, "5001"), segment(2, "0")}, "0")),
    checked(
        "FreightChanged",
        rows({segment(2, "0", {{"Freight", "0"}, {"TotalSuggestedFreight", "0"}}), segment(3, "0")},
             "5001"),
        rows({segment(2, "0", {{"Freight", "45"}, {"TotalSuggestedFreight", "0"}}),
              segment(3, "0", {{"Freight", "0"}})},
             "0")),
    checked("OverrideSet", rows({segment(1, "0")}, "5001"),
            rows({segment(1, "0", {{"OverrideFreightIndicator", "true"}})}, "0")),
    checked("SegmentAddedByAnAstrayAdd", rows({segment(1, "5001")}, "5001"),
            rows({segment(1, "5001"), segment(2, "5001", {{"OverrideFreightIndicator", "true"}})},
                 "0")),
    checked("SegmentGone", rows({segment(1, "0"), segment(2, "0")}, "5001"),
            rows({segment(1, "0")}, "0")),
    checked("POGone", rows({segment(1, "0"), segment(2, "0")}, "5001"), rows({}, "0")),
    {"TheQuestionShowsTenLinesAndCountsTheRest", serving(twelvePOs("0")),
     "load 5001; !midway; selectall; selectall; save; !expect prompt and 2 more; "
     "reply yes; save; state; !expect sent UpdateOutgoingLoadOrder 1",
     [](C& t) { t.service.setRows("GetOutgoingLoadAllOrders", twelvePOs("5001")); }},
    // Someone did just what this save writes (or an earlier save went through though its
    // reply was lost): nothing would be undone, so nothing is asked.
    {"AChangeTheSaveWritesAlikeIsNotAsked", serving({segment(1, "0")}),
     "load 5001; !midway; toggle 1; answer 99; click 1; dblclick 1; save; state; "
     "!expect boxes 1; !expect statements 1",
     [](C& t) {
       t.service.setRows("GetOutgoingLoadAllOrders", {segment(1, "5001", {{"Freight", "99"}})});
     }},
    replied("CheckReadRefused", 500, replies::soapFaultReply("busy"), true),
    replied("CheckReadNotADataSet", 200,
            replies::soapDataSetReply("GetOutgoingLoadAllOrders", "no rows today"), true),
};

INSTANTIATE_TEST_SUITE_P(Saves, ScenarioTest, ::testing::ValuesIn(kSaves), caseName);
INSTANTIATE_TEST_SUITE_P(UnsavedWork, ScenarioTest, ::testing::ValuesIn(kAsked), caseName);

}  // namespace
}  // namespace tarvine::test
