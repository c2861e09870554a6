#include "platform/Text.h"

#include <string.h>

#include <cstring>

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

std::string escapeControls(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                    (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
    if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    } else if (c1) {
      const auto code = static_cast<unsigned char>(text[++i]);
      out += {'\\', 'u', '0', '0', kHex[code >> 4], kHex[code & 0xF]};
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace tarvine::text
