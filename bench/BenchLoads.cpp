#include "BenchLoads.h"

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

#include "ConnectionPool.h"
#include "RouteService.h"
#include "SoapDispatcher.h"
#include "service/Requests.h"
#include "service/RouteOperations.h"

namespace tarvine::bench {

struct BenchLoads::Cache {
  std::map<std::pair<std::string, int>, std::string> replies;
  std::set<int> generated;
};

BenchLoads& BenchLoads::instance() {
  static BenchLoads loads;
  return loads;
}

BenchLoads::BenchLoads() : cache_(std::make_unique<Cache>()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarvine-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  dir_ = pattern;
  const std::string db = dir_ + "/loads.db";
  service_ = std::make_unique<serve::RouteService>(db);
  service_->setRequestLog(nullptr);
  service_->start("127.0.0.1", 0);
  pool_ = std::make_unique<serve::ConnectionPool>(db);
}

BenchLoads::~BenchLoads() {
  service_.reset();
  pool_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string BenchLoads::server() const {
  return service_->baseUrl();
}

void BenchLoads::ensureLoad(int segments) {
  if (cache_->generated.insert(segments).second) service_->generateLoad(segments, segments);
}

const std::string& BenchLoads::reply(std::string_view operation, int segments) {
  auto key = std::make_pair(std::string(operation), segments);
  auto found = cache_->replies.find(key);
  if (found == cache_->replies.end()) {
    ensureLoad(segments);
    serve::SoapExchange exchange = serve::answerSoapRequest(queryEnvelope(operation, segments),
                                                            soapActionOf(operation), *pool_);
    if (exchange.status != 200) throw std::runtime_error("the service refused " + key.first);
    found = cache_->replies.emplace(std::move(key), std::move(exchange.body)).first;
  }
  return found->second;
}

std::string queryEnvelope(std::string_view operation, int loadId) {
  const auto id = static_cast<std::int16_t>(loadId);
  if (operation == service::kGetOutgoingLoadAllOrders.name) {
    return service::GetOutgoingLoadAllOrdersRequest(id, kFacility);
  }
  if (operation == service::kGetOutgoingLoadBasicTotal.name) {
    return service::GetOutgoingLoadBasicTotalRequest(id);
  }
  if (operation == service::kGetOutgoingLoadCenterIDAndCenter.name) {
    return service::GetOutgoingLoadCenterIDAndCenterRequest(id);
  }
  if (operation == service::kGetOutgoingLoadDescriptionRoute.name) {
    return service::GetOutgoingLoadDescriptionRouteRequest(id);
  }
  throw std::invalid_argument("not a load query: " + std::string(operation));
}

std::string soapActionOf(std::string_view operation) {
  return std::string(service::kRouteNamespace) + "/" + std::string(operation);
}

}  // namespace tarvine::bench
