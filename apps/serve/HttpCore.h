// Inside the HTTP server: the state that its network thread, its connections and its workers
// share. Only HttpServer.cpp and HttpSession.cpp see it.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/thread_pool.hpp>
#include <future>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "HttpRoutes.h"
#include "HttpServer.h"

namespace tarvine::serve {

// One open connection, as the server sees it when it stops.
class Connection {
 public:
  virtual ~Connection() = default;
  // Closes the connection unless a request of it is being answered. Network thread only.
  virtual void closeIfIdle() = 0;
};

struct HttpServer::Core {
  Core(ConnectionPool& pool, const std::string& dbPath, RequestLog requestLog,
       const ServerSettings& serverSettings);

  // Writes one record to the log; any thread.
  void log(const RequestRecord& record);
  // Adds (or, negative, removes) body bytes held in memory; false when adding would pass the
  // limit (nothing is added then).
  bool holdBodyBytes(std::ptrdiff_t bytes);

  const ServerSettings settings;
  RouteContext routes;      // its base URL is set once bound, before any thread reads it
  const bool loopbackOnly;  // listening on loopback: Host headers must name loopback

  std::mutex logMutex;  // one log call at a time
  RequestLog requestLog;
  std::mutex mutex;  // guards the connections and the body bytes held
  std::set<Connection*> connections;
  std::size_t heldBodyBytes = 0;

  std::optional<boost::asio::ssl::context> tls;  // outlives the connections that use it
  boost::asio::thread_pool workers;
  boost::asio::io_context io{1};
  boost::asio::ip::tcp::acceptor acceptor{io};
  bool stopping = false;  // network thread only
  std::promise<void> networkDone;
  std::thread network;
};

// Serves one accepted connection until it closes (network thread). Refuses a caller outside
// the allow list before reading anything from it.
void serveConnection(HttpServer::Core& core, boost::asio::ip::tcp::socket socket);

}  // namespace tarvine::serve
