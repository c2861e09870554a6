#include "control/TarvineOrderPick.h"
#include "platform/Convert.h"
#include "service/Requests.h"

namespace tarvine {

void TarvineOrderPick::PutTarvineID(std::int32_t plTarvineID) {
  trap("PutTarvineID", [&] {
    OutgoingLoadID = plTarvineID;
    w_.lblTarvineID.setCaption(convert::integerText(plTarvineID));
    const std::int16_t loadID = convert::roundToInt16(OutgoingLoadID);
    // Both replies are fetched before either is shown.
    const std::string centers =
        queryRouteService("GetOutgoingLoadCenterIDAndCenter",
                          service::GetOutgoingLoadCenterIDAndCenterRequest(loadID))
            .result;
    const std::string route =
        queryRouteService("GetOutgoingLoadDescriptionRoute",
                          service::GetOutgoingLoadDescriptionRouteRequest(loadID))
            .result;
    LoadCenterComboBox(centers);
    LoadDescriptionRouteLabels(route);
    PopulateAllOrders(Orders);
  });
}

void TarvineOrderPick::RefreshData() {
  // No trap of its own: each step reports its own errors and returns normally.
  PopulateAllOrders(Orders);
  cboCenter_Click();
  cmdSave_Click();
}

}  // namespace tarvine
