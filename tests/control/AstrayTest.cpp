// Adding an astray P.O. through the form, as transcripts: the checks and their refusals, the
// request, and the refreshed list.

#include <gtest/gtest.h>

#include "ControlFixture.h"

namespace tarvine::test {
namespace {

using C = ControlTest;

// The example load; the receipt check answers with these rows.
std::function<void(C&)> receipt(std::vector<ReplyRow> rows) {
  return [rows](C& t) {
    t.serveExampleLoad();
    t.service.setRows("IsPOFound", rows);
  };
}

// P.O. 12-345 received at `center`; the form gets the boxes' texts typed, a click on its button.
// With facts, they are asserted at the end.
Scenario added(const char* name, const std::string& typed, std::string center = "12",
               std::string found = "1", std::function<void(C&)> facts = {}) {
  return {name,
          receipt({{{"CenterID", center}, {"HighestSegmentNumber", "3"}, {"IsPOFound", found}}}),
          "load 5001; astray; state; " + typed + "; add; state; close; state" +
              (facts ? "; !midway" : ""),
          facts};
}

// The cartons each AddAstrayPO request sent, in order.
std::vector<std::string> cartonsSent(const C& t) {
  std::vector<std::string> cartons;
  for (const RecordedRequest& request : t.sent) {
    if (request.operation != "AddAstrayPO") continue;
    const std::size_t at = request.body.find("<Cartons>") + 9;
    cartons.push_back(request.body.substr(at, request.body.find('<', at) - at));
  }
  return cartons;
}

const Scenario kAstrays[] = {
    added("Added",
          "type txtPO1 \" 12 \"; type txtPO2 \" 345 \"; type txtCartons 12.5; type txtFreight "
          "17.25; type txtComments \"left at dock 4 & 5\"; reply yes"),
    added("BlankFirstBox", "type txtPO2 345; type txtCartons 2"),
    added("BlankSecondBox", "type txtPO1 12; type txtCartons 2"),
    added("AlreadyListed", "type txtPO1 12; type txtPO2 100; type txtCartons 2"),
    added("NotReceived", "type txtPO1 12; type txtPO2 345; type txtCartons 2", "12", "True"),
    added("CenterOffRoute", "type txtPO1 33; type txtPO2 345; type txtCartons 2", "33"),
    added("NoCartons", "type txtPO1 12; type txtPO2 345"),
    added("CartonsNotNumeric", "type txtPO1 12; type txtPO2 345; type txtCartons two"),
    added("FreightNotNumeric",
          "type txtPO1 12; type txtPO2 345; type txtCartons 2; type txtFreight \"\""),
    added("CartonsTooMany", "type txtPO1 12; type txtPO2 345; type txtCartons 40000"),
    // 13.5 rounds to the even 14, 1e1 reads as 10 and " 7 " as 7.
    added("CartonsRounded",
          "type txtPO1 12; type txtPO2 345; type txtCartons 13.5; reply yes; add; type txtPO1 12; "
          "type txtPO2 345; type txtCartons 1e1; type txtFreight 0; reply yes; add; "
          "type txtPO1 12; type txtPO2 345; type txtCartons \" 7 \"; type txtFreight 0; reply yes",
          "12", "1",
          [](C& t) {
            EXPECT_EQ(cartonsSent(t), (std::vector<std::string>{"14", "10", "7"}));
          }),
    {"ARefusedAddKeepsTheEntry",
     [](C& t) {
       receipt({{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}}})(t);
       t.service.setReply("AddAstrayPO", 500, service::test::soapFaultReply("segment 4 exists"));
     },
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; reply yes; add; "
     "state"},
    // A P.O. whose segments ride on another load is added only when the user says so: the
    // question's default No sends nothing and keeps the entry.
    {"SplitOverTwoLoadsAskedFirst",
     receipt({{{"CenterID", "12"},
               {"HighestSegmentNumber", "3"},
               {"OutgoingLoad", "5002"},
               {"IsPOFound", "1"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; state; "
     "!midway",
     [](C& t) {
       EXPECT_EQ(t.dialogs.messages().back().prompt,
                 "P.O. 12-345 has segments on load 5002. Add segment 4 to load 5001 anyway?");
       EXPECT_EQ(t.dialogs.messages().back().buttons, 308);
       EXPECT_TRUE(cartonsSent(t).empty());
     }},
    // An error while reading the receipt check's reply means "not received", whatever the rows
    // read before it said, and nothing is added.
    {"ReceiptCheckCenterOutOfRange", receipt({{{"IsPOFound", "1"}, {"CenterID", "40000"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; state"},
    {"ReceiptCheckSecondRowBad",
     receipt({{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}},
              {{"IsPOFound", "1"}, {"CenterID", "x"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; state"},
    {"NeedsALoadThatFits16Bits", {}, "astray; state; load 40000; astray; state"},
    // The second receipt check names no center: the one found before stays.
    {"AReplyWithoutCenterKeepsTheEarlierOne",
     receipt({{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}}}),
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; reply yes; add; "
     "!midway; type txtPO1 12; type txtPO2 346; type txtCartons 2; reply yes; add; state",
     [](C& t) {
       t.service.setRows("IsPOFound", {{{"HighestSegmentNumber", "5"}, {"IsPOFound", "1"}}});
     }},
};

class AstrayScenario : public ScenarioTest {};
TEST_P(AstrayScenario, Transcript) {
  runScenario();
}
INSTANTIATE_TEST_SUITE_P(Astray, AstrayScenario, ::testing::ValuesIn(kAstrays), caseName);

}  // namespace
}  // namespace tarvine::test
