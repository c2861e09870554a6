#pragma once
// Turns the rows of the order data set into order records. The working values carry over from
// row to row, so a column missing from a row keeps the previous row's value.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "load/AllOrdersUDT.h"
#include "service/DataSet.h"

namespace tarvine {

class OrderReader {
 public:
  // Reads the columns of one row into the working values, converting as it goes. Throws
  // RuntimeError when a converted column is not a number (13) or does not fit (6).
  void readRow(const service::DataSetRow& row);
  // Fills the record field by field from the working values; on an error the record keeps the
  // fields filled so far and the error propagates.
  void fillRecord(AllOrdersUDT& record, std::size_t index) const;
  // The freight the list shows for the current working values, before rounding to cents.
  std::string effectiveFreightText() const;
  // The load the working values put the segment on (RecordAsRead::load).
  std::int32_t outgoingLoad() const;

 private:
  std::string orderID_, segment_, loadDate_, parcels_, factoryWeight_, cubicFeet_, outgoingLoad_,
      freight_, minimumCharge_;
  std::int16_t centerID_ = 0;
  std::int32_t totalFactoryWeight_ = 0;
  double totalRate_ = 0;
  double totalSuggestedFreight_ = 0;
  std::int16_t hotItem_ = 0;
  std::int16_t overrideFreight_ = 0;
  bool noRate_ = false;
};

// A record's Freight as the list shows it: "-1" for a P.O. without a rate, else the standard
// format (1,234.50). Never fails but for memory.
std::string freightText(double freight);

// Re-creates orders with one spare element, then reads one record per row of the order data set
// text (the unwrapped reply), parsed where it is. Returns false when the text is not a data set
// (empty, not well-formed, or without Root / DataSet); orders then holds only the spare. Throws
// RuntimeError as loadDataSet (a text refused for its shape), readRow and fillRecord do; the
// records read so far stay. With asRead, it gets one element per record filled whole.
bool readOrderRecords(std::string dataSetText, OrderArray& orders,
                      std::vector<RecordAsRead>* asRead = nullptr);

}  // namespace tarvine
