// The tarvine command as a user meets it: what each kind of mistake prints and its exit status
// (2 and one line with a hint for a usage error, 1 for a run-time failure), and --version, in
// tests/golden/app/command-line.txt.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "Golden.h"
#include "RunCommand.h"
#include "platform/Text.h"

namespace tarvine::app::test {
namespace {

// A help text as its first line and its options' names: CLI11 lays out the rest.
std::string helpNames(const std::string& output) {
  std::istringstream lines(output);
  std::string kept, line;
  std::getline(lines, kept);
  kept += "\noptions:";
  while (std::getline(lines, line)) {
    if (line.starts_with("  -")) kept += ' ' + line.substr(2, line.find(' ', 2) - 2);
  }
  return kept + '\n';
}

TEST(CommandLine, AnswersEachRunWithItsStatusAndWhatWentWrong) {
  const std::pair<std::string, std::string> runs[] = {
      {"--version", ""},
      {"-V", ""},
      {"serve --help", ""},
      {"", ""},
      {"bogus", ""},
      {"serve --bogus", ""},
      {"serve --port 70000", ""},
      {"host --facility F --person 7 2", ""},
      {"host --server http://127.0.0.1:9 --facility F --person x 2", ""},
      {"serve --backup copy.db", ""},
      {"script", "\\nfrobnicate\\n"},
      {"script /nonexistent/x.tvs", ""},
      {"serve --db /nonexistent/route.db", ""}};
  std::string transcript;
  for (const auto& [arguments, input] : runs) {
    const auto [status, output] = tarvine::test::runCommand(
        "printf '" + input + "' | timeout 60 '" TARVINE_BINARY "' " + arguments);
    transcript += "$ tarvine " + arguments + "\n" +
                  (arguments.ends_with("--help") ? helpNames(output) : output) + "exit " +
                  std::to_string(status) + "\n";
  }
  // The libraries' versions (and whether Qt is built in) vary from machine to machine.
  static const std::regex libraries("\nlibcurl [^\n]*");
  transcript = std::regex_replace(transcript, libraries, "\nlibcurl LIBRARIES");
  tarvine::text::replaceAllInPlace(transcript, TARVINE_VERSION "\n", "VERSION\n");
  tarvine::test::expectGolden(transcript, "app/command-line.txt");
}

}  // namespace
}  // namespace tarvine::app::test
