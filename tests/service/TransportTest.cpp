// One SOAP exchange through the transport, against raw servers on 127.0.0.1.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RawHttpServer.h"
#include "ServiceReplies.h"
#include "service/Transport.h"

namespace tarvine::service {
namespace {

using tarvine::test::ClosedPort;
using tarvine::test::httpResponse;
using tarvine::test::RawHttpServer;
using tarvine::test::RawReply;

struct Report {
  std::int32_t number;
  std::string description;
  std::string procedure;
};

class TransportTest : public ::testing::Test {
 protected:
  Transport transport{[this](const RuntimeError& error, std::string_view procedure) {
    reports.push_back({error.number(), error.description(), std::string(procedure)});
  }};
  std::vector<Report> reports;
  const std::string envelope =
      R"(<?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap="urn:s"><soap:Body>)"
      R"(<Op xmlns="urn:x"><A>1 &amp; 2</A></Op></soap:Body></soap:Envelope>)";

  void SetUp() override {
    transport.setTimeouts({std::chrono::milliseconds(1000), std::chrono::milliseconds(1500)});
  }
};

TEST_F(TransportTest, SendsTheFourHeadersInOrderAndTheReserializedEnvelope) {
  RawHttpServer server(RawReply::full(httpResponse(200, "<r/>")));
  const std::string host = "http://127.0.0.1:" + std::to_string(server.port());
  transport.call(server.url("/svc.asmx"), host, "urn:x/Op", envelope, false);
  const auto request = server.request();
  ASSERT_TRUE(request);
  const std::string body =
      "<?xml version=\"1.0\"?>\r\n<soap:Envelope xmlns:soap=\"urn:s\"><soap:Body>"
      "<Op xmlns=\"urn:x\"><A>1 &amp; 2</A></Op></soap:Body></soap:Envelope>\r\n";
  EXPECT_EQ(*request,
            "POST /svc.asmx HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\nSOAPAction: urn:x/Op\r\n\r\n" + body);
  EXPECT_TRUE(reports.empty());
}

// An envelope that does not parse goes out empty; a string one goes out as UTF-8 whatever it
// declares.
TEST_F(TransportTest, TheEnvelopeGoesOutReserializedOrEmpty) {
  const std::pair<std::string, std::string> cases[] = {
      {"<Op>Smith & Sons</Op>", "SOAPAction: a\r\n\r\n"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Op>caf\u00E9</Op>",
       "\r\n\r\n<?xml version=\"1.0\"?>\r\n<Op>caf\xC3\xA9</Op>\r\n"}};
  for (const auto& [envelope, ending] : cases) {
    RawHttpServer server(RawReply::full(httpResponse(200, "<r/>")));
    transport.call(server.url(), "h", "a", envelope, false);
    EXPECT_TRUE(server.request().value_or("").ends_with(ending)) << envelope;
  }
}

TEST_F(TransportTest, ReplyIsCleanedAndStrippedFaultsToo) {
  const std::string dataSet = test::dataSetText({{{"CenterID", "12"}}});
  RawHttpServer server(RawReply::full(httpResponse(200, test::soapDataSetReply("Op", dataSet))));
  const Exchange exchange = transport.call(server.url(), "h", "a", envelope, false);
  EXPECT_EQ(exchange.result, test::transportResult("Op", dataSet));
  EXPECT_TRUE(exchange.completed);
  server.setReply(RawReply::full(httpResponse(500, test::soapFaultReply("a < b"))));
  const std::string fault = transport.ReturnWebserviceXML(server.url(), "h", "a", envelope);
  EXPECT_TRUE(fault.starts_with(R"(<?xml version="1.0" encoding="utf-8" ?>)"));
  EXPECT_NE(fault.find("<soap:Fault>"), std::string::npos);
  EXPECT_NE(fault.find("a < b"), std::string::npos);
  EXPECT_EQ(fault.find("<soap:Body>"), std::string::npos);
  EXPECT_TRUE(reports.empty());
}

TEST_F(TransportTest, UpdateOnlyGivesTheEmptyResultButKeepsTheOutcome) {
  RawHttpServer server(RawReply::full(httpResponse(500, test::soapFaultReply("no such load"))));
  const Exchange exchange = transport.call(server.url(), "h", "a", envelope, true);
  EXPECT_EQ(exchange.result, "");
  EXPECT_TRUE(exchange.completed);
  EXPECT_EQ(exchange.httpStatus, 500);
  EXPECT_EQ(exchange.fault, "no such load");
  EXPECT_FALSE(exchange.answered());
  EXPECT_TRUE(reports.empty());
}

TEST_F(TransportTest, NonXmlReplyIsEmptyWithoutReport) {
  RawHttpServer server(RawReply::full(httpResponse(502, "<html><body>Bad gateway", "")));
  const Exchange exchange = transport.call(server.url(), "h", "a", envelope, false);
  EXPECT_EQ(exchange.result, "");
  EXPECT_FALSE(exchange.answered());
  EXPECT_TRUE(reports.empty());
}

// Only a well-formed 2xx reply holding <OpResponse> in the route namespace answers the
// operation; anything else is reported once, with the status as its number.
TEST_F(TransportTest, OnlyTheOperationsResponseAnswers) {
  const std::string noOp = "HTTP 200 reply without a OpResponse ";
  const std::pair<std::string, std::string> cases[] = {
      {httpResponse(200, test::soapDataSetReply("Op", "")), ""},
      {httpResponse(200, ""), noOp + "(text/xml; charset=utf-8)"},
      {httpResponse(200, "<html><p>ok</p></html>", "Content-Type: text/html\r\n"),
       noOp + "(text/html)"},
      {httpResponse(200, "\x1F\x8B\x08\x00garbage", ""), noOp + "(no content type)"},
      {httpResponse(200, test::soapDataSetReply("Other", "")), noOp + "(text/xml; charset=utf-8)"},
      {httpResponse(503, test::soapDataSetReply("Op", "")),
       "HTTP 503 reply to Op (text/xml; charset=utf-8)"},
      {httpResponse(500, test::soapFaultReply("load 5001 is closed")), "load 5001 is closed"}};
  for (const auto& [reply, report] : cases) {
    SCOPED_TRACE(report);
    reports.clear();
    RawHttpServer server(RawReply::full(reply));
    const Exchange exchange =
        transport.callOperation(server.url(), "h", "a", "Op", envelope, false);
    EXPECT_EQ(exchange.answered(), report.empty());
    if (report.empty()) {
      EXPECT_TRUE(reports.empty());
      continue;
    }
    EXPECT_EQ(exchange.result, "");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].procedure, "ReturnWebserviceXML");
    EXPECT_EQ(reports[0].number, exchange.httpStatus);
    EXPECT_EQ(reports[0].description, report);
  }
}

