#include "service/Requests.h"

#include <gtest/gtest.h>

#include "Golden.h"
#include "platform/XmlDocument.h"
#include "service/Envelope.h"

namespace tarvine::service {
namespace {

// Every request as it goes on the wire, one after another, pinned byte for byte.
TEST(RequestEnvelope, IsByteExact) {
  const std::pair<const char*, std::string> requests[] = {
      {"AllOrders", GetOutgoingLoadAllOrdersRequest(1234, "FAC 01 ")},
      {"AllOrdersUnsetLoad", GetOutgoingLoadAllOrdersRequest(-1, "")},
      {"BasicTotal", GetOutgoingLoadBasicTotalRequest(-1)},
      {"CenterIDAndCenter", GetOutgoingLoadCenterIDAndCenterRequest(32767)},
      {"DescriptionRoute", GetOutgoingLoadDescriptionRouteRequest(-32768)},
      {"IsPOFound", IsPOFoundRequest(" 4711-A ")},
      {"AddAstrayPO", AddAstrayPORequest("4711", 3, 125.5, 12, "late", 77)},
      {"AddAstrayPOWholeFreightNegativeLoad", AddAstrayPORequest("", 0, 100, -5, "", -1)},
      {"UpdateOneEmptyElement", UpdateOutgoingLoadOrderEnvelope({""})},
      {"UpdateTwoItems", UpdateOutgoingLoadOrderEnvelope({"UPDATE T SET A = 1", ""})},
      {"UpdatePlaceholderWordsInStatements",
       UpdateOutgoingLoadOrderEnvelope({"OutgoingLoadBody XMLData OutgoingLoadArrayBody"})},
      {"EscapedFacility", GetOutgoingLoadAllOrdersRequest(1, "A&B <\"x\">")},
      {"EscapedOrderId", IsPOFoundRequest("P&O")},
      {"EscapedAstrayTexts", AddAstrayPORequest("<1>", 1, 0.1, 1, "Smith & Sons' >", 1)},
      {"EscapedStatement", UpdateOutgoingLoadOrderEnvelope({"WHERE A < 1 AND B = 'x&y'"})},
      // The body goes between the template's blanks once; its text is not searched again.
      {"Template", SOAPEnvelopeTemplate()},
      {"EmptyBody", envelopeFor("")},
      {"BodyHoldingThePlaceholder", envelopeFor("<A>XMLData</A>")}};
  std::string all;
  for (const auto& [name, envelope] : requests) all += std::string(name) + ":\n" + envelope + "\n";
  test::expectGolden(all, "requests.txt");
}

TEST(RequestEscaping, UpdateEnvelopeWithManyStatementsParses) {
  std::vector<std::string> statements(32'767, "UPDATE T SET C = 'a&b' WHERE D < 2");
  statements.back().clear();
  const std::string envelope = UpdateOutgoingLoadOrderEnvelope(statements);
  XmlDocument document;
  EXPECT_TRUE(document.loadXml(envelope)) << document.parseErrorReason();
}

// The update request made in one pass is the envelope as the transport's parse and write-out
// leave it, whatever the statements hold; statements the parse refuses give nothing.
TEST(RequestEscaping, WrittenUpdateIsTheEnvelopeParsedAndWrittenOut) {
  const std::vector<std::vector<std::string>> cases = {
      {""},
      {"UPDATE T SET A = 1", ""},
      {"WHERE A < 1 AND B = 'x&y' > \"q\" 'a'", "  ", " \t\r\n", "x"},
      {"a\r\nb\rc\n\rd", " lead and trail ", "\u00DCber \u20AC", "]]>", "<string>"},
      std::vector<std::string>(
          3, "EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-P&O',1,7,2")};
  for (const std::vector<std::string>& statements : cases) {
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(UpdateOutgoingLoadOrderEnvelope(statements)));
    EXPECT_EQ(writtenUpdateOutgoingLoadOrderRequest(statements), document.xml()) << statements[0];
  }
  for (const char* refused : {"a\x01b", "\xff", "a\xc3"}) {
    EXPECT_EQ(writtenUpdateOutgoingLoadOrderRequest({"ok", refused}), std::nullopt) << refused;
  }
}

}  // namespace
}  // namespace tarvine::service
