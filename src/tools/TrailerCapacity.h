#pragma once
// The trailer's capacity against what is picked. Weight and cartons are read from the control's
// own "TOTALS per Load" captions, so the two can never disagree; the cube is the sum of the
// CubicFeet of the checked rows' records. Once limits are given, the control's Save asks before
// saving a load over any of them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "control/OrderPick.h"
#include "platform/Signal.h"
#include "tools/TrailerLimits.h"

namespace tarvine::tools {

// What is on the load as the screen shows it.
struct PickedFigures {
  double cartons = 0;
  double weight = 0;  // pounds
  double cube = 0;    // cubic feet
};

// Which limits the picked figures pass.
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

  // The picked figures now: cartons and weight from the total captions (a blank caption is 0),
  // the cube summed over the checked rows. Recounted only after the list changed.
  PickedFigures picked() const;
  // Which limits the picked figures pass; none without limits.
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
  mutable bool cubeStale_ = true;
  mutable double cube_ = 0;
  // Cleared by the destructor: the control's signals keep their slots and may outlive this.
  std::shared_ptr<TrailerCapacity*> self_;
};

}  // namespace tarvine::tools
