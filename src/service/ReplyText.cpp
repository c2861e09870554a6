#include "service/ReplyText.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <utility>

#include "platform/Text.h"
#include "service/RouteOperations.h"
#include "service/Unwrap.h"

namespace tarvine::service {
namespace {

constexpr std::string_view kSoapNamespace = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr std::string_view kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view kXsdNamespace = "http://www.w3.org/2001/XMLSchema";
constexpr std::string_view kWrittenDeclaration = R"(<?xml version="1.0"?>)";
constexpr std::string_view kCleanDeclaration = R"(<?xml version="1.0" encoding="utf-8" ?>)";
// The clean declaration and the CR LF the serialization writes after the declaration.
constexpr char kCleanDeclarationLine[] = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n";
constexpr std::string_view kEnvelopeStart =
    R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/")"
    R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
    R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema">)";
constexpr std::string_view kEnvelopeTags[] = {kEnvelopeStart, "<soap:Body>", "</soap:Body>",
                                              "</soap:Envelope>"};

void cleanInPlace(std::string& text) {
  text::replaceAllInPlace(text, "&lt;", "<");
  text::replaceAllInPlace(text, "&gt;", ">");
  text::replaceAllInPlace(text, kWrittenDeclaration, kCleanDeclaration);
}

void stripInPlace(std::string& text) {
  for (std::string_view tag : kEnvelopeTags) text::replaceAllInPlace(text, tag, "");
}

using Attributes = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// True when the node is an element of this name with exactly these attributes, in this order,
// and no text of its own: what the serialization writes as the start tag the steps remove.
bool isStartTag(pugi::xml_node node, std::string_view name, Attributes attributes) {
  if (node.type() != pugi::node_element || name != node.name() || *node.value() != '\0') {
    return false;
  }
  pugi::xml_attribute attribute = node.first_attribute();
  for (const auto& [attributeName, value] : attributes) {
    if (!attribute || attributeName != attribute.name() || value != attribute.value()) {
      return false;
    }
    attribute = attribute.next_attribute();
  }
  return !attribute;
}

// The parent's only child, or a null node.
pugi::xml_node onlyChild(pugi::xml_node parent) {
  const pugi::xml_node child = parent.first_child();
  return child.next_sibling() ? pugi::xml_node() : child;
}

// The reply as the route service writes it: an optional declaration, then
// <soap:Envelope ...><soap:Body><OpResponse xmlns="..."><OpResult>data set</OpResult>... with
// nothing else anywhere.
struct UsualReply {
  bool declaration = false;
  std::string_view dataSet;  // the result element's text
};

std::optional<UsualReply> usualReply(const XmlDocument& reply, std::string_view op) {
  UsualReply usual;
  pugi::xml_node top = reply.root().raw().first_child();
  if (top.type() == pugi::node_declaration) {
    usual.declaration = true;
    top = top.next_sibling();
  }
  if (top.next_sibling() || !isStartTag(top, "soap:Envelope",
                                        {{"xmlns:soap", kSoapNamespace},
                                         {"xmlns:xsi", kXsiNamespace},
                                         {"xmlns:xsd", kXsdNamespace}})) {
    return std::nullopt;
  }
  const pugi::xml_node body = onlyChild(top);
  const pugi::xml_node answer = onlyChild(body);
  const pugi::xml_node result = onlyChild(answer);
  const pugi::xml_node text = onlyChild(result);
  if (!isStartTag(body, "soap:Body", {}) ||
      !isStartTag(answer, std::string(op) + "Response", {{"xmlns", kRouteNamespace}}) ||
      !isStartTag(result, std::string(op) + "Result", {}) || text.type() != pugi::node_pcdata) {
    return std::nullopt;
  }
  usual.dataSet = text.value();
  return usual;
}

// Bytes looked at in one block, a fixed number, so that the loop compiles to vector
// instructions; each block looks two bytes past its end.
constexpr std::size_t kBlock = 128;

// What one pass over the data set found.
struct DataSetLook {
  // A "<" followed by "?", "s" or the operation's initial, with or without a "/" between: only
  // then can one of the tags the steps replace be in it.
  bool tagLike = false;
  std::size_t ampersands = 0;
};

inline std::uint8_t tagLikeAt(unsigned char c, unsigned char next, unsigned char after,
                              unsigned char initial) {
  return static_cast<std::uint8_t>((c == '<') &
                                   ((next == '?') | (next == 's') | (next == initial) |
                                    ((next == '/') & ((after == 's') | (after == initial)))));
}

DataSetLook lookAt(std::string_view text, char initial) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const auto first = static_cast<unsigned char>(initial);
  const std::size_t size = text.size();
  DataSetLook look;
  std::uint8_t tagLike = 0;
  std::size_t i = 0;
  for (; i + kBlock + 2 <= size; i += kBlock) {
    const unsigned char* block = bytes + i;
    std::uint8_t ampersands = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
      tagLike |= tagLikeAt(block[k], block[k + 1], block[k + 2], first);
      ampersands += block[k] == '&';
    }
    look.ampersands += ampersands;
  }
  for (; i < size; ++i) {
    const unsigned char next = i + 1 < size ? bytes[i + 1] : 0;
    const unsigned char after = i + 2 < size ? bytes[i + 2] : 0;
    tagLike |= tagLikeAt(bytes[i], next, after, first);
    look.ampersands += bytes[i] == '&';
  }
  look.tagLike = tagLike;
  return look;
}

