#include "RequestShape.h"

#include <cstddef>
#include <string>

#include "RequestLimits.h"
#include "SoapFault.h"

namespace tarvine::serve {
namespace {

constexpr std::size_t kEnd = std::string_view::npos;

// The position after the closing text of a markup that starts at `from`, or kEnd.
std::size_t after(std::string_view body, std::size_t from, std::string_view closing) {
  const std::size_t found = body.find(closing, from);
  return found == kEnd ? kEnd : found + closing.size();
}

// Walks a start tag from its "<" to its ">", quoted values included; counts its attributes by
// their "=" outside quotes. Returns the position of the ">" (or the body's size).
std::size_t startTagEnd(std::string_view body, std::size_t at, std::size_t& attributes) {
  char quote = 0;
  for (std::size_t i = at + 1; i < body.size(); ++i) {
    const char c = body[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '=') {
      ++attributes;
    } else if (c == '>') {
      return i;
    }
  }
  return body.size();
}

}  // namespace

void checkRequestShape(std::string_view body) {
  std::size_t elements = 0;
  std::size_t attributes = 0;
  int depth = 0;
  std::size_t at = body.find('<');
  while (at != kEnd && at + 1 < body.size()) {
    const std::string_view rest = body.substr(at);
    std::size_t next;
    if (rest.starts_with("<!--")) {
      next = after(body, at + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      next = after(body, at + 9, "]]>");
    } else if (rest.starts_with("<!")) {
      throw clientFault("the request holds a declaration (\"<!\"), which SOAP does not allow");
    } else if (rest.starts_with("<?")) {
      next = after(body, at + 2, "?>");
    } else if (rest[1] == '/') {
      if (depth > 0) --depth;
      next = after(body, at, ">");
    } else {
      const std::size_t end = startTagEnd(body, at, attributes);
      if (++elements > kMaxRequestElements) {
        throw clientFault("the request holds more than " + std::to_string(kMaxRequestElements) +
                          " elements");
      }
      if (attributes > kMaxRequestAttributes) {
        throw clientFault("the request holds more than " + std::to_string(kMaxRequestAttributes) +
                          " attributes");
      }
      const bool empty = end < body.size() && body[end - 1] == '/';
      if (!empty && ++depth > kMaxRequestDepth) {
        throw clientFault("the request nests elements deeper than " +
                          std::to_string(kMaxRequestDepth) + " levels");
      }
      next = end;
    }
    at = next == kEnd ? kEnd : body.find('<', next);
  }
}

}  // namespace tarvine::serve
