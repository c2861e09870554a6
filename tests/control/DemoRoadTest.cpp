// Dispatchers' whole roads against the reference route service and its database, as transcripts:
// each script line, what it printed (a state shows only the rows of the P.O.s the road watches),
// and those P.O.s' rows and history in the database after each step.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "CaseName.h"
#include "DemoRouteService.h"
#include "Golden.h"
#include "TestText.h"
#include "script/ScriptHost.h"

namespace tarvine::test {
namespace {

using nlohmann::json;

// Dispatcher A (person 7) or B (person 8) runs a script (lines separated by "; ").
struct Step {
  char who;
  std::string script;
};

struct Road {
  const char* name;
  bool https;
  std::string watched;  // the P.O.s shown, as an SQL list
  std::vector<Step> steps;
  std::pair<std::string, std::string> fact = {};  // a database query and its answer at the end
};

// B overrides 15-20001's first segment (row 13) and saves.
const std::string kBOverridesAndSaves = "click 13; answer 99; dblclick 13; reply no; save";

const Road kRoads[] = {
    // Over HTTPS with a certificate the control verifies, A overrides 12-34567's first segment
    // and checks its third onto the load; the save is reloaded.
    {"PickOverrideSaveOverHttps",
     true,
     "'12-34567'",
     {{'A', "load 5001; toggle 3; click 1; answer 1500; dblclick 1; save; state"}},
     {"SELECT Freight || ' ' || COUNT(OutgoingLoad) FROM VOZA_OrderHeader"
      " WHERE OrderID = '12-34567' AND VOZA_OrderSegment = 1",
      "1500.0 1"}},
    // Both opened the load before A took 15-20001 off and saved: B is asked, says no (nothing
    // sent, B's override kept on screen), then yes (B's version stays, and the history tells
    // that B's save put the four segments back on the load).
    {"SecondSaverChoosesWhoseVersionStays",
     false,
     "'15-20001'",
     {{'A', "load 5001"},
      {'B', "load 5001"},
      {'A', "toggle 13; save"},
      {'B', kBOverridesAndSaves + "; state"},
      {'B', "reply yes; save"}},
     {"SELECT COUNT(*) FROM VOZA_OrderProgressHistory WHERE ProgressCode = 2 AND PersonID = 8",
      "4"}},
    {"ChangesToDifferentPOsAreBothSaved",
     false,
     "'12-34581', '15-20001'",
     {{'A', "load 5001"}, {'B', "load 5001"}, {'A', "toggle 6; save"}, {'B', kBOverridesAndSaves}},
     {"SELECT (SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '12-34581' AND OutgoingLoad"
      " IS NULL) || ' ' || Freight FROM VOZA_OrderHeader WHERE OrderID = '15-20001' AND"
      " VOZA_OrderSegment = 1",
      "4 99.0"}},
};

class DemoRoad : public ::testing::TestWithParam<Road> {
 protected:
  // Both dispatchers on the service; the transcript starts after these lines (the port varies).
  DemoRoad() {
    run('A', "server " + service.server() + "; facility DEMO; person 7 2");
    run('B', "server " + service.server() + "; facility DEMO; person 8 2");
    transcript.clear();
    writeDatabase();
  }

  void run(char who, const std::string& script) {
    std::istringstream in(scriptLines(script));
    speaker = who;
    (who == 'A' ? a : b).run([&]() -> std::optional<std::string> {
      std::string line;
      if (!std::getline(in, line)) return std::nullopt;
      transcript += std::string(1, who) + "> " + line + "\n";
      return line;
    });
  }

  void print(const std::string& line) {
    json printed = json::parse(line);
    if (printed["type"] == "state") {
      json rows = json::array();
      for (std::size_t i = 0; i < printed["rows"].size(); ++i) {
        const json& row = printed["rows"][i];
        if (watched.find("'" + row["text"].get<std::string>() + "'") == std::string::npos) continue;
        rows.push_back(json{{"position", i + 1}, {"row", row}});
      }
      printed = {{"type", "state"},
                 {"rows", rows},
                 {"totals", printed["totals"]},
                 {"unsaved", printed["unsaved"]}};
    }
    transcript += std::string(1, speaker) + ": " + printed.dump() + "\n";
  }

  // The rows of the watched P.O.s in one table of the database, one line each, in order.
  void writeTable(const std::string& table, const std::string& columns) {
    std::string line, column;
    for (std::istringstream names(columns); std::getline(names >> std::ws, column, ',');) {
      line += (line.empty() ? "" : " || ' ' || ") + ("COALESCE(" + column + ", 'null')");
    }
    transcript +=
        table + ":\n" +
        service.queryText("SELECT COALESCE(group_concat(" + line +
                          ", char(10)), 'none') FROM (SELECT * FROM " + table +
                          " WHERE OrderID IN (" + watched + ") ORDER BY " + columns + ")") +
        "\n";
  }
  void writeDatabase() {
    writeTable("VOZA_OrderHeader", "OrderID, VOZA_OrderSegment, OutgoingLoad, Freight");
    writeTable("VOZA_OrderProgressHistory",
               "OrderID, VOZA_OrderSegment, ProgressCode, PersonID, PersonTypeID");
  }

  DemoRouteService service{GetParam().https};
  std::string watched = GetParam().watched;
  std::string transcript;
  char speaker = 'A';
  script::ScriptHost a{[this](const std::string& line) { print(line); }};
  script::ScriptHost b{[this](const std::string& line) { print(line); }};
};

TEST_P(DemoRoad, Transcript) {
  for (const Step& step : GetParam().steps) {
    run(step.who, step.script);
    writeDatabase();
  }
  if (!GetParam().fact.first.empty()) {
    EXPECT_EQ(service.queryText(GetParam().fact.first), GetParam().fact.second);
  }
  expectGolden(transcript, "control/Road" + std::string(GetParam().name) + ".txt");
}

INSTANTIATE_TEST_SUITE_P(Roads, DemoRoad, ::testing::ValuesIn(kRoads), caseName);

}  // namespace
}  // namespace tarvine::test
