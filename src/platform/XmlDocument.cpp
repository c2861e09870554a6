#include "platform/XmlDocument.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace tarvine {
namespace {

// References are decoded after the parse (decodeReferences), because the parser leaves a stray
// "&" or an unknown entity in the text instead of refusing it. Fragment mode keeps text outside
// the document element, so that checkTopLevel can refuse it.
constexpr unsigned kParseOptions = (pugi::parse_default & ~pugi::parse_escapes) |
                                   pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi |
                                   pugi::parse_doctype | pugi::parse_fragment;

// The node after `node` in document order inside the subtree of `top`, or null at its end.
// Walks the parent links, so it needs no stack however deep the tree is.
pugi::xml_node nextInSubtree(pugi::xml_node node, pugi::xml_node top) {
  if (pugi::xml_node child = node.first_child()) return child;
  while (node != top) {
    if (pugi::xml_node sibling = node.next_sibling()) return sibling;
    node = node.parent();
  }
  return {};
}

bool isTextNode(pugi::xml_node node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

bool isXmlChar(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void appendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Reads the character reference "#65" or "#x41" (without "&" and ";"); false unless it names
// an XML character.
bool readCharacterReference(std::string_view digits, std::uint32_t& c) {
  if (digits.size() < 2 || digits[0] != '#') return false;
  const bool hex = digits[1] == 'x';
  digits.remove_prefix(hex ? 2 : 1);
  if (digits.empty()) return false;
  c = 0;
  for (char d : digits) {
    std::uint32_t value = 0;
    if (d >= '0' && d <= '9') {
      value = static_cast<std::uint32_t>(d - '0');
    } else if (hex && d >= 'a' && d <= 'f') {
      value = static_cast<std::uint32_t>(d - 'a' + 10);
    } else if (hex && d >= 'A' && d <= 'F') {
      value = static_cast<std::uint32_t>(d - 'A' + 10);
    } else {
      return false;
    }
    c = c * (hex ? 16 : 10) + value;
    if (c > 0x10FFFF) return false;
  }
  return isXmlChar(c);
}

// Replaces the predefined entity and character references of raw text by what they stand
// for. False when an "&" starts no such reference.
bool decodeReferences(std::string_view raw, std::string& out) {
  out.clear();
  out.reserve(raw.size());
  std::size_t start = 0;
  for (std::size_t amp = raw.find('&'); amp != std::string_view::npos; amp = raw.find('&', start)) {
    out.append(raw, start, amp - start);
    // Long enough for "#x10FFFF" with leading zeros to spare; longer names are not references.
    const std::size_t end = raw.substr(amp, 16).find(';');
    if (end == std::string_view::npos) return false;
    const std::string_view name = raw.substr(amp + 1, end - 1);
    std::uint32_t c = 0;
    if (name == "amp") {
      out += '&';
    } else if (name == "lt") {
      out += '<';
    } else if (name == "gt") {
      out += '>';
    } else if (name == "quot") {
      out += '"';
    } else if (name == "apos") {
      out += '\'';
    } else if (readCharacterReference(name, c)) {
      appendUtf8(out, c);
    } else {
      return false;
    }
    start = amp + end + 1;
  }
  out.append(raw, start, std::string_view::npos);
  return true;
}

// Decodes the references in every text and attribute value of the document. Returns the
// failure status (a stray "&", an unknown entity, a "<" in an attribute value), or status_ok.
pugi::xml_parse_status decodeDocument(pugi::xml_document& doc, const char*& reason) {
  std::string decoded;
  for (pugi::xml_node node = doc.first_child(); node; node = nextInSubtree(node, doc)) {
    if (node.type() == pugi::node_pcdata && std::strchr(node.value(), '&')) {
      if (!decodeReferences(node.value(), decoded)) {
        reason = "Invalid entity or character reference in text";
        return pugi::status_bad_pcdata;
      }
      node.set_value(decoded.c_str(), decoded.size());
    }
    if (node.type() != pugi::node_element) continue;
    for (pugi::xml_attribute attribute : node.attributes()) {
      const char* value = attribute.value();
      if (std::strchr(value, '<')) {
        reason = "A \"<\" in an attribute value";
        return pugi::status_bad_attribute;
      }
      if (!std::strchr(value, '&')) continue;
      if (!decodeReferences(value, decoded)) {
        reason = "Invalid entity or character reference in an attribute value";
        return pugi::status_bad_attribute;
      }
      attribute.set_value(decoded.c_str(), decoded.size());
    }
  }
  return pugi::status_ok;
}

// Which bytes a serialization escapes, as a lookup table: texts run to megabytes.
struct SpecialBytes {
  constexpr explicit SpecialBytes(std::string_view special) {
    for (char c : special) table[static_cast<unsigned char>(c)] = true;
  }
  bool table[256] = {};
};

// Appends text with the characters marked in `special` replaced by their entity references.
template <typename Escape>
void appendEscaped(std::string& out, std::string_view text, const SpecialBytes& special,
                   Escape escape) {
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (!special.table[static_cast<unsigned char>(text[pos])]) continue;
    out.append(text, start, pos - start);
    out += escape(text[pos]);
    start = pos + 1;
  }
  out.append(text, start, std::string_view::npos);
}

std::string_view entityFor(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return "&quot;";
  }
}

void appendTextEscaped(std::string& out, std::string_view text) {
  static constexpr SpecialBytes kTextSpecial("&<>");
  appendEscaped(out, text, kTextSpecial, entityFor);
}

void appendAttributeEscaped(std::string& out, std::string_view text) {
  static constexpr SpecialBytes kAttributeSpecial("&<\"");
  appendEscaped(out, text, kAttributeSpecial, entityFor);
}

void appendStartTag(std::string& out, pugi::xml_node element) {
  out += '<';
  out += element.name();
  for (pugi::xml_attribute attribute : element.attributes()) {
    out += ' ';
    out += attribute.name();
    out += "=\"";
    appendAttributeEscaped(out, attribute.value());
    out += '"';
  }
  out += element.first_child() ? ">" : "/>";
}

void appendEndTag(std::string& out, pugi::xml_node element) {
  out += "</";
  out += element.name();
  out += '>';
}

// Writes a node that has no children of its own (anything but an element or the document).
void appendLeaf(std::string& out, pugi::xml_node node) {
  switch (node.type()) {
    case pugi::node_pcdata:
      appendTextEscaped(out, node.value());
      break;
    case pugi::node_cdata:
      out += "<![CDATA[";
      out += node.value();
      out += "]]>";
      break;
    case pugi::node_comment:
      out += "<!--";
      out += node.value();
      out += "-->";
      break;
    case pugi::node_pi:
      out += "<?";
      out += node.name();
      if (*node.value() != '\0') {
        out += ' ';
        out += node.value();
      }
      out += "?>";
      break;
    case pugi::node_declaration:
      out += "<?xml version=\"1.0\"?>";
      break;
    case pugi::node_doctype:
      out += "<!DOCTYPE ";
      out += node.value();
      out += '>';
      break;
    default:
      break;
  }
}

// Writes a top-level node and everything inside it, closing each element once its last child
// has been written.
void appendTree(std::string& out, pugi::xml_node top) {
  pugi::xml_node node = top;
  for (;;) {
    if (node.type() == pugi::node_element) {
      appendStartTag(out, node);
      if (pugi::xml_node child = node.first_child()) {
        node = child;
        continue;
      }
    } else {
      appendLeaf(out, node);
    }
    while (node != top && !node.next_sibling()) {
      node = node.parent();
      appendEndTag(out, node);
    }
    if (node == top) return;
    node = node.next_sibling();
  }
}

// Position of the first byte that does not start a well-formed UTF-8 sequence of an XML
// character (tab, line feed, carriage return, U+0020 and above without the surrogates, U+FFFE
// and U+FFFF), or npos. The parser itself takes any byte, so a reply in another encoding would
// pass as text. Eight bytes at a time while they are all printable ASCII.
std::size_t firstInvalidCharacter(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    if (i + 8 <= size) {
      std::uint64_t block = 0;
      std::memcpy(&block, bytes + i, 8);
      constexpr std::uint64_t kOnes = 0x0101010101010101u;
      constexpr std::uint64_t kHighBits = 0x8080808080808080u;
      // No high bit set and no byte below 0x20.
      if ((block & kHighBits) == 0 && ((block - kOnes * 0x20) & ~block & kHighBits) == 0) {
        i += 8;
        continue;
      }
    }
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      if (lead < 0x20 && lead != 0x9 && lead != 0xA && lead != 0xD) return i;
      ++i;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, c = lead & 0x07u;
    } else {
      return i;
    }
    if (i + length > size) return i;
    for (std::size_t k = 1; k < length; ++k) {
      if ((bytes[i + k] & 0xC0u) != 0x80u) return i;
      c = (c << 6) | (bytes[i + k] & 0x3Fu);
    }
    const std::uint32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < shortest || !isXmlChar(c)) return i;
    i += length;
  }
  return std::string_view::npos;
}

