#pragma once
// `tarvine serve`: the reference route service on loopback.

#include <CLI/CLI.hpp>

#include "RouteService.h"

namespace tarvine::app {

class ServeCommand {
 public:
  // Adds the subcommand and its options to the application.
  explicit ServeCommand(CLI::App& app);
  bool parsed() const { return command_->parsed(); }
  // Runs the service until SIGINT or SIGTERM; returns the exit status.
  int run();

 private:
  CLI::App* command_;
  serve::ServeOptions options_;
  int generateLoad_ = 0;
  std::string logFormat_ = "text";
};

}  // namespace tarvine::app
