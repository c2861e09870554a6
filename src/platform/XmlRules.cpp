#include "platform/XmlRules.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Text.h"

namespace tarvine::xml {
namespace {

bool isXmlChar(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool isNameStartChar(std::uint32_t c) {
  return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') ||
         (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
         (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
         (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(std::uint32_t c) {
  return isNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
         (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// pugixml reads ASCII names by the XML rules and takes every byte above 0x7F as a name
// character; only names holding such bytes need a look.
bool isName(std::string_view name) {
  bool nonAscii = false;
  for (char c : name) nonAscii |= (static_cast<unsigned char>(c) & 0x80) != 0;
  if (!nonAscii) return true;
  for (std::size_t i = 0; i < name.size();) {
    const text::Utf8Char c = text::decodeUtf8(name, i);
    if (c.length == 0 || !(i == 0 ? isNameStartChar(c.code) : isNameChar(c.code))) return false;
    i += c.length;
  }
  return !name.empty();
}

// Reads the character reference "#65" or "#x41" (without "&" and ";"); false unless it names
// an XML character.
bool readCharacterReference(std::string_view digits, std::uint32_t& c) {
  const std::optional<std::uint32_t> code = text::characterReference(digits);
  if (!code || !isXmlChar(*code)) return false;
  c = *code;
  return true;
}

// The offset of the first "&" in the 16 bytes at p, or 16: one block of a reference-dense text
// (a data set sent as text has a reference every few bytes) in a few instructions.
unsigned firstAmpersandIn16(const char* p) {
#if defined(__SSE2__)
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const auto marks =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('&'))));
  return marks ? static_cast<unsigned>(std::countr_zero(marks)) : 16;
#else
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  for (unsigned half = 0; half < 16; half += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + half, 8);
    const std::uint64_t x = word ^ (kOnes * '&');
    // The high bit of each byte that is "&" (bits after the first one may be set too).
    if (const std::uint64_t marks = (x - kOnes) & ~x & kHighBits) {
      return half + static_cast<unsigned>(std::countr_zero(marks)) / 8;
    }
  }
  return 16;
#endif
}

// The length of the predefined entity reference the text starts with ("&lt;" and so on) and the
// character it stands for; length 0 for anything else. Picked by the letter after "&": data
// sets sent as text hold millions of them.
std::pair<std::size_t, char> predefinedEntity(std::string_view text) {
  if (text.size() < 4) return {0, 0};
  switch (text[1]) {
    case 'l':
      return {text.starts_with("&lt;") ? 4 : 0, '<'};
    case 'g':
      return {text.starts_with("&gt;") ? 4 : 0, '>'};
    case 'a':
      if (text.starts_with("&amp;")) return {5, '&'};
      return {text.starts_with("&apos;") ? 6 : 0, '\''};
    case 'q':
      return {text.starts_with("&quot;") ? 6 : 0, '"'};
    default:
      return {0, 0};
  }
}

// Replaces the predefined entity and character references of a node's text by what they stand
// for, in the text's own memory: what a reference stands for is never longer than the reference
// ("&#128512;" is nine characters for four bytes), so nothing is copied. The memory belongs to
// the document (its buffer or its heap), never to a literal: only texts holding "&" get here.
// A data set sent as text holds a reference every few characters, so the runs between them go
// sixteen bytes at a time (a whole block is stored where it cannot reach bytes still to be read).
// False when an "&" starts no such reference; the text is then left half decoded, and the
// document is refused. Sets `spaces` when a character reference stood for a blank, tab or line
// break.
bool decodeReferencesInPlace(const char* value, bool& spaces) {
  char* const text = const_cast<char*>(value);
  const std::size_t size = std::strlen(text);
  const std::string_view raw(text, size);
  std::size_t in = raw.find('&');
  std::size_t out = in;
  while (in < size) {
    if (text[in] != '&') {
      if (in + 16 <= size) {
        const unsigned plain = firstAmpersandIn16(text + in);
        // Sixteen bytes at once once the written text lags far enough behind the read one;
        // what they write past the plain run lies before the read position and is written again.
        if (in - out >= 16) {
          std::memcpy(text + out, text + in, 16);
        } else {
          std::memmove(text + out, text + in, plain);
        }
        in += plain;
        out += plain;
        continue;
      }
      text[out++] = text[in++];
      continue;
    }
    // "&lt;" and "&gt;" first: a data set sent as text is written with them.
    if (in + 4 <= size && text[in + 2] == 't' && text[in + 3] == ';' &&
        (text[in + 1] == 'l' || text[in + 1] == 'g')) {
      text[out++] = text[in + 1] == 'l' ? '<' : '>';
      in += 4;
      continue;
    }
    const std::string_view rest = raw.substr(in);
    if (const auto [length, c] = predefinedEntity(rest); length != 0) {
      text[out++] = c;
      in += length;
      continue;
    }
    // Long enough for "#x10FFFF" with leading zeros to spare; longer names are not references.
    const std::size_t end = rest.substr(0, 16).find(';');
    std::uint32_t c = 0;
    if (end == std::string_view::npos || !readCharacterReference(rest.substr(1, end - 1), c)) {
      return false;
    }
    spaces = spaces || c == ' ' || c == '\t' || c == '\n' || c == '\r';
    out += text::writeUtf8(c, text + out);
    in += end + 1;
  }
  text[out] = '\0';
  return true;
}

// The checks and decoding of a run of text: a text node's, or an element's own first run.
Refusal checkAndDecodeText(const char* text, bool cdataEndInText, bool& spaces) {
  if (cdataEndInText && std::strstr(text, "]]>")) {
    return {pugi::status_bad_pcdata, "\"]]>\" in text"};
  }
  if (std::strchr(text, '&') && !decodeReferencesInPlace(text, spaces)) {
    return {pugi::status_bad_pcdata, "Invalid entity or character reference in text"};
  }
  return {};
}

bool isValidText(const char* text) {
  return firstInvalidCharacter(text) == std::string_view::npos;
}

// True for the target "xml" in any letter case, which only the declaration may use.
bool isReservedTarget(std::string_view target) {
  return text::equalsIgnoringCase(target, "xml");
}

// Called for elements with two attributes or more, from the first one.
bool hasRepeatedAttribute(pugi::xml_attribute first) {
  std::size_t count = 0;
  for (pugi::xml_attribute a = first; a; a = a.next_attribute()) ++count;
  if (count <= 8) {
    for (pugi::xml_attribute a = first; a; a = a.next_attribute()) {
      for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute()) {
        if (std::strcmp(a.name(), b.name()) == 0) return true;
      }
    }
    return false;
  }
  // Long attribute lists are checked in linear time, in a table of name pointers (open
  // addressing, at most half full): a few bytes per attribute, nothing allocated per name.
  std::size_t slots = 32;
  while (slots < 2 * count) slots *= 2;
  std::vector<const char*> table(slots, nullptr);
  for (pugi::xml_attribute a = first; a; a = a.next_attribute()) {
    std::size_t slot = std::hash<std::string_view>{}(a.name()) & (slots - 1);
    for (; table[slot]; slot = (slot + 1) & (slots - 1)) {
      if (std::strcmp(table[slot], a.name()) == 0) return true;
    }
    table[slot] = a.name();
  }
  return false;
}

// "1." and digits; libxml2 also takes "1." alone, and so do we.
bool isVersion(std::string_view value) {
  if (value.size() < 2 || value[0] != '1' || value[1] != '.') return false;
  return value.find_first_not_of("0123456789", 2) == std::string_view::npos;
}

bool isEncodingName(std::string_view value) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (value.empty() || !letter(value[0])) return false;
  for (char c : value) {
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-') return false;
  }
  return true;
}

// version, then optionally encoding, then optionally standalone, nothing else.
Refusal checkDeclaration(pugi::xml_node declaration) {
  pugi::xml_attribute attribute = declaration.first_attribute();
  if (!attribute || std::strcmp(attribute.name(), "version") != 0 ||
      !isVersion(attribute.value())) {
    return {pugi::status_bad_pi, "The XML declaration does not begin with a version 1.x"};
  }
  attribute = attribute.next_attribute();
  if (attribute && std::strcmp(attribute.name(), "encoding") == 0) {
    if (!isEncodingName(attribute.value())) {
      return {pugi::status_bad_pi, "The XML declaration names a malformed encoding"};
    }
    attribute = attribute.next_attribute();
  }
  if (attribute && std::strcmp(attribute.name(), "standalone") == 0) {
    const std::string_view value = attribute.value();
    if (value != "yes" && value != "no") {
      return {pugi::status_bad_pi, "The XML declaration's standalone is not \"yes\" or \"no\""};
    }
    attribute = attribute.next_attribute();
  }
  if (attribute) return {pugi::status_bad_pi, "The XML declaration holds an unknown field"};
  return {};
}

// True when the text, after a byte-order mark, begins with "<?xml" in the given encoding.
bool startsWithDeclaration(std::string_view text, pugi::xml_encoding encoding) {
  using namespace std::string_view_literals;
  std::size_t unit = 1;
  bool bigEndian = false;
  std::string_view bom = "\xEF\xBB\xBF"sv;
  switch (encoding) {
    case pugi::encoding_utf16_le:
      unit = 2, bom = "\xFF\xFE"sv;
      break;
    case pugi::encoding_utf16_be:
      unit = 2, bigEndian = true, bom = "\xFE\xFF"sv;
      break;
    case pugi::encoding_utf32_le:
      unit = 4, bom = "\xFF\xFE\0\0"sv;
      break;
    case pugi::encoding_utf32_be:
      unit = 4, bigEndian = true, bom = "\0\0\xFE\xFF"sv;
      break;
    default:
      break;
  }
  if (text.starts_with(bom)) text.remove_prefix(bom.size());
  constexpr std::string_view kStart = "<?xml";
  if (text.size() < kStart.size() * unit) return false;
  for (std::size_t i = 0; i < kStart.size() * unit; ++i) {
    const std::size_t byte = i % unit;
    const bool charByte = bigEndian ? byte == unit - 1 : byte == 0;
    if (text[i] != (charByte ? kStart[i / unit] : '\0')) return false;
  }
  return true;
}

}  // namespace

// Bytes looked at together by firstInvalidCharacter().
constexpr std::size_t kAsciiBlock = 64;

std::size_t firstInvalidCharacter(std::string_view text, bool* sawNonAscii) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    // Printable ASCII, the bulk of every reply, is passed over a block at a time: a fixed
    // number of bytes per block, so that the loop compiles to vector instructions.
    if (i % kAsciiBlock == 0 && i + kAsciiBlock <= size) {
      unsigned char outside = 0;
      for (std::size_t k = 0; k < kAsciiBlock; ++k) {
        // Above 0x7F or below 0x20 in one comparison: such bytes are negative as signed chars.
        outside |= static_cast<unsigned char>(static_cast<signed char>(bytes[i + k]) < 0x20);
      }
      if (!outside) {
        i += kAsciiBlock;
        continue;
      }
    }
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      if (lead < 0x20 && lead != 0x9 && lead != 0xA && lead != 0xD) return i;
      ++i;
      continue;
    }
    if (sawNonAscii) *sawNonAscii = true;
    const text::Utf8Char c = text::decodeUtf8(text, i);
    if (c.length == 0 || !isXmlChar(c.code)) return i;
    i += c.length;
  }
  return std::string_view::npos;
}

