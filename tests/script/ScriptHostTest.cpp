// The script host as a host developer uses it: a script in, JSON lines out.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

#include "DemoRouteService.h"
#include "ScriptRun.h"
#include "script/ScriptHost.h"
#include "script/ScriptLine.h"

namespace tarvine::script {
namespace {

using nlohmann::json;

using tarvine::test::ScriptRun;

ScriptRun runScript(std::istream& in) {
  ScriptRun run;
  ScriptHost host([&](const std::string& line) { run.add(line); });
  run.status = host.run([&] { return readLine(in); });
  return run;
}

ScriptRun runScript(const std::string& text) {
  std::istringstream in(text);
  return runScript(in);
}

// A stream whose second line never ends, like a script read from /dev/zero.
class EndlessLine : public std::streambuf {
  std::string first_ = "state\n", rest_ = std::string(4096, 'x');
  bool started_ = false;
  int_type underflow() override {
    std::string& next = started_ ? rest_ : first_;
    started_ = true;
    setg(next.data(), next.data(), next.data() + next.size());
    return traits_type::to_int_type(next[0]);
  }
};

TEST(ScriptHostTest, ALineTooLongIsRefusedAfterReadingOnlyItsLimit) {
  EndlessLine endless;
  std::istream in(&endless);
  const ScriptRun run = runScript(in);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.ofType("state").size(), 1u);
  EXPECT_EQ(
      run.lines.back(),
      (json{{"type", "error"},
            {"line", 2},
            {"text", "the line is longer than 1 MiB: \"" + std::string(80, 'x') + "\u2026\""}}));
}

TEST(ScriptHostTest, DrivesALoadAndStopsAtABadLine) {
  test::DemoRouteService service;
  const ScriptRun run = runScript(
      "# the demo load\n"
      "server " +
      service.server() +
      "\n"
      "facility DEMO\n"
      "person 7 2\n"
      "\n"
      "load 5001\n"
      "center 1\n"
      "toggle 1\n"
      "answer \"1500\"\n"
      "dblclick 1\n"
      "state\n"
      "person 70000 1\n"
      "frobnicate\n"
      "state\n");
  EXPECT_EQ(run.status, 2);
  const auto inputs = run.ofType("input");
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_EQ(inputs[0]["title"], "Outgoing Load");
  EXPECT_EQ(inputs[0]["answer"], "1500");
  EXPECT_EQ(inputs[0]["prompt"], "Please enter the new Freight to for P.O 12-34567");

  const auto states = run.ofType("state");
  ASSERT_EQ(states.size(), 1u);  // the state after the bad line never runs
  const json& state = states[0];
  EXPECT_EQ(state["manifest"], "5001");
  EXPECT_EQ(state["centerIndex"], 1);
  EXPECT_EQ(state["selectAll"]["enabled"], true);
  EXPECT_EQ(state["columns"].size(), 11u);
  EXPECT_EQ(state["selected"], 1);
  EXPECT_TRUE(state["astray"].is_null());
  EXPECT_EQ(state["unsaved"], 5);  // P.O. 12-34567 picked, its freight overridden
  const json& first = state["rows"][0];
  EXPECT_EQ(first["text"], "12-34567");
  EXPECT_EQ(first["checked"], true);
  EXPECT_EQ(first["sub"][5], "1,500.00");
  EXPECT_EQ(first["sub"][6], "1");
  EXPECT_EQ(first["tag"], "UnChecked;0");

  const auto hostErrors = run.ofType("hosterror");
  ASSERT_EQ(hostErrors.size(), 1u);
  EXPECT_EQ(hostErrors[0]["method"], "SetPersonInformation");
  EXPECT_EQ(hostErrors[0]["number"], 6);
  EXPECT_EQ(run.lines.back(),
            (json{{"type", "error"}, {"line", 13}, {"text", run.lines.back()["text"]}}));
}

TEST(ScriptHostTest, ReportsMessagesAndLogEntriesInOrder) {
  const ScriptRun run = runScript("server http://127.0.0.1:9\nload 7\n");
  EXPECT_EQ(run.status, 0);
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0]["type"], "message");
  EXPECT_EQ(run.lines[0]["prompt"],
            "An application error has occured. Please check the error logs");
  EXPECT_TRUE(run.lines[0]["title"].is_null());
  EXPECT_EQ(run.lines[0]["buttons"], 64);
  EXPECT_EQ(run.lines[1]["type"], "log");
  EXPECT_NE(run.lines[1]["text"].get<std::string>().find("ReturnWebserviceXML"), std::string::npos);
}

