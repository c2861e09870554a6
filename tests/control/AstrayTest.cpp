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
Scenario added(const char* name, const std::string& typed, std::string center = "12",
               std::string found = "1") {
  return {name,
          receipt({{{"CenterID", center}, {"HighestSegmentNumber", "3"}, {"IsPOFound", found}}}),
          "load 5001; astray; state; " + typed + "; add; state; close; state"};
}

const Scenario kAstrays[] = {
    added("Added",
          "type txtPO1 \" 12 \"; type txtPO2 \" 345 \"; type txtCartons 12.5; type txtFreight "
          "17.25; type txtComments \"left at dock 4 & 5\""),
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
    added("CartonsRounded",
          "type txtPO1 12; type txtPO2 345; type txtCartons 13.5; add; type txtPO1 12; "
          "type txtPO2 345; type txtCartons 1e1; add; type txtPO1 12; type txtPO2 345; "
          "type txtCartons \" 7 \""),
    {"ARefusedAddKeepsTheEntry",
     [](C& t) {
       receipt({{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}}})(t);
       t.service.setReply("AddAstrayPO", 500, service::test::soapFaultReply("segment 4 exists"));
     },
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; state"},
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
     "load 5001; astray; type txtPO1 12; type txtPO2 345; type txtCartons 2; add; !midway; "
     "type txtPO1 12; type txtPO2 346; type txtCartons 2; add; state",
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
