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

// The text with its control characters written as visible escapes, so that text from outside
// cannot break or forge a log line: CR, LF and tab as \r \n \t, the other ASCII controls and
// DEL as \xNN, the C1 controls of UTF-8 (U+0080 to U+009F) as \uNNNN. Everything else, a
// backslash included, stays as it is.
std::string escapeControls(std::string_view text);

}  // namespace tarvine::text
