#pragma once
// Loopback endpoints for HTTP client tests: a raw TCP server that records the exact bytes of
// each request and answers with canned or computed bytes, cut off, delayed or not at all, and a
// port that refuses connections.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Loopback.h"

namespace tarvine::test {

// What the server does once it has read a request (headers and Content-Length body).
struct RawReply {
  static constexpr std::size_t kWhole = static_cast<std::size_t>(-1);

  std::string bytes;              // written back as they stand
  std::size_t cutAfter = kWhole;  // the connection is closed after this many bytes of `bytes`
  bool answer = true;             // false: held unanswered until the client or the server closes
  bool reset = false;             // true: the connection is reset instead of answered
  std::size_t pauseAt = kWhole;   // after this many bytes, waits `pause` before the rest
  std::chrono::milliseconds pause{0};

  // Writes all of `bytes`, then closes the connection.
  static RawReply full(std::string bytes);
  // Writes the first `cutAfter` bytes of `bytes`, then closes the connection (0: close at once).
  static RawReply truncated(std::string bytes, std::size_t cutAfter);
  // Reads the request and never answers.
  static RawReply silence();
};

// "HTTP/1.1 <status> <reason>", a Content-Length for `body`, the extra header lines (each ending
// in CR LF), an empty line and the body.
std::string httpResponse(
    int status, std::string_view body,
    std::string_view extraHeaders = "Content-Type: text/xml; charset=utf-8\r\n");

// Listens on 127.0.0.1 on an ephemeral port until destroyed; throws std::runtime_error when it
// cannot listen.
class RawHttpServer {
 public:
  using Responder = std::function<RawReply(const std::string& request)>;
  // Gives every request the same reply, one connection at a time.
  explicit RawHttpServer(RawReply reply);
  // Answers each request with what `respond` makes of it, each connection on a thread of its own.
  explicit RawHttpServer(Responder respond);
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  std::uint16_t port() const { return listener_.port(); }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string url(std::string_view path = "/") const;
  // The bytes read on connection number `index` (0 is the first), waiting up to `timeout` for
  // them; nothing when no such request arrived in time.
  std::optional<std::string> request(
      std::size_t index = 0,
      std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) const;
  // Number of connections whose request has been recorded so far.
  std::size_t requestCount() const;

 private:
  void serve(int connection, int stopFd);

  Responder respond_;
  mutable std::mutex mutex_;
  mutable std::condition_variable recorded_;
  std::vector<std::string> requests_;
  LoopbackListener listener_;  // last: stopped before the state it serves from goes
};

// A loopback port on which nothing listens: bound (so no one else takes it) but not listening,
// so a connection to it is refused. Throws std::runtime_error when it cannot bind.
class ClosedPort {
 public:
  ClosedPort();
  ~ClosedPort();
  ClosedPort(const ClosedPort&) = delete;
  ClosedPort& operator=(const ClosedPort&) = delete;

  std::uint16_t port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string url(std::string_view path = "/") const;

 private:
  int socket_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace tarvine::test
