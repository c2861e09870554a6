// Fixed names of the route service on the wire.
#pragma once

namespace tarvine::serve {

// The XML namespace of the route service's operations and SOAPAction values.
inline constexpr const char* kRouteNamespace = "http://tarvine.example/VOZARouteLocations/Service1";
// The path that answers SOAP requests (POST) and the service description (GET with ?wsdl).
inline constexpr const char* kEndpointPath = "/WebServices/VOZAWebservice/VOZAWebservice.asmx";
// The path of the health check (GET).
inline constexpr const char* kHealthPath = "/health";

}  // namespace tarvine::serve