// A reply whose tree would cost many times its size (tiny elements, deep nesting, a long
// attribute list) is refused before the tree is built and reported with number 7, never handed on
// as an empty data set.
TEST_F(TransportTest, ACostlyReplyIsRefusedAndReported) {
  const auto times = [](const std::string& piece, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += piece;
    return text;
  };
  for (const std::string& body : {"<a>" + times("<b/>", 500'000) + "</a>",
                                  "<a>" + times("<b>", 700'000) + times("</b>", 700'000) + "</a>",
                                  "<a " + times("b=\"\" ", 1'200'000) + "/>"}) {
    reports.clear();
    RawHttpServer server(RawReply::full(httpResponse(200, body)));
    const Exchange exchange = transport.callQuery(server.url(), "h", "a", "Op", envelope);
    EXPECT_EQ(exchange.result, "");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].number, 7);
    EXPECT_TRUE(reports[0].description.starts_with("The reply was refused"))
        << reports[0].description;
  }
}

TEST_F(TransportTest, AnOperationWhoseTextIsNotUtf8IsNotSent) {
  RawHttpServer server(RawReply::full(httpResponse(200, "<r/>")));
  const Exchange exchange =
      transport.callOperation(server.url(), "h", "a", "Op", "<Op>\xFF</Op>", false);
  EXPECT_FALSE(exchange.completed);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].number, 5);
  EXPECT_NE(reports[0].description.find("not valid UTF-8"), std::string::npos);
  EXPECT_FALSE(server.request(0, std::chrono::milliseconds(200)));
}

// A refused connection and a server that never answers are each reported once, by libcurl code.
TEST_F(TransportTest, ConnectionFailuresAreReported) {
  ClosedPort closed;
  RawHttpServer silent(RawReply::silence());
  transport.setTimeouts({std::chrono::milliseconds(500), std::chrono::milliseconds(300)});
  for (const auto& [url, code] : {std::pair{closed.url(), 7}, {silent.url(), 28}}) {
    reports.clear();
    const Exchange exchange = transport.call(url, "h", "a", envelope, false);
    EXPECT_FALSE(exchange.completed);
    EXPECT_EQ(exchange.result, "");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].procedure, "ReturnWebserviceXML");
    EXPECT_EQ(reports[0].number, kHttpErrorBase + code);
  }
}

TEST(ReplyCleanUpTest, CleanResponseXML) {
  EXPECT_EQ(CleanResponseXML(""), "");
  EXPECT_EQ(CleanResponseXML("<?xml version=\"1.0\"?>\r\n<a>&lt;b&gt;&amp;lt;</a>"),
            "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<a><b>&amp;lt;</a>");
  // Only the escaped ampersand followed by "lt;" survives; other entities stay as they are.
  EXPECT_EQ(CleanResponseXML("&quot;&#60;&lt;lt;"), "&quot;&#60;<lt;");
}

TEST(ReplyCleanUpTest, StripSOAPEnvelope) {
  const std::string start =
      R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/")"
      R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
      R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema">)";
  EXPECT_EQ(StripSOAPEnvelope(""), "");
  EXPECT_EQ(StripSOAPEnvelope("D\r\n" + start + "<soap:Body><R/></soap:Body></soap:Envelope>\r\n"),
            "D\r\n<R/>\r\n");
  // Declarations in another order keep the start tag in front of the content.
  const std::string other =
      R"(<soap:Envelope xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
      R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema")"
      R"( xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">)";
  EXPECT_EQ(StripSOAPEnvelope(other + "<soap:Body><R/></soap:Body></soap:Envelope>"),
            other + "<R/>");
}

}  // namespace
}  // namespace tarvine::service
