// The tarvine command as a user meets it: what each kind of mistake prints and its exit status
// (2 and one line with a hint for a usage error, 1 for a run-time failure), and --version, in
// tests/golden/app/command-line.txt.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "Golden.h"
#include "RunCommand.h"
#include "TemporaryFolder.h"
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

// A database the service creates is its owner's alone, or also its group's to read when the
// umask shuts others out (as the systemd unit's does); with --log-format json every line it
// writes, from start to stop, is one JSON object.
TEST(CommandLine, ServeCreatesAPrivateDatabaseAndLogsOnlyJsonLines) {
  namespace fs = std::filesystem;
  const tarvine::test::TemporaryFolder dir;
  for (const auto& [umask, mode] : {std::pair{"022", fs::perms(0600)}, {"027", fs::perms(0640)}}) {
    SCOPED_TRACE(umask);
    const fs::path db = dir.path() / (std::string(umask) + ".db");
    // A log of its own per run: the wait below must never find the line of the run before.
    const std::string logFile = (dir.path() / (std::string(umask) + ".log")).string();
    // Stopped with Ctrl+C once it listens.
    const auto [status, log] = tarvine::test::runCommand(
        std::string("umask ") + umask + "; '" TARVINE_BINARY "' serve --log-format json --db '" +
        db.string() + "' 2>" + logFile + " >/dev/null & for i in $(seq 600); do grep -q " +
        "listening " + logFile + " && break; sleep 0.1; done; kill -INT $!; wait $!; s=$?; cat " +
        logFile + "; exit $s");
    EXPECT_EQ(status, 0) << log;
    EXPECT_EQ(fs::status(db).permissions() & fs::perms::all, mode);
    std::istringstream lines(log);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
      EXPECT_TRUE(line.starts_with("{\"time\":") && line.ends_with("\"}")) << line;
    }
    EXPECT_EQ(count, 2) << "listening, stopped: " << log;
  }
}

}  // namespace
}  // namespace tarvine::app::test
