// The tarvine command as a user meets it: what each kind of mistake prints and its exit status
// (2 and one line with a hint for a usage error, 1 for a run-time failure), and --version.

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <array>
#include <string>

#include "CaseName.h"

namespace tarvine::app::test {
namespace {

struct Outcome {
  int status = -1;
  std::string out;  // standard output, or standard error when asked for
};

// Runs `input | tarvine ARGUMENTS` and returns one of its streams.
Outcome runTarvine(const std::string& arguments, const std::string& input, bool stderrOnly) {
  const std::string line = "printf '" + input + "' | timeout 60 '" TARVINE_BINARY "' " + arguments +
                           (stderrOnly ? " 2>&1 >/dev/null" : " 2>/dev/null");
  Outcome run;
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe)) run.out += buffer.data();
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

struct Case {
  const char* name;
  const char* arguments;
  const char* input;
  int status;
  const char* text;  // expected in standard error, or standard output for status 0
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

class CommandLine : public testing::TestWithParam<Case> {};

TEST_P(CommandLine, AnswersWithItsStatusAndOneLine) {
  const Case& c = GetParam();
  const Outcome run = runTarvine(c.arguments, c.input, c.status != 0);
  EXPECT_EQ(run.status, c.status) << run.out;
  EXPECT_NE(run.out.find(c.text), std::string::npos) << run.out;
  if (c.status == 2) {
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "not one line: " << run.out;
    EXPECT_NE(run.out.find("; see tarvine"), std::string::npos) << run.out;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tarvine, CommandLine,
    testing::Values(
        Case{"Version", "--version", "", 0, "tarvine " TARVINE_VERSION "\nlibcurl "},
        Case{"ShortVersion", "-V", "", 0, "tarvine " TARVINE_VERSION "\n"},
        Case{"ServeHelpTellsTheDefaultDatabase", "serve --help", "", 0,
             "a temporary file, removed at exit"},
        Case{"NoCommand", "", "", 2, "tarvine: no command given; see tarvine --help\n"},
        Case{"UnknownCommand", "bogus", "", 2,
             "tarvine: unknown command 'bogus'; see tarvine --help\n"},
        Case{"UnknownOption", "serve --bogus", "", 2,
             "tarvine serve: unknown option '--bogus'; see tarvine serve --help\n"},
        Case{"ValueOutOfRange", "serve --port 70000", "", 2, "tarvine serve: --port"},
        Case{"MissingOption", "host --facility F --person 7 2", "", 2, "--server is required"},
        Case{"PersonNotANumber", "host --server http://127.0.0.1:9 --facility F --person x 2", "",
             2, "'x' is not a 16-bit number"},
        Case{"BackupWithoutDatabase", "serve --backup copy.db", "", 2, "--backup requires --db"},
        Case{"ScriptLineThatCannotBeRun", "script", "state\\nfrobnicate\\n", 2,
             "tarvine script: line 2: "},
        Case{"ScriptFileMissing", "script /nonexistent/x.tvs", "", 1, "cannot read"},
        Case{"DatabaseCannotOpen", "serve --db /nonexistent/route.db", "", 1,
             "cannot open database"}),
    tarvine::test::caseName);

}  // namespace
}  // namespace tarvine::app::test
