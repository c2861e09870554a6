#pragma once
// Plain text operations shared by the layers above.

#include <string>
#include <string_view>

namespace tarvine::text {

// Replaces every occurrence of search, scanning from the start; inserted text is not searched
// again (the platform's Replace). An empty search text leaves the text as it is. Linear.
std::string replaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement);

// In-place form of replaceAll().
void replaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement);

}  // namespace tarvine::text
