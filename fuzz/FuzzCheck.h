#pragma once
// What every fuzz target shares: the input as text, and a check that stops the run with a
// message when a property does not hold.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tarvine::fuzz {

// The fuzzer's bytes as text.
inline std::string_view inputText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Stops the run (a crash for libFuzzer) when the property does not hold.
inline void check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property violated: %s\n", property);
  std::abort();
}

// Replaces every occurrence of search from the start, the inserted text not searched again: the
// plain definition the project's faster text operations must agree with.
inline std::string plainReplace(std::string_view text, std::string_view search,
                                std::string_view replacement) {
  if (search.empty()) return std::string(text);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(search); at != std::string_view::npos;
       at = text.find(search, from)) {
    out.append(text.substr(from, at - from));
    out.append(replacement);
    from = at + search.size();
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace tarvine::fuzz
