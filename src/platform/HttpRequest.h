#pragma once
// A synchronous HTTP POST (or GET) over libcurl, with what the control expects of the desktop
// platform's request object: headers in the order given, a completed state, the reply body and
// status.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Waiting.h"

namespace tarvine {

// Time limits of one exchange.
struct HttpTimeouts {
  std::chrono::milliseconds connect{15'000};
  std::chrono::milliseconds total{100'000};
};

// Replies larger than this fail the exchange instead of exhausting memory.
inline constexpr std::size_t kMaxReplyBytes = std::size_t{256} << 20;

// Error numbers of failed exchanges are kHttpErrorBase + the libcurl code (negative, like the
// failure codes hosts know from the platform's HTTP objects); the source is "libcurl".
inline constexpr std::int32_t kHttpErrorBase = static_cast<std::int32_t>(0x800C0000u);
inline constexpr const char* kHttpErrorSource = "libcurl";
// The number of the failure of an exchange the user cancelled (libcurl's aborted-by-callback).
inline constexpr std::int32_t kErrCancelledByUser = kHttpErrorBase + 42;

class HttpRequest {
 public:
  // Ready states: 0 created, 1 opened, 4 completed.
  static constexpr int kUnsent = 0, kOpened = 1, kDone = 4;

  // Prepares a request; "POST" and "GET" are supported (any letter case). Resets headers and
  // any earlier reply. Throws RuntimeError (kHttpErrorBase + 43, libcurl's bad-argument code)
  // for another method, and for a user name or password in a URL that is not https.
  void open(std::string method, std::string url);
  // Adds a header; headers go out in the order they were set. A "Host" value holding a scheme
  // (http://server:port) goes out as its authority only (server:port). Throws RuntimeError
  // (kHttpErrorBase + 43) when the request is not open, for an empty name, a name holding a
  // colon or blank, or a name or value holding a line break.
  void setRequestHeader(std::string name, std::string value);
  // Sets the connect and total time limits of the following sends.
  void setTimeouts(HttpTimeouts timeouts) { timeouts_ = timeouts; }
  // Lowers (or raises) the reply size limit; for tests, which cannot afford kMaxReplyBytes.
  void setMaxReplyBytes(std::size_t bytes) { maxReplyBytes_ = bytes; }
  // What the following sends do, for whoever waits for them (see currentWaiting()).
  void setActivity(Activity activity) { activity_ = std::move(activity); }
  // Sends the body (a GET sends none) and waits for the whole reply through currentWaiting(),
  // through the proxy that the proxy variables name unless proxyVariablesIgnored(). Throws
  // RuntimeError (number kHttpErrorBase + libcurl code, source "libcurl") when the exchange fails:
  // no connection, refused, timed out, reply over kMaxReplyBytes, cancelled ("Cancelled by the
  // user"). No "Expect: 100-continue" is sent. Also throws when the request is not open (no open()
  // since the last send). https certificates are verified against the file named by CURL_CA_BUNDLE
  // when set, else the system's authorities.
  void send(std::string_view body);

  // kOpened after open, kDone after a completed exchange (any status); a failed send keeps it.
  int readyState() const { return readyState_; }
  // HTTP status of the completed exchange, 0 before.
  long status() const { return status_; }
  // Content-Type of the completed exchange's reply; empty before, or when it had none.
  const std::string& responseContentType() const { return contentType_; }
  // Moves the reply body of the completed exchange out (empty before, and after a first take).
  std::string takeResponseText() { return std::exchange(response_, {}); }

 private:
  std::string method_;
  std::string url_;
  std::vector<std::pair<std::string, std::string>> headers_;
  HttpTimeouts timeouts_;
  std::size_t maxReplyBytes_ = kMaxReplyBytes;
  Activity activity_;
  int readyState_ = kUnsent;
  long status_ = 0;
  std::string contentType_;
  std::string response_;
};

}  // namespace tarvine
