// One script runs at a time on a hosted control (the whole road through the C interface, the
// host's callbacks and the logs: CApiTest).

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
