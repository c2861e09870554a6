// The reply texts of the route service, written as the back office writes them.
#pragma once

#include <string>
#include <string_view>

#include "SoapFault.h"

namespace tarvine::serve {

// The full reply of a query: declaration, soap:Envelope, soap:Body, <OpResponse xmlns=...>,
// <OpResult> holding resultText (already escaped, see DataSetWriter), written around it in its
// own buffer. Never fails.
std::string resultReply(std::string_view operation, std::string resultText);

// The full reply of an update: the response element left empty (<OpResponse xmlns="..." />).
std::string emptyReply(std::string_view operation);

// The full reply of a failed request: a soap:Fault with faultcode and faultstring (escaped).
std::string faultReply(FaultCode code, std::string_view message);

// Text escaped for XML: "&", "<" and ">" as entities; characters XML cannot carry are dropped.
// Quotes are kept, so the result goes into element text, or into an attribute whose value
// holds none.
std::string xmlEscaped(std::string_view text);

// The faultcode text of a code: "soap:Client" or "soap:Server".
std::string_view faultCodeText(FaultCode code);

}  // namespace tarvine::serve
