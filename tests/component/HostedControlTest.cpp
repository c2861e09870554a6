// A control as a host embeds it: the script and late-bound calls act on one control, the
// host's callbacks stand in front of the defaults, and the astray form calls RefreshData back
// through the dispatch face.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "DemoRouteService.h"
#include "ScopedEnvironment.h"
#include "ScriptRun.h"
#include "TemporaryFolder.h"
#include "component/HostedControl.h"
#include "control/TarvineOrderPick.h"

namespace tarvine::component {
namespace {

using tarvine::test::ScriptRun;

class HostedControlTest : public ::testing::Test {
 protected:
  test::TemporaryFolder folder;
  // Default log entries go to a file of the test, never to syslog.
  test::ScopedEnvironment eventLog{"TARVINE_EVENT_LOG", (folder.path() / "events.log").string()};
  HostedControl host;

  ScriptRun runScript(const std::string& text) {
    ScriptRun run;
    run.status = host.runScript(text, [&](const std::string& line) { run.add(line); });
    return run;
  }
};

TEST_F(HostedControlTest, ScriptFormLinesReachTheControlThroughTheFace) {
  tarvine::test::DemoRouteService service;
  host.invokeByName("PutServerName", std::vector<Variant>{service.server()});
  host.invokeByName("SetFacilityID", std::vector<Variant>{std::string("DEMO")});
  host.invokeByName("SetPersonInformation", std::vector<Variant>{std::int32_t{7}, 2.0});
  host.invoke(kDispPutTarvineID, std::vector<Variant>{std::string("5001")});
  const ScriptRun run = runScript(
      "astray\ntype txtPO1 27\r\ntype txtPO2 70460\ntype txtCartons 6\nadd\nclose\nstate");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(host.formFace().calls(), 1u);  // RefreshData, late bound
  const nlohmann::json state = run.ofType("state").at(0);
  EXPECT_TRUE(state["astray"].is_null());
  EXPECT_TRUE(std::any_of(state["rows"].begin(), state["rows"].end(),
                          [](const nlohmann::json& row) { return row["text"] == "27-70460"; }));
  EXPECT_EQ(run.ofType("message").at(0)["prompt"],
            "Astray item has been added to the list successfully!!!");
}

// Log entries go to the platform's log by default, then to the host and a running script.
TEST_F(HostedControlTest, LogEntriesGoToThePlatformThenToTheHostAndToARunningScript) {
  host.invokeByName("PutServerName", std::vector<Variant>{std::string("http://127.0.0.1:1")});
  host.invokeByName("PutTarvineID", std::vector<Variant>{std::int32_t{7}});
  EXPECT_NE(test::readText(folder.path() / "events.log").find("ReturnWebserviceXML"),
            std::string::npos);
  std::vector<std::string> entries;
  HostCallbacks callbacks;
  callbacks.eventLog = [&](const std::string& entry) { entries.push_back(entry); };
  host.setCallbacks(callbacks);
  host.invokeByName("PutTarvineID", std::vector<Variant>{std::int32_t{7}});
  const std::size_t outsideScript = entries.size();
  EXPECT_GT(outsideScript, 0u);
  const ScriptRun run = runScript("load 7\n");
  EXPECT_EQ(run.ofType("log").size(), entries.size() - outsideScript);
  EXPECT_EQ(run.ofType("message").size(), run.ofType("log").size());
}

TEST_F(HostedControlTest, EveryRunStartsAfresh) {
  const ScriptRun bad = runScript("facility A\nfrobnicate\nfacility B\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.ofType("error").at(0)["line"], 2);
  EXPECT_EQ(host.control().facilityID(), "A");
  EXPECT_EQ(runScript("facility C\nstate").status, 0);
  EXPECT_EQ(host.control().facilityID(), "C");
  EXPECT_EQ(runScript("nonsense").ofType("error").at(0)["line"], 1);
}

TEST_F(HostedControlTest, AScriptCannotStartInsideARunningOne) {
  HostCallbacks callbacks;
  bool refused = false;
  callbacks.eventLog = [&](const std::string&) {
    EXPECT_TRUE(host.busy());
    try {
      host.runScript("state", nullptr);
    } catch (const std::logic_error&) {
      refused = true;
    }
  };
  host.setCallbacks(callbacks);
  runScript("server http://127.0.0.1:1\nload 3\n");
  EXPECT_TRUE(refused);
  EXPECT_FALSE(host.busy());
}

}  // namespace
}  // namespace tarvine::component