TEST(ScriptHostTest, SoapCommandPrintsTheResult) {
  const ScriptRun run = runScript("soap http://127.0.0.1:9/x 127.0.0.1:9 urn:a \"<a/>\" update\n");
  EXPECT_EQ(run.status, 0);
  ASSERT_FALSE(run.ofType("result").empty());
  EXPECT_EQ(run.ofType("result")[0]["text"], "");
}

struct SplitCase {
  std::string line;
  std::vector<std::string> words;
  bool error;
};

class SplitLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLineTest, Words) {
  const ParsedLine parsed = splitLine(GetParam().line);
  EXPECT_EQ(parsed.words, GetParam().words);
  EXPECT_EQ(!parsed.error.empty(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitLineTest,
    ::testing::Values(SplitCase{"", {}, false}, SplitCase{"   # note", {}, false},
                      SplitCase{"load 5001", {"load", "5001"}, false},
                      SplitCase{"  answer\t\"a b\"  ", {"answer", "a b"}, false},
                      SplitCase{R"(type txtComments "say \"hi\"\n\\ \t\r")",
                                {"type", "txtComments", "say \"hi\"\n\\ \t\r"},
                                false},
                      SplitCase{R"(answer "")", {"answer", ""}, false},
                      SplitCase{R"(answer "open)", {}, true}, SplitCase{R"(answer "\q")", {}, true},
                      SplitCase{R"(answer "a"b)", {}, true},
                      SplitCase{R"(server a\b)", {"server", "a\\b"}, false}));

}  // namespace
}  // namespace tarvine::script

namespace tarvine::script {
namespace {

// The tools' lines: find and scan print "found" lines, limits put "capacity" into the state,
// and Save over the limits asks first ("reply no" keeps the picks unsent).
TEST(ScriptHostTest, FindsScansLimitsAndWritesTheSheet) {
  test::DemoRouteService service;
  const auto csv = std::filesystem::temp_directory_path() / "tarvine-script-sheet.csv";
  const ScriptRun run = runScript("server " + service.server() +
                                  "\nfacility DEMO\nperson 7 2\nload 5001\n"
                                  "find 12-34602\nscan 12-34567\nscan 12-34567\nscan 12-99999\n"
                                  "limits 1 1\nstate\nreply no\nsave\nsheet csv " +
                                  csv.string() + "\nlimits 0 1\n");
  EXPECT_EQ(run.status, 2);  // the last line: a limit of 0
  const auto found = run.ofType("found");
  ASSERT_EQ(found.size(), 4u);
  EXPECT_GT(found[0]["row"].get<int>(), 1);
  EXPECT_EQ(found[1]["row"], 1);
  EXPECT_EQ(found[1]["scan"], "picked");
  EXPECT_EQ(found[2]["scan"], "already");
  EXPECT_EQ(found[3]["row"], nullptr);
  EXPECT_EQ(found[3]["status"], "P.O. 12-99999 is not in this load's list.");
  const json capacity = run.ofType("state").at(0)["capacity"];
  EXPECT_EQ(capacity["over"]["weight"], true);
  EXPECT_GT(capacity["picked"]["cube"].get<double>(), 1);
  const auto messages = run.ofType("message");
  ASSERT_EQ(messages.size(), 1u);  // the question, and no success message after it
  EXPECT_EQ(messages[0]["buttons"], 52);
  const auto sheet = run.ofType("sheet");
  ASSERT_EQ(sheet.size(), 1u);
  EXPECT_GT(sheet[0]["segments"].get<int>(), 5);
  EXPECT_GT(std::filesystem::file_size(csv), 0u);
  std::filesystem::remove(csv);
}

}  // namespace
}  // namespace tarvine::script
