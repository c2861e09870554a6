// The script host as a host developer uses it: a script in, JSON lines out.

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "DemoRouteService.h"
#include "Golden.h"
#include "ScriptRun.h"
#include "TemporaryFolder.h"
#include "TestText.h"
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

// A soap line reads its envelope only from a regular file of at most 16 MiB; anything else stops
// the script with an error naming the file, and a FIFO without a writer is not waited for.
TEST(ScriptHostTest, ReadsEnvelopesOnlyFromRegularFilesOfAtMost16MiB) {
  const test::TemporaryFolder folder;
  const std::string dir = folder.path().string();
  ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
  test::writeText(dir + "/large", "");
  std::filesystem::resize_file(dir + "/large", (16u << 20) + 1);
  const std::pair<std::string, std::string> rows[] = {{"/dev/zero", "is not a regular file"},
                                                      {dir + "/fifo", "is not a regular file"},
                                                      {dir, "is not a regular file"},
                                                      {dir + "/large", "is larger than 16 MiB"},
                                                      {dir + "/missing", "does not exist"}};
  for (const auto& [path, reason] : rows) {
    const ScriptRun run = runScript("soap http://127.0.0.1:9/x h urn:a @" + path + "\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.lines.back()["text"], "the envelope file " + path + " " + reason);
  }
}

// Scripts on the demo load (after its server, facility and person lines), each printing what a
// golden file holds.
TEST(ScriptHostTest, PrintsWhatTheGoldenFilesHold) {
  const std::vector<std::pair<std::string, std::string>> scripts = {
      {"drive-and-stop",
       "# the demo load\n\nload 5001\ncenter 1\ntoggle 1\nanswer \"1500\"\ndblclick 1\nstate\n"
       "person 70000 1\nfrobnicate\nstate\n"},
      {"unreachable",
       "server http://127.0.0.1:9\nload 7\nsoap http://127.0.0.1:9/x 127.0.0.1:9 "
       "urn:a \"<a/>\" update\n"},
      // Find and scan print "found" lines, limits put "capacity" into the state, and Save over
      // the limits asks first ("reply no" keeps the picks unsent).
      {"tools",
       "load 5001\nfind 12-34602\nscan 12-34567\nscan 12-34567\nscan 12-99999\nlimits 1 1\n"
       "state\nreply no\nsave\nsheet csv tarvine-script-sheet.csv\nlimits 0 1\n"}};
  test::DemoRouteService service;
  for (const auto& [name, script] : scripts) {
    const ScriptRun run =
        runScript("server " + service.server() + "\nfacility DEMO\nperson 7 2\n" + script);
    std::string printed = "status " + std::to_string(run.status) + "\n";
    for (const json& line : run.lines) printed += line.dump() + "\n";
    test::expectGolden(test::withoutElapsedTime(printed), "script-" + name + ".txt");
  }
  EXPECT_GT(std::filesystem::file_size("tarvine-script-sheet.csv"), 0u);
  std::filesystem::remove("tarvine-script-sheet.csv");
}

// Fill trailer on the demo load, 29,040 lb: of what is left (12-34567 4,100 lb, 15-20017 3,550,
// hot 21-51877 3,784, 21-51902 4,020, 27-70422 3,450, hot 27-70431 5,203) 8,120 lb fit; the hot
// P.O. first gives 21-51877 and 12-34567 (7,884 lb), not the heavier 12-34567 and 21-51902. A
// proposal is applied once, and not after the limits changed; applied, the screen and the save
// are those of checking the two by hand.
TEST(ScriptHostTest, SuggestsTheBestFillAndAppliesItAsCheckingByHand) {
  const auto run = [](const std::string& script, std::string& saved) {
    test::DemoRouteService service;
    ScriptRun done =
        runScript("server " + service.server() + "\nfacility DEMO\nperson 7 2\nload 5001\n" +
                  script + "state\nsave\n");
    saved = service.queryText(
        "SELECT group_concat(OrderID || VOZA_OrderSegment || ':' || ifnull(OutgoingLoad, '') || "
        "':' || ifnull(Freight, ''), ',') FROM VOZA_OrderHeader");
    return done;
  };
  std::string byFill, byHand;
  const ScriptRun fill =
      run("suggest\nlimits 29040 3600\nsuggest\nlimits 29040 3500\nsuggest apply\nsuggest apply\n"
          "state\nsuggest\nsuggest apply\n",
          byFill);
  const ScriptRun hand = run("limits 29040 3500\ntoggle 1\ntoggle 26\n", byHand);
  const std::vector<json> suggested = fill.ofType("suggestion"), applied = fill.ofType("applied");
  ASSERT_EQ(suggested.size(), 3u);
  ASSERT_EQ(applied.size(), 3u);
  EXPECT_EQ(suggested[0]["error"],
            "the trailer's weight and cube limits are not set (limits WEIGHT CUBE)");
  EXPECT_TRUE(applied[0]["error"].get<std::string>().starts_with("The list, the load or the"));
  EXPECT_EQ(applied[1]["error"], "There is no fill proposal to apply.");
  const json before = fill.ofType("state")[0]["capacity"]["picked"];
  EXPECT_EQ(suggested[2]["orders"], json({"12-34567", "21-51877"}));
  EXPECT_EQ(suggested[2]["hot"], 1);
  EXPECT_NEAR(suggested[2]["weight"].get<double>(), before["weight"].get<double>() + 7884, 1e-6);
  EXPECT_EQ(suggested[2]["optimal"], true);
  EXPECT_EQ(applied[2]["orders"], suggested[2]["orders"]);
  EXPECT_EQ(fill.status, 1);  // the error lines are run-time failures; the script went on
  // From the last state line on: the screen, and what the save said.
  const auto fromLastState = [](const ScriptRun& done) {
    auto state = std::find_if(done.lines.rbegin(), done.lines.rend(),
                              [](const json& line) { return line["type"] == "state"; });
    return std::vector<json>(state.base() - 1, done.lines.end());
  };
  EXPECT_EQ(fromLastState(fill), fromLastState(hand));
  EXPECT_EQ(byFill, byHand);
}

// A sheet that cannot be written is a run-time failure: status 1, its "sheet" line says why, and
// the lines after it still run.
TEST(ScriptHostTest, AnUnwrittenSheetFailsTheRunAndTheRestRuns) {
  const test::TemporaryFolder folder;
  const std::pair<std::string, std::string> rows[] = {
      {"load 5001\nsheet csv " + folder.path().string() + "/missing/s.csv", "cannot write"},
      {"load 4242\nsheet csv " + folder.path().string() + "/s.csv",
       "load 4242 has no segments on it; no sheet was written"}};
  test::DemoRouteService service;
  for (const auto& [script, error] : rows) {
    const ScriptRun run = runScript("server " + service.server() + "\nfacility DEMO\nperson 7 2\n" +
                                    script + "\nstate\n");
    EXPECT_EQ(run.status, 1);
    ASSERT_GE(run.lines.size(), 2u);
    const json& sheet = run.lines[run.lines.size() - 2];
    EXPECT_NE(sheet.value("error", "").find(error), std::string::npos) << sheet.dump();
    EXPECT_EQ(run.lines.back()["type"], "state");
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "s.csv"));
}

// How a script line splits into words, or why it cannot.
TEST(SplitLineTest, WordsOrWhyNot) {
  std::string out;
  for (const char* line :
       {"", "   # note", "load 5001", "  answer\t\"a b\"  ",
        R"(type txtComments "say \"hi\"\n\\ \t\r")", R"(answer "")", R"(answer "open)",
        R"(answer "\q")", R"(answer "a"b)", R"(server a\b)"}) {
    const ParsedLine parsed = splitLine(line);
    out += json(line).dump() + " -> " +
           (parsed.error.empty() ? json(parsed.words).dump() : "error: " + parsed.error) + "\n";
  }
  test::expectGolden(out, "script-lines.txt");
}

}  // namespace
}  // namespace tarvine::script
