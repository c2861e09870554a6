#include "FakeRouteService.h"

#include "LocalHttpServer.h"

namespace tarvine::test {

namespace replies = service::test;

FakeRouteService::FakeRouteService() : http_(std::make_unique<LocalHttpServer>()) {
  http_->server().Post(".*", [this](const httplib::Request& request, httplib::Response& response) {
    RecordedRequest recorded{"", request.get_header_value("SOAPAction"),
                             request.get_header_value("Host"), request.body};
    const auto slash = recorded.soapAction.rfind('/');
    recorded.operation =
        slash == std::string::npos ? recorded.soapAction : recorded.soapAction.substr(slash + 1);
    std::lock_guard lock(mutex_);
    requests_.push_back(recorded);
    const auto found = replies_.find(recorded.operation);
    if (found != replies_.end()) {
      response.status = found->second.status;
      response.set_content(found->second.body, "text/xml; charset=utf-8");
    } else {
      // Queries without a set reply answer an empty data set; updates an empty response.
      const bool update =
          recorded.operation == "UpdateOutgoingLoadOrder" || recorded.operation == "AddAstrayPO";
      response.set_content(
          update ? replies::soapDataSetReply(recorded.operation, "")
                 : replies::soapDataSetReply(recorded.operation, replies::dataSetText({})),
          "text/xml; charset=utf-8");
    }
  });
  http_->start();
}
FakeRouteService::~FakeRouteService() = default;

std::string FakeRouteService::server() const {
  return "http://" + http_->authority();
}

void FakeRouteService::setRows(const std::string& operation,
                               const std::vector<replies::ReplyRow>& rows) {
  setReply(operation, 200, replies::soapDataSetReply(operation, replies::dataSetText(rows)));
}

void FakeRouteService::setReply(const std::string& operation, int status, std::string body) {
  std::lock_guard lock(mutex_);
  replies_[operation] = Reply{status, std::move(body)};
}

std::vector<RecordedRequest> FakeRouteService::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> FakeRouteService::operations() const {
  std::vector<std::string> names;
  for (const RecordedRequest& request : requests()) names.push_back(request.operation);
  return names;
}

void FakeRouteService::clearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

}  // namespace tarvine::test
