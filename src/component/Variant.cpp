#include "component/Variant.h"

#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine::component {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

}  // namespace

VarType typeOf(const Variant& value) {
  return std::visit(
      Overloaded{[](std::monostate) { return VarType::Empty; },
                 [](Missing) { return VarType::Missing; }, [](bool) { return VarType::Bool; },
                 [](std::int16_t) { return VarType::I2; }, [](std::int32_t) { return VarType::I4; },
                 [](double) { return VarType::R8; },
                 [](const std::string&) { return VarType::Text; }},
      value);
}

std::string coerceToText(const Variant& value) {
  return std::visit(Overloaded{[](std::monostate) { return std::string(); },
                               [](Missing) -> std::string { throw typeMismatchError(); },
                               [](bool b) { return std::string(b ? "True" : "False"); },
                               [](std::int16_t i) { return convert::integerText(i); },
                               [](std::int32_t i) { return convert::integerText(i); },
                               [](double d) { return convert::doubleText(d); },
                               [](const std::string& s) { return s; }},
                    value);
}

std::int32_t coerceToInt32(const Variant& value) {
  return std::visit(
      Overloaded{[](std::monostate) { return std::int32_t{0}; },
                 [](Missing) -> std::int32_t { throw typeMismatchError(); },
                 [](bool b) { return std::int32_t{b ? -1 : 0}; },
                 [](std::int16_t i) { return std::int32_t{i}; }, [](std::int32_t i) { return i; },
                 [](double d) { return convert::roundToInt32(d); },
                 [](const std::string& s) { return convert::toInt32(s); }},
      value);
}

bool coerceToBool(const Variant& value) {
  return std::visit(
      Overloaded{[](std::monostate) { return false; },
                 [](Missing) -> bool { throw typeMismatchError(); }, [](bool b) { return b; },
                 [](std::int16_t i) { return i != 0; }, [](std::int32_t i) { return i != 0; },
                 [](double d) { return d != 0; },
                 [](const std::string& s) { return convert::toBoolean(s); }},
      value);
}

}  // namespace tarvine::component
