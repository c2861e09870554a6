// The reference route service's reading of a request body, fed arbitrary bodies: the envelope
// parse with its depth limit, then every parameter reading the operations use.

#include "FuzzCheck.h"
#include "SoapFault.h"
#include "SoapRequest.h"

namespace {

using namespace tarvine::serve;

// Reads one parameter the way the operations do; a fault is the expected answer to a bad one.
template <typename F>
void read(F&& reading) {
  try {
    reading();
  } catch (const SoapFault&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const SoapRequest request =
        SoapRequest::parse(std::string(tarvine::fuzz::inputText(data, size)));
    tarvine::fuzz::check(!request.operation().empty(), "a parsed request names its operation");
    for (const char* name :
         {"OutgoingLoadID", "FacilityID", "OrderID", "OrderSegment", "Cartons", "Comment"}) {
      read([&] { request.text(name); });
      read([&] { request.integer(name, -32768, 32767); });
    }
    read([&] { request.cents("Freight"); });
    read([&] { request.strings("OutgoingLoadOrderArray"); });
    request.has("OutgoingLoadOrderArray");
  } catch (const SoapFault&) {
    // The service answers a bad request with a client fault.
  }
  return 0;
}
