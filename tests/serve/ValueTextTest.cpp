#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

#include "ValueText.h"

namespace tarvine::serve {
namespace {

struct AmountCase {
  double value;
  const char* text;
};

class FormatAmount : public ::testing::TestWithParam<AmountCase> {};

TEST_P(FormatAmount, WritesPlainDecimals) {
  EXPECT_EQ(formatAmount(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Amounts, FormatAmount,
                         ::testing::Values(AmountCase{125.5, "125.5"},
                                           AmountCase{1234.75, "1234.75"}, AmountCase{125.0, "125"},
                                           AmountCase{0.0, "0"}, AmountCase{-1.0, "-1"},
                                           AmountCase{0.05, "0.05"}, AmountCase{-0.001, "0"},
                                           AmountCase{1234567.891, "1234567.89"},
                                           AmountCase{0.1 + 0.2, "0.3"}));

struct CentsCase {
  const char* text;
  std::optional<std::int64_t> cents;
};

class ParseCents : public ::testing::TestWithParam<CentsCase> {};

TEST_P(ParseCents, ReadsPlainDecimalsOnly) {
  EXPECT_EQ(parseCentsText(GetParam().text), GetParam().cents);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCents,
    ::testing::Values(CentsCase{"125.00", 12500}, CentsCase{"-1", -100}, CentsCase{"0.125", 13},
                      CentsCase{"-0.125", -13}, CentsCase{"0.1249", 12}, CentsCase{" 7.5 ", 750},
                      CentsCase{"1,234.50", std::nullopt}, CentsCase{"1.", std::nullopt},
                      CentsCase{".5", std::nullopt}, CentsCase{"1e3", std::nullopt},
                      CentsCase{"", std::nullopt}, CentsCase{"+1", std::nullopt},
                      CentsCase{"1234567890123456", std::nullopt}));

TEST(ParseInteger, AcceptsSchemaIntegersOnly) {
  EXPECT_EQ(parseIntegerText(" 5001 "), 5001);
  EXPECT_EQ(parseIntegerText("-1"), -1);
  EXPECT_EQ(parseIntegerText("+7"), 7);
  EXPECT_EQ(parseIntegerText("5001.0"), std::nullopt);
  EXPECT_EQ(parseIntegerText("0x10"), std::nullopt);
  EXPECT_EQ(parseIntegerText("-"), std::nullopt);
  EXPECT_EQ(parseIntegerText("1234567890123456789"), std::nullopt);
}

// Runs the body with TZ set to a zone, then restores the previous zone.
class DataSetDate : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = getenv("TZ");
    if (previous) previous_ = previous;
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    tzset();
  }
  void TearDown() override {
    if (previous_) {
      setenv("TZ", previous_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  std::optional<std::string> previous_;
};

TEST_F(DataSetDate, WritesMidnightWithTheDaysOffset) {
  EXPECT_EQ(formatDataSetDate("2026-11-30"), "2026-11-30T00:00:00-05:00");
  EXPECT_EQ(formatDataSetDate("2026-07-01"), "2026-07-01T00:00:00-04:00");
}

TEST_F(DataSetDate, LeavesOtherTextsAlone) {
  EXPECT_EQ(formatDataSetDate("30/11/2026"), "30/11/2026");
  EXPECT_EQ(formatDataSetDate("2026-1x-30"), "2026-1x-30");
  EXPECT_EQ(formatDataSetDate(""), "");
}

}  // namespace
}  // namespace tarvine::serve
