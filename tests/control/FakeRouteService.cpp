#include "FakeRouteService.h"

#include "Loopback.h"

namespace tarvine::test {

namespace replies = service::test;

namespace {

RecordedRequest parse(const std::string& request) {
  const std::size_t bodyAt = request.find("\r\n\r\n");
  RecordedRequest recorded{"", headerValue(request, "SOAPAction").value_or(""),
                           headerValue(request, "Host").value_or(""),
                           bodyAt == std::string::npos ? "" : request.substr(bodyAt + 4)};
  recorded.operation = recorded.soapAction.substr(recorded.soapAction.rfind('/') + 1);
  return recorded;
}

}  // namespace

RawReply FakeRouteService::respond(const std::string& request) {
  const std::string operation = parse(request).operation;
  Reply reply;
  {
    std::lock_guard lock(mutex_);
    const auto found = replies_.find(operation);
    if (found != replies_.end()) {
      reply = found->second;
    } else {
      // Queries without a set reply answer an empty data set; updates an empty response.
      const bool update = operation == "UpdateOutgoingLoadOrder" || operation == "AddAstrayPO";
      reply.body = replies::soapDataSetReply(operation, update ? "" : replies::dataSetText({}));
    }
  }
  return RawReply::full(httpResponse(
      reply.status, reply.body, "Content-Type: text/xml; charset=utf-8\r\nConnection: close\r\n"));
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
  std::vector<RecordedRequest> recorded;
  for (std::size_t i = seen_, count = http_.requestCount(); i < count; ++i) {
    recorded.push_back(parse(http_.request(i).value_or("")));
  }
  return recorded;
}

}  // namespace tarvine::test
