#include "Loopback.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tarvine::test {
namespace {

constexpr std::size_t kMaxRequestBytes = std::size_t{64} << 20;

[[noreturn]] void fail(const char* what, int fd = -1) {
  const int error = errno;
  if (fd >= 0) ::close(fd);
  throw std::runtime_error(std::string(what) + ": " + std::strerror(error));
}

}  // namespace

int bindLoopback(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) fail("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    fail("bind", fd);
  }
  port = ntohs(address.sin_port);
  return fd;
}

std::string loopbackUrl(std::uint16_t port, std::string_view path) {
  return "http://127.0.0.1:" + std::to_string(port) + std::string(path);
}

int waitFor(int fd, short events, int stopFd, int timeoutMs) {
  pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
  for (;;) {
    const int ready = ::poll(fds, 2, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || fds[1].revents != 0) return -1;
    return ready == 0 ? 0 : 1;
  }
}

bool writeAll(int connection, std::string_view bytes, int stopFd) {
  while (!bytes.empty()) {
    if (waitFor(connection, POLLOUT, stopFd) != 1) return false;
    const ssize_t count = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

void holdUntilClosed(int connection, int stopFd) {
  char buffer[4096];
  while (waitFor(connection, POLLIN, stopFd) == 1) {
    const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
    if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) return;
  }
}

std::optional<std::string> headerValue(std::string_view request, std::string_view name) {
  const std::string head(request.substr(0, request.find("\r\n\r\n") + 2));
  const std::string key = "\r\n" + std::string(name) + ":";
  const auto at = std::search(head.begin(), head.end(), key.begin(), key.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
  if (at == head.end()) return std::nullopt;
  std::size_t start = static_cast<std::size_t>(at - head.begin()) + key.size();
  const std::size_t end = head.find("\r\n", start);
  while (start < end && head[start] == ' ') ++start;
  return head.substr(start, end - start);
}

int connectFrom(int port, const char* from, std::string_view bytes) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) fail("socket");
  const int small = 4096;
  ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  ::inet_pton(AF_INET, from, &address.sin_addr);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) fail(from, fd);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    fail("connect", fd);
  }
  writeAll(fd, bytes, -1);
  return fd;
}

std::optional<std::string> readRequest(int connection, int stopFd) {
  std::string data;
  std::size_t expected = std::string::npos;
  char buffer[65536];
  while (data.size() < expected && data.size() < kMaxRequestBytes) {
    if (waitFor(connection, POLLIN, stopFd) != 1) return std::nullopt;
    const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) break;
    data.append(buffer, static_cast<std::size_t>(count));
    const std::size_t headEnd = data.find("\r\n\r\n");
    if (expected != std::string::npos || headEnd == std::string::npos) continue;
    const std::string length = headerValue(data, "Content-Length").value_or("0");
    expected = headEnd + 4 +
               std::min<std::size_t>(std::strtoull(length.c_str(), nullptr, 10), kMaxRequestBytes);
  }
  return data;
}

LoopbackListener::LoopbackListener(Serve serve, bool threadPerConnection)
    : serve_(std::move(serve)) {
  listener_ = bindLoopback(port_);
  int pipeEnds[2];
  if (::listen(listener_, 16) != 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    fail("listen", listener_);
  }
  stopRead_ = pipeEnds[0];
  stopWrite_ = pipeEnds[1];
  acceptor_ = std::thread([this, threadPerConnection] { acceptLoop(threadPerConnection); });
}

LoopbackListener::~LoopbackListener() {
  const char stop = 1;
  [[maybe_unused]] const ssize_t written = ::write(stopWrite_, &stop, 1);
  acceptor_.join();
  for (std::thread& worker : workers_) worker.join();
  ::close(listener_);
  ::close(stopRead_);
  ::close(stopWrite_);
}

void LoopbackListener::acceptLoop(bool threadPerConnection) {
  while (waitFor(listener_, POLLIN, stopRead_) == 1) {
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) continue;
    auto serveOne = [this, connection] {
      serve_(connection, stopRead_);
      ::close(connection);
    };
    if (!threadPerConnection) {
      serveOne();
      continue;
    }
    std::lock_guard lock(mutex_);
    workers_.emplace_back(serveOne);
  }
}

}  // namespace tarvine::test
