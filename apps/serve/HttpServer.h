// The HTTP side of the route service: one POST endpoint served on a background thread.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace tarvine::serve {

class ConnectionPool;

// Receives one line per request (operation, subject, outcome, milliseconds); called from the
// request threads, one call at a time.
using RequestLog = std::function<void(const std::string& line)>;

// Serves the SOAP endpoint from a connection pool until stopped.
class HttpServer {
 public:
  // A server answering from pool and reporting to log; nothing listens before start().
  HttpServer(ConnectionPool& pool, RequestLog log);
  // Stops the server if it still runs.
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds host:port (port 0: any free port) and serves on a background thread; returns the port.
  // Throws std::runtime_error when the address cannot be bound or the server is already running.
  int start(const std::string& host, int port);
  // Stops listening, finishes the requests in progress and joins the thread. Idempotent.
  void stop();

 private:
  void logLine(const std::string& line);

  ConnectionPool& pool_;
  RequestLog log_;
  std::mutex logMutex_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
};

}  // namespace tarvine::serve
