// The error that ends a request with a SOAP fault.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvine::serve {

// Who is to blame for a failed request: soap:Client (a bad request) or soap:Server (ours).
enum class FaultCode { Client, Server };

// Thrown by request handling; the text becomes the fault's faultstring.
class SoapFault : public std::runtime_error {
 public:
  // A fault with the given code and message.
  SoapFault(FaultCode code, const std::string& message)
      : std::runtime_error(message), code_(code) {}
  // The fault's code.
  FaultCode code() const { return code_; }

 private:
  FaultCode code_;
};

// A bad request: the client sent something the service does not accept.
inline SoapFault clientFault(const std::string& message) {
  return SoapFault(FaultCode::Client, message);
}

// A request text for a fault message: in double quotes, cut after 80 characters.
inline std::string quoteForMessage(std::string_view text) {
  constexpr std::size_t kShown = 80;
  if (text.size() <= kShown) return "\"" + std::string(text) + "\"";
  return "\"" + std::string(text.substr(0, kShown)) + "...\"";
}

}  // namespace tarvine::serve
