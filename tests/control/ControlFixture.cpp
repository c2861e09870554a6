#include "ControlFixture.h"

#include <pugixml.hpp>

#include <algorithm>
#include <sstream>

#include "DemoHost.h"
#include "Golden.h"
#include "TestText.h"

namespace tarvine::test {
namespace {

// The leaf elements under the operation's element, one "  name: text" line each.
void writeFields(const pugi::xml_node& node, std::string& out) {
  for (const pugi::xml_node& child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (child.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; })) {
      writeFields(child, out);
    } else {
      out += "  " + std::string(child.name()) + ": " + child.child_value() + "\n";
    }
  }
}

// The statements of a save's request, the closing empty one left out.
std::vector<std::string> statementsOf(const RecordedRequest& update) {
  pugi::xml_document document;
  document.load_string(update.body.c_str());
  std::vector<std::string> statements;
  for (const auto& found : document.select_nodes("//*[local-name()='string']")) {
    if (*found.node().child_value()) statements.emplace_back(found.node().child_value());
  }
  return statements;
}

}  // namespace

ReplyRow orderRow(const std::string& orderID, int segment, const std::string& outgoingLoad,
                  const std::string& freight, int cartons, int totalWeight,
                  std::vector<std::pair<std::string, std::string>> extra) {
  ReplyRow row = {{"OrderID", orderID},
                  {"VOZA_OrderSegment", std::to_string(segment)},
                  {"LoadDate", "2026-11-30T00:00:00-05:00"},
                  {"NumberParcels", std::to_string(cartons)},
                  {"FactoryWeight", "100"},
                  {"CubicFeet", "12.5"},
                  {"FreightCost", "0"},
                  {"OutgoingLoad", outgoingLoad},
                  {"Freight", freight},
                  {"CenterID", orderID.substr(0, orderID.find('-'))},
                  {"MinimumCharge", "25"},
                  {"TotalFactoryWeight", std::to_string(totalWeight)},
                  {"TotalRate", "1.5"},
                  {"TotalSuggestedFreight", "80"},
                  {"HighPriorityIndicator", "false"},
                  {"OverrideFreightIndicator", "false"}};
  for (auto& [name, value] : extra) {
    auto column = std::find_if(row.begin(), row.end(), [&](auto& c) { return c.first == name; });
    if (column == row.end()) {
      row.emplace_back(name, value);
    } else {
      column->second = value;
    }
  }
  return row;
}

ControlTest::ControlTest()
    : host([this](const std::string& line) { transcribe(line); },
           [this](RecordingDialogs& dialogs, MemoryEventLog& log) {
             log_ = &log;
             return std::make_unique<TarvineOrderPick>(dialogs, log);
           }) {
  control.setTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(5000)});
  pointAtDemo(control, service.server());
}

void ControlTest::serveExampleLoad() {
  service.setRows("GetOutgoingLoadCenterIDAndCenter",
                  {{{"CenterID", "12"}, {"CenterName", "North"}},
                   {{"CenterID", "15"}, {"CenterName", "South"}}});
  service.setRows("GetOutgoingLoadDescriptionRoute",
                  {{{"Description", "Lakes run"}, {"Route", "R7"}}});
  service.setRows("GetOutgoingLoadBasicTotal", {{{"SumCubicFeet", "40"},
                                                 {"SumFreight", "1234.5"},
                                                 {"SumParcels", "12"},
                                                 {"SumWeight", "2500"}}});
  service.setRows(
      "GetOutgoingLoadAllOrders",
      {orderRow("12-100", 1, "0", "125.5", 10, 1500), orderRow("12-100", 2, "0", "0", 4, 1500),
       orderRow("12-100", 3, "0", "0", 6, 1500),
       orderRow("12-200", 1, "0", "40", 3, 300, {{"HighPriorityIndicator", "true"}}),
       orderRow("15-300", 1, "5001", "1234.5", 8, 2000),
       orderRow("15-400", 1, "0", "NoRate", 5, 700)});
}

void ControlTest::transcribeRequests() {
  for (const RecordedRequest& request : service.requests()) {
    sent.push_back(request);
    EXPECT_EQ(request.host, service.server().substr(7)) << "Host header of " << request.operation;
    transcript_ += "request " + request.soapAction + "\n";
    pugi::xml_document document;
    document.load_string(request.body.c_str());
    const std::string path = "//*[local-name()='" + request.operation + "']";
    writeFields(document.select_node(path.c_str()).node(), transcript_);
  }
  service.clearRequests();
}

void ControlTest::transcribe(const std::string& line) {
  transcribeRequests();
  nlohmann::json printed = nlohmann::json::parse(line);
  if (printed["type"] != "state") {
    transcript_ += withoutElapsedTime(line) + "\n";
    return;
  }
  // A state shows what changed since the last one; each row on a line of its own.
  printed["centerList"] = control.centerList();
  for (const auto& [key, value] : printed.items()) {
    if (lastState_.contains(key) && lastState_[key] == value) continue;
    transcript_ += key == "rows" ? "rows\n" : key + " " + value.dump() + "\n";
    if (key == "rows") {
      for (const nlohmann::json& row : value) transcript_ += "  " + row.dump() + "\n";
    }
  }
  lastState_ = std::move(printed);
}

