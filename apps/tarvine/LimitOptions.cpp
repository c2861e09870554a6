#include "LimitOptions.h"

namespace tarvine::app {

void addLimitOptions(CLI::App& command, LimitOptions& options) {
  options.weightOption =
      command.add_option("--max-weight", options.weight, "Trailer's weight limit in pounds")
          ->check(CLI::PositiveNumber);
  auto* cube = command.add_option("--max-cube", options.cube, "Trailer's cube in cubic feet")
                   ->check(CLI::PositiveNumber);
  options.cartonsOption =
      command.add_option("--max-cartons", options.cartons, "Trailer's carton limit (optional)")
          ->check(CLI::Range(1, INT32_MAX));
  options.weightOption->needs(cube);
  cube->needs(options.weightOption);
  options.cartonsOption->needs(options.weightOption);
}

std::optional<tools::TrailerLimits> givenLimits(const LimitOptions& options) {
  if (!options.weightOption || options.weightOption->count() == 0) return std::nullopt;
  tools::TrailerLimits limits{options.weight, options.cube, std::nullopt};
  if (options.cartonsOption->count() != 0) limits.cartons = options.cartons;
  return limits;
}

}  // namespace tarvine::app
