#include "RawHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace tarvine::test {
namespace {

// Requests larger than this are recorded cut short.
constexpr std::size_t kMaxRequestBytes = std::size_t{64} << 20;

[[noreturn]] void throwSystemError(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// A TCP socket bound to 127.0.0.1 on an ephemeral port; stores the port.
int bindLoopback(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) throwSystemError("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    throwSystemError("bind");
  }
  port = ntohs(address.sin_port);
  return fd;
}

std::string loopbackUrl(std::uint16_t port, std::string_view path) {
  return "http://127.0.0.1:" + std::to_string(port) + std::string(path);
}

// Waits until `fd` reports `events` (or a hang-up or error); false once the stop pipe is
// readable.
bool waitFor(int fd, short events, int stopFd) {
  pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
  for (;;) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (fds[1].revents != 0) return false;
    if (fds[0].revents != 0) return true;
  }
}

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The total length of a request whose head is complete in `data` (head plus Content-Length
// body), or npos while the head is still incomplete.
std::size_t expectedRequestLength(const std::string& data) {
  const std::size_t headEnd = data.find("\r\n\r\n");
  if (headEnd == std::string::npos) return std::string::npos;
  std::string head(data, 0, headEnd);
  std::transform(head.begin(), head.end(), head.begin(), lowerAscii);
  std::size_t bodyLength = 0;
  if (const std::size_t field = head.find("\r\ncontent-length:"); field != std::string::npos) {
    bodyLength = std::strtoull(head.c_str() + field + 17, nullptr, 10);
  }
  return headEnd + 4 + std::min(bodyLength, kMaxRequestBytes);
}

// Reads one request; `stopped` tells whether the server was stopped meanwhile.
std::string readRequest(int connection, int stopFd, bool& stopped) {
  std::string data;
  std::size_t expected = std::string::npos;
  char buffer[16384];
  while (data.size() < expected && data.size() < kMaxRequestBytes) {
    if (!waitFor(connection, POLLIN, stopFd)) {
      stopped = true;
      break;
    }
    const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) break;
    data.append(buffer, static_cast<std::size_t>(count));
    if (expected == std::string::npos) expected = expectedRequestLength(data);
  }
  return data;
}

// Writes the bytes; false when the peer went away or the server was stopped.
bool writeAll(int connection, std::string_view bytes, int stopFd) {
  while (!bytes.empty()) {
    if (!waitFor(connection, POLLOUT, stopFd)) return false;
    const ssize_t count = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

// Holds the connection, discarding what arrives, until the peer closes it or the server stops.
void holdUntilClosed(int connection, int stopFd) {
  char buffer[4096];
  while (waitFor(connection, POLLIN, stopFd)) {
    const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
    if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) return;
  }
}

}  // namespace

RawReply RawReply::full(std::string bytes) {
  RawReply reply;
  reply.bytes = std::move(bytes);
  return reply;
}

RawReply RawReply::truncated(std::string bytes, std::size_t cutAfter) {
  RawReply reply;
  reply.bytes = std::move(bytes);
  reply.cutAfter = cutAfter;
  return reply;
}

RawReply RawReply::silence() {
  RawReply reply;
  reply.answer = false;
  return reply;
}

std::string httpResponse(int status, std::string_view body, std::string_view extraHeaders) {
  std::string response = "HTTP/1.1 " + std::to_string(status) + (status < 400 ? " OK" : " Error");
  response += "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
  response += extraHeaders;
  response += "\r\n";
  response += body;
  return response;
}

RawHttpServer::RawHttpServer(RawReply reply) : reply_(std::move(reply)) {
  listener_ = bindLoopback(port_);
  int pipeEnds[2];
  if (::listen(listener_, 8) != 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(listener_);
    errno = error;
    throwSystemError("listen");
  }
  stopRead_ = pipeEnds[0];
  stopWrite_ = pipeEnds[1];
  thread_ = std::thread([this] { run(); });
}

RawHttpServer::~RawHttpServer() {
  const char stop = 1;
  [[maybe_unused]] const ssize_t written = ::write(stopWrite_, &stop, 1);
  thread_.join();
  ::close(listener_);
  ::close(stopRead_);
  ::close(stopWrite_);
}

std::string RawHttpServer::url(std::string_view path) const {
  return loopbackUrl(port_, path);
}

void RawHttpServer::setReply(RawReply reply) {
  std::lock_guard lock(mutex_);
  reply_ = std::move(reply);
}

RawReply RawHttpServer::currentReply() const {
  std::lock_guard lock(mutex_);
  return reply_;
}

std::optional<std::string> RawHttpServer::request(std::size_t index,
                                                  std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  if (!recorded_.wait_for(lock, timeout, [&] { return requests_.size() > index; })) {
    return std::nullopt;
  }
  return requests_[index];
}

std::size_t RawHttpServer::requestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

void RawHttpServer::record(std::string request) {
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(request));
  }
  recorded_.notify_all();
}

void RawHttpServer::run() {
  while (waitFor(listener_, POLLIN, stopRead_)) {
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) continue;
    serve(connection);
    ::close(connection);
  }
}

void RawHttpServer::serve(int connection) {
  bool stopped = false;
  record(readRequest(connection, stopRead_, stopped));
  if (stopped) return;
  const RawReply reply = currentReply();
  if (!reply.answer) {
    holdUntilClosed(connection, stopRead_);
    return;
  }
  const std::size_t count = std::min(reply.cutAfter, reply.bytes.size());
  writeAll(connection, std::string_view(reply.bytes).substr(0, count), stopRead_);
}

ClosedPort::ClosedPort() {
  socket_ = bindLoopback(port_);
}

ClosedPort::~ClosedPort() {
  ::close(socket_);
}

std::string ClosedPort::url(std::string_view path) const {
  return loopbackUrl(port_, path);
}

}  // namespace tarvine::test
