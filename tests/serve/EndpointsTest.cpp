// The service's own endpoints beside SOAP: its description and its health check.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "Operations.h"
#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

TEST_F(ServeFixture, DescribesTheSevenOperationsAsTheyGoOnTheWire) {
  const HttpReply reply = getFrom(port_, std::string(kPath) + "?wsdl");
  ASSERT_EQ(reply.status, 200);
  EXPECT_EQ(reply.contentType, "text/xml; charset=utf-8");
  pugi::xml_document wsdl;
  ASSERT_TRUE(wsdl.load_string(reply.body.c_str()));
  const pugi::xml_node definitions = wsdl.child("wsdl:definitions");
  EXPECT_STREQ(definitions.attribute("targetNamespace").value(), kNamespace);
  int operations = 0;
  for (const pugi::xml_node op : definitions.child("wsdl:binding").children("wsdl:operation")) {
    const std::string name = op.attribute("name").value();
    EXPECT_NE(findOperation(name), nullptr) << name;
    EXPECT_EQ(std::string(op.child("soap:operation").attribute("soapAction").value()),
              std::string(kNamespace) + "/" + name);
    ++operations;
  }
  EXPECT_EQ(operations, 7);
  EXPECT_EQ(std::string(definitions.child("wsdl:service")
                            .child("wsdl:port")
                            .child("soap:address")
                            .attribute("location")
                            .value()),
            "http://127.0.0.1:" + std::to_string(port_) + kPath);
  EXPECT_EQ(getFrom(port_, kPath).status, 404);
}

TEST_F(ServeFixture, ReportsHealthUntilTheDatabaseCannotBeRead) {
  const HttpReply healthy = getFrom(port_, "/health");
  ASSERT_EQ(healthy.status, 200);
  EXPECT_EQ(healthy.contentType, "application/json");
  const auto report = nlohmann::json::parse(healthy.body);
  EXPECT_EQ(report["database"], "reachable");
  EXPECT_EQ(report["schema_version"], count("PRAGMA user_version"));
  EXPECT_GE(report["uptime_seconds"].get<int>(), 0);

  std::filesystem::rename(service_->dbPath(), service_->dbPath() + ".moved");
  const HttpReply broken = getFrom(port_, "/health");
  EXPECT_EQ(broken.status, 503);
  EXPECT_EQ(nlohmann::json::parse(broken.body)["database"], "unreadable");
}

}  // namespace
}  // namespace tarvine::serve::test
