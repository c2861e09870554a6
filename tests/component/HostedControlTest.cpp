// A control as a host embeds it: the host's callbacks stand in front of the defaults, and one
// script runs at a time (the whole road through the C interface: CApiTest).

#include <gtest/gtest.h>

#include "ScopedEnvironment.h"
#include "ScriptRun.h"
#include "TemporaryFolder.h"
#include "component/HostedControl.h"

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
