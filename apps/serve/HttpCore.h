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

#include "ClientShares.h"
#include "ConnectionRefusals.h"
#include "FairWorkQueue.h"
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
  // Logs connections of a client closed on arrival, and why.
  void logRefusedConnection(const std::string& client, const std::string& detail);

  const ServerSettings settings;
  RouteContext routes;      // its base URL is set once bound, before any thread reads it
  const bool loopbackOnly;  // listening on loopback: Host headers must name loopback

  std::mutex logMutex;  // one log call at a time
  RequestLog requestLog;
  std::mutex mutex;  // guards the connections
  std::set<Connection*> connections;
  // What the clients share, each address at most its share: connections, request bodies over
  // 64 KiB and replies over 64 KiB held in memory.
  SharedLimit connectionSlots;
  SharedLimit bodyBytes;
  SharedLimit replyBytes;

  std::optional<boost::asio::ssl::context> tls;  // outlives the connections that use it
  boost::asio::thread_pool workers;
  FairWorkQueue workQueue{workers, settings.limits.workersPerClient, settings.limits.workers - 1};
  boost::asio::io_context io{1};
  ConnectionRefusals refusals{io, [this](const std::string& client, const std::string& detail) {
                                logRefusedConnection(client, detail);
                              }};
  boost::asio::ip::tcp::acceptor acceptor{io};
  bool stopping = false;  // network thread only
  std::promise<void> networkDone;
  std::thread network;
};

// Serves one accepted connection of client (its address, holding one of its connection slots)
// until it closes (network thread). Refuses a caller outside the allow list before reading
// anything from it.
void serveConnection(HttpServer::Core& core, boost::asio::ip::tcp::socket socket,
                     std::string client);

}  // namespace tarvine::serve
