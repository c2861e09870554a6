#include "service/Envelope.h"

#include <gtest/gtest.h>

#include "service/XmlEscape.h"

namespace tarvine::service {
namespace {

constexpr std::string_view kTemplate =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
    " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
    "  <soap:Body>    XMLData   </soap:Body> </soap:Envelope>";

TEST(Envelope, TemplateIsExact) {
  EXPECT_EQ(SOAPEnvelopeTemplate(), kTemplate);
}

TEST(Envelope, EmptyBodyLeavesSevenBlanks) {
  const std::string envelope = envelopeFor("");
  EXPECT_NE(envelope.find("<soap:Body>       </soap:Body>"), std::string::npos) << envelope;
}

TEST(Envelope, BodyIsInsertedOnceAndNotSearchedAgain) {
  const std::string envelope = envelopeFor("<A>XMLData</A>");
  EXPECT_NE(envelope.find("<soap:Body>    <A>XMLData</A>   </soap:Body>"), std::string::npos)
      << envelope;
}

TEST(XmlEscape, EscapesOnlyAmpersandAndAngleBrackets) {
  EXPECT_EQ(escapeXmlText("a&b<c>d&amp;"), "a&amp;b&lt;c&gt;d&amp;amp;");
  EXPECT_EQ(escapeXmlText("O'Neil \"quoted\" \t\r\n"), "O'Neil \"quoted\" \t\r\n");
  EXPECT_EQ(escapeXmlText(""), "");
}

}  // namespace
}  // namespace tarvine::service
