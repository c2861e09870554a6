#pragma once
// Texts the tests build, and outputs made stable before they are compared.

#include <regex>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace tarvine::test {

// `piece` written `times` times in a row.
inline std::string repeated(std::string_view piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// The text with libcurl's "after 12 ms" / "after 1502 milliseconds" written with N: how long a
// failed attempt took varies from run to run.
inline std::string withoutElapsedTime(const std::string& text) {
  static const std::regex elapsed("after [0-9]+ (ms|milliseconds)");
  return std::regex_replace(text, elapsed, "after N $1");
}

// How often `piece` stands in the text, counted without overlaps.
inline std::size_t occurrences(std::string_view text, std::string_view piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string_view::npos; at = text.find(piece, at + 1))
    ++count;
  return count;
}

// A script written on one line with "; " between its lines, as the lines a host reads.
inline std::string scriptLines(const std::string& script) {
  return text::replaceAll(script, "; ", "\n");
}

}  // namespace tarvine::test
