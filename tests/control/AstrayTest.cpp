// Adding an astray P.O. through the form, as transcripts: the checks and their refusals, the
// request, and the refreshed list.

#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "astray/AstrayChecks.h"

namespace tarvine::test {
namespace {

using C = ControlTest;

// The example load; the receipt check answers with these rows.
std::function<void(C&)> receipt(std::vector<ReplyRow> rows) {
  return serving(std::move(rows), "IsPOFound");
}

// P.O. 12-345 received at `center`; the form gets the boxes' texts typed, a click on its button;
// `told` is in a box then, and `adds` requests were sent; `facts` are asserted at the end.
Scenario added(const char* name, const std::string& typed, const std::string& told, int adds = 0,
               std::string center = "12", std::string found = "1", std::string facts = "") {
  return {name,
          receipt({{{"CenterID", center}, {"HighestSegmentNumber", "3"}, {"IsPOFound", found}}}),
          "load 5001; astray; state; " + typed + "; add; state; !expect prompt " + told +
              "; !expect sent AddAstrayPO " + std::to_string(adds) + "; close; state" + facts};
}

const Scenario kAstrays[] = {
    added("Added",
          "type txtPO1 \" 12 \"; type txtPO2 \" 345 \"; type txtCartons 12.5; type txtFreight "
          "17.25; type txtComments \"left at dock 4 & 5\"; reply yes",
          "Astray item has been added to the list successfully!!!", 1),
    added("BlankFirstBox", "type txtPO2 345; type txtCartons 2",
          "PO text box has been left blank."),
    added("BlankSecondBox", "type txtPO1 12; type txtCartons 2",
          "PO text box has been left blank."),
    added("AlreadyListed", "type txtPO1 12; type txtPO2 100; type txtCartons 2",
          "Purchase Order ID is already added in the list for this route."),
    added("NotReceived", "type txtPO1 12; type txtPO2 345; type txtCartons 2",
          "This Purchase Order ID has not been received.", 0, "12", "True"),
    added("CenterOffRoute", "type txtPO1 33; type txtPO2 345; type txtCartons 2",
          "This P.O's Center is not apart of this route.", 0, "33"),
    added("NoCartons", "type txtPO1 12; type txtPO2 345",
          "Please enter number of cartons that were astray"),
    added("CartonsNotNumeric", "type txtPO1 12; type txtPO2 345; type txtCartons two",
          "Number of cartons must be a numeric value."),
    added("FreightNotNumeric",
          "type txtPO1 12; type txtPO2 345; type txtCartons 2; type txtFreight \"\"",
          "Freight must be a numeric value."),
    added("CartonsTooMany", "type txtPO1 12; type txtPO2 345; type txtCartons 40000",
          "Number of cartons is out of range."),
    // 13.5 rounds to the even 14, 1e1 reads as 10 and " 7 " as 7.
    added("CartonsRounded",
          "type txtPO1 12; type txtPO2 345; type txtCartons 13.5; reply yes; add; type txtPO1 12; "
          "type txtPO2 345; type txtCartons 1e1; type txtFreight 0; reply yes; add; "
          "type txtPO1 12; type txtPO2 345; type txtCartons \" 7 \"; type txtFreight 0; reply yes",
          "Astray item has been added to the list successfully!!!", 3, "12", "1",
          "; !expect field Cartons 14 10 7"),
    {"ARefusedAddKeepsTheEntry",
     [](C& t) {
       receipt({{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}}})(t);
       t.service.setReply("AddAstrayPO", 500, service::test::soapFaultReply("segment 4 exists"));
     },
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; reply yes; add; "
     "state; !expect reported 1; !expect sent AddAstrayPO 1; !expect rows 6"},
    // A P.O. whose segments ride on another load is added only when the user says so: the
    // question's default No sends nothing and keeps the entry.
    {"SplitOverTwoLoadsAskedFirst",
     receipt({{{"CenterID", "12"},
               {"HighestSegmentNumber", "3"},
               {"OutgoingLoad", "5002"},
               {"IsPOFound", "1"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; state; "
     "!expect prompt P.O. 12-345 has segments on load 5002. Add segment 4 to load 5001 anyway?; "
     "!expect sent AddAstrayPO 0"},
    // An error while reading the receipt check's reply means "not received", whatever the rows
    // read before it said, and nothing is added.
    {"ReceiptCheckCenterOutOfRange", receipt({{{"IsPOFound", "1"}, {"CenterID", "40000"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; state; "
     "!expect prompt has not been received; !expect sent AddAstrayPO 0"},
    {"ReceiptCheckSecondRowBad",
     receipt({{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}},
              {{"IsPOFound", "1"}, {"CenterID", "x"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; state; "
     "!expect prompt has not been received; !expect sent AddAstrayPO 0"},
    {"NeedsALoadThatFits16Bits",
     {},
     "astray; state; !expect prompt Please select an outgoing load; load 40000; astray; state; "
     "!expect sent IsPOFound 0"},
    // The second receipt check names no center: the one found before stays.
    {"AReplyWithoutCenterKeepsTheEarlierOne",
     receipt({{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; reply yes; add; "
     "!midway; "
     "type txtPO1 12; type txtPO2 346; type txtCartons 2; add; state; !expect sent IsPOFound 2; "
     "!expect prompt Freight must be a numeric value.",
     [](C& t) {
       t.service.setRows("IsPOFound", {{{"HighestSegmentNumber", "5"}, {"IsPOFound", "1"}}});
     }},
};

INSTANTIATE_TEST_SUITE_P(Astray, ScenarioTest, ::testing::ValuesIn(kAstrays), caseName);

// The question before an add to load 5001, from the receipt check's highest segment and the load
// its reply names (a back office that names none gives "").
TEST(AstraySplitTest, AsksOnlyWhenThePOsSegmentsRideElsewhere) {
  const std::tuple<const char*, const char*, std::string> rows[] = {
      {"3", "5002", "P.O. 12-345 has segments on load 5002. Add segment 4 to load 5001 anyway?"},
      {"3", "",
       "P.O. 12-345 has segments that are not on load 5001. Add segment 4 to load 5001 "
       "anyway?"},
      {"3", "0", ""},
      {"3", "5001", ""},
      {"0", "5002", ""},
      {"x", "5002", ""},
  };
  for (const auto& [highest, load, question] : rows) {
    EXPECT_EQ(astraySplitQuestion("12-345", highest, load, 5001), question) << highest << load;
  }
}

}  // namespace
}  // namespace tarvine::test
