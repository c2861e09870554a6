// A hosted control: the astray form refreshes through the dispatch face, and one script runs at
// a time (the whole road through the C interface, the host's callbacks and the logs: CApiTest).

#include <gtest/gtest.h>

#include "DemoRouteService.h"
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

// The astray form, fed by script lines, calls RefreshData back late bound through the face.
TEST_F(HostedControlTest, TheAstrayFormRefreshesThroughTheFace) {
  tarvine::test::DemoRouteService service;
  const ScriptRun run =
      runScript("server " + service.server() +
                "\nfacility DEMO\nperson 7 2\nload 5001\nastray\ntype txtPO1 "
                "27\r\ntype txtPO2 70460\ntype txtCartons 6\nreply yes\nadd\nclose");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(host.formFace().calls(), 1u);
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
