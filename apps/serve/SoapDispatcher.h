// Answers one SOAP request body: parse, check the SOAPAction, run the operation, write the reply.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "RequestLog.h"

namespace tarvine::serve {

class ConnectionPool;

// The HTTP answer to one request and what the request log gets for it (operation, load,
// person, statements, rows, outcome; the caller adds time, client and duration).
struct SoapExchange {
  int status = 200;
  std::string body;
  RequestRecord record;
};

// Answers a POST body with its SOAPAction header (absent: nullopt). Never throws: a bad request
// gets a soap:Client fault, any failure of ours a soap:Server fault, both with HTTP 500.
SoapExchange answerSoapRequest(std::string body, const std::optional<std::string>& soapAction,
                               ConnectionPool& pool);

// The fault exchange for a request body larger than the service accepts.
SoapExchange oversizedRequestExchange();

// The fault exchange (HTTP 503) for a request refused because the service holds as much as it
// may (why says what), logged as record with the fault.
SoapExchange busyExchange(std::string_view why, RequestRecord record);

}  // namespace tarvine::serve
