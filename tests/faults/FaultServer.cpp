#include "FaultServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

#include <zlib.h>

#include "ConnectionPool.h"
#include "SoapDispatcher.h"
#include "SoapReply.h"

namespace tarvine::test {
namespace {

constexpr std::size_t kMaxRequestBytes = std::size_t{64} << 20;
constexpr int kDeepLevels = 100'000;

[[noreturn]] void fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// Waits up to `timeout` (negative: without limit) until fd reports `events`. Returns 1 when it
// does, 0 on time-out, -1 once the stop pipe is readable.
int waitFor(int fd, short events, int stopFd, int timeoutMs = -1) {
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

// Holds the connection until the peer closes it or the server stops.
void holdUntilClosed(int connection, int stopFd) {
  char buffer[4096];
  while (waitFor(connection, POLLIN, stopFd) == 1) {
    const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
    if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) return;
  }
}

struct Request {
  std::string soapAction;
  std::string body;
};

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return text;
}

// The value of a header in a request head (names compared without case), or nothing.
std::optional<std::string> headerValue(const std::string& head, const std::string& name) {
  const std::string lower = lowered(head);
  const std::size_t at = lower.find("\r\n" + lowered(name) + ":");
  if (at == std::string::npos) return std::nullopt;
  std::size_t start = at + 3 + name.size();
  const std::size_t end = head.find("\r\n", start);
  while (start < end && head[start] == ' ') ++start;
  return head.substr(start, end - start);
}

// Reads one request: head and Content-Length body. Nothing when the peer or the server stopped.
std::optional<Request> readRequest(int connection, int stopFd) {
  std::string data;
  std::size_t expected = std::string::npos;
  std::string head;
  char buffer[65536];
  while (data.size() < expected) {
    if (waitFor(connection, POLLIN, stopFd) != 1) return std::nullopt;
    const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) return std::nullopt;
    data.append(buffer, static_cast<std::size_t>(count));
    if (expected == std::string::npos) {
      const std::size_t headEnd = data.find("\r\n\r\n");
      if (headEnd == std::string::npos) continue;
      head = data.substr(0, headEnd + 2);
      const std::size_t length = std::stoul(headerValue(head, "Content-Length").value_or("0"));
      expected = headEnd + 4 + std::min(length, kMaxRequestBytes);
    }
  }
  return Request{headerValue(head, "SOAPAction").value_or(""), data.substr(head.size() + 2)};
}

std::string operationOf(const std::string& soapAction) {
  const std::size_t slash = soapAction.rfind('/');
  return slash == std::string::npos ? soapAction : soapAction.substr(slash + 1);
}

std::string head(int status, std::string_view contentType, std::string_view framing) {
  return "HTTP/1.1 " + std::to_string(status) + (status < 400 ? " OK" : " Error") +
         "\r\nContent-Type: " + std::string(contentType) + "\r\n" + std::string(framing) +
         "Connection: close\r\n\r\n";
}

std::string lengthHeader(std::size_t length) {
  return "Content-Length: " + std::to_string(length) + "\r\n";
}

// The reply with bytes that are not UTF-8 inside a value: in the first data set value when
// there is one, else in a comment before the envelope's end.
std::string withInvalidUtf8(std::string body) {
  static constexpr std::string_view kInvalid = "\xC3\x28\xFF\xFE";
  const std::size_t value = body.find("&lt;/");
  if (value != std::string::npos) return body.insert(value, kInvalid);
  const std::size_t end = body.rfind("</soap:Envelope>");
  return body.insert(end == std::string::npos ? body.size() : end,
                     "<!--" + std::string(kInvalid) + "-->");
}

// The reply in UTF-16 little-endian with a byte-order mark, its declaration saying so.
std::string inUtf16(std::string body) {
  const std::size_t declared = body.find("encoding=\"utf-8\"");
  if (declared != std::string::npos) body.replace(declared, 16, "encoding=\"utf-16\"");
  std::string out = "\xFF\xFE";
  for (std::size_t i = 0; i < body.size();) {
    const auto lead = static_cast<unsigned char>(body[i]);
    std::uint32_t c = lead;
    std::size_t length = 1;
    if (lead >= 0xF0) {
      c = lead & 0x07u, length = 4;
    } else if (lead >= 0xE0) {
      c = lead & 0x0Fu, length = 3;
    } else if (lead >= 0xC0) {
      c = lead & 0x1Fu, length = 2;
    }
    for (std::size_t k = 1; k < length && i + k < body.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(body[i + k]) & 0x3Fu);
    }
    i += length;
    auto unit = [&out](std::uint32_t u) {
      out += static_cast<char>(u & 0xFF);
      out += static_cast<char>(u >> 8);
    };
    if (c >= 0x10000) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  return out;
}

