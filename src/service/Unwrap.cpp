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

std::string UnwrapGetOutgoingLoadAllOrders(std::string_view text) {
  return unwrapResponse(text, kGetOutgoingLoadAllOrders.name);
}

std::string UnwrapGetOutgoingLoadBasicTotal(std::string_view text) {
  return unwrapResponse(text, kGetOutgoingLoadBasicTotal.name);
}

std::string UnwrapGetOutgoingLoadCenterIDAndCenter(std::string_view text) {
  return unwrapResponse(text, kGetOutgoingLoadCenterIDAndCenter.name);
}

std::string UnwrapGetOutgoingLoadDescriptionRoute(std::string_view text) {
  return unwrapResponse(text, kGetOutgoingLoadDescriptionRoute.name);
}

std::string UnwrapIsPOFound(std::string_view text) {
  return unwrapResponse(text, kIsPOFound.name);
}

}  // namespace tarvine::service
