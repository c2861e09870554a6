#pragma once
// `tarvine script [FILE]`: runs a script of commands against one control with no window.

#include <CLI/CLI.hpp>
#include <string>

namespace tarvine::app {

class ScriptCommand {
 public:
  // Adds the subcommand and its options to the application.
  explicit ScriptCommand(CLI::App& app);
  bool parsed() const { return command_->parsed(); }
  // Reads commands from the file, or from standard input when the path is empty or "-"; prints
  // JSON lines on standard output. Returns the exit status: 0; 2 after a line that cannot be
  // run (also told on stderr); 1 when the file cannot be read.
  int run();

 private:
  CLI::App* command_;
  std::string path_;
};

}  // namespace tarvine::app
