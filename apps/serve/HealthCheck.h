// GET /health: whether the service can read its database.
#pragma once

#include <chrono>
#include <string>

namespace tarvine::serve {

// The answer to a health check.
struct HealthReport {
  int status = 200;    // 200 when the database can be read, 503 when not
  std::string body;    // a small JSON object
  std::string detail;  // the database's error, for the log (empty when healthy)
};

// Opens the database read-only on a connection of its own and reads its schema version
// (PRAGMA user_version, 0 when none is set) and its table list. Never throws: a database that
// cannot be opened or read gives status 503 and its error in the body.
HealthReport checkHealth(const std::string& dbPath, std::chrono::seconds uptime);

}  // namespace tarvine::serve
