#pragma once
// How `tarvine` answers a command line it cannot use: one line on stderr that names the command
// and the problem, a hint where to read more, and exit status 2.

#include <CLI/CLI.hpp>
#include <string>

namespace tarvine::app {

// The exit status of every usage error.
inline constexpr int kUsageError = 2;

// Answers a parse error of the application: help and version go to stdout with status 0;
// anything else is a usage error for the deepest subcommand given. Returns the exit status.
int answerParseError(CLI::App& app, const CLI::ParseError& error);

// Writes "tarvine COMMAND: MESSAGE; see HINT" to stderr (HINT defaults to the command's
// --help) and returns kUsageError. Never fails.
int reportUsageError(const std::string& command, const std::string& message,
                     const std::string& hint = "");

}  // namespace tarvine::app
