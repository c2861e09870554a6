// The service description (WSDL 1.1) of the route service, for standard SOAP tooling.
#pragma once

#include <string>
#include <string_view>

namespace tarvine::serve {

// The WSDL document of the seven operations as they go on the wire: document/literal in the
// route namespace, each with its SOAPAction; query results are strings (the data set as
// escaped text), the update's parameter an array of strings. endpointUrl (which holds no
// double quote) goes into the service's address. Never fails.
std::string wsdlDocument(std::string_view endpointUrl);

}  // namespace tarvine::serve
