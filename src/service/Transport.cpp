#include "service/Transport.h"

#include <string_view>

#include "platform/Convert.h"
#include "service/RouteOperations.h"

namespace tarvine::service {
namespace {

constexpr std::string_view kProcedure = "ReturnWebserviceXML";
constexpr std::string_view kIncompleteExchange = "ReturnWebservice Method could not load XML data";

XmlNode childByLocalName(XmlNode parent, std::string_view name) {
  for (XmlNode child = parent.firstChild(); child; child = child.nextSibling()) {
    if (child.isElement() && localName(child.name()) == name) return child;
  }
  return {};
}

// The faultstring (or faultcode) of a SOAP fault reply; nothing for any other reply.
std::optional<std::string> soapFault(const XmlDocument& reply) {
  const XmlNode envelope = childByLocalName(reply.root(), "Envelope");
  const XmlNode fault = childByLocalName(childByLocalName(envelope, "Body"), "Fault");
  if (!fault) return std::nullopt;
  for (std::string_view field : {"faultstring", "faultcode"}) {
    if (const XmlNode node = childByLocalName(fault, field)) {
      std::string text = node.text();
      if (!text.empty()) return text;
    }
  }
  return std::string("SOAP fault");
}

// True when the reply's SOAP body holds <OperationResponse> in the route namespace.
bool holdsResponse(const XmlDocument& reply, std::string_view operation) {
  const std::string response = std::string(operation) + "Response";
  const XmlNode body = childByLocalName(childByLocalName(reply.root(), "Envelope"), "Body");
  for (XmlNode child = body.firstChild(); child; child = child.nextSibling()) {
    if (child.isElement() && localName(child.name()) == response &&
        namespaceOf(child.raw()) == kRouteNamespace) {
      return true;
    }
  }
  return false;
}

// Why a reply does not answer the operation, in a few words for the log.
std::string accountOf(const Exchange& exchange, std::string_view operation) {
  if (exchange.fault) return *exchange.fault;
  std::string account = "HTTP " + convert::integerText(exchange.httpStatus) + " reply ";
  account += exchange.hasResponse ? "to " : "without a ";
  account += operation;
  if (!exchange.hasResponse) account += "Response";
  account += " (" + (exchange.contentType.empty() ? "no content type" : exchange.contentType) + ")";
  return account;
}

}  // namespace

Exchange Transport::callOperation(const std::string& asmxUrl, const std::string& host,
                                  const std::string& soapAction, std::string_view operation,
                                  const std::string& envelope, bool updateOnly,
                                  std::string activity, EnvelopeForm form) {
  return run(asmxUrl, host, soapAction, operation, envelope, form,
             updateOnly ? Reading::Nothing : Reading::Text,
             Activity{std::move(activity), !updateOnly});
}

Exchange Transport::callQuery(const std::string& asmxUrl, const std::string& host,
                              const std::string& soapAction, std::string_view operation,
                              const std::string& envelope, std::string activity, bool cancellable) {
  return run(asmxUrl, host, soapAction, operation, envelope, EnvelopeForm::Built, Reading::DataSet,
             Activity{std::move(activity), cancellable});
}

Exchange Transport::run(const std::string& asmxUrl, const std::string& host,
                        const std::string& soapAction, std::string_view operation,
                        const std::string& envelope, EnvelopeForm form, Reading reading,
                        Activity activity) {
  Exchange exchange;
  httpRequest_ = std::make_unique<HttpRequest>();
  responseDocument_ = std::make_unique<XmlDocument>();
  const bool checked = !operation.empty();
  try {
    // The body is the envelope as parsed and written out again; an envelope that does not parse
    // goes out empty (the public method keeps that plain behaviour for hosts), except for the
    // route service operations, where an empty body would only earn a fault that hides the cause.
    std::string rewritten;
    if (form == EnvelopeForm::Built) {
      XmlDocument request;
      if (!request.loadXml(envelope) && checked) {
        report_(RuntimeError(5, "The " + std::string(operation) +
                                    " request was not sent: it holds text that is not valid UTF-8 "
                                    "or a character XML does not allow (" +
                                    request.parseErrorReason() + ")"),
                kProcedure);
        return exchange;
      }
      rewritten = request.xml();
    }
    const std::string& body = form == EnvelopeForm::Built ? rewritten : envelope;

    httpRequest_->setTimeouts(timeouts_);
    httpRequest_->setMaxReplyBytes(maxReplyBytes_);
    httpRequest_->setActivity(std::move(activity));
    httpRequest_->open("POST", asmxUrl);
    httpRequest_->setRequestHeader("Host", host);
    httpRequest_->setRequestHeader("Content-Type", "text/xml; charset=utf-8");
    httpRequest_->setRequestHeader("Content-Length", convert::integerText(body.size()));
    httpRequest_->setRequestHeader("SOAPAction", soapAction);
    httpRequest_->send(body);

    if (httpRequest_->readyState() != HttpRequest::kDone) {
      report_(RuntimeError(0, std::string(kIncompleteExchange)), kProcedure);
      return exchange;
    }
    exchange.completed = true;
    exchange.httpStatus = httpRequest_->status();
    exchange.contentType = httpRequest_->responseContentType();
    // One parse, settled as a second parse of its serialization would leave it, serves both the
    // fault check and the reply text. The reply is bytes from the network, read in the encoding
    // it declares, where they are.
    if (!parseReply(*responseDocument_, httpRequest_->takeResponseText()) &&
        responseDocument_->refusedForShape()) {
      report_(RuntimeError(7, "The reply was refused: " + responseDocument_->parseErrorReason()),
              kProcedure);
      return Exchange{};
    }
    exchange.fault = soapFault(*responseDocument_);
    if (checked) {
      exchange.hasResponse = holdsResponse(*responseDocument_, operation);
      if (!exchange.answered()) {
        report_(RuntimeError(static_cast<std::int32_t>(exchange.httpStatus),
                             accountOf(exchange, operation)),
                kProcedure);
        return exchange;
      }
    }
    if (reading == Reading::Nothing) return exchange;

    httpRequest_.reset();
    exchange.result = reading == Reading::DataSet ? takeDataSetText(*responseDocument_, operation)
                                                  : takeReplyText(*responseDocument_);
  } catch (const RuntimeError& error) {
    exchange = Exchange{};
    // A user's cancel is not an error: the caller leaves what the read would have replaced.
    exchange.cancelled = error.number() == kErrCancelledByUser;
    if (!exchange.cancelled) report_(error, kProcedure);
  } catch (const std::bad_alloc&) {
    exchange = Exchange{};
    report_(RuntimeError(7, "Out of memory"), kProcedure);
  }
  return exchange;
}

}  // namespace tarvine::service
