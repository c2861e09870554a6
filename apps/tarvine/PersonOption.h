#pragma once
// The --person option of the commands that open a control: the person id and person type, two
// 16-bit numbers as the control takes them.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace tarvine::app {

// Adds the option --person ID TYPE to the command; a value that is not a 16-bit number is a
// usage error. Returns the option.
CLI::Option* addPersonOption(CLI::App& command, std::vector<std::string>& person);

}  // namespace tarvine::app
