#include "DemoRouteService.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <stdexcept>

#include "RouteService.h"

namespace tarvine::test {

DemoRouteService::DemoRouteService() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarvine-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  service_ = std::make_unique<serve::RouteService>(dbPath());
  service_->setRequestLog(nullptr);
  service_->createDemoData();
  service_->start("127.0.0.1", 0);
  server_ = service_->baseUrl();
}

DemoRouteService::~DemoRouteService() {
  service_->stop();
  service_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string DemoRouteService::queryText(const std::string& sql) const {
  sqlite3* db = nullptr;
  std::string result = "(none)";
  if (sqlite3_open_v2(dbPath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(statement, 0);
      result = text ? reinterpret_cast<const char*>(text) : "NULL";
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

}  // namespace tarvine::test
