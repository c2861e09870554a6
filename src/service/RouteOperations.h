#pragma once
// The route service: its namespace and the seven operations the control and the astray form use.

#include <array>
#include <string_view>

namespace tarvine::service {

// Default namespace of every operation element; also the start of every SOAPAction.
inline constexpr std::string_view kRouteNamespace =
    "http://tarvine.example/VOZARouteLocations/Service1";

// Path of the route service below the server text a host gives (scheme and host part).
inline constexpr std::string_view kServicePath = "/WebServices/VOZAWebservice/VOZAWebservice.asmx";

// An operation of the route service: its name, and whether its reply goes unread.
struct RouteOperation {
  std::string_view name;
  bool updateOnly;
};

// The five queries, answered with a serialized data set.
inline constexpr RouteOperation kGetOutgoingLoadAllOrders{"GetOutgoingLoadAllOrders", false};
inline constexpr RouteOperation kGetOutgoingLoadBasicTotal{"GetOutgoingLoadBasicTotal", false};
inline constexpr RouteOperation kGetOutgoingLoadCenterIDAndCenter{
    "GetOutgoingLoadCenterIDAndCenter", false};
inline constexpr RouteOperation kGetOutgoingLoadDescriptionRoute{"GetOutgoingLoadDescriptionRoute",
                                                                 false};
inline constexpr RouteOperation kIsPOFound{"IsPOFound", false};
// The two updates, whose replies are never read.
inline constexpr RouteOperation kUpdateOutgoingLoadOrder{"UpdateOutgoingLoadOrder", true};
inline constexpr RouteOperation kAddAstrayPO{"AddAstrayPO", true};

// All seven, queries first.
inline constexpr std::array<RouteOperation, 7> kRouteOperations{kGetOutgoingLoadAllOrders,
                                                                kGetOutgoingLoadBasicTotal,
                                                                kGetOutgoingLoadCenterIDAndCenter,
                                                                kGetOutgoingLoadDescriptionRoute,
                                                                kIsPOFound,
                                                                kUpdateOutgoingLoadOrder,
                                                                kAddAstrayPO};

}  // namespace tarvine::service
