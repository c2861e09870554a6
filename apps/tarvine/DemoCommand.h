#pragma once
// `tarvine demo`: the reference route service with the demo data on a free loopback port, and
// the picking window on the demo load.

#include <CLI/CLI.hpp>
#include <string>

#include "LimitOptions.h"

namespace tarvine::app {

// The demo database: $XDG_DATA_HOME/tarvine/demo.db, or ~/.local/share/tarvine/demo.db when
// XDG_DATA_HOME is unset or not absolute. Throws std::runtime_error when neither that nor HOME
// is set.
std::string demoDatabasePath();

class DemoCommand {
 public:
  // Adds the subcommand and its options to the application.
  explicit DemoCommand(CLI::App& app);
  bool parsed() const { return command_->parsed(); }
  // Starts the service, runs the window until it is closed (or writes the screenshot), stops
  // the service; returns the exit status.
  int run();

 private:
  CLI::App* command_;
  std::string dbPath_;
  std::string screenshot_;
  int load_;
  LimitOptions limits_;
};

}  // namespace tarvine::app
