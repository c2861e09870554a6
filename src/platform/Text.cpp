#include "platform/Text.h"

#include <string.h>

#include <charconv>
#include <cstring>
#include <utility>

namespace tarvine::text {
namespace {

// Position of the first occurrence of search in text at or after from, or npos. Long search
// texts go to memmem, which skips ahead instead of stopping at every match of the first
// character (replies are full of "<" and "&").
std::size_t findFrom(std::string_view text, std::string_view search, std::size_t from) {
  constexpr std::size_t kSkippingSearch = 8;
  if (search.size() < kSkippingSearch || from > text.size()) return text.find(search, from);
  const void* hit = memmem(text.data() + from, text.size() - from, search.data(), search.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
             : std::string_view::npos;
}

}  // namespace

std::string replaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement) {
  std::string out;
  if (search.empty()) return std::string(text);
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = findFrom(text, search, 0); at != std::string_view::npos;
       at = findFrom(text, search, from)) {
    out.append(text.substr(from, at - from));
    out.append(replacement);
    from = at + search.size();
  }
  out.append(text.substr(from));
  return out;
}

void replaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement) {
  if (search.empty()) return;
  std::size_t at = findFrom(text, search, 0);
  if (at == std::string::npos) return;
  if (replacement.size() > search.size()) {
    text = replaceAll(text, search, replacement);
    return;
  }
  // The text only shrinks: matches are compacted within the same buffer in one pass. The search
  // goes on in the part not yet moved, so the result equals replaceAll's.
  char* const data = text.data();
  const std::string_view source(text);
  std::size_t write = at;
  std::size_t from = at;
  while (at != std::string_view::npos) {
    std::memmove(data + write, data + from, at - from);
    write += at - from;
    std::memcpy(data + write, replacement.data(), replacement.size());
    write += replacement.size();
    from = at + search.size();
    at = findFrom(source, search, from);
  }
  std::memmove(data + write, data + from, source.size() - from);
  text.resize(write + (source.size() - from));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

namespace {

// Appends text with "&", "<" and `third` (">" in texts, a double quote in attribute values)
// replaced by their entity references. Serialized texts run to megabytes with few such bytes:
// blocks of sixteen bytes are looked at with comparisons the compiler makes vector instructions.
void appendEscaped(std::string& out, std::string_view text, char third) {
  constexpr std::size_t kBlock = 16;
  const auto special = [third](char c) { return (c == '&') | (c == '<') | (c == third); };
  std::size_t start = 0;
  const auto replace = [&](std::size_t pos) {
    const char c = text[pos];
    out.append(text, start, pos - start);
    out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&quot;";
    start = pos + 1;
  };
  std::size_t pos = 0;
  for (; pos + kBlock <= text.size(); pos += kBlock) {
    bool any = false;
    for (std::size_t k = 0; k < kBlock; ++k) any |= special(text[pos + k]);
    if (!any) continue;
    for (std::size_t k = 0; k < kBlock; ++k) {
      if (special(text[pos + k])) replace(pos + k);
    }
  }
  for (; pos < text.size(); ++pos) {
    if (special(text[pos])) replace(pos);
  }
  out.append(text, start, std::string_view::npos);
}

}  // namespace

void appendEscapedXmlText(std::string& out, std::string_view text) {
  appendEscaped(out, text, '>');
}

void appendEscapedXmlAttribute(std::string& out, std::string_view text) {
  appendEscaped(out, text, '"');
}

std::string escapeXmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendEscapedXmlText(out, text);
  return out;
}

namespace {

// The longest entity reference name decoded ("#x10FFFF"), so that a text of many "&" without
// ";" is still read in linear time.
constexpr std::size_t kLongestReference = 8;

// Appends what the reference of that name (between "&" and ";") stands for; false when the name
// is not one.
bool appendReference(std::string& out, std::string_view name) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [entity, character] : kNamed) {
    if (name == entity) return out += character, true;
  }
  const std::optional<std::uint32_t> code = characterReference(name);
  if (!code) return false;
  char bytes[4];
  out.append(bytes, writeUtf8(*code, bytes));
  return true;
}

}  // namespace

std::size_t writeUtf8(std::uint32_t code, char* out) {
  if (code < 0x80) {
    *out = static_cast<char>(code);
    return 1;
  }
  static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  const int tail = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
  *out++ = static_cast<char>(kLead[tail] | (code >> (6 * tail)));
  for (int k = tail - 1; k >= 0; --k)
    *out++ = static_cast<char>(0x80u | ((code >> (6 * k)) & 0x3Fu));
  return static_cast<std::size_t>(tail) + 1;
}

std::optional<std::uint32_t> characterReference(std::string_view name) {
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  const bool hex = name[1] == 'x';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  std::uint32_t code = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || code == 0 ||
      code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return std::nullopt;
  }
  return code;
}

std::string unescapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t amp = text.find('&'); amp != std::string_view::npos; amp = text.find('&', at)) {
    out.append(text.substr(at, amp - at));
    const std::size_t end = text.substr(0, amp + 2 + kLongestReference).find(';', amp + 1);
    if (end != std::string_view::npos &&
        appendReference(out, text.substr(amp + 1, end - amp - 1))) {
      at = end + 1;
    } else {
      out += '&';
      at = amp + 1;
    }
  }
  out.append(text.substr(at));
  return out;
}

Utf8Char decodeUtf8(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07u;
  } else {
    return {};
  }
  if (at + length > text.size()) return {};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0u) != 0x80u) return {};
    code = (code << 6) | (byte(k) & 0x3Fu);
  }
  const std::uint32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  if (code < shortest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return {};
  return {code, length};
}

std::string_view cutAtCharacter(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t cut = maxBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

namespace {

constexpr char kHex[] = "0123456789abcdef";

bool breaksLines(std::uint32_t code) {
  return (code >= 0x80 && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

void appendUnicodeEscape(std::string& out, std::uint32_t code) {
  out += {'\\',
          'u',
          kHex[(code >> 12) & 0xF],
          kHex[(code >> 8) & 0xF],
          kHex[(code >> 4) & 0xF],
          kHex[code & 0xF]};
}

// Appends the character at text[i] beyond ASCII, escaped when it breaks lines (and, with
// escapeBadBytes, as \xNN when it is not well-formed); returns the bytes it took.
std::size_t appendBeyondAscii(std::string& out, std::string_view text, std::size_t i,
                              bool escapeBadBytes) {
  const Utf8Char c = decodeUtf8(text, i);
  if (c.length == 0) {
    if (escapeBadBytes) {
      const auto byte = static_cast<unsigned char>(text[i]);
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    } else {
      out += text[i];
    }
    return 1;
  }
  if (breaksLines(c.code)) {
    appendUnicodeEscape(out, c.code);
  } else {
    out.append(text.substr(i, c.length));
  }
  return c.length;
}

}  // namespace

std::string escapeForLog(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      i += appendBeyondAscii(out, text, i, true);
      continue;
    }
    if (byte == '\\') {
      out += "\\\\";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    } else {
      out += text[i];
    }
    ++i;
  }
  return out;
}

std::string escapeUnicodeBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      out += text[i++];
    } else {
      i += appendBeyondAscii(out, text, i, false);
    }
  }
  return out;
}

}  // namespace tarvine::text
