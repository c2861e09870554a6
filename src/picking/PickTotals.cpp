#include "picking/PickTotals.h"

#include <limits>

#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine {

void PickTotals::add(const ListView& list, RowId row) {
  const std::int64_t cartons = std::int64_t{cartons_} + convert::toInt16(list.subItem(row, 4));
  if (cartons > std::numeric_limits<std::int32_t>::max() ||
      cartons < std::numeric_limits<std::int32_t>::min()) {
    throw overflowError();
  }
  const double weight = weight_ + convert::toDouble(list.subItem(row, 5));
  const double freight = freight_ + convert::toDouble(list.subItem(row, 6));
  cartons_ = static_cast<std::int32_t>(cartons);
  weight_ = weight;
  freight_ = freight;
}

void PickTotals::show(Label& cartons, Label& weight, Label& freight) const {
  cartons.setCaption(convert::integerText(cartons_));
  weight.setCaption(convert::formatStandard(weight_));
  freight.setCaption(convert::formatStandard(freight_));
}

}  // namespace tarvine
