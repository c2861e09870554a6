#pragma once
// A control in a script host, wired to a fake route service, with a small example load: route
// 12 (North), 15 (South); P.O. 12-100 with three segments, 12-200 hot, 15-300 checked, 15-400
// without a rate. A scenario runs script lines on it and compares the transcript (each line,
// the requests it sent, what it showed and logged, and what changed on screen) with a golden file.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

#include "CaseName.h"
#include "FakeRouteService.h"
#include "control/TarvineOrderPick.h"
#include "script/ScriptHost.h"

namespace tarvine::test {

using service::test::ReplyRow;

// One row of the order data set with every column the control reads; `extra` overrides or adds.
ReplyRow orderRow(const std::string& orderID, int segment, const std::string& outgoingLoad,
                  const std::string& freight, int cartons, int totalWeight,
                  std::vector<std::pair<std::string, std::string>> extra = {});

class ControlTest : public ::testing::Test {
 public:
  ControlTest();
  // The example load's replies on the fake service.
  void serveExampleLoad();
  // Runs script lines (separated by line breaks or "; "), adding them to the transcript. Lines of
  // the test itself: "!cartons N TEXT" puts TEXT in the cartons cell of row N, "!grey" greys Select
  // All, "!midway" runs `midway`, "!expect FACT" asserts a fact (expectFact) and is not
  // transcribed.
  void run(const std::string& script, const std::function<void()>& midway = {});
  // Asserts one fact at this point of the script: "reported N" (error reports logged), "boxes N"
  // (message boxes shown), "rows N", "checked N", "changed N" (rows with the change mark),
  // "statements N" (of the last save), "statement TEXT" (one of the last save's), "sent
  // OPERATION N" (requests so far), "field NAME V1 V2..." (element NAME's text in each request
  // that has one), "caption WIDGET TEXT", "cell ROW COLUMN TEXT" (row from 1, column 0 the P.O.),
  // "prompt TEXT" (in a box shown so far), "logged TEXT" (in an error report).
  void expectFact(const std::string& fact);
  // Compares the transcript with tests/golden/control/<name>.txt.
  void expectTranscript(const std::string& name) const;

  FakeRouteService service;
  // Every request the control sent so far, oldest first, for the facts a scenario asserts.
  std::vector<RecordedRequest> sent;

 private:
  // Adds the requests since the last call, then a line the host printed.
  void transcribeRequests();
  void transcribe(const std::string& line);
  MemoryEventLog* log_ = nullptr;
  std::string transcript_;
  nlohmann::json lastState_ = nlohmann::json::object();

 public:
  script::ScriptHost host;
  OrderPick& control = host.control();
  RecordingDialogs& dialogs = host.dialogs();
  MemoryEventLog& log = *log_;
};

// Serves the example load, the operation (the orders unless named) answered with these rows.
std::function<void(ControlTest&)> serving(std::vector<ReplyRow> rows,
                                          std::string operation = "GetOutgoingLoadAllOrders");

// A scenario: `setup` serves its replies (no setup: the example load), then its script runs on the
// control.
struct Scenario {
  const char* name;
  std::function<void(ControlTest&)> setup;
  std::string script;
  std::function<void(ControlTest&)> midway = {};
};

// Sets up, runs and compares each scenario its instantiations name (ScenarioTest.Transcript).
class ScenarioTest : public ControlTest, public ::testing::WithParamInterface<Scenario> {};

}  // namespace tarvine::test
