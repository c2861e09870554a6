#pragma once
// The trailer's limits on the command line: --max-weight LB --max-cube CUFT [--max-cartons N].

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>

#include "tools/TrailerLimits.h"

namespace tarvine::app {

struct LimitOptions {
  double weight = 0;
  double cube = 0;
  std::int32_t cartons = 0;
  CLI::Option* weightOption = nullptr;
  CLI::Option* cartonsOption = nullptr;
};

// Adds the three options to a subcommand; weight and cube go together, cartons needs them.
void addLimitOptions(CLI::App& command, LimitOptions& options);

// The limits given on the command line, or nothing when none were.
std::optional<tools::TrailerLimits> givenLimits(const LimitOptions& options);

}  // namespace tarvine::app
