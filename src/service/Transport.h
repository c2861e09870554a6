#pragma once
// One SOAP 1.1 exchange over HTTP: posts an envelope, returns the reply cleaned and without its
// SOAP envelope. Used by the control and by the astray form, each with its own error report.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/HttpRequest.h"
#include "platform/RuntimeError.h"
#include "platform/XmlDocument.h"

namespace tarvine::service {

// The owner's error report: the error and the name of the reporting procedure.
using ErrorReporter = std::function<void(const RuntimeError& error, std::string_view procedure)>;

// Everything one exchange produced. `result` is what ReturnWebserviceXML returns; the rest tells
// the library's own callers whether the service accepted a request.
struct Exchange {
  std::string result;
  bool completed = false;            // a whole reply came back
  long httpStatus = 0;               // 0 when no reply came back
  std::optional<std::string> fault;  // faultstring (or faultcode) of a SOAP fault reply
  // True when the reply came back with a 2xx status and no SOAP fault.
  bool accepted() const { return completed && httpStatus >= 200 && httpStatus < 300 && !fault; }
  // Why the service did not accept the request: the fault text, else the HTTP status.
  std::string refusal() const;
};

class Transport {
 public:
  explicit Transport(ErrorReporter report) : report_(std::move(report)) {}

  void setTimeouts(HttpTimeouts timeouts) { timeouts_ = timeouts; }
  const HttpTimeouts& timeouts() const { return timeouts_; }
  // Largest reply accepted (kMaxReplyBytes unless set); a larger one fails the exchange.
  void setMaxReplyBytes(std::size_t bytes) { maxReplyBytes_ = bytes; }
  std::size_t maxReplyBytes() const { return maxReplyBytes_; }

  // Posts the envelope (parsed and written out again; one that does not parse goes out as an
  // empty body) with the headers Host, Content-Type, Content-Length and SOAPAction. With
  // updateOnly the result is empty. A failed exchange is reported under "ReturnWebserviceXML"
  // and gives an empty result; a reply that is not XML gives an empty result without a report.
  // The activity text is what the dispatcher reads while it runs; only reads may be cancelled.
  Exchange call(const std::string& asmxUrl, const std::string& host, const std::string& soapAction,
                const std::string& envelope, bool updateOnly, std::string activity = {});

  // The public method's face: call(...).result.
  std::string ReturnWebserviceXML(const std::string& asmxUrl, const std::string& host,
                                  const std::string& soapAction, const std::string& envelope,
                                  bool updateOnly = false) {
    return call(asmxUrl, host, soapAction, envelope, updateOnly).result;
  }

 private:
  ErrorReporter report_;
  HttpTimeouts timeouts_;
  std::size_t maxReplyBytes_ = kMaxReplyBytes;
  std::unique_ptr<HttpRequest> httpRequest_;
  std::unique_ptr<XmlDocument> responseDocument_;
};

// Turns "&lt;" and "&gt;" into "<" and ">" and rewrites the version-only declaration as
// <?xml version="1.0" encoding="utf-8" ?>. Plain replacements, in that order.
std::string CleanResponseXML(std::string_view text);

// Removes the reply's envelope start tag (xmlns:soap, xmlns:xsi, xmlns:xsd in that order),
// "<soap:Body>", "</soap:Body>" and "</soap:Envelope>". Anything written differently stays.
std::string StripSOAPEnvelope(std::string_view text);

}  // namespace tarvine::service
