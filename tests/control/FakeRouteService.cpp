#include "FakeRouteService.h"

#include "Loopback.h"
#include "RawHttpServer.h"

namespace tarvine::test {

namespace replies = service::test;

FakeRouteService::FakeRouteService()
    : listener_(std::make_unique<LoopbackListener>(
          [this](int connection, int stopFd) { serve(connection, stopFd); }, true)) {}

FakeRouteService::~FakeRouteService() = default;

std::string FakeRouteService::server() const {
  return loopbackUrl(listener_->port(), "");
}

void FakeRouteService::serve(int connection, int stopFd) {
  const std::optional<std::string> request = readRequest(connection, stopFd);
  if (!request || request->find("\r\n\r\n") == std::string::npos) return;
  RecordedRequest recorded{"", headerValue(*request, "SOAPAction").value_or(""),
                           headerValue(*request, "Host").value_or(""),
                           request->substr(request->find("\r\n\r\n") + 4)};
  recorded.operation = recorded.soapAction.substr(recorded.soapAction.rfind('/') + 1);
  Reply reply;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(recorded);
    const auto found = replies_.find(recorded.operation);
    if (found != replies_.end()) {
      reply = found->second;
    } else {
      // Queries without a set reply answer an empty data set; updates an empty response.
      const bool update =
          recorded.operation == "UpdateOutgoingLoadOrder" || recorded.operation == "AddAstrayPO";
      reply.body = update ? replies::soapDataSetReply(recorded.operation, "")
                          : replies::soapDataSetReply(recorded.operation, replies::dataSetText({}));
    }
  }
  writeAll(connection,
           httpResponse(reply.status, reply.body,
                        "Content-Type: text/xml; charset=utf-8\r\nConnection: close\r\n"),
           stopFd);
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

void FakeRouteService::clearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

}  // namespace tarvine::test
