#include "RouteService.h"

#include <cstdio>

#include "ConnectionPool.h"
#include "Database.h"
#include "DemoData.h"
#include "Schema.h"

namespace tarvine::serve {
namespace {

void logToStderr(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace

RouteService::RouteService(std::string dbPath)
    : dbPath_(std::move(dbPath)),
      pool_(std::make_unique<ConnectionPool>(dbPath_)),
      log_(&logToStderr) {
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

int RouteService::start(const std::string& host, int port) {
  if (server_) throw std::runtime_error("the route service is already running");
  auto server = std::make_unique<HttpServer>(*pool_, log_);
  const int bound = server->start(host, port);
  server_ = std::move(server);
  const bool ipv6 = host.find(':') != std::string::npos;
  baseUrl_ = "http://" + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(bound);
  return bound;
}

std::string RouteService::baseUrl() const {
  return baseUrl_;
}

void RouteService::stop() {
  if (server_) server_->stop();
  server_.reset();
  baseUrl_.clear();
}

}  // namespace tarvine::serve
