#include "FaultServer.h"

#include <sys/socket.h>

#include <cstdio>
#include <optional>
#include <stdexcept>

#include <iconv.h>
#include <zlib.h>

#include "ConnectionPool.h"
#include "Loopback.h"
#include "SoapDispatcher.h"
#include "SoapReply.h"

namespace tarvine::test {
namespace {

constexpr int kDeep = 100'000;

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

std::string repeated(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// The reply with `extra` before the end of its SOAP body (or at its end).
std::string beforeBodyEnd(std::string body, const std::string& extra) {
  const std::size_t end = body.rfind("</soap:Body>");
  return body.insert(end == std::string::npos ? body.size() : end, extra);
}

// The reply with bytes that are not UTF-8 inside a value: in the first data set value when
// there is one, else in a comment.
std::string withInvalidUtf8(std::string body) {
  static constexpr std::string_view kInvalid = "\xC3\x28\xFF\xFE";
  const std::size_t value = body.find("&lt;/");
  if (value != std::string::npos) return body.insert(value, kInvalid);
  return beforeBodyEnd(body, "<!--" + std::string(kInvalid) + "-->");
}

// The reply in UTF-16 little-endian with a byte-order mark, its declaration saying so.
std::string inUtf16(std::string body) {
  const std::size_t declared = body.find("encoding=\"utf-8\"");
  if (declared != std::string::npos) body.replace(declared, 16, "encoding=\"utf-16\"");
  const iconv_t convert = iconv_open("UTF-16LE", "UTF-8");
  std::string out(2 * body.size() + 2, '\0');
  out[0] = '\xFF', out[1] = '\xFE';
  char* in = body.data();
  char* next = out.data() + 2;
  std::size_t inLeft = body.size(), outLeft = out.size() - 2;
  iconv(convert, &in, &inLeft, &next, &outLeft);
  iconv_close(convert);
  out.resize(out.size() - outLeft);
  return out;
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

// True for the faults after which the service has run the request.
bool runsRequest(Fault fault) {
  return fault == Fault::None || fault == Fault::InvalidUtf8 || fault == Fault::Utf16 ||
         fault == Fault::DeepNesting || fault == Fault::TinyElements;
}

}  // namespace

FaultServer::FaultServer(const std::string& dbPath)
    : pool_(std::make_unique<serve::ConnectionPool>(dbPath)),
      listener_(std::make_unique<LoopbackListener>(
          [this](int connection, int stopFd) { serve(connection, stopFd); }, true)) {}

FaultServer::~FaultServer() = default;

std::string FaultServer::server() const {
  return loopbackUrl(listener_->port(), "");
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

void FaultServer::serve(int connection, int stopFd) {
  const std::optional<std::string> read = readRequest(connection, stopFd);
  if (!read || read->find("\r\n\r\n") == std::string::npos) return;
  const std::string soapAction = headerValue(*read, "SOAPAction").value_or("");
  const std::string operation = operationOf(soapAction);
  Fault fault = Fault::None;
  {
    std::lock_guard lock(mutex_);
    operations_.push_back(operation);
    if (const auto found = faults_.find(operation); found != faults_.end()) fault = found->second;
  }
  serve::SoapExchange answer;
  if (runsRequest(fault)) {
    answer = serve::answerSoapRequest(read->substr(read->find("\r\n\r\n") + 4), soapAction, *pool_);
  } else {
    answer.body = serve::resultReply(operation, "");
  }
  const std::string xml = "text/xml; charset=utf-8";
  // A whole reply with its length.
  const auto reply = [&](int status, std::string_view contentType, std::string_view body) {
    writeAll(connection, head(status, contentType, lengthHeader(body.size())) + std::string(body),
             stopFd);
  };
  switch (fault) {
    case Fault::None:
      return reply(answer.status, xml, answer.body);
    case Fault::Silent:
      holdUntilClosed(connection, stopFd);
      return;
    case Fault::Slow:
      if (!writeAll(connection, head(200, xml, lengthHeader(answer.body.size())), stopFd)) {
        return;
      }
      if (waitFor(connection, 0, stopFd, static_cast<int>(slowDelay_.load().count())) < 0) {
        return;
      }
      writeAll(connection, answer.body, stopFd);
      return;
    case Fault::CloseMidBody: {
      const std::size_t half = answer.body.size() / 2;
      char size[32];
      std::snprintf(size, sizeof size, "%zx\r\n", answer.body.size());
      writeAll(
          connection,
          head(200, xml, "Transfer-Encoding: chunked\r\n") + size + answer.body.substr(0, half),
          stopFd);
      return;
    }
    case Fault::ShortBody:
      writeAll(connection,
               head(200, xml, lengthHeader(answer.body.size())) +
                   answer.body.substr(0, answer.body.size() / 2),
               stopFd);
      return;
    case Fault::Reset: {
      const linger abort{1, 0};
      ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      return;
    }
    case Fault::Oversized: {
      const std::size_t total = 2 * oversizeLimit_.load();
      if (!writeAll(connection, head(200, xml, lengthHeader(total)), stopFd)) return;
      const std::string filler(64 * 1024, ' ');
      for (std::size_t sent = 0; sent < total; sent += filler.size()) {
        if (!writeAll(connection, std::string_view(filler).substr(0, total - sent), stopFd)) {
          return;
        }
      }
      return;
    }
    case Fault::HtmlError:
      return reply(503, "text/html; charset=utf-8", kHtmlPage);
    case Fault::SoapFault:
      return reply(
          500, xml,
          serve::faultReply(serve::FaultCode::Server, "The back office database is offline"));
    case Fault::InvalidUtf8:
      return reply(answer.status, xml, withInvalidUtf8(answer.body));
    case Fault::TinyElements:
      // 2 MB of empty elements whose tree would cost many times that: an expensive parse.
      return reply(answer.status, xml, beforeBodyEnd(answer.body, repeated("<a/>", 500'000)));
    case Fault::Utf16:
      return reply(answer.status, "text/xml; charset=utf-16", inUtf16(answer.body));
    case Fault::DeepNesting:  // the result and the body both nest elements 100,000 deep
      return reply(200, xml,
                   beforeBodyEnd(serve::resultReply(operation, repeated("&lt;a&gt;", kDeep) +
                                                                   repeated("&lt;/a&gt;", kDeep)),
                                 repeated("<n>", kDeep) + repeated("</n>", kDeep)));
    case Fault::OkEmpty:
      return reply(200, xml, "");
    case Fault::OkHtmlPage:
      return reply(200, "text/html; charset=utf-8", kHtmlPage);
    case Fault::OkGarbage:
      return reply(200, "application/octet-stream", "\x89PNG\r\n\x1A\n garbage <<<&&& \x01");
    case Fault::OkGzip: {
      const std::string body = gzipped(answer.body);
      writeAll(connection,
               head(200, xml, "Content-Encoding: gzip\r\n" + lengthHeader(body.size())) + body,
               stopFd);
      return;
    }
  }
}

}  // namespace tarvine::test