// True when the steps would replace something inside the data set text: the version-only
// declaration, the envelope's tags or the operation's tags. The exact search runs only after a
// hit of the quick look.
bool holdsReplacedTag(std::string_view text, std::string_view op, const DataSetLook& look) {
  if (!look.tagLike) return false;
  if (text.find(kWrittenDeclaration) != std::string_view::npos) return true;
  for (std::string_view tag : kEnvelopeTags) {
    if (text.find(tag) != std::string_view::npos) return true;
  }
  for (const std::string& tag : unwrapperTags(op)) {
    if (text.find(tag) != std::string_view::npos) return true;
  }
  return false;
}

// Writes the data set with every "&" as "&amp;" at out; returns the position after it. The text
// may lie further on in the same memory, as long as it never lies behind what is written.
char* writeEscapingAmpersands(char* out, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
       amp = text.find('&', start)) {
    std::memmove(out, text.data() + start, amp - start);
    out += amp - start;
    std::memcpy(out, "&amp;", 5);
    out += 5;
    start = amp + 1;
  }
  std::memmove(out, text.data() + start, text.size() - start);
  return out + (text.size() - start);
}

// The steps' text of the usual reply, made in one pass from the tree: the declaration as the
// clean-up rewrites it and the CR LF the serialization writes after it, the data set with every
// "&" written as "&amp;" (the serialization escapes "&", "<" and ">"; the clean-up turns only
// "&lt;" and "&gt;" back), and the CR LF after the envelope. It is written into the memory of
// the reply's text, which has room (the reply wrote the data set escaped, and the envelope
// around it is longer than the declaration), so that a data set of megabytes takes no new
// memory. Empties the reply.
std::string takeUsualDataSet(XmlDocument& reply, const UsualReply& usual, std::size_t ampersands) {
  const std::string_view dataSet = usual.dataSet;
  const std::string_view declaration =
      usual.declaration ? std::string_view(kCleanDeclarationLine) : std::string_view();
  const std::size_t size = declaration.size() + dataSet.size() + 4 * ampersands + 2;
  const std::string_view parsed = reply.parsedText();
  const auto start = reinterpret_cast<std::uintptr_t>(parsed.data());
  const auto at = reinterpret_cast<std::uintptr_t>(dataSet.data());
  const bool inParsedText =
      !parsed.empty() && at >= start && at + dataSet.size() <= start + parsed.size();
  std::string text;
  std::string_view source = dataSet;
  if (inParsedText && parsed.size() >= size) {
    std::size_t from = at - start;
    text = reply.takeParsedText();
    // Writing from the start must never overtake the data set still to be read: it stays where
    // it is when what goes in front of it and the "&amp;"s fit before it, else it goes to the
    // end first.
    if (declaration.size() + 4 * ampersands > from) {
      std::memmove(text.data() + text.size() - dataSet.size(), text.data() + from, dataSet.size());
      from = text.size() - dataSet.size();
    }
    source = std::string_view(text.data() + from, dataSet.size());
  } else {
    text.resize(size);
  }
  char* out = text.data();
  if (!declaration.empty()) std::memmove(out, declaration.data(), declaration.size());
  out += declaration.size();
  if (ampersands == 0) {
    std::memmove(out, source.data(), source.size());
    out += source.size();
  } else {
    out = writeEscapingAmpersands(out, source);
  }
  std::memcpy(out, "\r\n", 2);
  text.resize(size);
  reply.clear();
  return text;
}

}  // namespace

std::string CleanResponseXML(std::string_view text) {
  std::string out(text);
  cleanInPlace(out);
  return out;
}

std::string StripSOAPEnvelope(std::string_view text) {
  std::string out(text);
  stripInPlace(out);
  return out;
}

bool parseReply(XmlDocument& reply, std::string bytes) {
  const bool parsed = reply.loadBytesInPlace(std::move(bytes));
  reply.settleAsReparsed();
  return parsed;
}

std::string takeReplyText(XmlDocument& reply) {
  std::string text = reply.xml();
  reply.clear();
  cleanInPlace(text);
  stripInPlace(text);
  return text;
}

std::string takeDataSetText(XmlDocument& reply, std::string_view operation) {
  if (const std::optional<UsualReply> usual = usualReply(reply, operation); usual) {
    const DataSetLook look = lookAt(usual->dataSet, operation.empty() ? '\0' : operation[0]);
    if (!holdsReplacedTag(usual->dataSet, operation, look)) {
      return takeUsualDataSet(reply, *usual, look.ampersands);
    }
  }
  std::string text = takeReplyText(reply);
  unwrapInPlace(text, operation);
  return text;
}

}  // namespace tarvine::service