// A reply of the operation whose result and body both nest elements 100,000 levels deep.
std::string deeplyNested(const std::string& operation) {
  std::string deep;
  for (int i = 0; i < kDeepLevels; ++i) deep += "&lt;a&gt;";
  for (int i = 0; i < kDeepLevels; ++i) deep += "&lt;/a&gt;";
  std::string body = serve::resultReply(operation, deep);
  std::string raw;
  for (int i = 0; i < kDeepLevels; ++i) raw += "<n>";
  for (int i = 0; i < kDeepLevels; ++i) raw += "</n>";
  const std::size_t end = body.rfind("</soap:Body>");
  return body.insert(end, raw);
}

// The body compressed as one gzip member.
std::string gzipped(const std::string& body) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::string out(deflateBound(&stream, body.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
  stream.avail_in = static_cast<uInt>(body.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

constexpr std::string_view kHtmlPage =
    "<!DOCTYPE html>\r\n<html><head><title>503 Service Unavailable</title></head>"
    "<body><h1>Service Unavailable</h1><p>The server is temporarily unable to service your "
    "request.</p><hr></body></html>";

}  // namespace

const char* faultName(Fault fault) {
  switch (fault) {
    case Fault::None:
      return "None";
    case Fault::Silent:
      return "Silent";
    case Fault::Slow:
      return "Slow";
    case Fault::CloseMidBody:
      return "CloseMidBody";
    case Fault::ShortBody:
      return "ShortBody";
    case Fault::Reset:
      return "Reset";
    case Fault::Oversized:
      return "Oversized";
    case Fault::HtmlError:
      return "HtmlError";
    case Fault::SoapFault:
      return "SoapFault";
    case Fault::InvalidUtf8:
      return "InvalidUtf8";
    case Fault::Utf16:
      return "Utf16";
    case Fault::DeepNesting:
      return "DeepNesting";
    case Fault::OkEmpty:
      return "OkEmpty";
    case Fault::OkHtmlPage:
      return "OkHtmlPage";
    case Fault::OkGarbage:
      return "OkGarbage";
    case Fault::OkGzip:
      return "OkGzip";
  }
  return "Unknown";
}

bool failsExchange(Fault fault) {
  switch (fault) {
    case Fault::Silent:
    case Fault::Slow:
    case Fault::CloseMidBody:
    case Fault::ShortBody:
    case Fault::Reset:
    case Fault::Oversized:
      return true;
    default:
      return false;
  }
}

bool runsRequest(Fault fault) {
  return fault == Fault::None || fault == Fault::InvalidUtf8 || fault == Fault::Utf16 ||
         fault == Fault::DeepNesting;
}

FaultServer::FaultServer(const std::string& dbPath)
    : pool_(std::make_unique<serve::ConnectionPool>(dbPath)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener_ < 0) fail("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int pipeEnds[2];
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::listen(listener_, 16) != 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    ::close(listener_);
    fail("listen");
  }
  port_ = ntohs(address.sin_port);
  stopRead_ = pipeEnds[0];
  stopWrite_ = pipeEnds[1];
  acceptor_ = std::thread([this] { acceptLoop(); });
}

FaultServer::~FaultServer() {
  const char stop = 1;
  [[maybe_unused]] const ssize_t written = ::write(stopWrite_, &stop, 1);
  acceptor_.join();
  for (std::thread& worker : workers_) worker.join();
  ::close(listener_);
  ::close(stopRead_);
  ::close(stopWrite_);
}

std::string FaultServer::server() const {
  return "http://127.0.0.1:" + std::to_string(port_);
}

void FaultServer::inject(std::string_view operation, Fault fault) {
  std::lock_guard lock(mutex_);
  faults_[std::string(operation)] = fault;
}

void FaultServer::clear() {
  std::lock_guard lock(mutex_);
  faults_.clear();
}

std::vector<std::string> FaultServer::operations() const {
  std::lock_guard lock(mutex_);
  return operations_;
}

void FaultServer::clearOperations() {
  std::lock_guard lock(mutex_);
  operations_.clear();
}

Fault FaultServer::faultFor(const std::string& operation) const {
  std::lock_guard lock(mutex_);
  const auto found = faults_.find(operation);
  return found == faults_.end() ? Fault::None : found->second;
}

void FaultServer::acceptLoop() {
  while (waitFor(listener_, POLLIN, stopRead_) == 1) {
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) continue;
    std::lock_guard lock(mutex_);
    workers_.emplace_back([this, connection] {
      serve(connection);
      ::close(connection);
    });
  }
}

