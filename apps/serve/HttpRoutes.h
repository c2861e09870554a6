// What the route service answers to one whole HTTP request, away from the network: the SOAP
// endpoint (POST), its description (GET ?wsdl), the health check (GET /health), else 404.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "RequestLog.h"

namespace tarvine::serve {

class ConnectionPool;

// One request as read from a connection.
struct IncomingRequest {
  std::string method;
  std::string target;  // path and query, as sent
  std::optional<std::string> soapAction;
  std::optional<std::string> host;  // the Host header
  std::string body;
};

// The reply and what the request log gets (operation, load, outcome...).
struct HttpAnswer {
  int status = 200;
  std::string contentType;
  std::string body;
  RequestRecord record;
};

// What the answers need from the service.
struct RouteContext {
  ConnectionPool& pool;
  std::string dbPath;
  std::string baseUrl;  // e.g. "https://127.0.0.1:8443", for the description's address
  std::chrono::steady_clock::time_point started;
};

// Answers one request; runs the database work on the calling thread. Never throws.
HttpAnswer answerRequest(IncomingRequest request, const RouteContext& context);

// The plain 403 answer (and its log record) for a caller that may not call.
HttpAnswer refusal(std::string reason);

// Gives memory that the allocator keeps after a large request back to the system.
void releaseMemoryAfter(std::size_t requestBytes);

}  // namespace tarvine::serve
