#include "SoapDispatcher.h"

#include "ConnectionPool.h"
#include "Database.h"
#include "Operations.h"
#include "ReplyAllowance.h"
#include "RequestLimits.h"
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

// The request's load id for the log, whatever its form; the operation checks it.
std::string loadOf(const SoapRequest& request) {
  try {
    if (request.has("OutgoingLoadID")) return request.text("OutgoingLoadID");
  } catch (const SoapFault&) {
    // The operation reports the malformed parameter itself.
  }
  return {};
}

SoapExchange faultExchange(FaultCode code, const std::string& message, RequestRecord record,
                           int status = 500) {
  SoapExchange exchange;
  exchange.status = status;
  exchange.body = faultReply(code, message);
  exchange.record = std::move(record);
  exchange.record.outcome = Outcome::Fault;
  exchange.record.status = status;
  exchange.record.detail = std::string(faultCodeText(code)) + " (" + message + ")";
  return exchange;
}

}  // namespace

SoapExchange answerSoapRequest(std::string body, const std::optional<std::string>& soapAction,
                               ConnectionPool& pool) {
  RequestRecord record;
  record.operation = "(no operation)";
  try {
    const SoapRequest request = SoapRequest::parse(std::move(body));
    record.operation = request.operation();
    const OperationHandler handler = findOperation(request.operation());
    if (!handler) throw clientFault("unknown operation " + quoteForMessage(request.operation()));
    record.load = loadOf(request);
    checkSoapAction(soapAction, request.operation());
    OperationResult result;
    {
      const ConnectionPool::Lease db = pool.acquire();
      result = handler(request, *db, record);
    }
    SoapExchange exchange;
    exchange.body = result.resultText
                        ? resultReply(request.operation(), std::move(*result.resultText))
                        : emptyReply(request.operation());
    if (result.resultText) record.rows = result.rows;
    exchange.record = std::move(record);
    return exchange;
  } catch (const ReplyRefused& refused) {
    return busyExchange(refused.what(), std::move(record));
  } catch (const SoapFault& fault) {
    return faultExchange(fault.code(), fault.what(), std::move(record));
  } catch (const DatabaseError& error) {
    return faultExchange(FaultCode::Server, std::string("database error: ") + error.what(),
                         std::move(record));
  } catch (const std::exception& error) {
    return faultExchange(FaultCode::Server, std::string("internal error: ") + error.what(),
                         std::move(record));
  }
}

SoapExchange oversizedRequestExchange() {
  RequestRecord record;
  record.operation = "(no operation)";
  return faultExchange(FaultCode::Client,
                       "the request body is larger than " +
                           std::to_string(kMaxRequestBytes / (1024 * 1024)) + " MiB",
                       std::move(record));
}

SoapExchange busyExchange(std::string_view why, RequestRecord record) {
  return faultExchange(FaultCode::Server, std::string(why) + "; send this one later",
                       std::move(record), 503);
}

}  // namespace tarvine::serve
