#include "FaultServer.h"

#include <cstdio>
#include <stdexcept>

#include <zlib.h>

#include "ConnectionPool.h"
#include "SoapDispatcher.h"
#include "SoapReply.h"
#include "TestText.h"

namespace tarvine::test {
namespace {

constexpr int kDeep = 100'000;

std::string operationOf(const std::string& request) {
  const std::string soapAction = headerValue(request, "SOAPAction").value_or("");
  return soapAction.substr(soapAction.rfind('/') + 1);
}

std::string headers(std::string_view contentType, std::string_view more = "") {
  return "Content-Type: " + std::string(contentType) + "\r\n" + std::string(more) +
         "Connection: close\r\n";
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

// The reply (ASCII, as the demo data is) in UTF-16 little-endian with a byte-order mark, its
// declaration saying so.
std::string inUtf16(std::string body) {
  const std::size_t declared = body.find("encoding=\"utf-8\"");
  if (declared != std::string::npos) body.replace(declared, 16, "encoding=\"utf-16\"");
  std::string out = "\xFF\xFE";
  for (const char c : body) out += {c, '\0'};
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
      http_([this](const std::string& request) { return respond(request); }) {}

FaultServer::~FaultServer() = default;

void FaultServer::inject(std::string_view operation, Fault fault) {
  std::lock_guard lock(mutex_);
  faults_[std::string(operation)] = fault;
}

void FaultServer::clear() {
  std::lock_guard lock(mutex_);
  faults_.clear();
}

std::vector<std::string> FaultServer::operations() const {
  std::vector<std::string> operations;
  for (std::size_t i = operationsSeen_; i < http_.requestCount(); ++i)
    operations.push_back(operationOf(http_.request(i).value_or("")));
  return operations;
}

RawReply FaultServer::respond(const std::string& request) {
  const std::size_t headEnd = request.find("\r\n\r\n");
  if (headEnd == std::string::npos) return RawReply::truncated("", 0);
  const std::string operation = operationOf(request);
  Fault fault = Fault::None;
  {
    std::lock_guard lock(mutex_);
    if (const auto found = faults_.find(operation); found != faults_.end()) fault = found->second;
  }
  serve::SoapExchange answer;
  answer.body = serve::resultReply(operation, "");
  if (runsRequest(fault)) {
    answer = serve::answerSoapRequest(request.substr(headEnd + 4),
                                      headerValue(request, "SOAPAction").value_or(""), *pool_);
  }
  const std::string xml = headers("text/xml; charset=utf-8");
  const std::string whole = httpResponse(answer.status, answer.body, xml);
  const std::size_t half = answer.body.size() / 2;
  switch (fault) {
    case Fault::None:
      return RawReply::full(whole);
    case Fault::Silent:
      return RawReply::silence();
    case Fault::Slow:
      return {.bytes = whole, .pauseAt = whole.size() - answer.body.size(), .pause = slowDelay_};
    case Fault::CloseMidBody: {
      char size[32];
      std::snprintf(size, sizeof size, "%zx\r\n", answer.body.size());
      return RawReply::full("HTTP/1.1 200 OK\r\n" +
                            headers("text/xml; charset=utf-8", "Transfer-Encoding: chunked\r\n") +
                            "\r\n" + size + answer.body.substr(0, half));
    }
    case Fault::ShortBody:
      return RawReply::truncated(whole, whole.size() - answer.body.size() + half);
    case Fault::Reset:
      return {.bytes = "", .reset = true};
    case Fault::Oversized:
      return RawReply::full(httpResponse(200, std::string(std::size_t{8} << 20, ' '), xml));
    case Fault::HtmlError:
      return RawReply::full(httpResponse(503, kHtmlPage, headers("text/html; charset=utf-8")));
    case Fault::SoapFault:
      return RawReply::full(httpResponse(
          500, serve::faultReply(serve::FaultCode::Server, "The back office database is offline"),
          xml));
    case Fault::InvalidUtf8:
      return RawReply::full(httpResponse(answer.status, withInvalidUtf8(answer.body), xml));
    case Fault::TinyElements:
      // 2 MB of empty elements whose tree would cost many times that: an expensive parse.
      return RawReply::full(
          httpResponse(answer.status, beforeBodyEnd(answer.body, repeated("<a/>", 500'000)), xml));
    case Fault::Utf16:
      return RawReply::full(
          httpResponse(answer.status, inUtf16(answer.body), headers("text/xml; charset=utf-16")));
    case Fault::DeepNesting:  // the result and the body both nest elements 100,000 deep
      return RawReply::full(httpResponse(
          200,
          beforeBodyEnd(serve::resultReply(operation, repeated("&lt;a&gt;", kDeep) +
                                                          repeated("&lt;/a&gt;", kDeep)),
                        repeated("<n>", kDeep) + repeated("</n>", kDeep)),
          xml));
    case Fault::OkEmpty:
      return RawReply::full(httpResponse(200, "", xml));
    case Fault::OkHtmlPage:
      return RawReply::full(httpResponse(200, kHtmlPage, headers("text/html; charset=utf-8")));
    case Fault::OkGarbage:
      return RawReply::full(httpResponse(200, "\x89PNG\r\n\x1A\n garbage <<<&&& \x01",
                                         headers("application/octet-stream")));
    case Fault::OkGzip:
      return RawReply::full(
          httpResponse(200, gzipped(answer.body),
                       headers("text/xml; charset=utf-8", "Content-Encoding: gzip\r\n")));
  }
  return RawReply::full(whole);
}

}  // namespace tarvine::test
