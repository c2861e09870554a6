#pragma once
// Removal of a query operation's response and result tags from a reply whose SOAP envelope the
// transport has already removed, leaving the data set text.

#include <array>
#include <string>
#include <string_view>

namespace tarvine::service {

// Removes, in this order and each everywhere, <OpResponse xmlns="route namespace">, <OpResult>,
// </OpResult> and </OpResponse> for the operation named op. Tags written any other way stay.
// Empty text gives empty text. Never fails.
std::string unwrapResponse(std::string_view text, std::string_view op);

// unwrapResponse() on the text where it is.
void unwrapInPlace(std::string& text, std::string_view op);

// The four tags unwrapResponse() removes for op, in the order it removes them.
std::array<std::string, 4> unwrapperTags(std::string_view op);

}  // namespace tarvine::service
