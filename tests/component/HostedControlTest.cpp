// A control as a host embeds it: the script and late-bound calls act on one control, the
// host's callbacks stand in front of the defaults, and the astray form calls RefreshData back
// through the dispatch face.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <deque>

#include "DemoRouteService.h"
#include "ScriptRun.h"
#include "TestFolders.h"
#include "component/HostedControl.h"
#include "control/TarvineOrderPick.h"
#include "script/ScriptLine.h"

namespace tarvine::component {
namespace {

using nlohmann::json;

using tarvine::test::ScriptRun;

ScriptRun runScript(HostedControl& host, const std::string& text) {
  ScriptRun run;
  run.status = host.runScript(text, [&](const std::string& line) { run.add(line); });
  return run;
}

bool listsOrder(const json& state, const std::string& orderID) {
  for (const json& row : state["rows"]) {
    if (row["text"] == orderID) return true;
  }
  return false;
}

class HostedControlTest : public ::testing::Test {
 protected:
  test::TemporaryFolder folder;
  // Default log entries go to a file of the test, never to syslog.
  test::ScopedEnvironment eventLog{"TARVINE_EVENT_LOG", (folder.path() / "events.log").string()};
  HostedControl host;

  void openDemoLoad(const tarvine::test::DemoRouteService& service) {
    host.invokeByName("PutServerName", std::vector<Variant>{service.server()});
    host.invokeByName("SetFacilityID", std::vector<Variant>{std::string("DEMO")});
    host.invokeByName("SetPersonInformation", std::vector<Variant>{std::int32_t{7}, 2.0});
    host.invoke(kDispPutTarvineID, std::vector<Variant>{std::string("5001")});
  }
};

TEST_F(HostedControlTest, ScriptFormLinesReachTheControlThroughTheFace) {
  tarvine::test::DemoRouteService service;
  openDemoLoad(service);
  const ScriptRun run = runScript(host,
                                  "astray\n"
                                  "type txtPO1 27\r\n"
                                  "type txtPO2 70460\n"
                                  "type txtCartons 6\n"
                                  "state\n"
                                  "add\n"
                                  "close\n"
                                  "state");
  EXPECT_EQ(run.status, 0);
  const auto states = run.ofType("state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0]["astray"]["txtPO2"], "70460");
  EXPECT_TRUE(states[1]["astray"].is_null());
  EXPECT_EQ(host.formFace().calls(), 1u);  // RefreshData, late bound
  EXPECT_TRUE(listsOrder(states[1], "27-70460"));
  const auto messages = run.ofType("message");
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0]["prompt"], "Astray item has been added to the list successfully!!!");
}

TEST_F(HostedControlTest, HostCallbacksAnswerDialogsAndRunTheForm) {
  tarvine::test::DemoRouteService service;
  std::vector<std::string> messages;
  std::vector<std::string> entries;
  std::deque<std::string> formLines = {"type txtPO1 27", "type txtPO2 70460", "type txtCartons 6",
                                       "add"};
  std::vector<std::string> stateWhileShown;
  HostCallbacks callbacks;
  callbacks.messageBox = [&](const std::string& prompt, int, const std::optional<std::string>&) {
    messages.push_back(prompt);
    return 1;
  };
  callbacks.inputBox = [](const std::string&, const std::string&, const std::string&) {
    return std::optional<std::string>("99");
  };
  callbacks.formLine = [&](const std::string& caption) -> std::optional<std::string> {
    EXPECT_EQ(caption, "Astray P.O's");
    if (formLines.empty()) {
      stateWhileShown.push_back(host.stateJson());
      return std::nullopt;
    }
    std::string line = formLines.front();
    formLines.pop_front();
    return line;
  };
  callbacks.eventLog = [&](const std::string& entry) { entries.push_back(entry); };
  host.setCallbacks(callbacks);
  openDemoLoad(service);

  const ScriptRun run = runScript(host, "astray\ndblclick 1\nstate\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(host.formFace().calls(), 1u);
  ASSERT_EQ(stateWhileShown.size(), 1u);
  EXPECT_EQ(json::parse(stateWhileShown[0])["astray"]["caption"], "Astray P.O's");
  // The dialogs went to the host, so the script reports none of them.
  EXPECT_TRUE(run.ofType("message").empty());
  EXPECT_TRUE(run.ofType("input").empty());
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0], "Astray item has been added to the list successfully!!!");
  const json state = run.ofType("state").at(0);
  EXPECT_TRUE(listsOrder(state, "27-70460"));
  EXPECT_EQ(state["rows"][0]["sub"][5], "99.00");  // the freight the input box callback gave
  EXPECT_TRUE(entries.empty());
}

TEST_F(HostedControlTest, LogEntriesGoToTheHostAndToARunningScript) {
  std::vector<std::string> entries;
  HostCallbacks callbacks;
  callbacks.eventLog = [&](const std::string& entry) { entries.push_back(entry); };
  host.setCallbacks(callbacks);
  host.invokeByName("PutServerName", std::vector<Variant>{std::string("http://127.0.0.1:1")});
  host.invokeByName("PutTarvineID", std::vector<Variant>{std::int32_t{7}});
  const std::size_t outsideScript = entries.size();
  EXPECT_GT(outsideScript, 0u);
  const ScriptRun run = runScript(host, "load 7\n");
  EXPECT_EQ(run.ofType("log").size(), entries.size() - outsideScript);
  EXPECT_FALSE(run.ofType("log").empty());
  EXPECT_EQ(run.ofType("message").size(), run.ofType("log").size());
}

TEST_F(HostedControlTest, DefaultLogIsThePlatformsLog) {
  host.invokeByName("PutServerName", std::vector<Variant>{std::string("http://127.0.0.1:1")});
  host.invokeByName("PutTarvineID", std::vector<Variant>{std::int32_t{7}});
  EXPECT_NE(test::readText(folder.path() / "events.log").find("ReturnWebserviceXML"),
            std::string::npos);
}

TEST_F(HostedControlTest, EveryRunStartsAfresh) {
  // The line too long to run is quoted only by its beginning.
  const std::string overlong(script::kMaxLineBytes + 1, 'x');
  const ScriptRun bad = runScript(host, "facility A\n" + overlong + "\r\nfacility B\n");
  EXPECT_EQ(bad.status, 2);
  ASSERT_EQ(bad.ofType("error").size(), 1u);
  EXPECT_EQ(bad.ofType("error")[0]["line"], 2);
  EXPECT_LT(bad.ofType("error")[0]["text"].get<std::string>().size(), 200u);
  EXPECT_EQ(host.control().facilityID(), "A");
  const ScriptRun good = runScript(host, "facility C\nstate");
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(host.control().facilityID(), "C");
  const ScriptRun again = runScript(host, "nonsense");
  EXPECT_EQ(again.ofType("error").at(0)["line"], 1);
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
  EXPECT_FALSE(host.busy());
  runScript(host, "server http://127.0.0.1:1\nload 3\n");
  EXPECT_TRUE(refused);
  EXPECT_FALSE(host.busy());
}

}  // namespace
}  // namespace tarvine::component
