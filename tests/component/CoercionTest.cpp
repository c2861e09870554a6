// Argument coercions to the three parameter types, with the platform's conversion rules.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "component/Variant.h"
#include "platform/RuntimeError.h"

namespace tarvine::component {
namespace {

// Runs a coercion; its value as text, or "error N" for a run-time error N.
template <typename Coerce>
std::string outcome(Coerce&& coerce) {
  try {
    return coerce();
  } catch (const RuntimeError& error) {
    return "error " + std::to_string(error.number());
  }
}

struct CoercionCase {
  Variant input;
  std::string expected;
};

std::ostream& operator<<(std::ostream& out, const CoercionCase& c) {
  return out << typeName(typeOf(c.input)) << " -> " << c.expected;
}

class ToTextTest : public ::testing::TestWithParam<CoercionCase> {};
TEST_P(ToTextTest, Coerces) {
  EXPECT_EQ(outcome([&] { return coerceToText(GetParam().input); }), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Values, ToTextTest,
                         ::testing::Values(CoercionCase{std::monostate{}, ""},
                                           CoercionCase{true, "True"}, CoercionCase{false, "False"},
                                           CoercionCase{std::int16_t{-7}, "-7"},
                                           CoercionCase{std::int32_t{5001}, "5001"},
                                           CoercionCase{12.5, "12.5"}, CoercionCase{-0.25, "-0.25"},
                                           CoercionCase{1e20, "1E+20"}, CoercionCase{1e-7, "1E-07"},
                                           CoercionCase{1.0 / 3, "0.333333333333333"},
                                           CoercionCase{std::string("héllo"), "héllo"},
                                           CoercionCase{Missing{}, "error 13"}));

class ToInt32Test : public ::testing::TestWithParam<CoercionCase> {};
TEST_P(ToInt32Test, Coerces) {
  EXPECT_EQ(outcome([&] { return std::to_string(coerceToInt32(GetParam().input)); }),
            GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Values, ToInt32Test,
    ::testing::Values(
        CoercionCase{std::monostate{}, "0"}, CoercionCase{true, "-1"}, CoercionCase{false, "0"},
        CoercionCase{std::int16_t{-32768}, "-32768"},
        CoercionCase{std::int32_t{2147483647}, "2147483647"}, CoercionCase{2.5, "2"},
        CoercionCase{3.5, "4"}, CoercionCase{-2.5, "-2"}, CoercionCase{2147483647.4, "2147483647"},
        CoercionCase{2147483647.5, "error 6"}, CoercionCase{-2147483648.5, "-2147483648"},
        CoercionCase{std::numeric_limits<double>::quiet_NaN(), "error 6"},
        CoercionCase{std::numeric_limits<double>::infinity(), "error 6"},
        CoercionCase{std::string("5001"), "5001"}, CoercionCase{std::string(" 12.5 "), "12"},
        CoercionCase{std::string("1,000"), "1000"}, CoercionCase{std::string("1e3"), "1000"},
        CoercionCase{std::string("-13.5"), "-14"}, CoercionCase{std::string("abc"), "error 13"},
        CoercionCase{std::string(""), "error 13"},
        CoercionCase{std::string("2147483648"), "error 6"}, CoercionCase{Missing{}, "error 13"}));

class ToBoolTest : public ::testing::TestWithParam<CoercionCase> {};
TEST_P(ToBoolTest, Coerces) {
  EXPECT_EQ(outcome([&] { return std::string(coerceToBool(GetParam().input) ? "T" : "F"); }),
            GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Values, ToBoolTest,
    ::testing::Values(CoercionCase{std::monostate{}, "F"}, CoercionCase{true, "T"},
                      CoercionCase{std::int16_t{0}, "F"}, CoercionCase{std::int16_t{2}, "T"},
                      CoercionCase{std::int32_t{-1}, "T"}, CoercionCase{0.0, "F"},
                      CoercionCase{0.001, "T"}, CoercionCase{std::string("True"), "T"},
                      CoercionCase{std::string("fAlSe"), "F"}, CoercionCase{std::string("0"), "F"},
                      CoercionCase{std::string("-1"), "T"},
                      CoercionCase{std::string("yes"), "error 13"},
                      CoercionCase{std::string(""), "error 13"},
                      CoercionCase{Missing{}, "error 13"}));

TEST(VariantTest, TypeCodesAreThePlatformsNumbers) {
  EXPECT_EQ(typeOf(Variant{}), VarType::Empty);
  EXPECT_EQ(static_cast<int>(typeOf(Variant{std::int16_t{1}})), 2);
  EXPECT_EQ(static_cast<int>(typeOf(Variant{std::int32_t{1}})), 3);
  EXPECT_EQ(static_cast<int>(typeOf(Variant{1.0})), 5);
  EXPECT_EQ(static_cast<int>(typeOf(Variant{std::string()})), 8);
  EXPECT_EQ(static_cast<int>(typeOf(Variant{Missing{}})), 10);
  EXPECT_EQ(static_cast<int>(typeOf(Variant{true})), 11);
}

}  // namespace
}  // namespace tarvine::component
