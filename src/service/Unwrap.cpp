#include "service/Unwrap.h"

#include "platform/Text.h"
#include "service/RouteOperations.h"

namespace tarvine::service {

std::array<std::string, 4> unwrapperTags(std::string_view op) {
  const std::string name(op);
  return {"<" + name + "Response xmlns=\"" + std::string(kRouteNamespace) + "\">",
          "<" + name + "Result>", "</" + name + "Result>", "</" + name + "Response>"};
}

void unwrapInPlace(std::string& text, std::string_view op) {
  if (text.empty()) return;
  for (const std::string& tag : unwrapperTags(op)) text::replaceAllInPlace(text, tag, "");
}

std::string unwrapResponse(std::string_view text, std::string_view op) {
  std::string out(text);
  unwrapInPlace(out, op);
  return out;
}

}  // namespace tarvine::service
