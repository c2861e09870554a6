#include "DemoRouteService.h"

#include <stdlib.h>

#include <cstdlib>
#include <stdexcept>

#include "Database.h"
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
  service_ = std::make_unique<serve::RouteService>(dbPath());
  service_->setRequestLog(nullptr);
  service_->createDemoData();
  serve::ServerSettings settings;
  if (https) {
    makeCertificate(folder_.path());
    settings.tlsCertFile = (folder_.path() / "cert.pem").string();
    settings.tlsKeyFile = (folder_.path() / "key.pem").string();
    setenv("CURL_CA_BUNDLE", settings.tlsCertFile.c_str(), 1);
  }
  service_->start(settings);
  server_ = service_->baseUrl();
}

DemoRouteService::~DemoRouteService() {
  if (https_) unsetenv("CURL_CA_BUNDLE");
  service_->stop();
  service_.reset();
}

std::string queryText(const std::string& dbPath, const std::string& sql) {
  serve::Database db(dbPath, serve::OpenMode::ReadOnly);
  serve::Statement& query = db.prepare(sql);
  if (!query.step()) return "(none)";
  const std::string text = query.isNull(0) ? "NULL" : std::string(query.text(0));
  query.reset();
  return text;
}

}  // namespace tarvine::test
