#include <gtest/gtest.h>

#include <algorithm>

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

// Options that do not go together: exit status 2 and one line on stderr, before anything
// listens or any database is made.
struct UsageCase {
  const char* name;
  void (*arrange)(ServeOptions&);
  const char* messagePart;
};

class RunServeUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(RunServeUsage, ExitsWithStatus2AndOneLine) {
  ServeOptions options;
  GetParam().arrange(options);
  testing::internal::CaptureStderr();
  EXPECT_EQ(runServe(options), 2);
  const std::string error = testing::internal::GetCapturedStderr();
  EXPECT_NE(error.find(GetParam().messagePart), std::string::npos) << error;
  EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunServeUsage,
    ::testing::Values(UsageCase{"SegmentsWithoutALoad", [](ServeOptions& o) { o.segments = 10; },
                                "--segments needs --generate-load"},
                      UsageCase{"AnyAddressWithoutAllowFrom",
                                [](ServeOptions& o) { o.host = "0.0.0.0"; },
                                "listening on 0.0.0.0 needs --allow-from"},
                      UsageCase{"OtherAddressWithoutAllowFrom",
                                [](ServeOptions& o) { o.host = "::"; }, "needs --allow-from"},
                      UsageCase{"UnreadableNetwork",
                                [](ServeOptions& o) {
                                  o.host = "0.0.0.0";
                                  o.allowFrom = "10.0.0.0/8,10.1.0.0/33";
                                },
                                "--allow-from: \"10.1.0.0/33\" has no valid prefix length"},
                      UsageCase{"CertificateWithoutKey",
                                [](ServeOptions& o) { o.tlsCert = "cert.pem"; },
                                "--tls-cert and --tls-key go together"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvine::serve::test
