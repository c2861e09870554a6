#include "UsageError.h"

#include <iostream>

namespace tarvine::app {
namespace {

// The subcommand the user got furthest into: the application itself when none was given.
CLI::App& deepestGiven(CLI::App& app) {
  CLI::App* current = &app;
  while (!current->get_subcommands().empty()) current = current->get_subcommands().back();
  return *current;
}

// "tarvine" followed by the names of the subcommands down to this one.
std::string commandName(const CLI::App& app) {
  const CLI::App* parent = app.get_parent();
  return parent ? commandName(*parent) + " " + app.get_name() : "tarvine";
}

// CLI11's message on one line, starting in lower case as the rest of ours do.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'a' && text[1] <= 'z') {
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  }
  return text;
}

std::string describe(const CLI::App& given, const CLI::ParseError& error) {
  // Arguments that no option or subcommand took: name the first one.
  const std::vector<std::string> extras = given.remaining();
  if (!extras.empty()) {
    const std::string& first = extras.front();
    if (first.size() > 1 && first[0] == '-') return "unknown option '" + first + "'";
    if (!given.get_parent()) return "unknown command '" + first + "'";
    return "unexpected argument '" + first + "'";
  }
  if (!given.get_parent() && given.get_subcommands().empty() &&
      error.get_name() == "RequiredError" && given.get_require_subcommand_min() > 0) {
    return "no command given";
  }
  return oneLine(error.what());
}

}  // namespace

int reportUsageError(const std::string& command, const std::string& message,
                     const std::string& hint) {
  std::cerr << command << ": " << message << "; see " << (hint.empty() ? command + " --help" : hint)
            << '\n'
            << std::flush;
  return kUsageError;
}

int answerParseError(CLI::App& app, const CLI::ParseError& error) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
  CLI::App& given = deepestGiven(app);
  return reportUsageError(commandName(given), describe(given, error));
}

}  // namespace tarvine::app
