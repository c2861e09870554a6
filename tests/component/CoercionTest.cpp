// Argument coercions to the three parameter types, with the platform's conversion rules.

#include <gtest/gtest.h>

#include <limits>

#include "component/Variant.h"
#include "platform/RuntimeError.h"

namespace tarvine::component {
namespace {

struct CoercionCase {
  Variant input;
  std::string text, int32, boolean;  // each coercion's value, or "error N" for run-time error N
};

// Runs a coercion; its value as text, or "error N" for a run-time error N.
template <typename Coerce>
std::string outcome(Coerce&& coerce) {
  try {
    return coerce();
  } catch (const RuntimeError& error) {
    return "error " + std::to_string(error.number());
  }
}

TEST(CoercionTest, EachInputToEachParameterType) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const std::vector<CoercionCase> cases = {
      {std::monostate{}, "", "0", "F"},
      {true, "True", "-1", "T"},
      {false, "False", "0", "F"},
      {std::int16_t{-32768}, "-32768", "-32768", "T"},
      {std::int16_t{0}, "0", "0", "F"},
      {std::int32_t{2147483647}, "2147483647", "2147483647", "T"},
      {2.5, "2.5", "2", "T"},
      {3.5, "3.5", "4", "T"},
      {-2.5, "-2.5", "-2", "T"},
      {0.001, "0.001", "0", "T"},
      {0.0, "0", "0", "F"},
      {1e20, "1E+20", "error 6", "T"},
      {1e-7, "1E-07", "0", "T"},
      {1.0 / 3, "0.333333333333333", "0", "T"},
      {2147483647.4, "2147483647.4", "2147483647", "T"},
      {2147483647.5, "2147483647.5", "error 6", "T"},
      {-2147483648.5, "-2147483648.5", "-2147483648", "T"},
      {nan, "NaN", "error 6", "T"},
      {infinity, "Infinity", "error 6", "T"},
      {std::string("héllo"), "héllo", "error 13", "error 13"},
      {std::string("5001"), "5001", "5001", "T"},
      {std::string(" 12.5 "), " 12.5 ", "12", "T"},
      {std::string("1,000"), "1,000", "1000", "T"},
      {std::string("1e3"), "1e3", "1000", "T"},
      {std::string("-13.5"), "-13.5", "-14", "T"},
      {std::string(""), "", "error 13", "error 13"},
      {std::string("2147483648"), "2147483648", "error 6", "T"},
      {std::string("True"), "True", "error 13", "T"},
      {std::string("fAlSe"), "fAlSe", "error 13", "F"},
      {std::string("0"), "0", "0", "F"},
      {Missing{}, "error 13", "error 13", "error 13"}};
  for (const CoercionCase& c : cases) {
    SCOPED_TRACE(outcome([&] { return coerceToText(c.input); }));
    EXPECT_EQ(outcome([&] { return coerceToText(c.input); }), c.text);
    EXPECT_EQ(outcome([&] { return std::to_string(coerceToInt32(c.input)); }), c.int32);
    EXPECT_EQ(outcome([&] { return std::string(coerceToBool(c.input) ? "T" : "F"); }), c.boolean);
  }
}

}  // namespace
}  // namespace tarvine::component