Refusal checkProlog(const pugi::xml_document& doc, std::string_view head,
                    pugi::xml_encoding encoding) {
  int elements = 0;
  bool doctype = false;
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    switch (node.type()) {
      case pugi::node_pcdata:
      case pugi::node_cdata:
        return {pugi::status_bad_pcdata, "Text outside the document element"};
      case pugi::node_declaration:
        if (node != doc.first_child()) {
          return {pugi::status_bad_pi, "The XML declaration is not at the start of the document"};
        }
        if (!startsWithDeclaration(head, encoding)) {
          return {pugi::status_bad_pi, "Something stands before the XML declaration"};
        }
        if (Refusal refusal = checkDeclaration(node)) return refusal;
        break;
      case pugi::node_doctype:
        if (elements > 0 || doctype) {
          return {pugi::status_bad_doctype,
                  "A document type declaration that is not before the document element"};
        }
        // Entities are never expanded: an internal entity could turn a small reply into
        // gigabytes.
        if (std::strstr(node.value(), "<!ENTITY")) {
          return {pugi::status_bad_doctype, "A document type declaration that declares entities"};
        }
        doctype = true;
        break;
      case pugi::node_element:
        if (++elements > 1)
          return {pugi::status_bad_start_element, "More than one document element"};
        break;
      default:
        break;
    }
  }
  if (elements == 0) return {pugi::status_no_document_element, "No document element found"};
  return {};
}

