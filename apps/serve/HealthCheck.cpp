#include "HealthCheck.h"

#include <nlohmann/json.hpp>

#include "Database.h"

namespace tarvine::serve {

HealthReport checkHealth(const std::string& dbPath, std::chrono::seconds uptime) {
  nlohmann::ordered_json body;
  HealthReport report;
  try {
    Database db(dbPath, OpenMode::ReadOnly);
    Statement& version = db.prepare("PRAGMA user_version");
    const std::int64_t schemaVersion = version.step() ? version.integer(0) : 0;
    version.reset();
    // Reading the schema reads the file's pages, not only its header.
    Statement& tables = db.prepare("SELECT COUNT(*) FROM sqlite_schema");
    tables.step();
    tables.reset();
    body["status"] = "ok";
    body["database"] = "reachable";
    body["schema_version"] = schemaVersion;
  } catch (const std::exception& error) {
    report.status = 503;
    report.detail = error.what();
    body["status"] = "unavailable";
    body["database"] = "unreadable";
    body["error"] = report.detail;
  }
  body["uptime_seconds"] = uptime.count();
  report.body = body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  return report;
}

}  // namespace tarvine::serve
