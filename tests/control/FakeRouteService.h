#pragma once
// A route service on 127.0.0.1 for the control's tests: answers each operation with the reply
// the test set for it and records every request in order.

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "RawHttpServer.h"
#include "ServiceReplies.h"

namespace tarvine::test {

struct RecordedRequest {
  std::string operation;  // the SOAP action after the namespace and "/"
  std::string soapAction;
  std::string host;
  std::string body;
};

class FakeRouteService {
 public:
  // The server text to give PutServerName ("http://127.0.0.1:PORT").
  std::string server() const { return http_.url(""); }
  // Answers the operation with a data set of these rows.
  void setRows(const std::string& operation, const std::vector<service::test::ReplyRow>& rows);
  // Answers the operation with this HTTP status and body.
  void setReply(const std::string& operation, int status, std::string body);
  // Requests so far, oldest first; clearRequests() forgets them.
  std::vector<RecordedRequest> requests() const;
  void clearRequests() { seen_ = http_.requestCount(); }

 private:
  struct Reply {
    int status = 200;
    std::string body;
  };
  RawReply respond(const std::string& request);

  mutable std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::size_t seen_ = 0;
  RawHttpServer http_{[this](const std::string& request) { return respond(request); }};
};

}  // namespace tarvine::test
