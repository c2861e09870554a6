// The trailer's gauges on a load with a P.O. split over two loads and an astray segment: each
// segment's own figures, summed by hand below, and each limit's flag raised by its own row. Then
// scans of a P.O. under another center, and of one the load lacks.

#include "ControlFixture.h"
#include "tools/FindOrder.h"
#include "tools/TrailerCapacity.h"

namespace tarvine::test {
namespace {

// Rows in read order: 1 12-100/1 and 2 12-100/2 on load 5001 (its other segments ride on 5002:
// total weight 1500), 3 12-650/4 an astray segment on 5001 (total weight 2715), 4 12-200/1 and
// 5 15-300/1 and 6 15-300/2 (100 lb, 12.5 cu ft) on no load.
const auto splitLoad = serving(
    {orderRow("12-100", 1, "5001", "125.5", 10, 1500,
              {{"FactoryWeight", "300"}, {"CubicFeet", "30.3"}}),
     orderRow("12-100", 2, "5001", "0", 4, 1500, {{"FactoryWeight", "200"}, {"CubicFeet", "20.6"}}),
     orderRow("12-650", 4, "5001", "35", 3, 2715,
              {{"FactoryWeight", "112.5"}, {"CubicFeet", "12.23"}}),
     orderRow("12-200", 1, "0", "40", 3, 300),
     orderRow("15-300", 1, "0", "1234.5", 8, 2000,
              {{"FactoryWeight", "2000"}, {"CubicFeet", "99.94"}}),
     orderRow("15-300", 2, "0", "0", 4, 2000)});

// A control of its own for each row of a table.
struct Control : ControlTest {
  void TestBody() override {}
};

struct GaugeCase {
  const char* script;
  tools::TrailerLimits limits;
  tools::FillFigures picked;
  tools::OverLimits over;
};

// On the load as read: 300 + 200 + 112.5 = 612.5 lb, 30.3 + 20.6 + 12.23 = 63.13 cu ft, 10 + 4 +
// 3 = 17 cartons (the captions add 1500 + 2715 = 4215 lb).
const GaugeCase kGauges[] = {
    {"load 5001", {1000, 1000, 100}, {612.5, 63.13, 17}, {}},
    // Full to the limits: the cube adds up to 63.13000000000001 in doubles, within them.
    {"load 5001", {612.5, 63.13, 17}, {612.5, 63.13, 17}, {}},
    {"load 5001", {612.4, 64, 17}, {612.5, 63.13, 17}, {true, false, false}},
    {"load 5001", {613, 63.1, 17}, {612.5, 63.13, 17}, {false, true, false}},
    {"load 5001", {613, 64, 16}, {612.5, 63.13, 17}, {false, false, true}},
    // Every center counts, the one shown or not; unsaved picks count, unsaved drops do not.
    {"load 5001; center 2", {1000, 1000, 100}, {612.5, 63.13, 17}, {}},
    {"load 5001; toggle 5", {3000, 1000, 100}, {2712.5, 175.57, 29}, {}},
    {"load 5001; toggle 1", {1000, 1000, 100}, {112.5, 12.23, 3}, {}},
};

TEST(LoadFiguresTest, GaugesAddEachSegmentOnThisTruck) {
  for (const GaugeCase& c : kGauges) {
    Control t;
    tools::TrailerCapacity capacity(t.control);
    capacity.setLimits(c.limits);
    splitLoad(t);
    t.run(c.script);
    const tools::FillFigures picked = capacity.picked();
    const tools::OverLimits over = capacity.over();
    SCOPED_TRACE(c.script);
    EXPECT_NEAR(picked.weight, c.picked.weight, 1e-9);
    EXPECT_NEAR(picked.cube, c.picked.cube, 1e-9);
    EXPECT_EQ(picked.cartons, c.picked.cartons);
    EXPECT_EQ(std::tuple(over.weight, over.cube, over.cartons),
              std::tuple(c.over.weight, c.over.cube, c.over.cartons));
  }
}

struct ScanCase {
  const char* script;  // before the scan; center 2 shows South (15)
  const char* id;
  std::optional<int> reply;  // to the unsaved-work question
  tools::ScanOutcome outcome;
  std::optional<std::size_t> row;
  std::size_t lastRow;
  int centerIndex;
};

const ScanCase kScans[] = {
    {"load 5001", "12-100", {}, tools::ScanOutcome::AlreadyPicked, 1, 2, 0},
    {"load 5001; center 2", "12-200", {}, tools::ScanOutcome::Picked, 4, 4, 0},
    {"load 5001; center 1", "15-300", {}, tools::ScanOutcome::Picked, 5, 6, 0},
    // With 15-300 picked and unsaved the switch asks; Cancel keeps the center and the pick.
    {"load 5001; center 2; toggle 1", "12-200", {}, tools::ScanOutcome::OtherCenter, {}, 0, 2},
    {"load 5001; center 2; toggle 1", "12-200", kMsgResultNo, tools::ScanOutcome::Picked, 4, 4, 0},
    {"load 5001; center 2", "12-999", {}, tools::ScanOutcome::NotFound, {}, 0, 2},
};

TEST(LoadFiguresTest, ScanBringsAllCentersForAPOUnderAnother) {
  for (const ScanCase& c : kScans) {
    Control t;
    splitLoad(t);
    t.run(c.script);
    if (c.reply) t.dialogs.queueReply(*c.reply);
    const tools::ScanResult result = tools::scanOrder(t.control, c.id);
    SCOPED_TRACE(std::string(c.script) + " / " + c.id);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.row, c.row);
    EXPECT_EQ(result.lastRow, c.lastRow);
    EXPECT_EQ(t.control.widgets().cboCenter.listIndex(), c.centerIndex);
  }
}

}  // namespace
}  // namespace tarvine::test
