// A SOAP 1.1 request body taken apart: the operation element and its parameters.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace tarvine::serve {

// One parsed request. Every reading method throws a client SoapFault when the request lacks
// what is asked for, so that handlers can read parameters without checks of their own.
class SoapRequest {
 public:
  // Parses a request body: an Envelope with a Body holding one operation element in the route
  // service namespace. Throws a client SoapFault for an empty, unparsable, too large (see
  // checkRequestShape) or otherwise malformed body.
  static SoapRequest parse(std::string body);

  // The local name of the operation element, e.g. "IsPOFound".
  const std::string& operation() const { return operation_; }
  // True when the operation element has a child of this local name.
  bool has(std::string_view name) const;
  // The text of the named parameter (may be empty); a fault when it is missing or holds
  // elements.
  std::string text(std::string_view name) const;
  // The named parameter as an integer in [min, max]; a fault when missing or not such a number.
  std::int64_t integer(std::string_view name, std::int64_t min, std::int64_t max) const;
  // The named parameter as a plain decimal rounded to cents; a fault otherwise.
  std::int64_t cents(std::string_view name) const;
  // The texts of the <string> children of the named array parameter, in order.
  std::vector<std::string> strings(std::string_view name) const;

 private:
  SoapRequest() = default;
  pugi::xml_node parameter(std::string_view name) const;

  std::unique_ptr<std::string> body_;
  std::unique_ptr<pugi::xml_document> document_;
  pugi::xml_node operationNode_;
  std::string operation_;
};

}  // namespace tarvine::serve
