#pragma once
// Loopback endpoints for HTTP client tests: a server that records each request's exact bytes and
// answers with canned or computed bytes, and a port that refuses connections.

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
  static RawReply full(std::string bytes) { return {.bytes = std::move(bytes)}; }
  // Writes the first `cutAfter` bytes of `bytes`, then closes the connection (0: close at once).
  static RawReply truncated(std::string bytes, std::size_t cutAfter) {
    return {.bytes = std::move(bytes), .cutAfter = cutAfter};
  }
  // Reads the request and never answers.
  static RawReply silence() { return {.bytes = "", .answer = false}; }
};

// A whole response: status line, Content-Length, the extra header lines (each ending CR LF), body.
std::string httpResponse(
    int status, std::string_view body,
    std::string_view extraHeaders = "Content-Type: text/xml; charset=utf-8\r\n");

// Listens on a free 127.0.0.1 port until destroyed; throws std::runtime_error when it cannot.
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
  std::string url(std::string_view path = "/") const { return loopbackUrl(port(), path); }
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

// A loopback port bound (so no one takes it) but not listening; throws when it cannot bind.
class ClosedPort {
 public:
  ClosedPort() : socket_(bindLoopback(port_)) {}
  ~ClosedPort() { ::close(socket_); }
  ClosedPort(const ClosedPort&) = delete;
  ClosedPort& operator=(const ClosedPort&) = delete;

  std::uint16_t port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string url(std::string_view path = "/") const { return loopbackUrl(port_, path); }

 private:
  std::uint16_t port_ = 0;  // first: set while the socket is bound
  int socket_;
};

}  // namespace tarvine::test
