// The texts the service writes and reads: amounts, cents, integers, dates, data sets, faults.

#include <gtest/gtest.h>
#include <time.h>

#include <optional>
#include <string>

#include "DataSetWriter.h"
#include "ScopedEnvironment.h"
#include "SoapReply.h"
#include "ValueText.h"

namespace tarvine::serve {
namespace {

TEST(FormatAmount, WritesPlainDecimals) {
  const std::pair<double, const char*> cases[] = {
      {125.5, "125.5"}, {1234.75, "1234.75"}, {125.0, "125"},     {-1.0, "-1"},
      {0.05, "0.05"},   {-0.001, "0"},        {0.1 + 0.2, "0.3"}, {1234567.891, "1234567.89"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(formatAmount(value), text) << value;
}

// Plain decimals only, rounded half away from zero to cents.
TEST(ParseCents, ReadsPlainDecimalsOnly) {
  const std::pair<const char*, std::int64_t> cases[] = {{"125.00", 12500}, {"-1", -100},
                                                        {"0.125", 13},     {"-0.125", -13},
                                                        {"0.1249", 12},    {" 7.5 ", 750}};
  for (const auto& [text, cents] : cases) EXPECT_EQ(parseCentsText(text), cents) << text;
  for (const char* text : {"1,234.50", "1.", ".5", "1e3", "", "+1", "1234567890123456"}) {
    EXPECT_EQ(parseCentsText(text), std::nullopt) << text;
  }
}

TEST(ParseInteger, AcceptsSchemaIntegersOnly) {
  EXPECT_EQ(parseIntegerText(" 5001 "), 5001);
  EXPECT_EQ(parseIntegerText("-1"), -1);
  EXPECT_EQ(parseIntegerText("+7"), 7);
  EXPECT_EQ(parseIntegerText("5001.0"), std::nullopt);
  EXPECT_EQ(parseIntegerText("0x10"), std::nullopt);
  EXPECT_EQ(parseIntegerText("-"), std::nullopt);
  EXPECT_EQ(parseIntegerText("1234567890123456789"), std::nullopt);
}

TEST(DataSetDate, WritesMidnightWithTheDaysOffsetOrLeavesOtherTextsAlone) {
  {
    const tarvine::test::ScopedEnvironment zone("TZ", "EST5EDT,M3.2.0,M11.1.0");
    tzset();
    EXPECT_EQ(formatDataSetDate("2026-11-30"), "2026-11-30T00:00:00-05:00");
    EXPECT_EQ(formatDataSetDate("2026-07-01"), "2026-07-01T00:00:00-04:00");
  }
  tzset();
  for (const char* text : {"30/11/2026", "2026-1x-30", ""}) {
    EXPECT_EQ(formatDataSetDate(text), text);
  }
}

// Data set and fault texts beside what the golden replies of QueryOperationsTest pin.
TEST(DataSetWriter, DropsCharactersXmlCannotCarry) {
  DataSetWriter writer;
  writer.beginRow();
  writer.column("Comment", std::string("a\x01"
                                       "b\tc",
                                       5));
  writer.endRow();
  EXPECT_NE(writer.finish().find("&gt;ab\tc&lt;"), std::string::npos);
}

TEST(SoapReply, FaultEscapesItsMessage) {
  EXPECT_EQ(faultReply(FaultCode::Server, "a < b & c"),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><soap:Fault>"
            "<faultcode>soap:Server</faultcode><faultstring>a &lt; b &amp; c</faultstring>"
            "<detail /></soap:Fault></soap:Body></soap:Envelope>");
}

}  // namespace
}  // namespace tarvine::serve
