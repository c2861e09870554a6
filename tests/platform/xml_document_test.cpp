#include "platform/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Golden.h"
#include "TestText.h"

namespace tarvine {
namespace {

// What is read is written back in the platform's form: each input and its text in
// tests/golden/platform/xml-written.txt.
TEST(XmlDocumentTest, WritesThePlatformForm) {
  std::string written;
  for (const char* input :
       {"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n<a>x</a>", "<a>x</a>",
        "<soap:Envelope xmlns:xsi=\"i\" xmlns:soap=\"s\" z=\"1\" a=\"2\">"
        "<soap:Body><m:R xmlns:m=\"u\"/></soap:Body></soap:Envelope>",
        "<a>1 &amp; 2 &lt; 3 &gt; 0 &quot;q&quot; &apos;s&apos; \"d\" 's'</a>",
        "<a v='say \"hi\" &amp; &lt;b&gt; &apos;x&apos;'/>",
        "<r>&lt;NewDataSet&gt;&lt;T&gt;A &amp;amp; B&lt;/T&gt;&lt;/NewDataSet&gt;</r>",
        "<a t=\"&#x9;\">&#65;&#x42;&#x20AC;&#128512;</a>", "<a><b></b><c/><d>   \r\n\t</d></a>",
        "<a>\r\n  <b>x</b>\r\n  <c> y </c>\r\n</a>\r\n\r\n", "<a>x\r\ny</a>",
        "<!-- top --><?app go now?><a><![CDATA[<raw> & ]]><!--in--><?p?>t</a><!--end-->",
        "<?xml version=\"1.0\"?><!DOCTYPE a><a/>", "<a n=\"\u00DC\">\u00E9\u20AC</a>"}) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml(input)) << input << ": " << doc.parseErrorReason();
    EXPECT_EQ(doc.parseErrorCode(), 0) << input;
    EXPECT_EQ(doc.parseErrorReason(), "") << input;
    written += std::string(input) + "\n->\n" + doc.xml() + "\n";
  }
  test::expectGolden(written, "platform/xml-written.txt");
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

std::string utf16LittleEndianWithBom(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// References between plain runs of every length, from the first bytes of a text on (where the
// decoded text lags little behind the read one) to far into it, end where they should; and the
// text is written with the same references again, wherever the escaped bytes fall.
TEST(XmlDocumentTest, ReferencesBetweenRunsOfEveryLength) {
  for (std::size_t run = 0; run <= 40; ++run) {
    const std::string plain(run, 'x');
    std::string escaped, decoded;
    for (int i = 0; i < 8; ++i) {
      escaped += "&lt;" + plain + "&gt;&amp;" + plain.substr(0, run / 2);
      decoded += "<" + plain + ">&" + plain.substr(0, run / 2);
    }
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<a>" + escaped + "</a>")) << run;
    EXPECT_EQ(doc.root().text(), decoded) << run;
    EXPECT_EQ(doc.xml(), "<a>" + escaped + "</a>\r\n") << run;
  }
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

// Every node of a document with its name and text, indented by depth.
void writeTree(XmlNode node, int depth, std::string& out) {
  out += std::string(2 * depth, ' ') + std::string(node.name()) + ": " + node.text() + "\n";
  forEachChild(node, [&](XmlNode child) { writeTree(child, depth + 1, out); });
}

TEST(XmlNodeTest, NamesAndTextsOfEveryKind) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml(
      "<?xml version=\"1.0\"?><!DOCTYPE r><!--c--><?app x?><diffgr:diffgram xmlns:diffgr=\"u\">"
      "<!--skip--><a>1<b>2<c>3</c></b>4</a><?skip "
      "me?><d><![CDATA[5&]]></d><e/>6</diffgr:diffgram>"));
  std::string tree;
  writeTree(doc.root(), 0, tree);
  writeTree(XmlNode(), 0, tree);
  test::expectGolden(tree, "platform/xml-tree.txt");
  EXPECT_FALSE(XmlNode());
}

// A document nested far deeper than any call stack could follow.
TEST(XmlDocumentTest, DeepDocumentsNeedNoRecursion) {
  constexpr int kDepth = 200'000;
  std::string input = test::repeated("<a>", kDepth) + "x" + test::repeated("</a>", kDepth);
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
