#include "load/OrderReader.h"

#include "platform/Convert.h"
#include "platform/HugePages.h"
#include "platform/XmlDocument.h"

namespace tarvine {

using namespace std::string_view_literals;

void OrderReader::readRow(const service::DataSetRow& row) {
  // FreightCost is sent too, but the effective freight never depends on it. The first letter
  // picks the few names a column can have, so that each column costs one or two comparisons.
  for (const service::DataSetColumn& column : row) {
    const std::string_view name = column.name;
    const std::string_view text = column.text;
    switch (name.empty() ? '\0' : name[0]) {
      case 'C':
        if (name == "CubicFeet"sv) cubicFeet_ = text;
        if (name == "CenterID"sv) centerID_ = convert::toInt16(text);
        break;
      case 'F':
        if (name == "FactoryWeight"sv) factoryWeight_ = text;
        if (name == "Freight"sv) {
          noRate_ = text == "NoRate";
          freight_ = noRate_ ? "-1" : text;
        }
        break;
      case 'H':
        if (name == "HighPriorityIndicator"sv) hotItem_ = convert::toBoolean(text) ? 1 : 0;
        break;
      case 'L':
        if (name == "LoadDate"sv) loadDate_ = text;
        break;
      case 'M':
        if (name == "MinimumCharge"sv) minimumCharge_ = text;
        break;
      case 'N':
        if (name == "NumberParcels"sv) parcels_ = text;
        break;
      case 'O':
        if (name == "OrderID"sv) orderID_ = text;
        if (name == "OutgoingLoad"sv) outgoingLoad_ = text;
        if (name == "OverrideFreightIndicator"sv) {
          overrideFreight_ = convert::toBoolean(text) ? 1 : 0;
        }
        break;
      case 'T':
        if (name == "TotalFactoryWeight"sv) totalFactoryWeight_ = convert::toInt32(text);
        if (name == "TotalRate"sv) totalRate_ = convert::toDouble(text);
        if (name == "TotalSuggestedFreight"sv) totalSuggestedFreight_ = convert::toDouble(text);
        break;
      case 'V':
        if (name == "VOZA_OrderSegment"sv) segment_ = text;
        break;
      default:
        break;
    }
  }
}

std::string OrderReader::effectiveFreightText() const {
  const double freight = convert::toDouble(freight_);
  const bool minusOne = freight == -1;
  std::string effective;
  if (minusOne) {
    effective = convert::doubleText(totalSuggestedFreight_);
  } else if (convert::roundToCents(freight) != 0) {  // not "0.00" in the standard format
    effective = freight_;
  } else {
    effective = convert::doubleText(totalSuggestedFreight_);
  }
  // An overridden row keeps the freight the service gave it; without one it gets nothing.
  if (overrideFreight_ == 1) effective = minusOne ? "0.00" : freight_;
  return effective;
}

std::int32_t OrderReader::outgoingLoad() const {
  return convert::parseWholeNumber(outgoingLoad_).value_or(kUnreadableLoad);
}

void OrderReader::fillRecord(AllOrdersUDT& record, std::size_t index) const {
  record.OrderID = orderID_;
  record.Checked = outgoingLoad_ != "0";
  const std::string effective = effectiveFreightText();
  record.Segment = convert::toInt16(segment_);
  record.Received = convert::formatDateMMDDYYYY(loadDate_);
  record.Cartons = convert::toInt16(parcels_);
  record.CubicFeet = cubicFeet_;
  record.Weight = convert::toDouble(factoryWeight_);
  // Rounded to cents through the format the list shows.
  record.Freight = convert::roundToCents(convert::toDouble(effective));
  record.CenterID = centerID_;
  record.IndexValue = convert::roundToInt16(static_cast<double>(index));
  record.MinimumCharge = convert::toDouble(minimumCharge_);
  record.TotalFactoryWeight = totalFactoryWeight_;
  record.TotalRate = totalRate_;
  record.TotalSuggestedFreight = totalSuggestedFreight_;
  record.HotItem = hotItem_;
  record.OverrideFreight = overrideFreight_;
  record.NoRate = noRate_;
}

std::string freightText(double freight) {
  return freight == -1 ? std::string("-1") : convert::formatStandard(freight);
}

bool readOrderRecords(std::string dataSetText, OrderArray& orders,
                      std::vector<RecordAsRead>* asRead) {
  orders.assign(1, AllOrdersUDT{});
  if (asRead) asRead->clear();
  XmlDocument document;
  service::loadDataSet(document, std::move(dataSetText));
  // Room for every record at once: a growing array would hold its old and new memory together.
  reserveOnHugePages(orders, service::countDataSetRows(document) + 1);
  OrderReader reader;
  service::ReadDataSetRows(document, [&](const service::DataSetRow& row) {
    reader.readRow(row);
    reader.fillRecord(orders.back(), orders.size() - 1);
    if (asRead) asRead->push_back({reader.outgoingLoad(), orders.back().Freight});
    orders.emplace_back();
  });
  return service::holdsDataSet(document);
}

}  // namespace tarvine
