#include <gtest/gtest.h>

#include "ServeFixture.h"

namespace tarvine::serve::test {
namespace {

const std::string kAllOrdersAction = std::string(kNamespace) + "/GetOutgoingLoadAllOrders";

std::string nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  return text;
}

std::string repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// A well-formed query whose parameters carry what the case adds.
std::string queryWith(const std::string& extra, const std::string& load = "5001") {
  std::string query =
      operationBody("GetOutgoingLoadAllOrders", {{"OutgoingLoadID", load}, {"FacilityID", "DEMO"}});
  return clientEnvelope(query.insert(query.rfind("</"), extra));
}

// Every request the service cannot take is answered with a client fault that says why.
TEST_F(ServeFixture, RefusesBadRequestsWithAClientFault) {
  const std::tuple<const char*, std::string, std::optional<std::string>, const char*> cases[] = {
      {"empty body", "", kAllOrdersAction, "body is empty"},
      {"not XML", "<soap:Envelope><oops", kAllOrdersAction, "not well-formed"},
      {"not an envelope", "<Envelop/>", kAllOrdersAction, "not a SOAP Envelope"},
      {"no body", "<soap:Envelope xmlns:soap=\"x\"/>", kAllOrdersAction, "no Body"},
      {"empty body element", clientEnvelope(""), kAllOrdersAction, "no operation"},
      {"unknown operation", clientEnvelope(operationBody("DropTables", {})),
       std::string(kNamespace) + "/DropTables", "unknown operation"},
      {"other namespace", clientEnvelope("<GetOutgoingLoadAllOrders xmlns=\"urn:other\"/>"),
       kAllOrdersAction, "namespace"},
      {"mismatching SOAPAction", clientEnvelope(allOrdersQuery(5001, "DEMO")),
       std::string(kNamespace) + "/IsPOFound", "does not match"},
      {"missing SOAPAction", clientEnvelope(allOrdersQuery(5001, "DEMO")), std::nullopt,
       "SOAPAction header is missing"},
      {"missing parameter",
       clientEnvelope(operationBody("GetOutgoingLoadAllOrders", {{"OutgoingLoadID", "5001"}})),
       kAllOrdersAction, "needs the parameter FacilityID"},
      {"load id not a number", queryWith("", "50x1"), kAllOrdersAction,
       "OutgoingLoadID must be a whole number"},
      {"load id beyond 16 bits", queryWith("", "40000"), kAllOrdersAction, "from -32768 to 32767"},
      {"hostile depth", clientEnvelope(nested(100000)), kAllOrdersAction, "deeper than 256"},
      {"too many elements", queryWith(repeated("<a/>", 131'072)), kAllOrdersAction,
       "more than 131072 elements"},
      {"too many attributes", queryWith("<a " + repeated("b='>'", 131'073) + "/>"),
       kAllOrdersAction, "more than 131072 attributes"},
      {"document type", "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + queryWith("&a;"), kAllOrdersAction,
       "declaration"}};
  for (const auto& [why, body, soapAction, faultPart] : cases) {
    SCOPED_TRACE(why);
    expectClientFault(send(body, soapAction), faultPart);
  }
}

// A quoted SOAPAction is taken, and nesting and element counts up to their limits too.
TEST_F(ServeFixture, AcceptsWhatIsWithinTheLimits) {
  EXPECT_EQ(send(queryWith(""), "\"" + kAllOrdersAction + "\"").status, 200);
  // The envelope, body and operation take three levels; parameters may nest up to the limit.
  EXPECT_EQ(send(queryWith(nested(253)), kAllOrdersAction).status, 200);
  EXPECT_EQ(send(queryWith(nested(254)), kAllOrdersAction).status, 500);
  EXPECT_EQ(send(queryWith(repeated("<a/>", 131'072 - 5)), kAllOrdersAction).status, 200);
}

// However the body is framed, one byte over the limit is refused before it is parsed.
class OversizedBody : public ServeFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(OversizedBody, IsRefusedWithAClientFault) {
  const std::string body(16u * 1024 * 1024 + 1, ' ');
  expectClientFault(postTo(port_, body, kAllOrdersAction, {}, GetParam()), "larger than 16 MiB");
}

INSTANTIATE_TEST_SUITE_P(Framing, OversizedBody, ::testing::Values(false, true),
                         [](const auto& info) {
                           return std::string(info.param ? "Chunked" : "ContentLength");
                         });

TEST_F(ServeFixture, AnswersBusyWhileTheBodiesInMemoryReachTheLimit) {
  ServerSettings settings;
  settings.limits.maxBufferedBodyBytes = 1 << 20;
  restartWith(settings);
  const HttpReply busy = send(std::string(2 << 20, ' '), kAllOrdersAction);
  EXPECT_EQ(busy.status, 503);
  EXPECT_NE(faultOf(busy.body).second.find("busy"), std::string::npos);
  // The refused body no longer counts.
  EXPECT_EQ(send(queryWith(""), kAllOrdersAction).status, 200);
}

// Who may call: the --allow-from networks (checked before anything is read) and, on loopback,
// a Host header that names loopback (a web page reaching the service by DNS rebinding
// names its own host).
TEST_F(ServeFixture, AnswersOrRefusesCallersWithAPlain403) {
  const struct {
    const char* allowFrom;
    const char* host;
    bool allowed;
  } cases[] = {{"", "127.0.0.1:8080", true},
               {"", "LocalHost", true},
               {"", "[::1]:8080", true},
               {"", "127.3.2.1", true},
               {"", "intranet.example:8080", false},
               {"", "127.0.0.1.rebind.example", false},
               {"", "192.168.1.5", false},
               {"10.0.0.0/8, 127.0.0.0/8", "localhost", true},
               {"10.0.0.0/8,::1/128", "localhost", false},
               {"127.0.0.2/31", "localhost", false}};
  const std::string before = snapshot();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.allowFrom) + " " + c.host);
    ServerSettings settings;
    if (*c.allowFrom) settings.allowFrom = AllowList::parse(c.allowFrom);
    restartWith(settings);
    const std::size_t logged = logLines().size();
    const HttpReply reply = postTo(port_, clientEnvelope(allOrdersQuery(5001, "DEMO")),
                                   kAllOrdersAction, {{"Host", c.host}});
    EXPECT_EQ(reply.status, c.allowed ? 200 : 403);
    if (c.allowed) continue;
    EXPECT_EQ(reply.body, "Forbidden\n");
    EXPECT_EQ(snapshot(), before);
    ASSERT_EQ(logLines().size(), logged + 1);
    EXPECT_NE(logLines().back().find(": refused ("), std::string::npos) << logLines().back();
  }
}

}  // namespace
}  // namespace tarvine::serve::test
