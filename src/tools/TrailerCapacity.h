#pragma once
// The trailer's capacity against what rides on this truck: the weight, cube and cartons of the
// segments on this load as the screen has them, unsaved picks included, every center counted
// (LoadFigures.h). Once limits are given, the control's Save asks before saving a load over any
// of them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "control/OrderPick.h"
#include "platform/Signal.h"
#include "tools/LoadFigures.h"
#include "tools/TrailerLimits.h"

namespace tarvine::tools {

// Which limits the figures pass.
struct OverLimits {
  bool weight = false;
  bool cube = false;
  bool cartons = false;
  bool any() const { return weight || cube || cartons; }
};

class TrailerCapacity {
 public:
  // Follows the control's totals and installs the check in front of its Save. The control must
  // outlive this object; only one capacity may be attached to a control at a time.
  explicit TrailerCapacity(OrderPick& control);
  // Removes the check from the control's Save.
  ~TrailerCapacity();
  TrailerCapacity(const TrailerCapacity&) = delete;
  TrailerCapacity& operator=(const TrailerCapacity&) = delete;

  // Sets the limits, or removes them (nothing: the control behaves as without this object).
  // Throws std::invalid_argument with limitsProblem()'s text for limits that cannot be used.
  void setLimits(std::optional<TrailerLimits> limits);
  const std::optional<TrailerLimits>& limits() const { return limits_; }

  // The figures on this load now (onThisLoadNow). Recounted only after the list changed.
  FillFigures picked() const;
  // Which limits the picked figures pass by more than kLimitSlack; none without limits.
  OverLimits over() const;
  // The question Save asks when over ("The load is 2,130 lb over the trailer's 44,000 lb. Save
  // anyway?"); empty when within the limits.
  std::string overQuestion() const;

  // Raised after anything that can change the picked figures: a total caption, a row check,
  // Select All. Slots read picked() and over().
  Signal<> changed;

 private:
  // Asks the over question when over a limit; throws when the save is not confirmed.
  void confirmOverLimits(Dialogs& dialogs) const;

  OrderPick& control_;
  std::optional<TrailerLimits> limits_;
  mutable bool stale_ = true;
  mutable FillFigures picked_;
  // Cleared by the destructor: the control's signals keep their slots and may outlive this.
  std::shared_ptr<TrailerCapacity*> self_;
};

// What a gauge counts, and how it differs from the total under the list, for its tooltip:
// `which` is "weight", "cube" or "cartons".
std::string gaugeCounts(const std::string& which);

}  // namespace tarvine::tools
