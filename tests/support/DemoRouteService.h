#pragma once
// The reference route service with the demo data on a free loopback port and a temporary
// database, for the tests that travel the whole road.

#include <filesystem>
#include <memory>
#include <string>

#include "TemporaryFolder.h"

namespace tarvine::serve {
class RouteService;
}

namespace tarvine::test {

// The first column of the first row the query returns on the database at dbPath as text: "NULL"
// for null, "(none)" when there is no row. Throws when the database or the query fails.
std::string queryText(const std::string& dbPath, const std::string& sql);

class DemoRouteService {
 public:
  // https: serves HTTPS with a certificate for 127.0.0.1 made for this service, and makes the
  // process's HTTP client trust it (CURL_CA_BUNDLE) while the service lives.
  explicit DemoRouteService(bool https = false);
  ~DemoRouteService();
  // The server text to give PutServerName ("http://127.0.0.1:PORT" or "https://...").
  const std::string& server() const { return server_; }
  // The SQLite database the service answers from.
  std::string dbPath() const { return (folder_.path() / "route.db").string(); }
  // The first column of the first row the query returns, or "(none)".
  std::string queryText(const std::string& sql) const { return test::queryText(dbPath(), sql); }

 private:
  TemporaryFolder folder_;
  std::unique_ptr<serve::RouteService> service_;
  std::string server_;
  bool https_ = false;
};

}  // namespace tarvine::test
