#pragma once
// The "TOTALS per Load" over checked rows, read back from the row texts. The list fill, Select
// All and the row check all add up rows here, so the three always show the same figures.

#include <cstdint>

#include "platform/ListView.h"
#include "platform/Widget.h"

namespace tarvine {

class PickTotals {
 public:
  // Adds the row's cartons (sub-item 4, a 16-bit number), weight (5) and freight (6). Throws
  // RuntimeError 13 for a cell that is not a number, 6 when a cell or a total does not fit.
  void add(const ListView& list, RowId row);
  std::int32_t cartons() const { return cartons_; }
  double weight() const { return weight_; }
  double freight() const { return freight_; }
  // Cartons in decimal, weight and freight in the standard format.
  void show(Label& cartons, Label& weight, Label& freight) const;

 private:
  std::int32_t cartons_ = 0;
  double weight_ = 0;
  double freight_ = 0;
};

}  // namespace tarvine
