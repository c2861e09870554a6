// Two dispatchers on one load of the reference route service: A works in a control, B in the
// script host; both opened the load before either saved.

#include <gtest/gtest.h>

#include <sstream>

#include "DemoHost.h"
#include "DemoRouteService.h"
#include "ScriptRun.h"
#include "control/TarvineOrderPick.h"
#include "script/ScriptHost.h"

namespace tarvine::test {
namespace {

constexpr const char* kSaved = "Outgoing load information has been updated successfully!!!";

// The 1-based list position of the first row of the P.O.
std::size_t firstRowOf(const ListView& list, const std::string& orderID) {
  for (std::size_t i = 1; i <= list.rowCount(); ++i) {
    if (list.row(list.rowAt(i)).text == orderID) return i;
  }
  return 0;
}

class TwoDispatchers : public ::testing::Test {
 protected:
  TwoDispatchers() {
    pointAtDemo(a, service.server());
    a.PutTarvineID(5001);
    runB("server " + service.server() + "\nfacility DEMO\nperson 8 2\nload 5001\n");
  }
  // A takes the P.O. off the load and saves.
  void aTakesOff(const std::string& orderID) {
    a.widgets().lvwOrderIDs.userToggleCheck(firstRowOf(a.widgets().lvwOrderIDs, orderID));
    a.widgets().cmdSave.userClick();
    ASSERT_EQ(aDialogs.messages().back().prompt, kSaved);
  }
  // Runs script lines on B's host; returns what they printed.
  ScriptRun runB(const std::string& script) {
    ScriptRun run;
    std::istringstream in(script);
    out = &run;
    run.status = b.run([&]() -> std::optional<std::string> {
      std::string line;
      if (!std::getline(in, line)) return std::nullopt;
      return line;
    });
    out = nullptr;
    return run;
  }
  // B overrides the P.O.'s freight (as the script host's user) and saves, answering `reply`.
  ScriptRun bOverridesAndSaves(const std::string& orderID, const std::string& reply) {
    const std::string row = std::to_string(firstRowOf(b.control().widgets().lvwOrderIDs, orderID));
    return runB("click " + row + "\nanswer 99\ndblclick " + row + "\nreply " + reply + "\nsave\n");
  }
  std::string onLoad(const std::string& orderID) const {
    return service.queryText("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '" + orderID +
                             "' AND OutgoingLoad = 5001");
  }
  std::string firstFreight(const std::string& orderID) const {
    return service.queryText("SELECT Freight FROM VOZA_OrderHeader WHERE OrderID = '" + orderID +
                             "' AND VOZA_OrderSegment = 1");
  }

  DemoRouteService service;
  RecordingDialogs aDialogs;
  MemoryEventLog aLog;
  TarvineOrderPick a{aDialogs, aLog};
  ScriptRun* out = nullptr;
  script::ScriptHost b{[this](const std::string& line) {
    if (out) out->add(line);
  }};
};

TEST_F(TwoDispatchers, BIsToldAndChoosesWhoseVersionStays) {
  const std::string freightBefore = firstFreight("15-20001");
  aTakesOff("15-20001");
  ASSERT_EQ(onLoad("15-20001"), "0");

  const ScriptRun no = bOverridesAndSaves("15-20001", "no");
  const auto asked = no.ofType("message");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(
      asked[0]["prompt"],
      "15-20001: taken off this load by someone else since you opened it\r\n\r\n"
      "Save your changes over theirs? Choose No to keep your changes unsaved and look first.");
  EXPECT_EQ(asked[0]["answer"], "no");
  EXPECT_EQ(onLoad("15-20001"), "0");
  EXPECT_EQ(firstFreight("15-20001"), freightBefore);
  const ListView& bList = b.control().widgets().lvwOrderIDs;
  EXPECT_EQ(bList.subItem(bList.rowAt(firstRowOf(bList, "15-20001")), 6), "99.00");

  const ScriptRun yes = runB("reply yes\nsave\n");
  const auto told = yes.ofType("message");
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0]["answer"], "yes");
  EXPECT_EQ(told[1]["prompt"], kSaved);
  EXPECT_EQ(onLoad("15-20001"), "4");
  EXPECT_EQ(firstFreight("15-20001"), "99.0");
}

TEST_F(TwoDispatchers, ChangesToDifferentPOsAreBothSavedWithoutAQuestion) {
  aTakesOff("12-34581");
  const ScriptRun saved = bOverridesAndSaves("15-20001", "no");
  const auto told = saved.ofType("message");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0]["prompt"], kSaved);
  EXPECT_EQ(onLoad("12-34581"), "0");
  EXPECT_EQ(firstFreight("15-20001"), "99.0");
}

}  // namespace
}  // namespace tarvine::test
