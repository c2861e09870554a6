#include "RawHttpServer.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace tarvine::test {

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

RawHttpServer::RawHttpServer(RawReply reply)
    : reply_(std::move(reply)),
      listener_([this](int connection, int stopFd) { serve(connection, stopFd); }, false) {}

std::string RawHttpServer::url(std::string_view path) const {
  return loopbackUrl(listener_.port(), path);
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

void RawHttpServer::serve(int connection, int stopFd) {
  const std::optional<std::string> request = readRequest(connection, stopFd);
  if (!request) return;
  record(*request);
  const RawReply reply = currentReply();
  if (!reply.answer) {
    holdUntilClosed(connection, stopFd);
    return;
  }
  const std::size_t count = std::min(reply.cutAfter, reply.bytes.size());
  writeAll(connection, std::string_view(reply.bytes).substr(0, count), stopFd);
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
