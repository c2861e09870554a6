#include "DemoRouteService.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <cstdlib>
#include <stdexcept>

#include "RouteService.h"

namespace tarvine::test {

namespace {

// Makes a self-signed certificate for 127.0.0.1 and its key in dir with the openssl tool.
void makeCertificate(const std::filesystem::path& dir) {
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1"
      " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
      (dir / "key.pem").string() + "' -out '" + (dir / "cert.pem").string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("openssl req failed");
}

}  // namespace

DemoRouteService::DemoRouteService(bool https) : https_(https) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarvine-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  service_ = std::make_unique<serve::RouteService>(dbPath());
  service_->setRequestLog(nullptr);
  service_->createDemoData();
  serve::ServerSettings settings;
  if (https) {
    makeCertificate(dir_);
    settings.tlsCertFile = (dir_ / "cert.pem").string();
    settings.tlsKeyFile = (dir_ / "key.pem").string();
    setenv("CURL_CA_BUNDLE", settings.tlsCertFile.c_str(), 1);
  }
  service_->start(settings);
  server_ = service_->baseUrl();
}

DemoRouteService::~DemoRouteService() {
  if (https_) unsetenv("CURL_CA_BUNDLE");
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
