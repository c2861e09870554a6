// The reference route service: the back office's SOAP service for outgoing loads, answered
// from an SQLite database, for demonstrations, integration tests and benchmarks.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "HttpServer.h"

namespace tarvine::serve {

class ConnectionPool;

// What `tarvine serve` was asked to do.
struct ServeOptions {
  std::string host = "127.0.0.1";
  int port = 0;        // 0: any free port
  std::string dbPath;  // empty: a temporary database, removed on exit
  bool demo = false;   // create the demo data unless present
  std::optional<int> generateLoadId;
  int segments = 0;         // segments of the generated load
  std::string backupPath;   // not empty: copy the database here and exit instead of serving
  std::string allowFrom;    // "CIDR[,CIDR...]"; required to listen elsewhere than on loopback
  std::string serverNames;  // "NAME[,NAME...]": host names requests may give besides addresses
  std::size_t maxConnectionsPerClient = ServerLimits().maxConnectionsPerClient;
  std::string tlsCert;  // both set: HTTPS
  std::string tlsKey;
  LogFormat logFormat = LogFormat::Text;
};

// Runs the service until SIGINT or SIGTERM: opens or creates the database (migrating an older
// schema), adds demo or generated data, listens, prints the base URL as the first line of
// stdout, logs one line per request to stderr. With a backup path it copies the database there
// instead and returns. Returns 0 after a clean stop or a backup; 2 with one line on stderr for
// options that do not go together (a non-loopback address without --allow-from, an unreadable
// --allow-from or --server-name); 1 with a message on stderr for any other error.
int runServe(const ServeOptions& options);

// The service: a database and, once started, an HTTP server on a background thread.
class RouteService {
 public:
  // Opens or creates the database at dbPath and its tables, migrating an older schema; throws
  // SchemaTooNew for a newer one, DatabaseError when the file is not usable.
  explicit RouteService(std::string dbPath);
  // Stops the server if it runs.
  ~RouteService();
  RouteService(const RouteService&) = delete;
  RouteService& operator=(const RouteService&) = delete;

  // Adds the demo data unless present; throws DatabaseError.
  void createDemoData();
  // Adds a generated load; throws std::invalid_argument or DatabaseError (see DemoData.h).
  void generateLoad(int loadId, int segments);
  // Replaces the request log (default: one text line to stderr per request; nullptr: none);
  // call before start().
  void setRequestLog(RequestLog log);
  // Starts serving as settings say and returns the port; throws std::runtime_error when the
  // address cannot be bound, the TLS files cannot be loaded or the service runs already.
  int start(const ServerSettings& settings);
  // Starts serving plain HTTP on host:port (0: any free port) with the default limits.
  int start(const std::string& host, int port);
  // The address to give to clients, e.g. "http://127.0.0.1:41234"; empty before start().
  std::string baseUrl() const;
  // Stops serving; requests in progress are finished first. Idempotent.
  void stop();
  // The database file.
  const std::string& dbPath() const { return dbPath_; }
  // The schema version the file had when it was opened (kSchemaVersion for a new file or one
  // that needed no migration).
  int schemaVersionFound() const { return schemaVersionFound_; }

 private:
  std::string dbPath_;
  std::unique_ptr<ConnectionPool> pool_;
  int schemaVersionFound_ = 0;
  RequestLog log_;
  std::unique_ptr<HttpServer> server_;
};

}  // namespace tarvine::serve
