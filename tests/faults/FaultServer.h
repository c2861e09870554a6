#pragma once
// The reference route service on 127.0.0.1 with faults injected on demand: each request is
// answered from the test's database as the service answers it, unless a fault has been set for
// its operation. Every connection has a thread of its own, so a held connection blocks nothing.

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "RawHttpServer.h"

namespace tarvine::serve {
class ConnectionPool;
}

namespace tarvine::test {

// What the server does with a request instead of (or after) answering it.
enum class Fault {
  None,  // answers as the route service does
  // From Silent to Oversized: the exchange ends before a whole reply arrives.
  Silent,        // reads the request and never answers
  Slow,          // sends the head at once and the body only after the slow delay
  CloseMidBody,  // sends a chunked reply and closes in the middle of its body
  ShortBody,     // declares the whole body's length, sends half of it and closes
  Reset,         // resets the connection once it has read the request
  Oversized,     // declares and sends a body twice the oversize limit
  HtmlError,     // status 503 with an HTML error page
  SoapFault,     // status 500 with a SOAP fault
  InvalidUtf8,   // runs the request; its reply gets bytes that are not UTF-8 in a value
  Utf16,         // runs the request; its reply goes out in UTF-16 with a byte-order mark
  DeepNesting,   // runs the request; the reply is a document nested 100,000 elements deep
  TinyElements,  // runs the request; its answer carries 2 MB of empty elements beside the result
  OkEmpty,       // status 200 with an empty body
  OkHtmlPage,    // status 200 with an HTML page
  OkGarbage,     // status 200 with bytes that are not XML
  OkGzip,        // status 200 with the answer gzip-compressed (Content-Encoding: gzip)
};

class FaultServer {
 public:
  // Answers from the database at dbPath; listens at once. Throws std::runtime_error when it
  // cannot listen.
  explicit FaultServer(const std::string& dbPath);
  ~FaultServer();

  // The server text to give PutServerName ("http://127.0.0.1:PORT").
  std::string server() const { return loopbackUrl(http_.port(), ""); }
  // How long Fault::Slow waits before the body.
  void setSlowDelay(std::chrono::milliseconds delay) { slowDelay_ = delay; }
  // The reply size Fault::Oversized doubles.
  void setOversizeLimit(std::size_t bytes) { oversizeLimit_ = bytes; }
  // Applies the fault to the following requests of the operation (by its name).
  void inject(std::string_view operation, Fault fault);
  // Answers every operation normally again.
  void clear();
  // Operations of the requests read since the last clearOperations(), in order.
  std::vector<std::string> operations() const;
  void clearOperations() { operationsSeen_ = http_.requestCount(); }

 private:
  RawReply respond(const std::string& request);

  std::unique_ptr<serve::ConnectionPool> pool_;
  std::atomic<std::chrono::milliseconds> slowDelay_{std::chrono::milliseconds(3000)};
  std::atomic<std::size_t> oversizeLimit_{1 << 20};
  std::mutex mutex_;
  std::map<std::string, Fault, std::less<>> faults_;
  std::size_t operationsSeen_ = 0;
  RawHttpServer http_;  // last: stopped before the state it serves from
};

}  // namespace tarvine::test
