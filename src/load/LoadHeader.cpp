#include "control/TarvineOrderPick.h"
#include "platform/Convert.h"
#include "platform/XmlDocument.h"
#include "service/DataSet.h"

namespace tarvine {
namespace {

using namespace std::string_view_literals;

// A text in the "standard" format when it reads as a number, else as it is.
std::string standardText(const std::string& text) {
  return convert::isNumeric(text) ? convert::formatStandard(convert::toDouble(text)) : text;
}

}  // namespace

void TarvineOrderPick::LoadCenterComboBox(const std::string& xml) {
  trap("LoadCenterComboBox", [&] {
    XmlDocument document;
    ClearAll();
    w_.cboCenter.clear();
    w_.cboCenter.addItem("For ALL centers on the route");
    service::loadDataSet(document, xml);
    CenterList.assign(1, std::string());
    std::string centerID, centerName;
    service::ReadDataSetRows(document, [&](const service::DataSetRow& row) {
      for (const auto& column : row) {
        if (column.name == "CenterID"sv)
          centerID = column.text;
        else if (column.name == "CenterName"sv)
          centerName = column.text;
      }
      const int index = w_.cboCenter.addItem(centerName + "  [ " + centerID + " ] ");
      w_.cboCenter.setItemData(index, convert::toInt32(centerID));
      CenterList.back() = centerID;
      CenterList.emplace_back();
    });
  });
}

void TarvineOrderPick::LoadDescriptionRouteLabels(const std::string& xml) {
  trap("LoadDescriptionRouteLabels", [&] {
    std::string description, route;
    service::ReadDataSetRows(xml, [&](const service::DataSetRow& row) {
      for (const auto& column : row) {
        if (column.name == "Description"sv)
          description = column.text;
        else if (column.name == "Route"sv)
          route = column.text;
      }
      w_.lblRoute.setCaption(description + " [" + route + " ]");
    });
  });
}

void TarvineOrderPick::LoadBasicTotal(const std::string& xml) {
  trap("LoadBasicTotal", [&] {
    std::string parcels, weight, freight;
    service::ReadDataSetRows(xml, [&](const service::DataSetRow& row) {
      for (const auto& column : row) {
        if (column.name == "SumParcels"sv)
          parcels = column.text;
        else if (column.name == "SumWeight"sv)
          weight = column.text;
        else if (column.name == "SumFreight"sv)
          freight = column.text;
      }
      if (parcels.empty()) return;
      w_.lblTotal4.setCaption(standardText(parcels));
      w_.lblTotal5.setCaption(standardText(weight));
      w_.lblTotal6.setCaption(standardText(freight));
    });
  });
}

}  // namespace tarvine
