#pragma once
// The least of a late-bound object: a method called by its name with no arguments. The astray
// form reaches the control only through this.

#include <string>

namespace tarvine {

class LateBound {
 public:
  virtual ~LateBound() = default;
  // Calls the named method (names match in any letter case). Throws RuntimeError 438 "Object
  // doesn't support this property or method" for an unknown name.
  virtual void invokeByName(const std::string& name) = 0;
};

}  // namespace tarvine
