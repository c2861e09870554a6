// A cheap look at a request body before the XML parser builds a tree of it.
#pragma once

#include <string_view>

namespace tarvine::serve {

// Throws a client SoapFault when the body holds a document type or other "<!" declaration
// (SOAP allows none), more elements or attributes than kMaxRequestElements and
// kMaxRequestAttributes, or elements nested deeper than kMaxRequestDepth. One pass over the
// text, no allocation, so a hostile body is refused before it costs a tree.
void checkRequestShape(std::string_view body);

}  // namespace tarvine::serve
