#include "platform/XmlDocument.h"

#include "platform/XmlRules.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace tarvine {
namespace {

// References are decoded after the parse, because the parser leaves a stray "&" or an unknown
// entity in the text instead of refusing it. Fragment mode keeps text outside the document
// element, so that the prolog check can refuse it.
constexpr unsigned kParseOptions = (pugi::parse_default & ~pugi::parse_escapes) |
                                   pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi |
                                   pugi::parse_doctype | pugi::parse_fragment;

// True when `text` equals the lower-case ASCII `lower` in any letter case.
bool equalsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lower[i]) return false;
  }
  return true;
}

// Bytes from the network: a declaration naming an encoding must name the one the parser read.
// A byte-order mark or UTF-16/32 characters decide over the declaration; 8-bit text is read as
// UTF-8 unless the declaration names ISO-8859-1 (which the parser then read).
bool readsDeclaredEncoding(const pugi::xml_document& doc, pugi::xml_encoding read) {
  const pugi::xml_node first = doc.first_child();
  if (first.type() != pugi::node_declaration || read != pugi::encoding_utf8) return true;
  const std::string_view name = first.attribute("encoding").value();
  return name.empty() || equalsIgnoringCase(name, "utf-8") || equalsIgnoringCase(name, "utf8");
}

bool isTextNode(pugi::xml_node node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
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
  for (pugi::xml_node node = node_; node; node = xml::nextInSubtree(node, node_)) {
    if (isTextNode(node)) size += std::string_view(node.value()).size();
  }
  std::string text;
  text.reserve(size);
  for (pugi::xml_node node = node_; node; node = xml::nextInSubtree(node, node_)) {
    if (isTextNode(node)) text += node.value();
  }
  return text;
}

bool XmlDocument::loadXml(std::string_view text) {
  return load(text, false);
}

bool XmlDocument::loadBytes(std::string_view bytes) {
  return load(bytes, true);
}

bool XmlDocument::fail(long status, std::string reason) {
  doc_.reset();
  errorCode_ = status;
  errorReason_ = std::move(reason);
  return false;
}

bool XmlDocument::load(std::string_view text, bool fromNetwork) {
  doc_.reset();
  loadedBytes_ = 0;
  const pugi::xml_parse_result result =
      doc_.load_buffer(text.data(), text.size(), kParseOptions,
                       fromNetwork ? pugi::encoding_auto : pugi::encoding_utf8);
  if (result.status != pugi::status_ok) {
    return fail(result.status,
                std::string(result.description()) + " at offset " + std::to_string(result.offset));
  }
  // Text read as UTF-8 must be UTF-8 of XML characters; text in another encoding is checked
  // node by node once the parser has converted it.
  const bool converted = result.encoding != pugi::encoding_utf8;
  bool nonAscii = converted;
  if (!converted) {
    if (const std::size_t bad = xml::firstInvalidCharacter(text, &nonAscii);
        bad != std::string_view::npos) {
      return fail(
          pugi::status_bad_pcdata,
          "Invalid character (not UTF-8, or not allowed in XML) at offset " + std::to_string(bad));
    }
  }
  if (fromNetwork && !readsDeclaredEncoding(doc_, result.encoding)) {
    return fail(pugi::status_bad_pi,
                "The XML declaration names an encoding this parser does not read");
  }
  const bool cdataEnd = text.find("]]>") != std::string_view::npos;
  xml::Refusal refusal = xml::checkProlog(doc_, text, result.encoding);
  if (!refusal) refusal = xml::checkAndDecodeNodes(doc_, nonAscii, cdataEnd, converted);
  if (refusal) return fail(refusal.status, refusal.reason);
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
