#include "tools/TrailerLimits.h"

#include <cmath>

namespace tarvine::tools {

std::optional<std::string> limitsProblem(const TrailerLimits& limits) {
  if (!std::isfinite(limits.weight) || limits.weight <= 0) {
    return "the weight limit must be a number of pounds above 0";
  }
  if (!std::isfinite(limits.cube) || limits.cube <= 0) {
    return "the cube limit must be a number of cubic feet above 0";
  }
  if (limits.cartons && *limits.cartons < 1) return "the carton limit must be 1 or more";
  return std::nullopt;
}

}  // namespace tarvine::tools
