#include "service/Requests.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/XmlDocument.h"

namespace tarvine::service {
namespace {

// The envelope around a body, written out here rather than taken from the code under test.
std::string expectedEnvelope(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
         "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
         " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
         " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
         "  <soap:Body>    " +
         std::string(body) + "   </soap:Body> </soap:Envelope>";
}

#define NS "http://tarvine.example/VOZARouteLocations/Service1"

struct RequestCase {
  const char* name;
  std::function<std::string()> build;
  std::string body;
};

void PrintTo(const RequestCase& request, std::ostream* out) {
  *out << request.name;
}

class RequestEnvelope : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RequestEnvelope, IsByteExact) {
  EXPECT_EQ(GetParam().build(), expectedEnvelope(GetParam().body));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RequestEnvelope,
    ::testing::Values(
        RequestCase{"AllOrders", [] { return GetOutgoingLoadAllOrdersRequest(1234, "FAC 01 "); },
                    "<GetOutgoingLoadAllOrders xmlns=\"" NS "\">      <OutgoingLoadID>1234"
                    "</OutgoingLoadID>      <FacilityID>FAC 01 </FacilityID>"
                    "</GetOutgoingLoadAllOrders>"},
        RequestCase{"AllOrdersUnsetLoad", [] { return GetOutgoingLoadAllOrdersRequest(-1, ""); },
                    "<GetOutgoingLoadAllOrders xmlns=\"" NS "\">      <OutgoingLoadID>-1"
                    "</OutgoingLoadID>      <FacilityID></FacilityID></GetOutgoingLoadAllOrders>"},
        RequestCase{"BasicTotal", [] { return GetOutgoingLoadBasicTotalRequest(-1); },
                    "<GetOutgoingLoadBasicTotal xmlns=\"" NS "\">      <OutgoingLoadID>-1"
                    "</OutgoingLoadID></GetOutgoingLoadBasicTotal>"},
        RequestCase{"CenterIDAndCenter",
                    [] { return GetOutgoingLoadCenterIDAndCenterRequest(32767); },
                    "<GetOutgoingLoadCenterIDAndCenter xmlns=\"" NS "\">      <OutgoingLoadID>32767"
                    "</OutgoingLoadID></GetOutgoingLoadCenterIDAndCenter>"},
        RequestCase{"DescriptionRoute",
                    [] { return GetOutgoingLoadDescriptionRouteRequest(-32768); },
                    "<GetOutgoingLoadDescriptionRoute xmlns=\"" NS "\">      <OutgoingLoadID>-32768"
                    "</OutgoingLoadID></GetOutgoingLoadDescriptionRoute>"},
        RequestCase{"IsPOFound", [] { return IsPOFoundRequest(" 4711-A "); },
                    "<IsPOFound xmlns=\"" NS "\">      <OrderID> 4711-A </OrderID></IsPOFound>"},
        RequestCase{"AddAstrayPO",
                    [] { return AddAstrayPORequest("4711", 3, 125.5, 12, "late", 77); },
                    "<AddAstrayPO xmlns=\"" NS "\"> <OrderID>4711</OrderID> <OrderSegment>3"
                    "</OrderSegment> <Freight>125.5</Freight> <Cartons>12</Cartons>"
                    " <OutgoingLoadID>77</OutgoingLoadID> <Comment>late</Comment></AddAstrayPO>"},
        RequestCase{"AddAstrayPOWholeFreightNegativeLoad",
                    [] { return AddAstrayPORequest("", 0, 100, -5, "", -1); },
                    "<AddAstrayPO xmlns=\"" NS "\"> <OrderID></OrderID> <OrderSegment>0"
                    "</OrderSegment> <Freight>100</Freight> <Cartons>-5</Cartons>"
                    " <OutgoingLoadID>-1</OutgoingLoadID> <Comment></Comment></AddAstrayPO>"},
        RequestCase{"UpdateOneEmptyElement", [] { return UpdateOutgoingLoadOrderEnvelope({""}); },
                    "<UpdateOutgoingLoadOrder xmlns=\"" NS "\">      <OutgoingLoadOrderArray>"
                    "<string></string>\r\n</OutgoingLoadOrderArray> </UpdateOutgoingLoadOrder>"},
        RequestCase{"UpdateTwoItems",
                    [] {
                      return UpdateOutgoingLoadOrderEnvelope({"UPDATE T SET A = 1", ""});
                    },
                    "<UpdateOutgoingLoadOrder xmlns=\"" NS "\">      <OutgoingLoadOrderArray>"
                    "<string>UPDATE T SET A = 1</string>\r\n<string></string>\r\n"
                    "</OutgoingLoadOrderArray> </UpdateOutgoingLoadOrder>"},
        RequestCase{"UpdatePlaceholderWordsInStatements",
                    [] {
                      return UpdateOutgoingLoadOrderEnvelope(
                          {"OutgoingLoadBody XMLData OutgoingLoadArrayBody"});
                    },
                    "<UpdateOutgoingLoadOrder xmlns=\"" NS "\">      <OutgoingLoadOrderArray>"
                    "<string>OutgoingLoadBody XMLData OutgoingLoadArrayBody</string>\r\n"
                    "</OutgoingLoadOrderArray> </UpdateOutgoingLoadOrder>"},
        RequestCase{"EscapedFacility",
                    [] { return GetOutgoingLoadAllOrdersRequest(1, "A&B <\"x\">"); },
                    "<GetOutgoingLoadAllOrders xmlns=\"" NS "\">      <OutgoingLoadID>1"
                    "</OutgoingLoadID>      <FacilityID>A&amp;B &lt;\"x\"&gt;</FacilityID>"
                    "</GetOutgoingLoadAllOrders>"},
        RequestCase{"EscapedOrderId", [] { return IsPOFoundRequest("P&O"); },
                    "<IsPOFound xmlns=\"" NS "\">      <OrderID>P&amp;O</OrderID></IsPOFound>"},
        RequestCase{"EscapedAstrayTexts",
                    [] { return AddAstrayPORequest("<1>", 1, 0.1, 1, "Smith & Sons' >", 1); },
                    "<AddAstrayPO xmlns=\"" NS "\"> <OrderID>&lt;1&gt;</OrderID> <OrderSegment>1"
                    "</OrderSegment> <Freight>0.1</Freight> <Cartons>1</Cartons>"
                    " <OutgoingLoadID>1</OutgoingLoadID> <Comment>Smith &amp; Sons' &gt;</Comment>"
                    "</AddAstrayPO>"},
        RequestCase{"EscapedStatement",
                    [] { return UpdateOutgoingLoadOrderEnvelope({"WHERE A < 1 AND B = 'x&y'"}); },
                    "<UpdateOutgoingLoadOrder xmlns=\"" NS "\">      <OutgoingLoadOrderArray>"
                    "<string>WHERE A &lt; 1 AND B = 'x&amp;y'</string>\r\n"
                    "</OutgoingLoadOrderArray> </UpdateOutgoingLoadOrder>"}),
    [](const auto& info) { return std::string(info.param.name); });

#undef NS

XmlNode childNamed(XmlNode parent, std::string_view name) {
  for (XmlNode child = parent.firstChild(); child; child = child.nextSibling()) {
    if (child.name() == name) return child;
  }
  return {};
}

// The escaped values must survive a real parse unchanged: that is what the service reads.
TEST(RequestEscaping, ValuesReadBackUnchangedAfterParse) {
  const std::string comment = "Smith & Sons <late> \"A\"";
  XmlDocument document;
  ASSERT_TRUE(document.loadXml(AddAstrayPORequest("P&O", 1, 2.5, 3, comment, 4)));
  const XmlNode operation = childNamed(
      childNamed(childNamed(document.root(), "soap:Envelope"), "soap:Body"), "AddAstrayPO");
  ASSERT_TRUE(operation);
  EXPECT_EQ(childNamed(operation, "Comment").text(), comment);
  EXPECT_EQ(childNamed(operation, "OrderID").text(), "P&O");
}

TEST(RequestEscaping, UpdateEnvelopeWithManyStatementsParses) {
  std::vector<std::string> statements(32'767, "UPDATE T SET C = 'a&b' WHERE D < 2");
  statements.back().clear();
  const std::string envelope = UpdateOutgoingLoadOrderEnvelope(statements);
  XmlDocument document;
  EXPECT_TRUE(document.loadXml(envelope)) << document.parseErrorReason();
}

}  // namespace
}  // namespace tarvine::service
