// Finding and scanning a P.O. on the example load, and the trailer's capacity in front of Save,
// as transcripts of the script lines that drive them.

#include "ControlFixture.h"

namespace tarvine::test {
namespace {

const Scenario kTools[] = {
    // The example load lists 12-100 (three rows), 12-200, 15-300 (on the load) and 15-400;
    // sorted by cartons: 12-100, 12-200, 12-100, 15-400, 12-100, 15-300.
    {"FindAndScan",
     {},
     "load 5001; find \" 12-200\t\"; find 12-99999; state; scan \"12-100\\r\\n\"; state; "
     "scan 15-300; scan 12-99999; sort 5; find 15-300; state"},
    // A P.O. partly on the load: a scan checks the rest of it and never takes it off.
    {"ScanOfAPartlyPickedOrder",
     serving({orderRow("12-100", 1, "5001", "125.5", 10, 1500),
              orderRow("12-100", 2, "0", "0", 4, 1500)}),
     "load 5001; scan 12-100; state; scan 12-100; state"},
    {"SaveWithoutLimits", {}, "load 5001; selectall; save; state"},
    {"SaveWithinLimits", {}, "limits 44000 3800 1200; load 5001; selectall; state; save; state"},
    // Over the limits Save asks first; unanswered or No keeps the picks unsent.
    {"SaveOverLimits",
     {},
     "limits 3000 40; load 5001; state; selectall; state; save; state; reply no; save; "
     "reply yes; save; state"},
};

INSTANTIATE_TEST_SUITE_P(Tools, ScenarioTest, ::testing::ValuesIn(kTools), caseName);

}  // namespace
}  // namespace tarvine::test
