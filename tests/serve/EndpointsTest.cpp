// The service's own endpoints beside SOAP: its description and its health check.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Golden.h"
#include "Schema.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

// The description, with the service's port written as PORT.
TEST_F(ServeFixture, DescribesTheSevenOperationsAsTheyGoOnTheWire) {
  HttpReply reply = getFrom(port_, std::string(kPath) + "?wsdl");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.contentType, "text/xml; charset=utf-8");
  const std::string address = "127.0.0.1:" + std::to_string(port_) + "/";
  const std::size_t at = reply.body.find(address);
  ASSERT_NE(at, std::string::npos);
  tarvine::test::expectGolden(reply.body.replace(at, address.size(), "127.0.0.1:PORT/"),
                              "serve/wsdl.xml");
  EXPECT_EQ(getFrom(port_, kPath).status, 404);
}

TEST_F(ServeFixture, ReportsHealthUntilTheDatabaseCannotBeRead) {
  const HttpReply healthy = getFrom(port_, "/health");
  ASSERT_EQ(healthy.status, 200);
  EXPECT_EQ(healthy.contentType, "application/json");
  const auto report = nlohmann::json::parse(healthy.body);
  EXPECT_EQ(report["database"], "reachable");
  EXPECT_EQ(report["schema_version"], kSchemaVersion);
  EXPECT_GE(report["uptime_seconds"].get<int>(), 0);

  std::filesystem::rename(service_->dbPath(), service_->dbPath() + ".moved");
  const HttpReply broken = getFrom(port_, "/health");
  EXPECT_EQ(broken.status, 503);
  EXPECT_EQ(nlohmann::json::parse(broken.body)["database"], "unreadable");
}

}  // namespace
}  // namespace tarvine::serve::test
