#include "RouteService.h"

#include "ConnectionPool.h"
#include "Database.h"
#include "DemoData.h"
#include "Schema.h"

namespace tarvine::serve {

RouteService::RouteService(std::string dbPath)
    : dbPath_(std::move(dbPath)),
      pool_(std::make_unique<ConnectionPool>(dbPath_)),
      log_(standardErrorLog(LogFormat::Text)) {
  schemaVersionFound_ = applySchema(*pool_->acquire());
}

RouteService::~RouteService() {
  stop();
}

void RouteService::createDemoData() {
  serve::createDemoData(*pool_->acquire());
}

void RouteService::generateLoad(int loadId, int segments) {
  serve::generateLoad(*pool_->acquire(), loadId, segments);
}

void RouteService::setRequestLog(RequestLog log) {
  log_ = std::move(log);
}

int RouteService::start(const ServerSettings& settings) {
  if (server_) throw std::runtime_error("the route service is already running");
  auto server = std::make_unique<HttpServer>(*pool_, dbPath_, log_);
  const int bound = server->start(settings);
  server_ = std::move(server);
  return bound;
}

int RouteService::start(const std::string& host, int port) {
  ServerSettings settings;
  settings.host = host;
  settings.port = port;
  return start(settings);
}

std::string RouteService::baseUrl() const {
  return server_ ? server_->baseUrl() : std::string();
}

void RouteService::stop() {
  if (server_) server_->stop();
  server_.reset();
}

}  // namespace tarvine::serve
