// Whole exchanges through the transport against a local stand-in for the back office.

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "RawHttpServer.h"
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

// What the stand-in saw of one request: its SOAPAction and the operation's fields as parsed,
// each as "name=value|".
struct SeenRequest {
  std::string soapAction;
  std::string fields;
};

// Answers every POST with one canned reply; each request is parsed with an XML parser of its own
// so that what it sees is what a real service would read.
class BackOffice {
 public:
  explicit BackOffice(const std::string& reply)
      : raw_(tarvine::test::RawReply::full(tarvine::test::httpResponse(200, reply))) {}

  std::string host() const { return "127.0.0.1:" + std::to_string(raw_.port()); }
  std::string url() const { return raw_.url(kPath); }
  std::vector<SeenRequest> seen() const {
    std::vector<SeenRequest> seen;
    for (std::size_t i = 0; i < raw_.requestCount(); ++i) seen.push_back(parse(*raw_.request(i)));
    return seen;
  }

 private:
  static SeenRequest parse(const std::string& request) {
    SeenRequest seen{tarvine::test::headerValue(request, "SOAPAction").value_or(""), {}};
    const std::string body = request.substr(request.find("\r\n\r\n") + 4);
    pugi::xml_document document;
    if (!document.load_buffer(body.data(), body.size())) return seen;
    const pugi::xml_node operation =
        document.child("soap:Envelope").child("soap:Body").first_child();
    const auto add = [&](pugi::xml_node node) {
      seen.fields += std::string(node.name()) + "=" + node.child_value() + "|";
    };
    for (const pugi::xml_node field : operation.children()) {
      // An array gives one entry per item.
      if (field.first_child().type() != pugi::node_element) add(field);
      for (const pugi::xml_node item : field.children()) {
        if (item.type() == pugi::node_element) add(item);
      }
    }
    return seen;
  }

  tarvine::test::RawHttpServer raw_;
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
  EXPECT_EQ(seen[0].fields, "OutgoingLoadID=-1|FacilityID=FAC 1|");
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
            "OrderID=P&O-1|OrderSegment=2|Freight=10.25|Cartons=3|"
            "OutgoingLoadID=77|Comment=" +
                comment + "|");
  EXPECT_EQ(seen[1].fields, "string=UPDATE T SET C = 'a&b' WHERE D < 2|string=|");
}

}  // namespace
}  // namespace tarvine::service
