// Whole exchanges through the transport against a local stand-in for the back office.

#include <gtest/gtest.h>
#include <httplib.h>
#include <pugixml.hpp>

#include <mutex>

#include "LocalHttpServer.h"
#include "ServiceReplies.h"
#include "service/DataSet.h"
#include "service/Requests.h"
#include "service/RouteOperations.h"
#include "service/Transport.h"
#include "service/Unwrap.h"

namespace tarvine::service {
namespace {

using test::ReplyRow;

constexpr const char* kPath = "/WebServices/VOZAWebservice/VOZAWebservice.asmx";

// What the stand-in saw of one request: its SOAPAction and the operation's fields as parsed.
struct SeenRequest {
  std::string soapAction;
  std::vector<std::pair<std::string, std::string>> fields;
};

// Answers every POST with one canned reply and records each request, parsed with its own XML
// parser so that what it sees is what a real service would read.
class BackOffice {
 public:
  explicit BackOffice(std::string reply) : reply_(std::move(reply)) {
    http_.server().Post(kPath,
                        [this](const httplib::Request& request, httplib::Response& response) {
                          record(request);
                          response.set_content(reply_, "text/xml; charset=utf-8");
                        });
    http_.start();
  }

  std::string host() const { return http_.authority(); }
  std::string url() const { return "http://" + host() + kPath; }
  std::vector<SeenRequest> seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  void record(const httplib::Request& request) {
    SeenRequest seen{request.get_header_value("SOAPAction"), {}};
    pugi::xml_document document;
    if (document.load_buffer(request.body.data(), request.body.size())) {
      const pugi::xml_node operation =
          document.child("soap:Envelope").child("soap:Body").first_child();
      for (const pugi::xml_node field : operation.children()) {
        if (field.first_child().type() == pugi::node_element) {
          // An array: one entry per item.
          for (const pugi::xml_node item : field.children()) {
            seen.fields.emplace_back(item.name(), item.child_value());
          }
        } else {
          seen.fields.emplace_back(field.name(), field.child_value());
        }
      }
    }
    std::lock_guard lock(mutex_);
    seen_.push_back(std::move(seen));
  }

  std::string reply_;
  mutable std::mutex mutex_;
  std::vector<SeenRequest> seen_;
  tarvine::test::LocalHttpServer http_;  // last: stops serving before the rest goes
};

// A transport with short limits that collects every error it reports.
struct TestTransport {
  std::vector<std::string> reports;
  Transport transport{[this](const RuntimeError& error, std::string_view procedure) {
    reports.push_back(std::string(procedure) + ": " + error.description());
  }};
  TestTransport() {
    transport.setTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(5000)});
  }
};

std::string soapAction(const RouteOperation& op) {
  return std::string(kRouteNamespace) + "/" + std::string(op.name);
}

TEST(RoundTrip, QueryRowsComeBackThroughTransportUnwrapperAndWalk) {
  const std::vector<ReplyRow> rows = {
      {{"OrderID", "4711"}, {"VOZA_OrderSegment", "1"}, {"Freight", "12.5"}},
      {{"OrderID", "4712"}, {"VOZA_OrderSegment", "2"}, {"Freight", ""}}};
  const BackOffice backOffice(
      test::soapDataSetReply(kGetOutgoingLoadAllOrders.name, test::dataSetText(rows)));
  TestTransport client;

  const std::string result = client.transport.ReturnWebserviceXML(
      backOffice.url(), backOffice.host(), soapAction(kGetOutgoingLoadAllOrders),
      GetOutgoingLoadAllOrdersRequest(-1, "FAC 1"));
  std::vector<ReplyRow> read;
  ReadDataSetRows(UnwrapGetOutgoingLoadAllOrders(result), [&](const DataSetRow& row) {
    ReplyRow& copy = read.emplace_back();
    for (const DataSetColumn& column : row) copy.emplace_back(column.name, column.text);
  });

  EXPECT_EQ(read, rows);
  EXPECT_TRUE(client.reports.empty());
  const std::vector<SeenRequest> seen = backOffice.seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].soapAction, soapAction(kGetOutgoingLoadAllOrders));
  EXPECT_EQ(seen[0].fields, (std::vector<std::pair<std::string, std::string>>{
                                {"OutgoingLoadID", "-1"}, {"FacilityID", "FAC 1"}}));
}

TEST(RoundTrip, EscapedTextsReachTheServiceUnchanged) {
  const BackOffice backOffice(test::soapDataSetReply(kAddAstrayPO.name, "<Root/>"));
  TestTransport client;
  const std::string comment = "Smith & Sons <dock 4> \"late\"";

  const std::string result = client.transport.ReturnWebserviceXML(
      backOffice.url(), backOffice.host(), soapAction(kAddAstrayPO),
      AddAstrayPORequest("P&O-1", 2, 10.25, 3, comment, 77), kAddAstrayPO.updateOnly);
  client.transport.ReturnWebserviceXML(
      backOffice.url(), backOffice.host(), soapAction(kUpdateOutgoingLoadOrder),
      UpdateOutgoingLoadOrderEnvelope({"UPDATE T SET C = 'a&b' WHERE D < 2", ""}),
      kUpdateOutgoingLoadOrder.updateOnly);

  EXPECT_EQ(result, "");
  EXPECT_TRUE(client.reports.empty());
  const std::vector<SeenRequest> seen = backOffice.seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].fields,
            (std::vector<std::pair<std::string, std::string>>{{"OrderID", "P&O-1"},
                                                              {"OrderSegment", "2"},
                                                              {"Freight", "10.25"},
                                                              {"Cartons", "3"},
                                                              {"OutgoingLoadID", "77"},
                                                              {"Comment", comment}}));
  EXPECT_EQ(seen[1].fields, (std::vector<std::pair<std::string, std::string>>{
                                {"string", "UPDATE T SET C = 'a&b' WHERE D < 2"}, {"string", ""}}));
}

}  // namespace
}  // namespace tarvine::service
