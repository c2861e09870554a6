#pragma once
// `tarvine sheet`: opens a load without a window and writes its load sheet as CSV or PDF.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "LimitOptions.h"

namespace tarvine::app {

class SheetCommand {
 public:
  // Adds the subcommand and its options to the application.
  explicit SheetCommand(CLI::App& app);
  bool parsed() const { return command_->parsed(); }
  // Writes the sheet; returns 0, or 1 when the load could not be shown or the file written.
  int run();

 private:
  CLI::App* command_;
  std::string server_;
  std::string facility_;
  std::vector<std::string> person_;
  std::int32_t load_ = 0;
  std::string csv_;
  std::string pdf_;
  std::string paper_;
  LimitOptions limits_;
};

}  // namespace tarvine::app
