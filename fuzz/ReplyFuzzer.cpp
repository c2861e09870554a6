// The reply path of every service call, fed arbitrary reply bodies and taken both ways
// (ReplyRoads.h). Any difference in the texts, the rows or the errors stops the run.

#include "FuzzCheck.h"
#include "ReplyRoads.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvine::fuzz::checkReplyRoads(tarvine::fuzz::inputText(data, size), tarvine::fuzz::check);
  return 0;
}
