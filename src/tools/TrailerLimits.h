#pragma once
// What the host says a trailer takes.

#include <cstdint>
#include <optional>
#include <string>

namespace tarvine::tools {

struct TrailerLimits {
  double weight = 0;                    // pounds
  double cube = 0;                      // cubic feet
  std::optional<std::int32_t> cartons;  // none: cartons are not limited

  // Equal when all three limits are.
  bool operator==(const TrailerLimits&) const = default;
};

// How far a figure may pass a limit and still be within it: a sum of doubles that fills a
// limit exactly can end a rounding error above it.
inline constexpr double kLimitSlack = 1e-6;

// True when the figure passes the limit by more than kLimitSlack.
inline bool overLimit(double figure, double limit) {
  return figure > limit + kLimitSlack;
}

// Why the limits cannot be used (a weight or cube that is not a positive finite number, a
// carton limit below 1), or nothing when they can.
std::optional<std::string> limitsProblem(const TrailerLimits& limits);

}  // namespace tarvine::tools
