#include "service/Activity.h"

#include "service/RouteOperations.h"

namespace tarvine::service {

std::string activityText(std::string_view operation, const ActivityContext& context) {
  const std::string load = std::to_string(context.load);
  const std::string ellipsis = "\u2026";
  if (operation == kGetOutgoingLoadCenterIDAndCenter.name) {
    return "Loading the centers of load " + load + ellipsis;
  }
  if (operation == kGetOutgoingLoadDescriptionRoute.name) {
    return "Loading the route of load " + load + ellipsis;
  }
  if (operation == kGetOutgoingLoadAllOrders.name) {
    if (context.saveCheck) return "Checking load " + load + " for other changes" + ellipsis;
    return "Loading the orders of load " + load + ellipsis;
  }
  if (operation == kGetOutgoingLoadBasicTotal.name) {
    return "Loading the totals of load " + load + ellipsis;
  }
  if (operation == kUpdateOutgoingLoadOrder.name) {
    return "Saving " + std::to_string(context.changes) +
           (context.changes == 1 ? " change" : " changes") + ellipsis;
  }
  if (operation == kIsPOFound.name) return "Checking P.O. " + context.order + ellipsis;
  if (operation == kAddAstrayPO.name) {
    return "Adding P.O. " + context.order + " to load " + load + ellipsis;
  }
  return "Waiting for the route service" + ellipsis;
}

}  // namespace tarvine::service
