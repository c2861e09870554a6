#pragma once
// `tarvine script [FILE]`: runs a script of commands against one control with no window.

#include <string>

namespace tarvine::app {

// Reads commands from the file, or from standard input when the path is empty or "-"; prints
// JSON lines on standard output. Returns the exit status (0, 2 for a bad line, 1 when the file
// cannot be read).
int runScriptCommand(const std::string& path);

}  // namespace tarvine::app
