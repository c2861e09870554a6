#pragma once
// The "TOTALS per Load" over checked rows, read back from the row texts. The list fill, Select
// All and the row check all add up rows here, so the three always show the same figures; the load
// sheet adds up its groups here too.

#include <cstdint>
#include <string>

#include "platform/ListView.h"

namespace tarvine {

// The three total captions: cartons, weight (lbs) and freight ($).
struct TotalsCaptions {
  std::string cartons;
  std::string weight;
  std::string freight;
};

class PickTotals {
 public:
  // Adds the row's cartons (sub-item 4, a 16-bit number), weight (5) and freight (6). Throws
  // RuntimeError 13 for a cell that is not a number, 6 when a cell or a total does not fit; the
  // totals then stay as they were.
  void add(const ListRow& row);
  // The cartons added up so far.
  std::int32_t cartons() const { return cartons_; }
  // The weight added up so far, in pounds.
  double weight() const { return weight_; }
  // The freight added up so far, in dollars.
  double freight() const { return freight_; }
  // Cartons in decimal, weight and freight in the standard format.
  TotalsCaptions captions() const;

 private:
  std::int32_t cartons_ = 0;
  double weight_ = 0;
  double freight_ = 0;
};

}  // namespace tarvine
