#pragma once
// What a script run printed, as parsed JSON lines.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace tarvine::test {

struct ScriptRun {
  int status = 0;
  std::vector<nlohmann::json> lines;
  // Parses and keeps one printed line.
  void add(const std::string& line) { lines.push_back(nlohmann::json::parse(line)); }
  // The lines of one type, in order.
  std::vector<nlohmann::json> ofType(const std::string& type) const {
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& line : lines) {
      if (line["type"] == type) found.push_back(line);
    }
    return found;
  }
};

}  // namespace tarvine::test
