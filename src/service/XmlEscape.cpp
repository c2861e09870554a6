#include "service/XmlEscape.h"

namespace tarvine::service {

void appendEscapedXmlText(std::string& out, std::string_view text) {
  while (!text.empty()) {
    const std::size_t special = text.find_first_of("&<>");
    out.append(text.substr(0, special));
    if (special == std::string_view::npos) return;
    out += text[special] == '&' ? "&amp;" : text[special] == '<' ? "&lt;" : "&gt;";
    text.remove_prefix(special + 1);
  }
}

std::string escapeXmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendEscapedXmlText(out, text);
  return out;
}

}  // namespace tarvine::service
