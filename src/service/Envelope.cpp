#include "service/Envelope.h"

#include "platform/Text.h"

namespace tarvine::service {

namespace {

// Put together piece by piece so the blanks around the body stay visible.
constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="utf-8"?>)";
constexpr std::string_view kEnvelopeStart =
    R"(<soap:Envelope xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
    R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema")"
    R"( xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">)";
constexpr std::string_view kBodyStart = "  <soap:Body>";
constexpr std::string_view kBodyPlaceholder = "    XMLData ";
constexpr std::string_view kBodyEnd = "  </soap:Body>";
constexpr std::string_view kEnvelopeEnd = " </soap:Envelope>";

}  // namespace

std::string SOAPEnvelopeTemplate() {
  std::string text;
  for (const std::string_view piece :
       {kDeclaration, kEnvelopeStart, kBodyStart, kBodyPlaceholder, kBodyEnd, kEnvelopeEnd}) {
    text += piece;
  }
  return text;
}

std::string envelopeFor(std::string_view body) {
  return text::replaceAll(SOAPEnvelopeTemplate(), "XMLData", body);
}

}  // namespace tarvine::service