// True when every name and value of the document is UTF-8 of XML characters: the check for
// text that the parser converted from another encoding (UTF-16, UTF-32, Latin-1).
bool holdsOnlyXmlCharacters(const pugi::xml_document& doc) {
  auto valid = [](const char* text) {
    return firstInvalidCharacter(text) == std::string_view::npos;
  };
  for (pugi::xml_node node = doc.first_child(); node; node = nextInSubtree(node, doc)) {
    if (!valid(node.name()) || !valid(node.value())) return false;
    for (pugi::xml_attribute attribute : node.attributes()) {
      if (!valid(attribute.name()) || !valid(attribute.value())) return false;
    }
  }
  return true;
}

// Checks what the parser lets through at the top level in fragment mode: exactly one element,
// no text, a declaration only as the first node. Returns the failure status, or status_ok.
pugi::xml_parse_status checkTopLevel(const pugi::xml_document& doc, const char*& reason) {
  int elements = 0;
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    if (isTextNode(node)) {
      reason = "Text outside the document element";
      return pugi::status_bad_pcdata;
    }
    if (node.type() == pugi::node_declaration && node != doc.first_child()) {
      reason = "The XML declaration is not at the start of the document";
      return pugi::status_bad_pi;
    }
    if (node.type() == pugi::node_element && ++elements > 1) {
      reason = "More than one document element";
      return pugi::status_bad_start_element;
    }
  }
  if (elements == 0) {
    reason = "No document element found";
    return pugi::status_no_document_element;
  }
  return pugi::status_ok;
}

}  // namespace