namespace {

constexpr Refusal kBadName{pugi::status_bad_start_element, "A name that XML does not allow"};
constexpr Refusal kBadCharacter{pugi::status_bad_pcdata, "A character that XML does not allow"};

Refusal checkAndDecodeAttributes(pugi::xml_node element, const TextTraits& traits, bool& spaces) {
  const pugi::xml_attribute first = element.first_attribute();
  if (!first) return {};
  if (first.next_attribute() && hasRepeatedAttribute(first)) {
    return {pugi::status_bad_attribute, "An attribute repeated on one element"};
  }
  for (pugi::xml_attribute attribute = first; attribute; attribute = attribute.next_attribute()) {
    if (traits.nonAscii && !isName(attribute.name())) return kBadName;
    const char* value = attribute.value();
    if (traits.converted && (!isValidText(attribute.name()) || !isValidText(value))) {
      return kBadCharacter;
    }
    if (std::strchr(value, '<')) {
      return {pugi::status_bad_attribute, "A \"<\" in an attribute value"};
    }
    if (traits.references && std::strchr(value, '&') && !decodeReferencesInPlace(value, spaces)) {
      return {pugi::status_bad_attribute,
              "Invalid entity or character reference in an attribute value"};
    }
  }
  return {};
}

// Visits every node below the document in document order (pugixml's own loop, which reaches the
// nodes without a library call per step) and stops at the first refusal.
class NodeChecker : public pugi::xml_tree_walker {
 public:
  explicit NodeChecker(const TextTraits& traits) : traits_(traits) {}

