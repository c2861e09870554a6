#include "SoapDispatcher.h"

#include <chrono>

#include "ConnectionPool.h"
#include "Database.h"
#include "Operations.h"
#include "SoapFault.h"
#include "SoapNames.h"
#include "SoapReply.h"
#include "SoapRequest.h"

namespace tarvine::serve {
namespace {

// The SOAPAction value without the optional surrounding quotes.
std::string_view unquoted(std::string_view action) {
  if (action.size() >= 2 && action.front() == '"' && action.back() == '"') {
    return action.substr(1, action.size() - 2);
  }
  return action;
}

void checkSoapAction(const std::optional<std::string>& header, const std::string& operation) {
  const std::string expected = std::string(kRouteNamespace) + "/" + operation;
  if (!header) throw clientFault("the SOAPAction header is missing; expected " + expected);
  if (unquoted(*header) != expected) {
    throw clientFault("SOAPAction " + quoteForMessage(*header) + " does not match operation " +
                      operation + "; expected " + expected);
  }
}

// What the request is about, for the log: the load, the order or the number of statements.
std::string subjectOf(const SoapRequest& request) {
  std::string subject;
  try {
    if (request.has("OutgoingLoadID")) subject += " load " + request.text("OutgoingLoadID");
    if (request.has("OrderID")) subject += " order " + request.text("OrderID");
    if (request.has("OutgoingLoadOrderArray")) {
      subject +=
          " " + std::to_string(request.strings("OutgoingLoadOrderArray").size()) + " strings";
    }
  } catch (const SoapFault&) {
    // The operation reports the malformed parameter itself.
  }
  return subject.size() > 100 ? subject.substr(0, 100) + "..." : subject;
}

std::string elapsedText(std::chrono::steady_clock::time_point start) {
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()) +
         " ms";
}

SoapExchange faultExchange(FaultCode code, const std::string& message, std::string logHead) {
  SoapExchange exchange;
  exchange.status = 500;
  exchange.body = faultReply(code, message);
  exchange.logLine =
      std::move(logHead) + ": fault " + std::string(faultCodeText(code)) + " (" + message + ")";
  return exchange;
}

}  // namespace

SoapExchange answerSoapRequest(std::string_view body, const std::optional<std::string>& soapAction,
                               ConnectionPool& pool) {
  const auto start = std::chrono::steady_clock::now();
  std::string logHead = "(no operation)";
  SoapExchange exchange;
  try {
    const SoapRequest request = SoapRequest::parse(body);
    logHead = request.operation().substr(0, 80);
    const OperationHandler handler = findOperation(request.operation());
    if (!handler) throw clientFault("unknown operation " + quoteForMessage(request.operation()));
    logHead += subjectOf(request);
    checkSoapAction(soapAction, request.operation());
    OperationResult result;
    {
      const ConnectionPool::Lease db = pool.acquire();
      result = handler(request, *db);
    }
    exchange.body = result.resultText ? resultReply(request.operation(), *result.resultText)
                                      : emptyReply(request.operation());
    exchange.logLine =
        logHead + ": ok" + (result.resultText ? ", " + std::to_string(result.rows) + " rows" : "");
  } catch (const SoapFault& fault) {
    exchange = faultExchange(fault.code(), fault.what(), logHead);
  } catch (const DatabaseError& error) {
    exchange =
        faultExchange(FaultCode::Server, std::string("database error: ") + error.what(), logHead);
  } catch (const std::exception& error) {
    exchange =
        faultExchange(FaultCode::Server, std::string("internal error: ") + error.what(), logHead);
  }
  exchange.logLine += ", " + elapsedText(start);
  return exchange;
}

SoapExchange oversizedRequestExchange() {
  return faultExchange(FaultCode::Client,
                       "the request body is larger than " +
                           std::to_string(kMaxRequestBytes / (1024 * 1024)) + " MiB",
                       "(no operation)");
}

}  // namespace tarvine::serve
