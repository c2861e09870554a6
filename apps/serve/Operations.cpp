#include "Operations.h"

#include <array>
#include <utility>

#include "QueryOperations.h"
#include "UpdateOperations.h"

namespace tarvine::serve {

OperationHandler findOperation(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, OperationHandler>, 7> kOperations{{
      {"GetOutgoingLoadCenterIDAndCenter", &getOutgoingLoadCenterIDAndCenter},
      {"GetOutgoingLoadDescriptionRoute", &getOutgoingLoadDescriptionRoute},
      {"GetOutgoingLoadAllOrders", &getOutgoingLoadAllOrders},
      {"GetOutgoingLoadBasicTotal", &getOutgoingLoadBasicTotal},
      {"IsPOFound", &isPOFound},
      {"UpdateOutgoingLoadOrder", &updateOutgoingLoadOrder},
      {"AddAstrayPO", &addAstrayPO},
  }};
  for (const auto& [operationName, handler] : kOperations) {
    if (operationName == name) return handler;
  }
  return nullptr;
}

}  // namespace tarvine::serve