std::function<void(ControlTest&)> serving(std::vector<ReplyRow> rows, std::string operation) {
  return [rows, operation](ControlTest& t) {
    t.serveExampleLoad();
    t.service.setRows(operation, rows);
  };
}

TEST_P(ScenarioTest, Transcript) {
  GetParam().setup ? GetParam().setup(*this) : serveExampleLoad();
  run(GetParam().script, [this] { GetParam().midway(*this); });
  expectTranscript(GetParam().name);
}

void ControlTest::run(const std::string& script, const std::function<void()>& midway) {
  std::istringstream in(scriptLines(script));
  host.run([&]() -> std::optional<std::string> {
    for (std::string line; std::getline(in, line);) {
      transcribeRequests();
      if (line.starts_with("!expect ")) {
        expectFact(line.substr(8));
        continue;
      }
      transcript_ += "> " + line + "\n";
      std::istringstream words(line);
      std::string word;
      std::size_t row = 0;
      words >> word >> row;
      if (word == "!cartons") {
        control.widgets().lvwOrderIDs.setSubItem(control.widgets().lvwOrderIDs.rowAt(row), 4,
                                                 line.substr(line.rfind(' ') + 1));
      } else if (word == "!grey") {
        control.widgets().chkSellectAll.setValue(2);
      } else if (word == "!midway") {
        midway();
      } else {
        return line;
      }
    }
    return std::nullopt;
  });
  transcribeRequests();
}

void ControlTest::expectFact(const std::string& fact) {
  std::istringstream words(fact);
  std::string what;
  words >> what;
  std::string rest;
  std::getline(words >> std::ws, rest);
  const ListView& list = control.widgets().lvwOrderIDs;
  const auto rowsWhere = [&](const std::function<bool(RowId)>& holds) {
    return std::to_string(std::count_if(list.order().begin(), list.order().end(), holds));
  };
  std::vector<std::string> statements;
  for (const RecordedRequest& request : sent) {
    if (request.operation == "UpdateOutgoingLoadOrder") statements = statementsOf(request);
  }
  std::string seen;
  if (what == "reported") seen = std::to_string(log.entries().size());
  if (what == "boxes") seen = std::to_string(dialogs.messages().size());
  if (what == "rows") seen = std::to_string(list.rowCount());
  if (what == "checked") seen = rowsWhere([&](RowId row) { return list.row(row).checked; });
  if (what == "changed") seen = rowsWhere([&](RowId row) { return list.subItem(row, 7) == "1"; });
  if (what == "statements") seen = std::to_string(statements.size());
  if (what == "sent") {
    const std::string operation = rest.substr(0, rest.find(' '));
    seen = operation + ' ' + std::to_string(std::count_if(sent.begin(), sent.end(), [&](auto& r) {
             return r.operation == operation;
           }));
  }
  if (what == "cell") {
    std::size_t position = 0;
    int column = 0;
    std::istringstream(rest) >> position >> column;
    const RowId row = list.rowAt(position);
    seen = std::to_string(position) + ' ' + std::to_string(column) + ' ' +
           (column == 0 ? list.row(row).text : list.subItem(row, column));
  }
  if (what == "color") {
    std::size_t position = 0;
    std::istringstream(rest) >> position;
    seen = std::to_string(position) + ' ' +
           std::to_string(list.row(list.rowAt(position)).color.value_or(0));
  }
  if (what == "caption") {
    const std::string name = rest.substr(0, rest.find(' '));
    const Widget* widget = control.screen().find(name);
    seen = name + ' ' + (widget ? widget->caption() : "(no such widget)");
  }
  if (what == "field") {
    const std::string name = rest.substr(0, rest.find(' '));
    seen = name;
    for (const RecordedRequest& request : sent) {
      const std::size_t at = request.body.find("<" + name + ">");
      if (at == std::string::npos) continue;
      const std::size_t from = at + name.size() + 2;
      seen += ' ' + request.body.substr(from, request.body.find('<', from) - from);
    }
  }
  if (what == "prompt" || what == "logged") {
    std::vector<std::string> texts;
    for (const MessageBoxShown& box : dialogs.messages()) texts.push_back(box.prompt);
    if (what == "logged") texts = log.entries();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](auto& text) {
      return text.find(rest) != std::string::npos;
    })) << fact;
    return;
  }
  if (what == "statement") {
    EXPECT_TRUE(std::find(statements.begin(), statements.end(), rest) != statements.end())
        << fact << "\nlast save: " << testing::PrintToString(statements);
    return;
  }
  EXPECT_EQ(seen, rest) << fact;
}

void ControlTest::expectTranscript(const std::string& name) const {
  expectGolden(transcript_, "control/" + name + ".txt");
}

}  // namespace tarvine::test
