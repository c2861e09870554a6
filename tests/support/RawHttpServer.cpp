#include "RawHttpServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace tarvine::test {

RawReply RawReply::full(std::string bytes) {
  return truncated(std::move(bytes), kWhole);
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
  return "HTTP/1.1 " + std::to_string(status) + (status < 400 ? " OK" : " Error") +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + std::string(extraHeaders) +
         "\r\n" + std::string(body);
}

RawHttpServer::RawHttpServer(RawReply reply)
    : respond_([reply = std::move(reply)](const std::string&) { return reply; }),
      listener_([this](int connection, int stopFd) { serve(connection, stopFd); }, false) {}

RawHttpServer::RawHttpServer(Responder respond)
    : respond_(std::move(respond)),
      listener_([this](int connection, int stopFd) { serve(connection, stopFd); }, true) {}

std::string RawHttpServer::url(std::string_view path) const {
  return loopbackUrl(listener_.port(), path);
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

void RawHttpServer::serve(int connection, int stopFd) {
  const std::optional<std::string> request = readRequest(connection, stopFd);
  if (!request) return;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(*request);
  }
  recorded_.notify_all();
  const RawReply reply = respond_(*request);
  if (!reply.answer) return holdUntilClosed(connection, stopFd);
  if (reply.reset) {
    const linger abort{1, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    return;
  }
  const std::string_view bytes = std::string_view(reply.bytes).substr(0, reply.cutAfter);
  const std::size_t pauseAt = std::min(reply.pauseAt, bytes.size());
  if (writeAll(connection, bytes.substr(0, pauseAt), stopFd) &&
      waitFor(connection, 0, stopFd, static_cast<int>(reply.pause.count())) == 0) {
    writeAll(connection, bytes.substr(pauseAt), stopFd);
  }
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
