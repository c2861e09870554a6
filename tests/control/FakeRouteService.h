#pragma once
// A route service on 127.0.0.1 for the control's tests: answers each operation with the reply
// the test set for it and records every request in order.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ServiceReplies.h"

namespace tarvine::test {

class LoopbackListener;

struct RecordedRequest {
  std::string operation;  // the SOAP action after the namespace and "/"
  std::string soapAction;
  std::string host;
  std::string body;
};

class FakeRouteService {
 public:
  FakeRouteService();
  ~FakeRouteService();

  // The server text to give PutServerName ("http://127.0.0.1:PORT").
  std::string server() const;
  // Answers the operation with a data set of these rows.
  void setRows(const std::string& operation, const std::vector<service::test::ReplyRow>& rows);
  // Answers the operation with this HTTP status and body.
  void setReply(const std::string& operation, int status, std::string body);
  // Requests so far, oldest first; clearRequests() forgets them.
  std::vector<RecordedRequest> requests() const;
  void clearRequests();

 private:
  struct Reply {
    int status = 200;
    std::string body;
  };
  void serve(int connection, int stopFd);

  mutable std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::vector<RecordedRequest> requests_;
  std::unique_ptr<LoopbackListener> listener_;  // last: stops serving before the rest goes
};

}  // namespace tarvine::test
