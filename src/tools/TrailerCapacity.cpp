#include "tools/TrailerCapacity.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "tools/SheetText.h"

namespace tarvine::tools {
namespace {

std::string overPart(double picked, double limit, const char* unit) {
  return groupedAmount(picked - limit) + " " + unit + " over the trailer's " +
         groupedAmount(limit) + " " + unit;
}

}  // namespace

TrailerCapacity::TrailerCapacity(OrderPick& control)
    : control_(control), self_(std::make_shared<TrailerCapacity*>(this)) {
  const ControlWidgets& w = control_.widgets();
  std::weak_ptr<TrailerCapacity*> weak = self_;
  auto notify = [weak] {
    if (auto self = weak.lock(); self && *self) (*self)->changed.emit();
  };
  // The list changes cell by cell during a fill: only note that the figures must be recounted.
  w.lvwOrderIDs.listChanged.connect([weak](ListChange) {
    if (auto self = weak.lock(); self && *self) (*self)->stale_ = true;
  });
  // The control connected its handlers first, so these run after the control has acted.
  w.lblTotal4.changed.connect(notify);
  w.lblTotal5.changed.connect(notify);
  w.lblTotal6.changed.connect(notify);
  w.lvwOrderIDs.itemCheck.connect([notify](RowId) { notify(); });
  w.chkSellectAll.click.connect(notify);
  control_.setSaveCheck([weak](Dialogs& dialogs) {
    if (auto self = weak.lock(); self && *self) (*self)->confirmOverLimits(dialogs);
  });
}

TrailerCapacity::~TrailerCapacity() {
  *self_ = nullptr;
  control_.setSaveCheck(nullptr);
}

void TrailerCapacity::setLimits(std::optional<TrailerLimits> limits) {
  if (limits) {
    if (auto problem = limitsProblem(*limits)) throw std::invalid_argument(*problem);
  }
  limits_ = limits;
  changed.emit();
}

FillFigures TrailerCapacity::picked() const {
  if (stale_) {
    picked_ = onLoadTotal(orderFigures(control_.orders(), onThisLoadNow(control_)));
    stale_ = false;
  }
  return picked_;
}

OverLimits TrailerCapacity::over() const {
  if (!limits_) return {};
  const FillFigures now = picked();
  return {overLimit(now.weight, limits_->weight), overLimit(now.cube, limits_->cube),
          limits_->cartons && overLimit(now.cartons, *limits_->cartons)};
}

std::string TrailerCapacity::overQuestion() const {
  const OverLimits passed = over();
  if (!passed.any()) return {};
  const FillFigures now = picked();
  std::vector<std::string> parts;
  if (passed.weight) parts.push_back(overPart(now.weight, limits_->weight, "lb"));
  if (passed.cube) parts.push_back(overPart(now.cube, limits_->cube, "cubic feet"));
  if (passed.cartons) parts.push_back(overPart(now.cartons, *limits_->cartons, "cartons"));
  std::string question = "The load is " + parts[0];
  for (std::size_t i = 1; i < parts.size(); ++i) {
    question += (i + 1 == parts.size() ? " and " : ", ") + parts[i];
  }
  return question + ". Save anyway?";
}

void TrailerCapacity::confirmOverLimits(Dialogs& dialogs) const {
  const std::string question = overQuestion();
  if (!question.empty()) confirmSave(dialogs, question, "Trailer capacity", question);
}

std::string gaugeCounts(const std::string& which) {
  const std::string counted = "Each segment's own " + which +
                              ", added up over the segments on this load: every center, unsaved "
                              "picks included.";
  if (which == "weight") {
    return counted +
           " The weight under the list is each checked P.O.'s total weight (its "
           "segments on every load), counted once on its first row.";
  }
  if (which == "cartons") {
    return counted + " The cartons under the list count the checked rows of the center shown.";
  }
  return counted;
}

}  // namespace tarvine::tools
