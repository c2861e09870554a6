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

// A socket bound to a free 127.0.0.1 port (stored), not listening; throws when it cannot bind.
int bindLoopback(std::uint16_t& port);
// "http://127.0.0.1:<port>" followed by `path`.
std::string loopbackUrl(std::uint16_t port, std::string_view path = "/");
// Waits up to `timeoutMs` (negative: ever) for `events`: 1 when ready, 0 on time-out, -1 stopped.
int waitFor(int fd, short events, int stopFd, int timeoutMs = -1);
// Writes the bytes; false when the peer went away or the server was stopped.
bool writeAll(int connection, std::string_view bytes, int stopFd);
// Holds the connection, discarding what arrives, until the peer closes it or the server stops.
void holdUntilClosed(int connection, int stopFd);
// Reads a request's head and Content-Length body (up to 64 MiB); nothing when stopped first.
std::optional<std::string> readRequest(int connection, int stopFd);
// The value of a header in a request (names compared without case), or nothing.
std::optional<std::string> headerValue(std::string_view request, std::string_view name);
// A client connection to 127.0.0.1:port from the loopback address `from` that has sent `bytes`;
// its small receive buffer leaves what the client does not read with the server. Throws when it
// cannot connect.
int connectFrom(int port, const char* from, std::string_view bytes);

// Hands each connection on 127.0.0.1 to `serve` (one at a time or each on a thread of its own)
// until destroyed: then wakes every waiting connection and joins every thread.
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
