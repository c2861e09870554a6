#include "load/LoadHeader.h"

#include "platform/Convert.h"
#include "service/DataSet.h"

namespace tarvine {

std::vector<HeaderRow> readHeaderRows(std::string dataSetText,
                                      std::span<const std::string_view> columns) {
  std::vector<HeaderRow> rows;
  HeaderRow texts(columns.size());
  service::ReadDataSetRows(std::move(dataSetText), [&](const service::DataSetRow& row) {
    for (const service::DataSetColumn& column : row) {
      for (std::size_t k = 0; k < columns.size(); ++k) {
        if (column.name == columns[k]) texts[k] = column.text;
      }
    }
    rows.push_back(texts);
  });
  return rows;
}

std::string centerEntryText(const std::string& centerID, const std::string& centerName) {
  return centerName + "  [ " + centerID + " ] ";
}

std::string routeCaption(const std::string& description, const std::string& route) {
  return description + " [" + route + " ]";
}

std::string basicTotalText(const std::string& text) {
  return convert::isNumeric(text) ? convert::formatStandard(convert::toDouble(text)) : text;
}

}  // namespace tarvine
