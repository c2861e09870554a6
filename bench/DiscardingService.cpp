#include "DiscardingService.h"

#include <httplib.h>

#include <map>
#include <thread>

#include "BenchLoads.h"
#include "SoapReply.h"
#include "service/RouteOperations.h"

namespace tarvine::bench {

struct DiscardingService::Http {
  httplib::Server server;
  std::thread thread;
  int port = 0;
  std::map<std::string, std::string> replies;  // by SOAPAction
};

DiscardingService::DiscardingService(int segments) : http_(std::make_unique<Http>()) {
  BenchLoads& loads = BenchLoads::instance();
  for (std::string_view query :
       {service::kGetOutgoingLoadCenterIDAndCenter.name,
        service::kGetOutgoingLoadDescriptionRoute.name, service::kGetOutgoingLoadAllOrders.name,
        service::kGetOutgoingLoadBasicTotal.name}) {
    http_->replies[soapActionOf(query)] = loads.reply(query, segments);
  }
  const std::string update = soapActionOf(service::kUpdateOutgoingLoadOrder.name);
  http_->replies[update] = serve::emptyReply(service::kUpdateOutgoingLoadOrder.name);
  http_->server.Post(
      ".*", [this, update](const httplib::Request& request, httplib::Response& response) {
        const std::string action = request.get_header_value("SOAPAction");
        if (action == update) {
          lastUpdateBytes_ = request.body.size();
          lastUpdateArrival_ = std::chrono::steady_clock::now().time_since_epoch().count();
        }
        const auto found = http_->replies.find(action);
        if (found == http_->replies.end()) {
          response.status = 500;
          return;
        }
        response.set_content(found->second, "text/xml; charset=utf-8");
      });
  http_->port = http_->server.bind_to_any_port("127.0.0.1");
  http_->thread = std::thread([this] { http_->server.listen_after_bind(); });
  while (!http_->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

DiscardingService::~DiscardingService() {
  http_->server.stop();
  http_->thread.join();
}

std::string DiscardingService::server() const {
  return "http://127.0.0.1:" + std::to_string(http_->port);
}

std::chrono::steady_clock::time_point DiscardingService::lastUpdateArrival() const {
  return std::chrono::steady_clock::time_point(
      std::chrono::steady_clock::duration(lastUpdateArrival_.load()));
}

}  // namespace tarvine::bench
