#pragma once
// `tarvine host`: the host window against any route service.

#include <CLI/CLI.hpp>

#include "LimitOptions.h"
#include "WindowRun.h"

namespace tarvine::app {

class HostCommand {
 public:
  // Adds the subcommand and its options to the application.
  explicit HostCommand(CLI::App& app);
  bool parsed() const { return command_->parsed(); }
  // Runs the window until it is closed (or writes the screenshot); returns the exit status.
  int run();

 private:
  CLI::App* command_;
  HostOptions options_;
  std::vector<std::string> person_;
  std::int32_t load_ = 0;
  LimitOptions limits_;
};

}  // namespace tarvine::app