void FaultServer::serve(int connection) {
  const std::optional<Request> request = readRequest(connection, stopRead_);
  if (!request) return;
  const std::string operation = operationOf(request->soapAction);
  {
    std::lock_guard lock(mutex_);
    operations_.push_back(operation);
  }
  const Fault fault = faultFor(operation);
  serve::SoapExchange answer;
  if (runsRequest(fault)) {
    answer = serve::answerSoapRequest(request->body, request->soapAction, *pool_);
  } else {
    answer.body = serve::resultReply(operation, "");
  }
  const std::string xml = "text/xml; charset=utf-8";
  switch (fault) {
    case Fault::None:
      writeAll(connection, head(answer.status, xml, lengthHeader(answer.body.size())) + answer.body,
               stopRead_);
      return;
    case Fault::Silent:
      holdUntilClosed(connection, stopRead_);
      return;
    case Fault::Slow:
      if (!writeAll(connection, head(200, xml, lengthHeader(answer.body.size())), stopRead_)) {
        return;
      }
      if (waitFor(connection, 0, stopRead_, static_cast<int>(slowDelay_.load().count())) < 0) {
        return;
      }
      writeAll(connection, answer.body, stopRead_);
      return;
    case Fault::CloseMidBody: {
      const std::size_t half = answer.body.size() / 2;
      char size[32];
      std::snprintf(size, sizeof size, "%zx\r\n", answer.body.size());
      writeAll(
          connection,
          head(200, xml, "Transfer-Encoding: chunked\r\n") + size + answer.body.substr(0, half),
          stopRead_);
      return;
    }
    case Fault::ShortBody:
      writeAll(connection,
               head(200, xml, lengthHeader(answer.body.size())) +
                   answer.body.substr(0, answer.body.size() / 2),
               stopRead_);
      return;
    case Fault::Reset: {
      const linger abort{1, 0};
      ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      return;
    }
    case Fault::Oversized: {
      const std::size_t total = 2 * oversizeLimit_.load();
      if (!writeAll(connection, head(200, xml, lengthHeader(total)), stopRead_)) return;
      const std::string filler(64 * 1024, ' ');
      for (std::size_t sent = 0; sent < total; sent += filler.size()) {
        if (!writeAll(connection, std::string_view(filler).substr(0, total - sent), stopRead_)) {
          return;
        }
      }
      return;
    }
    case Fault::HtmlError:
      writeAll(connection,
               head(503, "text/html; charset=utf-8", lengthHeader(kHtmlPage.size())) +
                   std::string(kHtmlPage),
               stopRead_);
      return;
    case Fault::SoapFault: {
      const std::string body =
          serve::faultReply(serve::FaultCode::Server, "The back office database is offline");
      writeAll(connection, head(500, xml, lengthHeader(body.size())) + body, stopRead_);
      return;
    }
    case Fault::InvalidUtf8: {
      const std::string body = withInvalidUtf8(answer.body);
      writeAll(connection, head(answer.status, xml, lengthHeader(body.size())) + body, stopRead_);
      return;
    }
    case Fault::Utf16: {
      const std::string body = inUtf16(answer.body);
      writeAll(connection,
               head(answer.status, "text/xml; charset=utf-16", lengthHeader(body.size())) + body,
               stopRead_);
      return;
    }
    case Fault::DeepNesting: {
      const std::string body = deeplyNested(operation);
      writeAll(connection, head(200, xml, lengthHeader(body.size())) + body, stopRead_);
      return;
    }
    case Fault::OkEmpty:
      writeAll(connection, head(200, xml, lengthHeader(0)), stopRead_);
      return;
    case Fault::OkHtmlPage:
      writeAll(connection,
               head(200, "text/html; charset=utf-8", lengthHeader(kHtmlPage.size())) +
                   std::string(kHtmlPage),
               stopRead_);
      return;
    case Fault::OkGarbage: {
      const std::string body = "\x89PNG\r\n\x1A\n garbage <<<&&& \x01";
      writeAll(connection, head(200, "application/octet-stream", lengthHeader(body.size())) + body,
               stopRead_);
      return;
    }
    case Fault::OkGzip: {
      const std::string body = gzipped(answer.body);
      writeAll(connection,
               head(200, xml, "Content-Encoding: gzip\r\n" + lengthHeader(body.size())) + body,
               stopRead_);
      return;
    }
  }
}

}  // namespace tarvine::test
