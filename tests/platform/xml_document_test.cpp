#include "platform/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvine {
namespace {

struct RoundTrip {
  const char* name;
  std::string input;
  std::string expected;
};

class XmlSerializationTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(XmlSerializationTest, WritesThePlatformForm) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml(GetParam().input)) << doc.parseErrorReason();
  EXPECT_EQ(doc.parseErrorCode(), 0);
  EXPECT_EQ(doc.parseErrorReason(), "");
  EXPECT_EQ(doc.xml(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, XmlSerializationTest,
    ::testing::Values(
        RoundTrip{"DeclarationKeepsVersionOnly",
                  "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n<a>x</a>",
                  "<?xml version=\"1.0\"?>\r\n<a>x</a>\r\n"},
        RoundTrip{"NoDeclaration", "<a>x</a>", "<a>x</a>\r\n"},
        RoundTrip{"PrefixesAndAttributeOrderKept",
                  "<soap:Envelope xmlns:xsi=\"i\" xmlns:soap=\"s\" z=\"1\" a=\"2\">"
                  "<soap:Body><m:R xmlns:m=\"u\"/></soap:Body></soap:Envelope>",
                  "<soap:Envelope xmlns:xsi=\"i\" xmlns:soap=\"s\" z=\"1\" a=\"2\">"
                  "<soap:Body><m:R xmlns:m=\"u\"/></soap:Body></soap:Envelope>\r\n"},
        RoundTrip{"TextEscapesAmpersandAndAngles",
                  "<a>1 &amp; 2 &lt; 3 &gt; 0 &quot;q&quot; &apos;s&apos; \"d\" 's'</a>",
                  "<a>1 &amp; 2 &lt; 3 &gt; 0 \"q\" 's' \"d\" 's'</a>\r\n"},
        RoundTrip{"AttributeEscapesAmpersandLessThanAndQuote",
                  "<a v='say \"hi\" &amp; &lt;b&gt; &apos;x&apos;'/>",
                  "<a v=\"say &quot;hi&quot; &amp; &lt;b> 'x'\"/>\r\n"},
        RoundTrip{
            "EscapedDataSetStaysEscaped",
            "<r>&lt;NewDataSet&gt;&lt;T&gt;A &amp;amp; B&lt;/T&gt;&lt;/NewDataSet&gt;</r>",
            "<r>&lt;NewDataSet&gt;&lt;T&gt;A &amp;amp; B&lt;/T&gt;&lt;/NewDataSet&gt;</r>\r\n"},
        RoundTrip{"CharacterReferencesDecoded", "<a t=\"&#x9;\">&#65;&#x42;&#x20AC;&#128512;</a>",
                  "<a t=\"\t\">AB\u20AC\U0001F600</a>\r\n"},
        RoundTrip{"EmptyElements", "<a><b></b><c/><d>   \r\n\t</d></a>", "<a><b/><c/><d/></a>\r\n"},
        RoundTrip{"WhitespaceBetweenElementsDropped",
                  "<a>\r\n  <b>x</b>\r\n  <c> y </c>\r\n</a>\r\n\r\n",
                  "<a><b>x</b><c> y </c></a>\r\n"},
        RoundTrip{"LineBreaksInTextNormalised", "<a>x\r\ny</a>", "<a>x\ny</a>\r\n"},
        RoundTrip{"CdataCommentsAndInstructions",
                  "<!-- top --><?app go now?><a><![CDATA[<raw> & ]]><!--in--><?p?>t</a>"
                  "<!--end-->",
                  "<!-- top -->\r\n<?app go now?>\r\n<a><![CDATA[<raw> & ]]><!--in--><?p?>t</a>"
                  "\r\n<!--end-->\r\n"},
        RoundTrip{"Doctype", "<?xml version=\"1.0\"?><!DOCTYPE a><a/>",
                  "<?xml version=\"1.0\"?>\r\n<!DOCTYPE a>\r\n<a/>\r\n"},
        RoundTrip{"Utf8Kept", "<a n=\"\u00DC\">\u00E9\u20AC</a>",
                  "<a n=\"\u00DC\">\u00E9\u20AC</a>\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class XmlParseFailureTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(XmlParseFailureTest, LeavesAnEmptyDocument) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml("<earlier>content</earlier>"));
  EXPECT_FALSE(doc.loadXml(GetParam().input));
  EXPECT_NE(doc.parseErrorCode(), 0);
  EXPECT_NE(doc.parseErrorReason(), "");
  EXPECT_FALSE(doc.root().firstChild());
  EXPECT_EQ(doc.xml(), "");
  EXPECT_EQ(doc.root().text(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, XmlParseFailureTest,
    ::testing::Values(
        RoundTrip{"Empty", "", ""}, RoundTrip{"Blank", " \r\n ", ""},
        RoundTrip{"DeclarationOnly", "<?xml version=\"1.0\"?>", ""},
        RoundTrip{"CommentOnly", "<!-- c -->", ""}, RoundTrip{"Unclosed", "<a><b></b>", ""},
        RoundTrip{"Mismatched", "<a></b>", ""}, RoundTrip{"PlainText", "Service Unavailable", ""},
        RoundTrip{"TextBeforeElement", "oops<a/>", ""},
        RoundTrip{"TextAfterElement", "<a/>oops", ""},
        RoundTrip{"OneCharacterAfterElement", "<a/>?", ""},
        RoundTrip{"GreaterThanAfterElement", "<a/>>", ""}, RoundTrip{"TwoElements", "<a/><b/>", ""},
        RoundTrip{"LateDeclaration", "<!--c--><?xml version=\"1.0\"?><a/>", ""},
        RoundTrip{"StrayAmpersandInText", "<a>Tom & Jerry</a>", ""},
        RoundTrip{"StrayAmpersandInAttribute", "<a v=\"Tom & Jerry\"/>", ""},
        RoundTrip{"UnknownEntity", "<a>&nbsp;</a>", ""},
        RoundTrip{"UnterminatedReference", "<a>&amp</a>", ""},
        RoundTrip{"NulCharacterReference", "<a>&#0;</a>", ""},
        RoundTrip{"ControlCharacterReference", "<a>&#1;</a>", ""},
        RoundTrip{"OutOfRangeReference", "<a>&#x110000;</a>", ""},
        RoundTrip{"BadHexReference", "<a>&#xZZ;</a>", ""},
        RoundTrip{"LessThanInAttribute", "<a v=\"<\"/>", ""},
        RoundTrip{"HtmlPage", "<html><body><br></body></html>", ""},
        // What a conforming parser refuses and pugixml alone would take.
        RoundTrip{"RepeatedAttribute", "<a x=\"1\" y=\"2\" x=\"3\"/>", ""},
        RoundTrip{"DoubleHyphenInComment", "<a><!-- a -- b --></a>", ""},
        RoundTrip{"CommentEndingInHyphen", "<a><!-- a ---></a>", ""},
        RoundTrip{"CdataEndInText", "<a>x]]>y</a>", ""},
        RoundTrip{"BlankBeforeDeclaration", " <?xml version=\"1.0\"?><a/>", ""},
        RoundTrip{"VersionTwo", "<?xml version=\"2.0\"?><a/>", ""},
        RoundTrip{"FieldsOutOfOrder", "<?xml encoding=\"utf-8\" version=\"1.0\"?><a/>", ""},
        RoundTrip{"MalformedEncodingName", "<?xml version=\"1.0\" encoding=\"utf 8\"?><a/>", ""},
        RoundTrip{"StandaloneMaybe", "<?xml version=\"1.0\" standalone=\"maybe\"?><a/>", ""},
        RoundTrip{"DoctypeAfterElement", "<a/><!DOCTYPE a>", ""},
        RoundTrip{"DoctypeDeclaringEntities", "<!DOCTYPE a [<!ENTITY e \"x\">]><a/>", ""},
        RoundTrip{"InstructionNamedXml", "<a><?XmL x?></a>", ""},
        RoundTrip{"NameCharacterXmlForbids", "<a\u00D7/>", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlDocumentTest, StartsEmptyWithAnErrorCode) {
  XmlDocument doc;
  EXPECT_NE(doc.parseErrorCode(), 0);
  EXPECT_EQ(doc.xml(), "");
}

TEST(XmlDocumentTest, ReloadReplacesTheDocument) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml("<a>1</a>"));
  ASSERT_FALSE(doc.loadXml("<a>"));
  ASSERT_TRUE(doc.loadXml("<b>2</b>"));
  EXPECT_EQ(doc.parseErrorCode(), 0);
  EXPECT_EQ(doc.xml(), "<b>2</b>\r\n");
}

std::string utf16LittleEndianWithBom(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(XmlDocumentTest, BytesKeepTheirEncodingAndStringsAreUnicodeAlready) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadBytes(utf16LittleEndianWithBom(
      u"<?xml version=\"1.0\" encoding=\"utf-16\"?><a v=\"\u00FC\">\u20AC &amp; x</a>")))
      << doc.parseErrorReason();
  EXPECT_EQ(doc.xml(), "<?xml version=\"1.0\"?>\r\n<a v=\"\u00FC\">\u20AC &amp; x</a>\r\n");
  const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>";
  ASSERT_TRUE(doc.loadBytes(latin1));
  EXPECT_EQ(doc.root().text(), "\u00E9");
  EXPECT_FALSE(doc.loadXml(latin1));  // a string is read as UTF-8
  ASSERT_TRUE(doc.loadXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u00E9</a>"));
  EXPECT_EQ(doc.root().text(), "\u00E9");
  EXPECT_FALSE(doc.loadBytes("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a/>"));
}

TEST(XmlNodeTest, NamesByNodeKind) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml(
      "<?xml version=\"1.0\"?><!DOCTYPE r><!--c--><?app x?>"
      "<diffgr:diffgram xmlns:diffgr=\"u\">t<![CDATA[c]]><!--n--><?p?><e/></diffgr:diffgram>"));
  std::vector<std::string> names;
  forEachChild(doc.root(), [&](XmlNode node) { names.emplace_back(node.name()); });
  EXPECT_EQ(names,
            (std::vector<std::string>{"xml", "#doctype", "#comment", "app", "diffgr:diffgram"}));
  names.clear();
  const XmlNode element =
      doc.root().firstChild().nextSibling().nextSibling().nextSibling().nextSibling();
  ASSERT_TRUE(element.isElement());
  forEachChild(element, [&](XmlNode node) { names.emplace_back(node.name()); });
  EXPECT_EQ(names, (std::vector<std::string>{"#text", "#cdata-section", "#comment", "p", "e"}));
  EXPECT_EQ(doc.root().name(), "#document");
  EXPECT_EQ(XmlNode().name(), "");
  EXPECT_FALSE(XmlNode());
}

TEST(XmlNodeTest, TextConcatenatesDescendantTextInOrder) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml(
      "<r><!--skip--><a>1<b>2<c>3</c></b>4</a><?skip me?><d><![CDATA[5&]]></d><e/>6</r>"));
  EXPECT_EQ(doc.root().text(), "12345&6");
  const XmlNode r = doc.root().firstChild();
  EXPECT_EQ(r.text(), "12345&6");
  EXPECT_EQ(r.firstChild().nextSibling().text(), "1234");
  EXPECT_EQ(r.firstChild().text(), "skip");  // a comment's own text
  EXPECT_EQ(r.firstChild().nextSibling().firstChild().text(), "1");
  EXPECT_EQ(XmlNode().text(), "");
}

TEST(XmlNodeTest, TextStopsAtTheEndOfTheNode) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml("<r><a><b>in</b></a><c>out</c></r>"));
  EXPECT_EQ(doc.root().firstChild().firstChild().text(), "in");
}

// A document nested far deeper than any call stack could follow.
class DeepXmlTest : public ::testing::Test {
 protected:
  static constexpr int kDepth = 200'000;

  static std::string nested(const std::string& open, const std::string& close) {
    std::string text;
    text.reserve(kDepth * (open.size() + close.size()) + 8);
    for (int i = 0; i < kDepth; ++i) text += open;
    text += "x";
    for (int i = 0; i < kDepth; ++i) text += close;
    return text;
  }
};

TEST_F(DeepXmlTest, SerializesAndReadsTextWithoutRecursion) {
  const std::string input = nested("<a>", "</a>");
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml(input)) << doc.parseErrorReason();
  EXPECT_EQ(doc.xml(), input + "\r\n");
  EXPECT_EQ(doc.root().text(), "x");
}

TEST_F(DeepXmlTest, FailedDeepParseLeavesAnEmptyDocument) {
  std::string input = nested("<a>", "</a>");
  input.resize(input.size() - 4);  // one element left unclosed
  XmlDocument doc;
  EXPECT_FALSE(doc.loadXml(input));
  EXPECT_EQ(doc.xml(), "");
}

}  // namespace
}  // namespace tarvine
