// The reply path of every service call, fed arbitrary reply bodies: the transport's parse,
// serialization, clean-up and envelope strip, each query's unwrapper and the data set walk.
// Checks on the way that one parse and serialization gives the text a second parse would (the
// transport parses a reply once on that ground) and that the clean-up and strip agree with
// plain text replacement.

#include "FuzzCheck.h"
#include "platform/XmlDocument.h"
#include "service/DataSet.h"
#include "service/RouteOperations.h"
#include "service/Transport.h"
#include "service/Unwrap.h"

namespace {

using tarvine::fuzz::check;
using tarvine::fuzz::plainReplace;

std::string plainClean(std::string_view text) {
  std::string out = plainReplace(text, "&lt;", "<");
  out = plainReplace(out, "&gt;", ">");
  return plainReplace(out, R"(<?xml version="1.0"?>)",
                      R"(<?xml version="1.0" encoding="utf-8" ?>)");
}

std::string plainStrip(std::string_view text) {
  std::string out =
      plainReplace(text,
                   R"(<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/")"
                   R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
                   R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema">)",
                   "");
  for (std::string_view tag : {"<soap:Body>", "</soap:Body>", "</soap:Envelope>"}) {
    out = plainReplace(out, tag, "");
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvine;
  XmlDocument response;
  // A body that is not XML gives the empty result; nothing more happens to it.
  if (!response.loadBytes(fuzz::inputText(data, size))) return 0;
  const std::string serialized = response.xml();
  XmlDocument again;
  check(again.loadXml(serialized), "a serialized reply parses again");
  check(again.xml() == serialized, "a second parse and serialization changes nothing");

  const std::string cleaned = service::CleanResponseXML(serialized);
  check(cleaned == plainClean(serialized), "the clean-up is plain replacement");
  const std::string result = service::StripSOAPEnvelope(cleaned);
  check(result == plainStrip(cleaned), "the envelope strip is plain replacement");

  for (const service::RouteOperation& operation : service::kRouteOperations) {
    if (operation.updateOnly) continue;
    service::ReadDataSetRows(service::unwrapResponse(result, operation.name),
                             [](const service::DataSetRow& row) {
                               for (const service::DataSetColumn& column : row) {
                                 check(!column.name.empty(), "every column has a name");
                               }
                             });
  }
  return 0;
}
