// Answers one SOAP request body: parse, check the SOAPAction, run the operation, write the reply.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvine::serve {

class ConnectionPool;

// The HTTP answer to one request and the line that the request log gets for it.
struct SoapExchange {
  int status = 200;
  std::string body;
  std::string logLine;
};

// Answers a POST body with its SOAPAction header (absent: nullopt). Never throws: a bad request
// gets a soap:Client fault, any failure of ours a soap:Server fault, both with HTTP 500.
SoapExchange answerSoapRequest(std::string_view body, const std::optional<std::string>& soapAction,
                               ConnectionPool& pool);

// The fault exchange for a request body larger than the service accepts.
SoapExchange oversizedRequestExchange();

}  // namespace tarvine::serve
