#include "platform/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvine {
namespace {

// What is read is written back in the platform's form.
TEST(XmlDocumentTest, WritesThePlatformForm) {
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"DeclarationKeepsVersionOnly",
       "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n<a>x</a>",
       "<?xml version=\"1.0\"?>\r\n<a>x</a>\r\n"},
      {"NoDeclaration", "<a>x</a>", "<a>x</a>\r\n"},
      {"PrefixesAndAttributeOrderKept",
       "<soap:Envelope xmlns:xsi=\"i\" xmlns:soap=\"s\" z=\"1\" a=\"2\">"
       "<soap:Body><m:R xmlns:m=\"u\"/></soap:Body></soap:Envelope>",
       "<soap:Envelope xmlns:xsi=\"i\" xmlns:soap=\"s\" z=\"1\" a=\"2\">"
       "<soap:Body><m:R xmlns:m=\"u\"/></soap:Body></soap:Envelope>\r\n"},
      {"TextEscapesAmpersandAndAngles",
       "<a>1 &amp; 2 &lt; 3 &gt; 0 &quot;q&quot; &apos;s&apos; \"d\" 's'</a>",
       "<a>1 &amp; 2 &lt; 3 &gt; 0 \"q\" 's' \"d\" 's'</a>\r\n"},
      {"AttributeEscapesAmpersandLessThanAndQuote",
       "<a v='say \"hi\" &amp; &lt;b&gt; &apos;x&apos;'/>",
       "<a v=\"say &quot;hi&quot; &amp; &lt;b> 'x'\"/>\r\n"},
      {"EscapedDataSetStaysEscaped",
       "<r>&lt;NewDataSet&gt;&lt;T&gt;A &amp;amp; B&lt;/T&gt;&lt;/NewDataSet&gt;</r>",
       "<r>&lt;NewDataSet&gt;&lt;T&gt;A &amp;amp; B&lt;/T&gt;&lt;/NewDataSet&gt;</r>\r\n"},
      {"CharacterReferencesDecoded", "<a t=\"&#x9;\">&#65;&#x42;&#x20AC;&#128512;</a>",
       "<a t=\"\t\">AB\u20AC\U0001F600</a>\r\n"},
      {"EmptyElements", "<a><b></b><c/><d>   \r\n\t</d></a>", "<a><b/><c/><d/></a>\r\n"},
      {"WhitespaceBetweenElementsDropped", "<a>\r\n  <b>x</b>\r\n  <c> y </c>\r\n</a>\r\n\r\n",
       "<a><b>x</b><c> y </c></a>\r\n"},
      {"LineBreaksInTextNormalised", "<a>x\r\ny</a>", "<a>x\ny</a>\r\n"},
      {"CdataCommentsAndInstructions",
       "<!-- top --><?app go now?><a><![CDATA[<raw> & ]]><!--in--><?p?>t</a>"
       "<!--end-->",
       "<!-- top -->\r\n<?app go now?>\r\n<a><![CDATA[<raw> & ]]><!--in--><?p?>t</a>"
       "\r\n<!--end-->\r\n"},
      {"Doctype", "<?xml version=\"1.0\"?><!DOCTYPE a><a/>",
       "<?xml version=\"1.0\"?>\r\n<!DOCTYPE a>\r\n<a/>\r\n"},
      {"Utf8Kept", "<a n=\"\u00DC\">\u00E9\u20AC</a>", "<a n=\"\u00DC\">\u00E9\u20AC</a>\r\n"}};
  for (const auto& [rule, input, expected] : cases) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml(input)) << rule << ": " << doc.parseErrorReason();
    EXPECT_EQ(doc.parseErrorCode(), 0) << rule;
    EXPECT_EQ(doc.parseErrorReason(), "") << rule;
    EXPECT_EQ(doc.xml(), expected) << rule;
  }
}

// Every text that is not one well-formed document fails, leaving an empty document behind.
TEST(XmlDocumentTest, AFailedParseLeavesAnEmptyDocument) {
  std::string loaded;
  for (const char* input :
       {"", " \r\n ", "<?xml version=\"1.0\"?>", "<!-- c -->", "<a><b></b>", "<a></b>",
        "Service Unavailable", "oops<a/>", "<a/>oops", "<a/>?", "<a/>>", "<a/><b/>",
        "<!--c--><?xml version=\"1.0\"?><a/>", "<a>Tom & Jerry</a>", "<a v=\"Tom & Jerry\"/>",
        "<a>&nbsp;</a>", "<a>&amp</a>", "<a>&#0;</a>", "<a>&#1;</a>", "<a>&#x110000;</a>",
        "<a>&#xZZ;</a>", "<a v=\"<\"/>", "<html><body><br></body></html>",
        // What a conforming parser refuses and pugixml alone would take.
        "<a x=\"1\" y=\"2\" x=\"3\"/>", "<a><!-- a -- b --></a>", "<a><!-- a ---></a>",
        "<a>x]]>y</a>", " <?xml version=\"1.0\"?><a/>", "<?xml version=\"2.0\"?><a/>",
        "<?xml encoding=\"utf-8\" version=\"1.0\"?><a/>",
        "<?xml version=\"1.0\" encoding=\"utf 8\"?><a/>",
        "<?xml version=\"1.0\" standalone=\"maybe\"?><a/>", "<a/><!DOCTYPE a>",
        "<!DOCTYPE a [<!ENTITY e \"x\">]><a/>", "<a><?XmL x?></a>", "<a\u00D7/>"}) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<earlier>content</earlier>"));
    if (doc.loadXml(input) || doc.parseErrorCode() == 0 || doc.parseErrorReason().empty() ||
        doc.root().firstChild() || !doc.xml().empty()) {
      loaded += std::string(input) + "\n";
    }
  }
  EXPECT_EQ(loaded, "");
  EXPECT_NE(XmlDocument().parseErrorCode(), 0);
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
  EXPECT_EQ(r.firstChild().nextSibling().firstChild().nextSibling().text(), "23");
  EXPECT_EQ(XmlNode().text(), "");
}

// A document nested far deeper than any call stack could follow.
TEST(XmlDocumentTest, DeepDocumentsNeedNoRecursion) {
  constexpr int kDepth = 200'000;
  std::string input;
  for (int i = 0; i < kDepth; ++i) input += "<a>";
  input += "x";
  for (int i = 0; i < kDepth; ++i) input += "</a>";
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml(input)) << doc.parseErrorReason();
  EXPECT_EQ(doc.xml(), input + "\r\n");
  EXPECT_EQ(doc.root().text(), "x");
  input.resize(input.size() - 4);  // one element left unclosed
  EXPECT_FALSE(doc.loadXml(input));
  EXPECT_EQ(doc.xml(), "");
}

}  // namespace
}  // namespace tarvine
