#pragma once
// Escaping of text values written into request bodies.

#include <string>
#include <string_view>

namespace tarvine::service {

// The text with "&", "<" and ">" written as "&amp;", "&lt;" and "&gt;"; quotes and everything
// else unchanged, so a value without those three characters comes back as it is. Never fails.
std::string escapeXmlText(std::string_view text);
// Appends escapeXmlText(text) to `out` without a string of its own. Never fails.
void appendEscapedXmlText(std::string& out, std::string_view text);

}  // namespace tarvine::service
