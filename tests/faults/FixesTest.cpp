// Unit tests of the changes that the benchmarks, the fuzzing and the fault injection led to:
// faster text replacement that must give the same results, replies that are not UTF-8 counting
// as not XML, and the one-pass reply road giving what the steps' two parses give.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FuzzCheck.h"
#include "ReplyRoads.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"

namespace tarvine::test {
namespace {

TEST(ReplaceAll, BothFormsGiveWhatPlainReplacementGives) {
  const std::string l = "<GetOutgoingLoadAllOrdersResult>";
  const std::vector<std::array<std::string, 3>> cases = {
      {"&lt;a&gt;&lt;/a&gt;", "&lt;", "<"},
      {"aaaaa", "aa", ""},
      {"aaaaa", "aa", "ccc"},
      {"<soap:Bo<soap:Body>dy>", "<soap:Body>", ""},
      {"", "<soap:Body>", ""},
      {"<soap:Body>", "<soap:Body>", ""},
      {"x" + l + l + "y" + l, l, ""},
      {l.substr(0, 20) + l + l.substr(20), l, ""},
      {"head" + l, l, l + l},
      {"abcabcabc", "", "x"},
      {std::string(1000, '<') + l + std::string(1000, '<'), l, "!"}};
  for (const auto& [text, search, replacement] : cases) {
    SCOPED_TRACE(search + " -> " + replacement);
    const std::string expected = fuzz::plainReplace(text, search, replacement);
    EXPECT_EQ(text::replaceAll(text, search, replacement), expected);
    std::string inPlace = text;
    text::replaceAllInPlace(inPlace, search, replacement);
    EXPECT_EQ(inPlace, expected);
  }
}

// Bytes that are not UTF-8, and UTF-16 holding characters XML does not allow, are not XML. The
// latter was found by fuzzing: a UTF-16 reply holding U+FFFF parsed once, but its serialization
// (UTF-8) did not parse again, so one parse and two parses disagreed.
TEST(NotXml, BadUtf8AndUtf16WithCharactersXmlDoesNotAllow) {
  XmlDocument document;
  for (const std::string value :
       {"\x80", "\xC3\x28", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80", "\xE2\x82", "\xFF\xFE", "\xEF\xBF\xBE", "a\x01z"}) {
    for (std::size_t padding : {0u, 3u, 8u, 13u}) {
      const std::string text = "<Root><v>" + std::string(padding, 'x') + value + "</v></Root>";
      EXPECT_FALSE(document.loadXml(text)) << padding;
      EXPECT_NE(document.parseErrorCode(), 0);
      EXPECT_EQ(document.xml(), "");
    }
  }
  EXPECT_FALSE(document.loadXml(std::string("<Root>a\0z</Root>", 16)));
  for (const std::uint16_t unit : {0xFFFF, 0xFFFE, 0x0001}) {
    for (const std::string_view ascii : {"<Root>X</Root>", "<Root a=\"X\"/>"}) {
      std::string utf16 = "\xFF\xFE";
      for (const char c : ascii) {
        const std::uint16_t u = c == 'X' ? unit : static_cast<std::uint16_t>(c);
        utf16 += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
      }
      EXPECT_FALSE(document.loadBytes(utf16)) << unit << " in " << ascii;
    }
  }
}

// Every file of the fuzz corpora, taken as a reply through the transport's one parse and the
// one-pass data set text and through the steps' two parses (ReplyRoads.h), gives the same texts,
// rows and errors. A second parse turns a CR from "&#13;" into LF in texts, a tab, LF or CR from
// a reference into a blank in attribute values, and drops a text left with blanks only.
TEST(ReplyRoads, OneParseGivesWhatTwoParsesGive) {
  XmlDocument settled;
  service::parseReply(settled,
                      R"(<a b="x&#13;&#10;y&#9;z">1&#13;&#10;2&#13;3<c>&#32;&#10;</c></a>)");
  EXPECT_EQ(settled.xml(), "<a b=\"x y z\">1\n2\n3<c/></a>\r\n");
  std::size_t replies = 0;
  for (const auto& file : std::filesystem::recursive_directory_iterator(TARVINE_FUZZ_CORPUS)) {
    if (!file.is_regular_file()) continue;
    std::ifstream in(file.path(), std::ios::binary);
    const std::string body{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    fuzz::checkReplyRoads(body, [&](bool holds, const char* property) {
      EXPECT_TRUE(holds) << file.path().filename() << ": " << property;
    });
    ++replies;
  }
  EXPECT_GT(replies, 80u);
}

}  // namespace
}  // namespace tarvine::test
