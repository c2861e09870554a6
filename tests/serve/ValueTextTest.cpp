// The texts the service writes and reads: amounts, cents, integers, dates, data sets, faults
// (tests/golden/serve/value-texts.txt).

#include <gtest/gtest.h>
#include <time.h>

#include <optional>
#include <string>

#include "DataSetWriter.h"
#include "Golden.h"
#include "ScopedEnvironment.h"
#include "SoapReply.h"
#include "ValueText.h"

namespace tarvine::serve {
namespace {

std::string shown(const std::optional<std::int64_t>& value) {
  return value ? std::to_string(*value) : "refused";
}

TEST(ValueText, ReadsAndWritesPlainNumbersDatesAndEscapes) {
  std::string out;
  for (const double value : {125.5, 1234.75, 125.0, -1.0, 0.05, -0.001, 0.1 + 0.2, 1234567.891}) {
    out += "amount " + std::to_string(value) + " -> " + formatAmount(value) + "\n";
  }
  // Plain decimals only, rounded half away from zero to cents.
  for (const char* text : {"125.00", "-1", "0.125", "-0.125", "0.1249", " 7.5 ", "1,234.50", "1.",
                           ".5", "1e3", "", "+1", "1234567890123456"}) {
    out += std::string("cents '") + text + "' -> " + shown(parseCentsText(text)) + "\n";
  }
  for (const char* text : {" 5001 ", "-1", "+7", "5001.0", "0x10", "-", "1234567890123456789"}) {
    out += std::string("integer '") + text + "' -> " + shown(parseIntegerText(text)) + "\n";
  }
  {
    const tarvine::test::ScopedEnvironment zone("TZ", "EST5EDT,M3.2.0,M11.1.0");
    tzset();
    for (const char* text : {"2026-11-30", "2026-07-01", "30/11/2026", "2026-1x-30", ""}) {
      out += std::string("date '") + text + "' -> " + formatDataSetDate(text) + "\n";
    }
  }
  tzset();
  // Characters XML cannot carry are dropped from data sets; fault texts are escaped.
  DataSetWriter writer;
  writer.beginRow();
  writer.column("Comment", "a\001b\tc<&>");
  writer.endRow();
  out += writer.finish() + "\n" + faultReply(FaultCode::Server, "a < b & c") + "\n";
  tarvine::test::expectGolden(out, "serve/value-texts.txt");
}

}  // namespace
}  // namespace tarvine::serve
