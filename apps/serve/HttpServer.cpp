#include "HttpServer.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

#include "SoapDispatcher.h"
#include "SoapNames.h"

namespace tarvine::serve {
namespace {

constexpr const char* kReplyContentType = "text/xml; charset=utf-8";

// How long start() waits for the listening thread to come up.
constexpr auto kStartupLimit = std::chrono::seconds(5);

void send(httplib::Response& response, const SoapExchange& exchange) {
  response.status = exchange.status;
  response.set_content(exchange.body, kReplyContentType);
}

}  // namespace

HttpServer::HttpServer(ConnectionPool& pool, RequestLog log) : pool_(pool), log_(std::move(log)) {}

HttpServer::~HttpServer() {
  stop();
}

void HttpServer::logLine(const std::string& line) {
  if (!log_) return;
  const std::lock_guard lock(logMutex_);
  log_(line);
}

int HttpServer::start(const std::string& host, int port) {
  if (server_) throw std::runtime_error("the route service is already running");
  auto server = std::make_unique<httplib::Server>();
  server->set_payload_max_length(kMaxRequestBytes);
  // httplib's default also sets SO_REUSEPORT, which would let a second service share a port
  // that is in use instead of failing.
  server->set_socket_options([](socket_t socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  });
  server->Post(kEndpointPath, [this](const httplib::Request& request, httplib::Response& response) {
    std::optional<std::string> action;
    if (request.has_header("SOAPAction")) action = request.get_header_value("SOAPAction");
    const SoapExchange exchange = answerSoapRequest(request.body, action, pool_);
    send(response, exchange);
    logLine(exchange.logLine);
  });
  // httplib answers an oversized body with 413 before any handler runs; the client gets a
  // SOAP fault like for any other bad request. Requests that miss the endpoint are only logged.
  server->set_error_handler(httplib::Server::HandlerWithResponse(
      [this](const httplib::Request& request, httplib::Response& response) {
        if (response.status == 413) {
          const SoapExchange exchange = oversizedRequestExchange();
          send(response, exchange);
          logLine(exchange.logLine);
          return httplib::Server::HandlerResponse::Handled;
        }
        if (response.body.empty()) {
          logLine(request.method + " " + request.path.substr(0, 100) + ": HTTP " +
                  std::to_string(response.status));
        }
        return httplib::Server::HandlerResponse::Unhandled;
      }));

  const int bound = port == 0 ? server->bind_to_any_port(host) : port;
  if (bound < 0 || (port != 0 && !server->bind_to_port(host, port))) {
    throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) +
                             " (address not available or port in use)");
  }
  httplib::Server* running = server.get();
  server_ = std::move(server);
  thread_ = std::thread([running] { running->listen_after_bind(); });
  const auto deadline = std::chrono::steady_clock::now() + kStartupLimit;
  while (!running->is_running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!running->is_running()) {
    stop();
    throw std::runtime_error("the route service did not start listening");
  }
  return bound;
}

void HttpServer::stop() {
  if (!server_) return;
  server_->stop();
  if (thread_.joinable()) thread_.join();
  server_.reset();
}

}  // namespace tarvine::serve