  bool for_each(pugi::xml_node& node) override {
    refusal = check(node);
    return !refusal;
  }

  Refusal refusal;
  bool spacesFromReferences = false;

 private:
  Refusal check(pugi::xml_node node) {
    const pugi::xml_node_type type = node.type();
    // An element's own text is checked after its attributes, where its text node would be.
    if (traits_.converted &&
        (!isValidText(node.name()) || (type != pugi::node_element && !isValidText(node.value())))) {
      return kBadCharacter;
    }
    switch (type) {
      case pugi::node_pcdata:
        return texts() ? checkAndDecodeText(node.value(), traits_.cdataEnd, spacesFromReferences)
                       : Refusal{};
      case pugi::node_comment: {
        const std::string_view comment = node.value();
        if (comment.find("--") != std::string_view::npos || comment.ends_with('-')) {
          return {pugi::status_bad_comment, "\"--\" inside a comment"};
        }
        return {};
      }
      case pugi::node_pi:
        if (isReservedTarget(node.name())) {
          return {pugi::status_bad_pi, "A processing instruction named \"xml\""};
        }
        if (traits_.nonAscii && !isName(node.name())) return kBadName;
        return {};
      case pugi::node_declaration:
      case pugi::node_doctype:
        if (depth() != 0) {
          return {pugi::status_bad_pi, "A declaration inside the document element"};
        }
        return {};
      case pugi::node_element: {
        if (traits_.nonAscii && !isName(node.name())) return kBadName;
        if (Refusal refusal = checkAndDecodeAttributes(node, traits_, spacesFromReferences)) {
          return refusal;
        }
        // The element's own first run of text, in a document that keeps it there.
        if (!texts() && !traits_.converted) return {};
        const char* text = node.value();
        if (*text == '\0') return {};
        if (traits_.converted && !isValidText(text)) return kBadCharacter;
        return texts() ? checkAndDecodeText(text, traits_.cdataEnd, spacesFromReferences)
                       : Refusal{};
      }
      default:
        return {};
    }
  }

  // Texts need a look only when the text holds "&" or "]]>" at all.
  bool texts() const { return traits_.references || traits_.cdataEnd; }

  const TextTraits& traits_;
};

}  // namespace

Refusal checkAndDecodeNodes(pugi::xml_document& doc, const TextTraits& traits,
                            bool& spacesFromReferences) {
  NodeChecker checker(traits);
  doc.traverse(checker);
  spacesFromReferences = checker.spacesFromReferences;
  return checker.refusal;
}

namespace {

// The blanks, tabs and line breaks of XML.
constexpr const char* kSpaces = " \t\n\r";

// Turns CR LF and CR into LF, in the text's own memory; false when nothing but blanks, tabs and
// line breaks is left.
bool settleText(const char* value) {
  char* const text = const_cast<char*>(value);
  if (char* at = std::strchr(text, '\r')) {
    char* out = at;
    for (const char* in = at; *in != '\0'; ++in) {
      const char c = *in;  // read before out, which may stand on it, is written
      *out++ = c == '\r' ? '\n' : c;
      if (c == '\r' && in[1] == '\n') ++in;
    }
    *out = '\0';
  }
  return text[std::strspn(text, kSpaces)] != '\0';
}

// Turns every tab, LF, CR and CR LF of an attribute value into one blank, in its own memory.
void settleAttributeValue(const char* value) {
  char* const text = const_cast<char*>(value);
  char* at = std::strpbrk(text, kSpaces + 1);
  if (!at) return;
  char* out = at;
  for (const char* in = at; *in != '\0'; ++in) {
    const char c = *in;  // read before out, which may stand on it, is written
    *out++ = std::strchr(kSpaces, c) ? ' ' : c;
    if (c == '\r' && in[1] == '\n') ++in;
  }
  *out = '\0';
}

}  // namespace

void settleAsReparsed(pugi::xml_document& doc) {
  pugi::xml_node node = doc.first_child();
  while (node) {
    const pugi::xml_node next = nextInSubtree(node, doc);
    if (node.type() == pugi::node_pcdata && !settleText(node.value())) {
      node.parent().remove_child(node);
    } else if (node.type() == pugi::node_element) {
      for (pugi::xml_attribute attribute : node.attributes())
        settleAttributeValue(attribute.value());
      // The element's own first run of text, in a document that keeps it there.
      const char* text = node.value();
      if (*text != '\0' && !settleText(text)) const_cast<char*>(text)[0] = '\0';
    }
    node = next;
  }
}

}  // namespace tarvine::xml
