#pragma once
// The floor of a service exchange: one SOAP POST with plain libcurl, its reply parsed once by
// pugixml.

#include <string>

namespace tarvine::bench {

// Posts the envelope to url with the control's headers and returns the reply body. Throws
// std::runtime_error when the exchange fails.
std::string plainSoapPost(const std::string& url, const std::string& soapAction,
                          const std::string& envelope);

// plainSoapPost() followed by one pugixml parse of the reply; returns the reply's size.
std::size_t plainSoapExchange(const std::string& url, const std::string& soapAction,
                              const std::string& envelope);

}  // namespace tarvine::bench
