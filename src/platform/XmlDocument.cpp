#include "platform/XmlDocument.h"

#include "platform/Text.h"
#include "platform/XmlRules.h"
#include "platform/XmlShape.h"

#include <sys/mman.h>
#include <unistd.h>

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

// True when the text may be UTF-16 or UTF-32 (a byte-order mark or a zero byte among its first
// four bytes), which the parser converts instead of reading in place.
bool mayBeWide(std::string_view text) {
  const std::string_view start = text.substr(0, 4);
  return start.find('\0') != std::string_view::npos || start.starts_with("\xFE\xFF") ||
         start.starts_with("\xFF\xFE");
}

// A copy of the text with a byte to spare, so that the end mark of the in-place parse (see load())
// goes in without moving a large text to new memory.
std::string copyForParsing(std::string_view text) {
  std::string copy;
  copy.reserve(text.size() + 1);
  copy.append(text);
  return copy;
}

// Gives the memory pages of the string beyond its text (and its terminator) back to the system.
// A text handed over for parsing in place often has far more room than it uses (a data set made
// in the memory a larger reply was received into), and the tree built next should not be added
// to memory nobody uses. The pages read as zero if the string grows into them again.
void releaseSpareCapacity(std::string& text) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(text.data());
  const std::uintptr_t from = (start + text.size() + 1 + page - 1) & ~(page - 1);
  const std::uintptr_t to = (start + text.capacity()) & ~(page - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

// Bytes from the network: a declaration naming an encoding must name the one the parser read.
// A byte-order mark or UTF-16/32 characters decide over the declaration; 8-bit text is read as
// UTF-8 unless the declaration names ISO-8859-1 (which the parser then read).
bool readsDeclaredEncoding(const pugi::xml_document& doc, pugi::xml_encoding read) {
  const pugi::xml_node first = doc.first_child();
  if (first.type() != pugi::node_declaration || read != pugi::encoding_utf8) return true;
  const std::string_view name = first.attribute("encoding").value();
  return name.empty() || text::equalsIgnoringCase(name, "utf-8") ||
         text::equalsIgnoringCase(name, "utf8");
}

bool isTextNode(pugi::xml_node node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

void appendStartTag(std::string& out, pugi::xml_node element) {
  out += '<';
  out += element.name();
  for (pugi::xml_attribute attribute : element.attributes()) {
    out += ' ';
    out += attribute.name();
    out += "=\"";
    text::appendEscapedXmlAttribute(out, attribute.value());
    out += '"';
  }
  out += element.first_child() || *element.value() != '\0' ? ">" : "/>";
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
      text::appendEscapedXmlText(out, node.value());
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
      // The element's own first run of text comes before its children.
      text::appendEscapedXmlText(out, node.value());
      if (pugi::xml_node child = node.first_child()) {
        node = child;
        continue;
      }
      if (*node.value() != '\0') appendEndTag(out, node);
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
  // Elements, instructions and declarations have names of their own; one library call for the
  // common case.
  if (const char* own = node_.name(); *own != '\0') return own;
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
    default:
      return {};
  }
}

std::string XmlNode::text() const {
  if (const std::optional<std::string_view> run = textInPlace()) return std::string(*run);
  // Elements hold their first run of text themselves in a document that keeps it there; it
  // comes before their children, as a visit in document order reaches it.
  auto holdsText = [](pugi::xml_node node) {
    return isTextNode(node) || node.type() == pugi::node_element;
  };
  std::size_t size = 0;
  for (pugi::xml_node node = node_; node; node = xml::nextInSubtree(node, node_)) {
    if (holdsText(node)) size += std::string_view(node.value()).size();
  }
  std::string text;
  text.reserve(size);
  for (pugi::xml_node node = node_; node; node = xml::nextInSubtree(node, node_)) {
    if (holdsText(node)) text += node.value();
  }
  return text;
}

std::optional<std::string_view> XmlNode::textInPlace() const {
  if (!node_) return std::string_view();
  const pugi::xml_node first = node_.first_child();
  // Without children: the node's own value (an element's first run, or a text's value).
  if (!first) return std::string_view(node_.value());
  // The common case of a data set column: one text child and nothing else.
  if (*node_.value() == '\0' && isTextNode(first) && !first.next_sibling()) {
    return std::string_view(first.value());
  }
  return std::nullopt;
}

std::string_view XmlNode::leadingText() const {
  return isElement() ? node_.value() : std::string_view();
}

bool XmlDocument::loadXml(std::string_view text) {
  return loadXmlInPlace(copyForParsing(text));
}

bool XmlDocument::loadBytes(std::string_view bytes) {
  return loadBytesInPlace(copyForParsing(bytes));
}

bool XmlDocument::loadXmlInPlace(std::string text, XmlTextRuns runs) {
  return load(std::move(text), false, runs);
}

bool XmlDocument::loadBytesInPlace(std::string bytes) {
  return load(std::move(bytes), true, XmlTextRuns::Nodes);
}

void XmlDocument::settleAsReparsed() {
  if (spacesFromReferences_) xml::settleAsReparsed(doc_);
  spacesFromReferences_ = false;
}

void XmlDocument::clear() {
  doc_.reset();
  buffer_ = std::string();
  loadedBytes_ = 0;
  errorCode_ = 1;
  errorReason_ = "No document loaded";
  refusedForShape_ = false;
  spacesFromReferences_ = false;
}

std::string_view XmlDocument::parsedText() const {
  return buffer_;
}

std::string XmlDocument::takeParsedText() {
  std::string text = std::move(buffer_);
  clear();
  return text;
}

bool XmlDocument::fail(long status, std::string reason) {
  doc_.reset();
  buffer_ = std::string();
  errorCode_ = status;
  errorReason_ = std::move(reason);
  return false;
}

bool XmlDocument::load(std::string text, bool fromNetwork, XmlTextRuns runs) {
  clear();
  const std::size_t size = text.size();
  const xml::TextScan scan = xml::scanText(text, xml::allowedTreeBytes(size));
  if (scan.treeBytes() > xml::allowedTreeBytes(size)) {
    fail(pugi::status_out_of_memory,
         "The XML holds up to " + std::to_string(scan.nodes) + " elements and texts and " +
             std::to_string(scan.attributes) + " attributes in " + std::to_string(size) +
             " bytes: more than " + std::to_string(xml::kTreeBytesPerByte) +
             " times its size as a tree, which is refused");
    refusedForShape_ = true;
    return false;
  }
  // The parser writes into the text, so everything that reads the text as given comes first:
  // the character check (which counts only when the text is read as UTF-8; plain ASCII needs
  // none) and the first bytes, where a declaration must stand.
  xml::TextTraits traits;
  traits.cdataEnd = scan.cdataEnd;
  traits.references = scan.ampersand;
  const std::size_t bad =
      scan.plainAscii ? std::string::npos : xml::firstInvalidCharacter(text, &traits.nonAscii);
  const std::string head = text.substr(0, 32);
  // Parsing in place, pugixml takes the buffer's last byte for its end mark. A line break after
  // 8-bit text gives it one to take, so that no byte of the document goes unseen (one character
  // of text after the document element would otherwise vanish). Wide text is converted into a
  // buffer of the parser's own, which has its end mark.
  if (!mayBeWide(text)) text.push_back('\n');
  releaseSpareCapacity(text);
  buffer_ = std::move(text);
  const unsigned options =
      kParseOptions | (runs == XmlTextRuns::FirstInElement ? pugi::parse_embed_pcdata : 0u);
  const pugi::xml_parse_result result =
      doc_.load_buffer_inplace(buffer_.data(), buffer_.size(), options,
                               fromNetwork ? pugi::encoding_auto : pugi::encoding_utf8);
  if (result.status != pugi::status_ok) {
    return fail(result.status,
                std::string(result.description()) + " at offset " + std::to_string(result.offset));
  }
  // Text read as UTF-8 must be UTF-8 of XML characters; text in another encoding is checked
  // node by node once the parser has converted it.
  traits.converted = result.encoding != pugi::encoding_utf8;
  if (!traits.converted && bad != std::string::npos) {
    return fail(
        pugi::status_bad_pcdata,
        "Invalid character (not UTF-8, or not allowed in XML) at offset " + std::to_string(bad));
  }
  // Converted text was not looked at as it is now: every check applies.
  if (traits.converted) traits.nonAscii = traits.cdataEnd = traits.references = true;
  if (fromNetwork && !readsDeclaredEncoding(doc_, result.encoding)) {
    return fail(pugi::status_bad_pi,
                "The XML declaration names an encoding this parser does not read");
  }
  xml::Refusal refusal = xml::checkProlog(doc_, head, result.encoding);
  if (!refusal) refusal = xml::checkAndDecodeNodes(doc_, traits, spacesFromReferences_);
  if (refusal) return fail(refusal.status, refusal.reason);
  // Other encodings were read into a buffer of the parser's own (ISO-8859-1 only when it holds
  // bytes above ASCII, so that one may still point into the text).
  if (result.encoding != pugi::encoding_utf8 && result.encoding != pugi::encoding_latin1) {
    buffer_ = std::string();
  }
  loadedBytes_ = size;
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

std::string_view localName(std::string_view qualified) {
  const std::size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

std::string_view namespaceOf(const pugi::xml_node& element) {
  const std::string_view name = element.name();
  const std::size_t colon = name.find(':');
  const std::string declaration =
      colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(name.substr(0, colon));
  for (pugi::xml_node node = element; node; node = node.parent()) {
    if (const pugi::xml_attribute bound = node.attribute(declaration.c_str())) return bound.value();
  }
  return {};
}

}  // namespace tarvine
