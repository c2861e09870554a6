#include "picking/PickTotals.h"

#include <limits>

#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine {

void PickTotals::add(const ListRow& row) {
  const std::int64_t cartons = std::int64_t{cartons_} + convert::toInt16(row.sub[3]);
  if (cartons > std::numeric_limits<std::int32_t>::max() ||
      cartons < std::numeric_limits<std::int32_t>::min()) {
    throw overflowError();
  }
  const double weight = weight_ + convert::toDouble(row.sub[4]);
  const double freight = freight_ + convert::toDouble(row.sub[5]);
  cartons_ = static_cast<std::int32_t>(cartons);
  weight_ = weight;
  freight_ = freight;
}

TotalsCaptions PickTotals::captions() const {
  return {convert::integerText(cartons_), convert::formatStandard(weight_),
          convert::formatStandard(freight_)};
}

}  // namespace tarvine
