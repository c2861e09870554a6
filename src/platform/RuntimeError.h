#pragma once
// The run-time error that platform pieces and the control's own code raise, and that the
// procedures with an error trap catch and report.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tarvine {

// Source given to the errors that the control library raises itself.
inline constexpr const char* kErrorSource = "prjTarvineActiveX";

// Error numbers of the platform's conversions.
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::int32_t kErrTypeMismatch = 13;

// A run-time error: number, description and source. what() returns the description.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(std::int32_t number, std::string description, std::string source = kErrorSource)
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        source_(std::move(source)) {}

  std::int32_t number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

 private:
  std::int32_t number_;
  std::string description_;
  std::string source_;
};

// Error 6 "Overflow": a value outside the range of its target type.
inline RuntimeError overflowError() {
  return RuntimeError(kErrOverflow, "Overflow");
}
// Error 13 "Type mismatch": a text that cannot be read as the wanted type.
inline RuntimeError typeMismatchError() {
  return RuntimeError(kErrTypeMismatch, "Type mismatch");
}

}  // namespace tarvine
