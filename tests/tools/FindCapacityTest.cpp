// Finding and scanning a P.O. on the example load, and the trailer's capacity in front of Save.

#include <optional>

#include "ControlFixture.h"
#include "tools/FindOrder.h"
#include "tools/TrailerCapacity.h"

namespace tarvine::test {
namespace {

using tools::ScanOutcome;

// The example load lists 12-100 (three rows), 12-200, 15-300 (on the load) and 15-400.
struct ScanCase {
  const char* name;
  bool sortByCartons;  // the list's order then: 12-100, 12-200, 12-100, 15-400, 12-100, 15-300
  const char* id;
  bool pick;  // scan (pick) or find (select only)
  std::optional<std::size_t> row;
  ScanOutcome outcome;
  std::vector<std::string> totals;
};

class ScanTest : public ControlTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ScanTest, SelectsAndPicksLikeAClick) {
  const ScanCase& c = GetParam();
  openExampleLoad();
  if (c.sortByCartons) list().userColumnClick(5);
  std::optional<std::size_t> row;
  if (c.pick) {
    const tools::ScanResult result = tools::scanOrder(control, c.id);
    row = result.row;
    EXPECT_EQ(result.outcome, c.outcome);
  } else {
    row = tools::selectOrder(control, c.id);
  }
  EXPECT_EQ(row, c.row);
  if (row) {
    EXPECT_EQ(list().selected(), list().rowAt(*row));
  }
  EXPECT_EQ(totals(), c.totals);
  // Every row of a picked P.O. is checked; nothing of another P.O. changed.
  for (std::size_t position = 1; position <= list().rowCount(); ++position) {
    const std::string& order = list().row(list().rowAt(position)).text;
    const bool scanned = c.pick && order == tools::trimOrderId(c.id);
    EXPECT_EQ(checkedAt(position), scanned || order == "15-300") << order;
  }
  EXPECT_TRUE(log.entries().empty());
}

const std::vector<std::string> kOpened{"8", "2,000.00", "1,234.50"};

INSTANTIATE_TEST_SUITE_P(Ids, ScanTest,
                         ::testing::Values(ScanCase{"FindTrimmed", false, " 12-200\t", false, 4,
                                                    ScanOutcome::NotFound, kOpened},
                                           ScanCase{"FindInSortedOrder", true, "15-300", false, 6,
                                                    ScanOutcome::NotFound, kOpened},
                                           ScanCase{"FindMissing", false, "12-99999", false,
                                                    std::nullopt, ScanOutcome::NotFound, kOpened},
                                           ScanCase{"ScanWholePO",
                                                    false,
                                                    "12-100\r\n",
                                                    true,
                                                    1,
                                                    ScanOutcome::Picked,
                                                    {"28", "3,500.00", "1,360.00"}},
                                           ScanCase{"ScanOnLoadStays", false, "15-300", true, 5,
                                                    ScanOutcome::AlreadyPicked, kOpened},
                                           ScanCase{"ScanMissing", true, "12-99999", true,
                                                    std::nullopt, ScanOutcome::NotFound, kOpened}),
                         [](const auto& info) { return std::string(info.param.name); });

// A P.O. partly on the load: a scan checks the rest of it and never takes it off.
TEST_F(ControlTest, ScanOfAPartlyPickedOrderChecksTheRest) {
  serveExampleLoad();
  service.setRows("GetOutgoingLoadAllOrders", {orderRow("12-100", 1, "5001", "125.5", 10, 1500),
                                               orderRow("12-100", 2, "0", "0", 4, 1500)});
  control.PutTarvineID(5001);
  for (int scan = 0; scan < 2; ++scan) {
    const tools::ScanResult result = tools::scanOrder(control, "12-100");
    EXPECT_EQ(result.outcome, scan == 0 ? ScanOutcome::Picked : ScanOutcome::AlreadyPicked);
    EXPECT_TRUE(checkedAt(1) && checkedAt(2));
  }
  EXPECT_EQ(totals(), (std::vector<std::string>{"14", "1,500.00", "125.50"}));
}

struct SaveCase {
  const char* name;
  std::optional<tools::TrailerLimits> limits;
  std::optional<int> reply;  // the answer to the question, when one is queued
  bool asks;
  bool sends;
};

class CapacitySaveTest : public ControlTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(CapacitySaveTest, AsksBeforeSavingOverTheLimits) {
  const SaveCase& c = GetParam();
  tools::TrailerCapacity capacity(control);
  capacity.setLimits(c.limits);
  openExampleLoad();
  EXPECT_EQ(capacity.picked().cube, 12.5);  // 15-300 alone
  int changes = 0;
  capacity.changed.connect([&] { ++changes; });
  control.widgets().chkSellectAll.userClick();
  EXPECT_GT(changes, 0);
  // Select All puts 4,500 lb and six segments of 12.5 cubic feet on the load.
  const tools::PickedFigures picked = capacity.picked();
  EXPECT_EQ(picked.weight, 4500);
  EXPECT_EQ(picked.cartons, 36);
  EXPECT_EQ(picked.cube, 75);
  if (c.reply) dialogs.queueReply(*c.reply);
  control.widgets().cmdSave.userClick();
  const auto prompts = messagePrompts();
  const std::string question =
      "The load is 1,500 lb over the trailer's 3,000 lb and 35 cubic feet over the trailer's 40 "
      "cubic feet. Save anyway?";
  EXPECT_EQ(!prompts.empty() && prompts[0] == question, c.asks);
  const auto operations = service.operations();
  const bool sent = std::find(operations.begin(), operations.end(), "UpdateOutgoingLoadOrder") !=
                    operations.end();
  EXPECT_EQ(sent, c.sends);
  // A save that was not sent keeps the picks on screen.
  if (!c.sends) {
    EXPECT_EQ(totals()[1], "4,500.00");
  }
}

const tools::TrailerLimits kSmallTrailer{3000, 40, std::nullopt};
const tools::TrailerLimits kBigTrailer{44000, 3800, 1200};

INSTANTIATE_TEST_SUITE_P(
    Limits, CapacitySaveTest,
    ::testing::Values(SaveCase{"NoLimits", std::nullopt, std::nullopt, false, true},
                      SaveCase{"WithinLimits", kBigTrailer, std::nullopt, false, true},
                      SaveCase{"OverAnsweredNo", kSmallTrailer, kMsgResultNo, true, false},
                      SaveCase{"OverUnanswered", kSmallTrailer, std::nullopt, true, false},
                      SaveCase{"OverAnsweredYes", kSmallTrailer, kMsgResultYes, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvine::test
