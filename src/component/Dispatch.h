#pragma once
// Calls on the control's dispatch interface: by dispatch id or by name, with variant arguments
// coerced to the parameter types as the component platform coerces them.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "component/Variant.h"
#include "control/OrderPick.h"
#include "platform/RuntimeError.h"

namespace tarvine::component {

// Calls the method with this dispatch id; args are in call order, and an optional argument may
// be left off or passed as Missing. Returns the method's result (empty for methods without
// one). Throws DispatchError: MemberNotFound, BadParamCount, ParamNotOptional, TypeMismatch or
// Overflow before the method runs, Exception when the method raised a run-time error.
Variant invoke(OrderPick& control, std::int32_t dispatchId, std::span<const Variant> args);

// As invoke(), finding the method by its name in any letter case; UnknownName when none has it.
Variant invokeByName(OrderPick& control, std::string_view name, std::span<const Variant> args);

// The run-time error a late-bound call raises for a failed call: 438 for an unknown method, 450
// for a wrong argument count, 449 for a missing required argument, 13 and 6 for coercions, and
// the method's own error for an exception.
RuntimeError lateBoundError(const DispatchError& error);

// The control as a late-bound object: what the astray form calls RefreshData on.
class DispatchFace : public LateBound {
 public:
  explicit DispatchFace(OrderPick& control) : control_(control) {}
  // Calls the named method with no arguments; throws the RuntimeError of lateBoundError().
  void invokeByName(const std::string& name) override;
  // Number of calls made through this face, for hosts that watch it.
  std::size_t calls() const { return calls_; }

 private:
  OrderPick& control_;
  std::size_t calls_ = 0;
};

}  // namespace tarvine::component
