// The HTTP side of the route service: an event-driven server (one network thread, deadlines
// for every read and write, byte limits whatever the framing) that hands the work of each
// request to a small pool of worker threads.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AccessPolicy.h"
#include "RequestLimits.h"
#include "RequestLog.h"

namespace tarvine::serve {

class ConnectionPool;

// Where and how the service listens.
struct ServerSettings {
  std::string host = "127.0.0.1";
  int port = 0;                          // 0: any free port
  AllowList allowFrom;                   // empty: every address that reaches the port
  std::vector<std::string> serverNames;  // names Host headers may give besides addresses
  std::string tlsCertFile;               // both set: HTTPS with this certificate chain (PEM)
  std::string tlsKeyFile;                // and this private key (PEM)
  ServerLimits limits;
};

// Serves the SOAP endpoint, its description and the health check until stopped.
class HttpServer {
 public:
  // A server answering from pool (health checks open dbPath) and reporting every request to
  // log; nothing listens before start().
  HttpServer(ConnectionPool& pool, std::string dbPath, RequestLog log);
  // Stops the server if it still runs.
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds (SO_REUSEADDR, never sharing a port in use) and serves on background threads;
  // returns the port. Throws std::runtime_error when the address cannot be bound, the TLS
  // files cannot be loaded or the server is already running.
  int start(const ServerSettings& settings);
  // The address to give clients, e.g. "https://127.0.0.1:8443"; empty before start().
  std::string baseUrl() const;
  // Stops listening, finishes the requests being answered (waiting at most a few seconds for
  // their replies to go out), closes every connection and joins the threads. Idempotent.
  void stop();

  struct Core;

 private:
  ConnectionPool& pool_;
  std::string dbPath_;
  RequestLog log_;
  std::unique_ptr<Core> core_;
};

}  // namespace tarvine::serve
