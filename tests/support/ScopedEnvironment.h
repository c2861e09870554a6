#pragma once
// An environment variable set (or unset) for one scope and put back at its end.

#include <stdlib.h>

#include <optional>
#include <string>

namespace tarvine::test {

class ScopedEnvironment {
 public:
  // Sets the variable to value, or unsets it when there is no value.
  ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }
  ~ScopedEnvironment() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace tarvine::test
