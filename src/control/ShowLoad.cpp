#include "control/TarvineOrderPick.h"
#include "platform/Convert.h"
#include "service/Requests.h"
#include "service/Unwrap.h"

namespace tarvine {

void TarvineOrderPick::PutTarvineID(std::int32_t plTarvineID) {
  trap("PutTarvineID", [&] {
    OutgoingLoadID = plTarvineID;
    w_.lblTarvineID.setCaption(convert::integerText(plTarvineID));
    const std::int16_t loadID = convert::roundToInt16(OutgoingLoadID);
    // Both replies are fetched before either is shown.
    const std::string centers = service::UnwrapGetOutgoingLoadCenterIDAndCenter(
        callRouteService("GetOutgoingLoadCenterIDAndCenter",
                         service::GetOutgoingLoadCenterIDAndCenterRequest(loadID), false)
            .result);
    const std::string route = service::UnwrapGetOutgoingLoadDescriptionRoute(
        callRouteService("GetOutgoingLoadDescriptionRoute",
                         service::GetOutgoingLoadDescriptionRouteRequest(loadID), false)
            .result);
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
