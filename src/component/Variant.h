#pragma once
// The small variant that calls through the dispatch interface carry, the failures such a call
// can give, and the argument coercions of the component platform.

#include <cstdint>
#include <exception>
#include <string>
#include <variant>

#include "component/TypeDescription.h"

namespace tarvine::component {

// An omitted optional argument.
struct Missing {
  bool operator==(const Missing&) const = default;
};

// Empty, missing, boolean, 16- and 32-bit integers, double or text (UTF-8).
using Variant =
    std::variant<std::monostate, Missing, bool, std::int16_t, std::int32_t, double, std::string>;

// The type code of the value a variant holds.
VarType typeOf(const Variant& value);

// Failure codes of a call; the values are the platform's result codes for the same failures.
enum class DispatchCode : std::int32_t {
  UnknownName = static_cast<std::int32_t>(0x80020006u),       // no method of that name
  MemberNotFound = static_cast<std::int32_t>(0x80020003u),    // no method with that id
  TypeMismatch = static_cast<std::int32_t>(0x80020005u),      // an argument cannot be read
  Overflow = static_cast<std::int32_t>(0x8002000Au),          // an argument is out of range
  BadParamCount = static_cast<std::int32_t>(0x8002000Eu),     // too few or too many arguments
  ParamNotOptional = static_cast<std::int32_t>(0x8002000Fu),  // a required argument is missing
  BadVarType = static_cast<std::int32_t>(0x80020008u),        // an unknown type code
  Exception = static_cast<std::int32_t>(0x80020009u),         // the method raised an error
};

// A failed call: its code, a description, the argument at fault (0 = first, -1 = none) and, for
// DispatchCode::Exception, the run-time error number and source the method raised.
class DispatchError : public std::exception {
 public:
  DispatchError(DispatchCode code, std::string description, int argIndex = -1,
                std::int32_t number = 0, std::string source = {})
      : code_(code),
        description_(std::move(description)),
        argIndex_(argIndex),
        number_(number),
        source_(std::move(source)) {}

  const char* what() const noexcept override { return description_.c_str(); }
  DispatchCode code() const { return code_; }
  const std::string& description() const { return description_; }
  int argIndex() const { return argIndex_; }
  std::int32_t number() const { return number_; }
  const std::string& source() const { return source_; }

 private:
  DispatchCode code_;
  std::string description_;
  int argIndex_;
  std::int32_t number_;
  std::string source_;
};

// Coercions of an argument to a parameter type. Empty gives "", 0 or False. A boolean gives
// "True"/"False" or -1/0; a number gives its general text; a text is read with the platform's
// number and boolean rules. Throw RuntimeError 13 (Type mismatch) for a value that cannot be
// read, 6 (Overflow) for one outside the target's range; a missing argument is a mismatch.
std::string coerceToText(const Variant& value);
std::int32_t coerceToInt32(const Variant& value);
bool coerceToBool(const Variant& value);

}  // namespace tarvine::component