std::string_view XmlNode::name() const {
  switch (node_.type()) {
    case pugi::node_document:
      return "#document";
    case pugi::node_pcdata:
      return "#text";
    case pugi::node_cdata:
      return "#cdata-section";
    case pugi::node_comment:
      return "#comment";
    case pugi::node_doctype:
      return "#doctype";
    case pugi::node_null:
      return {};
    default:
      return node_.name();
  }
}

std::string XmlNode::text() const {
  if (!node_) return {};
  const pugi::xml_node first = node_.first_child();
  if (!first) return node_.value();
  // The common case of a data set column: one text child and nothing else.
  if (isTextNode(first) && !first.next_sibling()) return first.value();
  std::size_t size = 0;
  for (pugi::xml_node node = node_; node; node = nextInSubtree(node, node_)) {
    if (isTextNode(node)) size += std::string_view(node.value()).size();
  }
  std::string text;
  text.reserve(size);
  for (pugi::xml_node node = node_; node; node = nextInSubtree(node, node_)) {
    if (isTextNode(node)) text += node.value();
  }
  return text;
}

bool XmlDocument::loadXml(std::string_view text) {
  doc_.reset();
  loadedBytes_ = 0;
  pugi::xml_parse_result result =
      doc_.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_auto);
  auto fail = [this](pugi::xml_parse_status status, std::string reason) {
    doc_.reset();
    errorCode_ = static_cast<long>(status);
    errorReason_ = std::move(reason);
    return false;
  };
  if (result.status != pugi::status_ok) {
    return fail(result.status,
                std::string(result.description()) + " at offset " + std::to_string(result.offset));
  }
  // Text read as UTF-8 must be UTF-8 of XML characters; text in another encoding is checked
  // once the parser has converted it.
  if (result.encoding == pugi::encoding_utf8) {
    if (const std::size_t bad = firstInvalidCharacter(text); bad != std::string_view::npos) {
      return fail(
          pugi::status_bad_pcdata,
          "Invalid character (not UTF-8, or not allowed in XML) at offset " + std::to_string(bad));
    }
  } else if (!holdsOnlyXmlCharacters(doc_)) {
    return fail(pugi::status_bad_pcdata, "A character that XML does not allow");
  }
  const char* reason = "";
  pugi::xml_parse_status status = checkTopLevel(doc_, reason);
  if (status == pugi::status_ok) status = decodeDocument(doc_, reason);
  if (status != pugi::status_ok) return fail(status, reason);
  loadedBytes_ = text.size();
  errorCode_ = 0;
  errorReason_.clear();
  return true;
}

std::string XmlDocument::xml() const {
  std::string out;
  if (!doc_.first_child()) return out;
  out.reserve(loadedBytes_ + loadedBytes_ / 8 + 64);
  for (pugi::xml_node node = doc_.first_child(); node; node = node.next_sibling()) {
    appendTree(out, node);
    out += "\r\n";
  }
  return out;
}

}  // namespace tarvine
