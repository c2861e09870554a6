// The XML parser against libxml2, a conforming parser, on the same bytes: both must agree on
// whether they are a well-formed document. Two things are left out of the comparison on
// purpose: document type declarations (ours keeps them unread and refuses entity declarations,
// libxml2 reads them) and encodings other than UTF-8 (ours reads only UTF-8, UTF-16, UTF-32 and
// ISO-8859-1, libxml2 many more).

#include <libxml/parser.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/XmlDocument.h"

namespace {

void ignoreMessage(void*, const char*, ...) {}

// The encoding name of a leading declaration (after a UTF-8 byte-order mark), or empty.
std::string_view declaredEncoding(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (!text.starts_with("<?xml")) return {};
  text = text.substr(0, text.find("?>"));
  const std::size_t at = text.find("encoding");
  if (at == std::string_view::npos) return {};
  text.remove_prefix(at);
  const std::size_t open = text.find_first_of("\"'");
  if (open == std::string_view::npos) return {};
  const std::size_t close = text.find(text[open], open + 1);
  return text.substr(open + 1, close == std::string_view::npos ? 0 : close - open - 1);
}

bool isUtf8Name(std::string_view name) {
  if (name.size() != 5 && name.size() != 4) return name.empty();
  std::string lower;
  for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower == "utf-8" || lower == "utf8";
}

// Text both parsers read as UTF-8 (no byte-order mark of UTF-16 or UTF-32, no NUL byte, a
// declaration naming no other encoding) and without a document type declaration.
bool comparable(std::string_view text) {
  if (text.find("<!DOCTYPE") != std::string_view::npos) return false;
  if (text.starts_with("\xFE\xFF") || text.starts_with("\xFF\xFE")) return false;
  if (text.find('\0') != std::string_view::npos) return false;
  return isUtf8Name(declaredEncoding(text));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  xmlInitParser();
  xmlSetGenericErrorFunc(nullptr, ignoreMessage);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = tarvine::fuzz::inputText(data, size);
  if (!comparable(text)) return 0;
  tarvine::XmlDocument ours;
  const bool oursParsed = ours.loadBytes(text);
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  xmlDocPtr theirs =
      xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
  const bool theirsParsed = theirs != nullptr;
  const bool namespacesKept = context->nsWellFormed != 0;
  xmlFreeDoc(theirs);
  xmlFreeParserCtxt(context);
  if (!namespacesKept) return 0;
  if (oursParsed != theirsParsed) {
    std::fprintf(stderr, "ours %s (%s), libxml2 %s\n", oursParsed ? "parsed" : "refused",
                 ours.parseErrorReason().c_str(), theirsParsed ? "parsed" : "refused");
  }
  tarvine::fuzz::check(oursParsed == theirsParsed, "both parsers agree on well-formedness");
  return 0;
}
