#pragma once
// The SOAP 1.1 request envelope that every route service request is put into.

#include <string>
#include <string_view>

namespace tarvine::service {

// The envelope template: declaration, soap:Envelope with xmlns:xsi, xmlns:xsd, xmlns:soap, and a
// soap:Body holding the word "XMLData" where the operation body goes. No header element.
std::string SOAPEnvelopeTemplate();

// The template with "XMLData" replaced by the body; the body itself is not searched. Never fails.
std::string envelopeFor(std::string_view body);

}  // namespace tarvine::service
