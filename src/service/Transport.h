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
#include "service/ReplyText.h"

namespace tarvine::service {

// The owner's error report: the error and the name of the reporting procedure.
using ErrorReporter = std::function<void(const RuntimeError& error, std::string_view procedure)>;

// An envelope as its builder made it, or already in the form the transport sends.
enum class EnvelopeForm { Built, Written };

// Everything one exchange produced. `result` is what ReturnWebserviceXML returns; the rest tells
// the library's own callers whether the service answered.
struct Exchange {
  std::string result;
  bool completed = false;            // a whole reply came back
  long httpStatus = 0;               // 0 when no reply came back
  std::string contentType;           // the reply's Content-Type, empty when it had none
  std::optional<std::string> fault;  // faultstring (or faultcode) of a SOAP fault reply
  bool hasResponse = false;          // the reply's body holds the operation's response element
  bool cancelled = false;            // the user cancelled it: not an error, nothing reported
  // True when a well-formed 2xx reply without a SOAP fault holds the operation's response
  // element: only then did the service do what was asked.
  bool answered() const {
    return completed && httpStatus >= 200 && httpStatus < 300 && !fault && hasResponse;
  }
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
  // and gives an empty result, as does a reply refused for its shape (XmlDocument), reported
  // with number 7; a reply that is not XML gives an empty result without a report.
  Exchange call(const std::string& asmxUrl, const std::string& host, const std::string& soapAction,
                const std::string& envelope, bool updateOnly) {
    return run(asmxUrl, host, soapAction, {}, envelope, EnvelopeForm::Built,
               updateOnly ? Reading::Nothing : Reading::Text, Activity{{}, !updateOnly});
  }

  // One operation of the route service, for the control and the form: as call(), but a request
  // whose envelope does not parse (text that is not UTF-8 of XML characters) is not sent, and a
  // reply that does not answer the operation (see Exchange::answered) gives the empty result.
  // Both are reported under "ReturnWebserviceXML": the first with number 5, the second with the
  // HTTP status as number and the fault text or an account of the reply as description. The
  // activity text is what the dispatcher reads while it runs; only reads may be cancelled, and
  // a cancelled exchange is not reported (Exchange::cancelled).
  // With EnvelopeForm::Written the envelope is already what the parse and write-out would make
  // of it, and is sent as it is.
  Exchange callOperation(const std::string& asmxUrl, const std::string& host,
                         const std::string& soapAction, std::string_view operation,
                         const std::string& envelope, bool updateOnly, std::string activity = {},
                         EnvelopeForm form = EnvelopeForm::Built);

  // One query of the route service, as callOperation() without updateOnly, whose result is the
  // data set text: what the operation's unwrapper makes of callOperation()'s result
  // (takeDataSetText()), the reply's tree and text never held at once. A read that is not
  // `cancellable` runs to its end even after the user cancelled another read.
  Exchange callQuery(const std::string& asmxUrl, const std::string& host,
                     const std::string& soapAction, std::string_view operation,
                     const std::string& envelope, std::string activity = {},
                     bool cancellable = true);

  // The public method's face: call(...).result.
  std::string ReturnWebserviceXML(const std::string& asmxUrl, const std::string& host,
                                  const std::string& soapAction, const std::string& envelope,
                                  bool updateOnly = false) {
    return call(asmxUrl, host, soapAction, envelope, updateOnly).result;
  }

 private:
  // What the caller reads of a reply.
  enum class Reading { Nothing, Text, DataSet };
  // The exchange; `operation` empty for the public method, which checks nothing more.
  Exchange run(const std::string& asmxUrl, const std::string& host, const std::string& soapAction,
               std::string_view operation, const std::string& envelope, EnvelopeForm form,
               Reading reading, Activity activity);

  ErrorReporter report_;
  HttpTimeouts timeouts_;
  std::size_t maxReplyBytes_ = kMaxReplyBytes;
  std::unique_ptr<HttpRequest> httpRequest_;
  std::unique_ptr<XmlDocument> responseDocument_;
};

}  // namespace tarvine::service
