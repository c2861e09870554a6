#include "HttpRoutes.h"

#include <malloc.h>

#include <algorithm>

#include "AccessPolicy.h"
#include "HealthCheck.h"
#include "SoapDispatcher.h"
#include "SoapNames.h"
#include "Wsdl.h"

namespace tarvine::serve {
namespace {

constexpr const char* kXmlType = "text/xml; charset=utf-8";

// Requests at least this large leave enough freed memory behind to be worth trimming.
constexpr std::size_t kTrimAfterBytes = std::size_t{1} << 20;

std::string_view pathOf(std::string_view target) {
  return target.substr(0, target.find('?'));
}

bool asksForWsdl(std::string_view target) {
  const std::size_t question = target.find('?');
  if (question == std::string_view::npos) return false;
  const std::string_view query = target.substr(question + 1);
  return query.size() == 4 && std::equal(query.begin(), query.end(), "wsdl",
                                         [](char a, char b) { return (a | 0x20) == b; });
}

// The endpoint's address as the caller reached it: the Host header when it is a plain
// host[:port], otherwise the address the service listens on.
std::string endpointUrl(const IncomingRequest& request, const RouteContext& context) {
  const std::string scheme = context.baseUrl.substr(0, context.baseUrl.find("://"));
  const bool plainHost = request.host && plainHostPart(*request.host);
  return (plainHost ? scheme + "://" + *request.host : context.baseUrl) + kEndpointPath;
}

HttpAnswer plain(int status, std::string operation, std::string contentType, std::string body) {
  HttpAnswer answer;
  answer.status = status;
  answer.contentType = std::move(contentType);
  answer.body = std::move(body);
  answer.record.operation = std::move(operation);
  answer.record.outcome = status == 200 ? Outcome::Ok : Outcome::Http;
  answer.record.status = status;
  return answer;
}

}  // namespace

HttpAnswer answerRequest(IncomingRequest request, const RouteContext& context) {
  const std::string_view path = pathOf(request.target);
  const std::string operation = request.method + " " + std::string(path);
  if (path == kEndpointPath && request.method == "POST") {
    SoapExchange exchange =
        answerSoapRequest(std::move(request.body), request.soapAction, context.pool);
    return {exchange.status, kXmlType, std::move(exchange.body), std::move(exchange.record)};
  }
  if (path == kEndpointPath && request.method == "GET" && asksForWsdl(request.target)) {
    return plain(200, operation + "?wsdl", kXmlType, wsdlDocument(endpointUrl(request, context)));
  }
  if (path == kHealthPath && request.method == "GET") {
    const auto uptime = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::steady_clock::now() - context.started);
    HealthReport health = checkHealth(context.dbPath, uptime);
    HttpAnswer answer = plain(health.status, operation, "application/json", std::move(health.body));
    answer.record.detail = std::move(health.detail);
    return answer;
  }
  return plain(404, operation, "", "");
}

HttpAnswer refusal(std::string reason) {
  HttpAnswer answer = plain(403, "(refused)", "text/plain; charset=utf-8", "Forbidden\n");
  answer.record.outcome = Outcome::Refused;
  answer.record.detail = std::move(reason);
  return answer;
}

void releaseMemoryAfter(std::size_t requestBytes) {
  if (requestBytes >= kTrimAfterBytes) malloc_trim(0);
}

}  // namespace tarvine::serve
