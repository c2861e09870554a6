#pragma once
// Tells a dispatcher whether a route service address works before the control uses it: asks the
// service for its description (`?wsdl`, which ASMX route services answer) and looks for the
// seven operations the control calls.

#include <string>

#include "platform/HttpRequest.h"

namespace tarvine::tools {

// What the check found.
enum class ServiceVerdict {
  Ready,            // a route service with all seven operations
  BadAddress,       // the text is not an http:// or https:// address
  Unreachable,      // no connection (unknown host, refused, timed out)
  TlsProblem,       // the secure connection failed (certificate, http against https)
  NotRouteService,  // something answers, but not a service description
  Incomplete,       // a service description without some of the seven operations
  Cancelled,        // the user stopped the check
};

// The verdict and one or two sentences for the dispatcher.
struct ServiceCheck {
  ServiceVerdict verdict = ServiceVerdict::Ready;
  std::string message;
};

// The reason the server text cannot be a route service address, or empty when it can be:
// "http://" or "https://" and a host.
std::string addressProblem(const std::string& server);

// Asks `server` (scheme and host, as PutServerName takes it) for its description with a GET of
// the service path and `?wsdl`, waiting through currentWaiting(). Never throws.
ServiceCheck checkRouteService(const std::string& server,
                               HttpTimeouts timeouts = {std::chrono::seconds(10),
                                                        std::chrono::seconds(30)});

}  // namespace tarvine::tools
