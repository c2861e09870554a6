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

struct BadRequest {
  const char* why;
  std::string body;
  std::optional<std::string> soapAction;
  const char* faultPart;
};

std::ostream& operator<<(std::ostream& out, const BadRequest& c) {
  return out << c.why;
}

class RefusedRequest : public ServeFixture, public ::testing::WithParamInterface<BadRequest> {};

TEST_P(RefusedRequest, AnswersAClientFault) {
  const HttpReply reply = send(GetParam().body, GetParam().soapAction);
  EXPECT_EQ(reply.status, 500);
  EXPECT_EQ(reply.contentType, "text/xml; charset=utf-8");
  const auto [code, message] = faultOf(reply.body);
  EXPECT_EQ(code, "soap:Client");
  EXPECT_NE(message.find(GetParam().faultPart), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusedRequest,
    ::testing::Values(
        BadRequest{"empty body", "", kAllOrdersAction, "body is empty"},
        BadRequest{"not XML", "<soap:Envelope><oops", kAllOrdersAction, "not well-formed"},
        BadRequest{"not an envelope", "<Envelop/>", kAllOrdersAction, "not a SOAP Envelope"},
        BadRequest{"no body", "<soap:Envelope xmlns:soap=\"x\"/>", kAllOrdersAction, "no Body"},
        BadRequest{"empty body element", clientEnvelope(""), kAllOrdersAction, "no operation"},
        BadRequest{"unknown operation",
                   clientEnvelope(std::string("<DropTables xmlns=\"") + kNamespace + "\"/>"),
                   std::string(kNamespace) + "/DropTables", "unknown operation"},
        BadRequest{"other namespace",
                   clientEnvelope("<GetOutgoingLoadAllOrders xmlns=\"urn:other\"/>"),
                   kAllOrdersAction, "namespace"},
        BadRequest{"mismatching SOAPAction", clientEnvelope(allOrdersQuery(5001, "DEMO")),
                   std::string(kNamespace) + "/IsPOFound", "does not match"},
        BadRequest{"missing SOAPAction", clientEnvelope(allOrdersQuery(5001, "DEMO")), std::nullopt,
                   "SOAPAction header is missing"},
        BadRequest{"missing parameter",
                   clientEnvelope(std::string("<GetOutgoingLoadAllOrders xmlns=\"") + kNamespace +
                                  "\"><OutgoingLoadID>5001</OutgoingLoadID>"
                                  "</GetOutgoingLoadAllOrders>"),
                   kAllOrdersAction, "needs the parameter FacilityID"},
        BadRequest{"load id not a number",
                   clientEnvelope(std::string("<GetOutgoingLoadAllOrders xmlns=\"") + kNamespace +
                                  "\"><OutgoingLoadID>50x1</OutgoingLoadID>"
                                  "<FacilityID>DEMO</FacilityID></GetOutgoingLoadAllOrders>"),
                   kAllOrdersAction, "OutgoingLoadID must be a whole number"},
        BadRequest{"load id beyond 16 bits",
                   clientEnvelope(std::string("<GetOutgoingLoadBasicTotal xmlns=\"") + kNamespace +
                                  "\"><OutgoingLoadID>40000</OutgoingLoadID>"
                                  "</GetOutgoingLoadBasicTotal>"),
                   std::string(kNamespace) + "/GetOutgoingLoadBasicTotal", "from -32768 to 32767"},
        BadRequest{"hostile depth", clientEnvelope(nested(100000)), kAllOrdersAction,
                   "deeper than 256"}));

TEST_F(ServeFixture, AcceptsAQuotedSOAPAction) {
  const HttpReply reply =
      send(clientEnvelope(allOrdersQuery(5001, "DEMO")), "\"" + kAllOrdersAction + "\"");
  EXPECT_EQ(reply.status, 200);
}

TEST_F(ServeFixture, AcceptsDepthUpToTheLimit) {
  // The envelope, body and operation take three levels; parameters may nest up to the limit.
  const std::string body = std::string("<GetOutgoingLoadAllOrders xmlns=\"") + kNamespace +
                           "\"><OutgoingLoadID>5001</OutgoingLoadID><FacilityID>DEMO</FacilityID>" +
                           nested(253) + "</GetOutgoingLoadAllOrders>";
  EXPECT_EQ(send(clientEnvelope(body), kAllOrdersAction).status, 200);
  const std::string deeper = std::string("<GetOutgoingLoadAllOrders xmlns=\"") + kNamespace +
                             "\">" + nested(254) + "</GetOutgoingLoadAllOrders>";
  EXPECT_EQ(send(clientEnvelope(deeper), kAllOrdersAction).status, 500);
}

TEST_F(ServeFixture, RefusesABodyOver64MiB) {
  const std::string body(64u * 1024 * 1024 + 1, ' ');
  const HttpReply reply = send(body, kAllOrdersAction);
  EXPECT_EQ(reply.status, 500);
  EXPECT_EQ(faultOf(reply.body).first, "soap:Client");
  EXPECT_NE(faultOf(reply.body).second.find("64 MiB"), std::string::npos);
}

}  // namespace
}  // namespace tarvine::serve::test
