#include "service/Unwrap.h"

#include "platform/Text.h"
#include "service/RouteOperations.h"

namespace tarvine::service {

std::string unwrapResponse(std::string_view text, std::string_view op) {
  if (text.empty()) return {};
  const std::string name(op);
  const std::string responseStart =
      "<" + name + "Response xmlns=\"" + std::string(kRouteNamespace) + "\">";
  std::string out(text);
  text::replaceAllInPlace(out, responseStart, "");
  text::replaceAllInPlace(out, "<" + name + "Result>", "");
  text::replaceAllInPlace(out, "</" + name + "Result>", "");
  text::replaceAllInPlace(out, "</" + name + "Response>", "");
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
