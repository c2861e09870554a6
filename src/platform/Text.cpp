#include "platform/Text.h"

namespace tarvine::text {

std::string replaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement) {
  std::string out;
  if (search.empty()) return std::string(text);
  out.reserve(text.size());
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

void replaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement) {
  if (search.empty() || text.find(search) == std::string::npos) return;
  text = replaceAll(text, search, replacement);
}

}  // namespace tarvine::text
