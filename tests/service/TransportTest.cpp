// One SOAP exchange through the transport, against raw servers on 127.0.0.1.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <regex>
#include <string>
#include <vector>

#include "CaseName.h"
#include "Golden.h"
#include "TestText.h"

#include "RawHttpServer.h"
#include "ServiceReplies.h"
#include "service/Transport.h"

namespace tarvine::service {
namespace {

using tarvine::test::ClosedPort;
using tarvine::test::httpResponse;
using tarvine::test::RawHttpServer;
using tarvine::test::RawReply;
using tarvine::test::repeated;

const std::string kEnvelope =
    R"(<?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap="urn:s"><soap:Body>)"
    R"(<Op xmlns="urn:x"><A>1 &amp; 2</A></Op></soap:Body></soap:Envelope>)";

// How the exchange is asked for: the public method's call (with updateOnly), or one operation
// "Op" (callOperation, callQuery).
enum class Road { Call, CallUpdateOnly, Operation, Query };

struct Case {
  const char* name;
  Road road;
  std::string reply;  // the whole HTTP reply; kClosed: nothing listens, kSilent: never answers
  std::string envelope = kEnvelope;
};

const std::string kClosed = "closed", kSilent = "silent";

std::string xmlReply(int status, const std::string& body) {
  return httpResponse(status, body);
}

const std::string kDataSet = test::dataSetText({{{"CenterID", "12"}}});

const Case kCases[] = {
    {"DataSetReply", Road::Call, xmlReply(200, test::soapDataSetReply("Op", kDataSet))},
    // The fault's text comes back cleaned and without the envelope.
    {"FaultReply", Road::Call, xmlReply(500, test::soapFaultReply("a < b"))},
    // An envelope that does not parse goes out empty; one in another encoding goes out as UTF-8.
    {"EnvelopeNotXml", Road::Call, xmlReply(200, "<r/>"), "<Op>Smith & Sons</Op>"},
    {"EnvelopeInLatin1", Road::Call, xmlReply(200, "<r/>"),
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Op>caf\u00E9</Op>"},
    {"UpdateOnlyKeepsTheOutcome", Road::CallUpdateOnly,
     xmlReply(500, test::soapFaultReply("no such load"))},
    {"NotXmlWithoutReport", Road::Call, httpResponse(502, "<html><body>Bad gateway", "")},
    // Only a well-formed 2xx reply holding <OpResponse> in the route namespace answers the
    // operation; anything else is reported once, with the status as its number.
    {"OperationAnswered", Road::Operation, xmlReply(200, test::soapDataSetReply("Op", ""))},
    {"OperationEmptyBody", Road::Operation, xmlReply(200, "")},
    {"OperationHtml", Road::Operation,
     httpResponse(200, "<html><p>ok</p></html>", "Content-Type: text/html\r\n")},
    {"OperationBinaryWithoutType", Road::Operation,
     httpResponse(200, "\x1F\x8B\x08\x00garbage", "")},
    {"OperationOtherResponse", Road::Operation, xmlReply(200, test::soapDataSetReply("Other", ""))},
    {"OperationStatus503", Road::Operation, xmlReply(503, test::soapDataSetReply("Op", ""))},
    {"OperationFault", Road::Operation, xmlReply(500, test::soapFaultReply("load 5001 is closed"))},
    {"OperationNotUtf8IsNotSent", Road::Operation, xmlReply(200, "<r/>"), "<Op>\xFF</Op>"},
    // A reply whose tree would cost many times its size is refused before the tree is built.
    {"CostlyTinyElements", Road::Query, xmlReply(200, "<a>" + repeated("<b/>", 500'000) + "</a>")},
    {"CostlyDeepNesting", Road::Query,
     xmlReply(200, "<a>" + repeated("<b>", 700'000) + repeated("</b>", 700'000) + "</a>")},
    {"CostlyAttributes", Road::Query, xmlReply(200, "<a " + repeated("b=\"\" ", 1'200'000) + "/>")},
    {"NothingListens", Road::Call, kClosed},
    {"NeverAnswers", Road::Call, kSilent},
};

// One exchange against a raw server on 127.0.0.1: the request it received (port written as
// PORT), the exchange's outcome and result, and every report, compared with a golden file.
class TransportTest : public ::testing::TestWithParam<Case> {};

TEST_P(TransportTest, Exchange) {
  const Case& c = GetParam();
  std::vector<std::string> reports;
  Transport transport([&](const RuntimeError& error, std::string_view procedure) {
    reports.push_back(std::to_string(error.number()) + " " + std::string(procedure) + ": " +
                      error.description());
  });
  transport.setTimeouts({std::chrono::milliseconds(1000), std::chrono::milliseconds(1500)});
  ClosedPort closed;
  RawHttpServer server(c.reply == kSilent ? RawReply::silence() : RawReply::full(c.reply));
  const std::string url = c.reply == kClosed ? closed.url("/svc.asmx") : server.url("/svc.asmx");
  // The Host header is the host without its scheme.
  const std::string host = "http://127.0.0.1:" + std::to_string(server.port());
  Exchange exchange;
  if (c.road == Road::Call || c.road == Road::CallUpdateOnly) {
    exchange = transport.call(url, host, "urn:x/Op", c.envelope, c.road == Road::CallUpdateOnly);
  } else if (c.road == Road::Operation) {
    exchange = transport.callOperation(url, host, "urn:x/Op", "Op", c.envelope, false);
  } else {
    exchange = transport.callQuery(url, host, "urn:x/Op", "Op", c.envelope);
  }
  std::string text =
      "sent " +
      nlohmann::json(server.request(0, std::chrono::milliseconds(200)).value_or("")).dump() +
      "\ncompleted " + std::to_string(exchange.completed) + " status " +
      std::to_string(exchange.httpStatus) + " type \"" + exchange.contentType + "\" fault " +
      nlohmann::json(exchange.fault ? nlohmann::json(*exchange.fault) : nullptr).dump() +
      " response " + std::to_string(exchange.hasResponse) + " answered " +
      std::to_string(exchange.answered()) + "\nresult " + nlohmann::json(exchange.result).dump() +
      "\n";
  for (const std::string& report : reports) text += "report " + report + "\n";
  // Ports and the time a failure took vary from run to run.
  const std::string ports = std::to_string(server.port()) + "|" + std::to_string(closed.port());
  text = std::regex_replace(text, std::regex("(:|port )(" + ports + ")\\b"), "$1PORT");
  tarvine::test::expectGolden(tarvine::test::withoutElapsedTime(text),
                              "service/transport-" + std::string(c.name) + ".txt");
}

INSTANTIATE_TEST_SUITE_P(Replies, TransportTest, ::testing::ValuesIn(kCases),
                         tarvine::test::caseName);

// The cleaning unescapes "&lt;", "&gt;" and "&amp;lt;" only; the stripping removes the envelope
// and body tags, keeping a start tag whose declarations come in another order.
TEST(ReplyCleanUpTest, CleanAndStrip) {
  const std::string start =
      R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/")"
      R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
      R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema">)";
  const std::string other =
      R"(<soap:Envelope xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
      R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema")"
      R"( xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">)";
  const std::tuple<std::string (*)(std::string_view), std::string, std::string> cases[] = {
      {CleanResponseXML, "", ""},
      {CleanResponseXML, "<?xml version=\"1.0\"?>\r\n<a>&lt;b&gt;&amp;lt;</a>",
       "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<a><b>&amp;lt;</a>"},
      {CleanResponseXML, "&quot;&#60;&lt;lt;", "&quot;&#60;<lt;"},
      {StripSOAPEnvelope, "", ""},
      {StripSOAPEnvelope, "D\r\n" + start + "<soap:Body><R/></soap:Body></soap:Envelope>\r\n",
       "D\r\n<R/>\r\n"},
      {StripSOAPEnvelope, other + "<soap:Body><R/></soap:Body></soap:Envelope>", other + "<R/>"}};
  for (const auto& [function, input, output] : cases) EXPECT_EQ(function(input), output) << input;
}

}  // namespace
}  // namespace tarvine::service
