#pragma once
// The one loopback accept loop the test servers share, and the socket helpers they answer with.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tarvine::test {

// A TCP socket bound to 127.0.0.1 on an ephemeral port (not listening); stores the port. Throws
// std::runtime_error when it cannot bind.
int bindLoopback(std::uint16_t& port);
// "http://127.0.0.1:<port>" followed by `path`.
std::string loopbackUrl(std::uint16_t port, std::string_view path = "/");
// Waits up to `timeoutMs` (negative: without limit) until fd reports `events`. Returns 1 when it
// does, 0 on time-out, -1 once the stop descriptor is readable.
int waitFor(int fd, short events, int stopFd, int timeoutMs = -1);
// Writes the bytes; false when the peer went away or the server was stopped.
bool writeAll(int connection, std::string_view bytes, int stopFd);
// Holds the connection, discarding what arrives, until the peer closes it or the server stops.
void holdUntilClosed(int connection, int stopFd);
// Reads one request: its head and Content-Length body (at most 64 MiB). What arrived when the
// peer closed early; nothing when the server was stopped first.
std::optional<std::string> readRequest(int connection, int stopFd);
// The value of a header in a request (names compared without case), or nothing.
std::optional<std::string> headerValue(std::string_view request, std::string_view name);

// Listens on 127.0.0.1 and hands each connection to `serve` (with the stop descriptor to wait
// on), one at a time on its thread or each on a thread of its own. The destructor stops the
// loop, wakes every waiting connection and joins every thread.
class LoopbackListener {
 public:
  using Serve = std::function<void(int connection, int stopFd)>;
  LoopbackListener(Serve serve, bool threadPerConnection);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  std::uint16_t port() const { return port_; }

 private:
  void acceptLoop(bool threadPerConnection);

  Serve serve_;
  int listener_ = -1;
  int stopRead_ = -1;
  int stopWrite_ = -1;
  std::uint16_t port_ = 0;
  std::mutex mutex_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

}  // namespace tarvine::test
