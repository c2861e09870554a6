// Fixed names of the route service on the wire.
#pragma once

namespace tarvine::serve {

// The XML namespace of the route service's operations and SOAPAction values.
inline constexpr const char* kRouteNamespace = "http://tarvine.example/VOZARouteLocations/Service1";
// The path that answers SOAP requests (POST only).
inline constexpr const char* kEndpointPath = "/WebServices/VOZAWebservice/VOZAWebservice.asmx";
// Largest request body accepted, in bytes.
inline constexpr unsigned long kMaxRequestBytes = 64ul * 1024 * 1024;
// Deepest element nesting accepted in a request body.
inline constexpr int kMaxRequestDepth = 256;

}  // namespace tarvine::serve
