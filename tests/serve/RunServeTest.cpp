#include <gtest/gtest.h>

#include "RouteService.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

TEST(RunServe, FailsWithAMessageForADatabaseThatCannotBeOpened) {
  ServeOptions options;
  options.dbPath = "/nonexistent-directory/route.db";
  testing::internal::CaptureStderr();
  EXPECT_EQ(runServe(options), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot open database"), std::string::npos);
}

TEST(RunServe, FailsWithAMessageWhenThePortIsTaken) {
  TempDir dir;
  RouteService taken((dir.path() / "a.db").string());
  taken.setRequestLog(nullptr);
  const int port = taken.start("127.0.0.1", 0);
  ServeOptions options;
  options.dbPath = (dir.path() / "b.db").string();
  options.port = port;
  testing::internal::CaptureStderr();
  EXPECT_EQ(runServe(options), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot listen on 127.0.0.1:"),
            std::string::npos);
}

TEST(RunServe, FailsForSegmentsWithoutALoadToGenerate) {
  ServeOptions options;
  options.segments = 10;
  testing::internal::CaptureStderr();
  EXPECT_EQ(runServe(options), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("--segments needs --generate-load"),
            std::string::npos);
}

}  // namespace
}  // namespace tarvine::serve::test
