// The five queries of the route service; each answers with a data set.
#pragma once

#include "Operations.h"

namespace tarvine::serve {

// The centers on the load's route in stop order: CenterID, CenterName.
OperationResult getOutgoingLoadCenterIDAndCenter(const SoapRequest& request, Database& db,
                                                 RequestRecord& record);
// The load's route: Description, Route (no row for an unknown load).
OperationResult getOutgoingLoadDescriptionRoute(const SoapRequest& request, Database& db,
                                                RequestRecord& record);
// The segments on the load and the segments on no load at the route's centers for the facility.
OperationResult getOutgoingLoadAllOrders(const SoapRequest& request, Database& db,
                                         RequestRecord& record);
// SumCubicFeet, SumFreight, SumParcels, SumWeight over the segments on the load.
OperationResult getOutgoingLoadBasicTotal(const SoapRequest& request, Database& db,
                                          RequestRecord& record);
// Whether an order has been received: IsPOFound 1 or 0, its CenterID and HighestSegmentNumber.
OperationResult isPOFound(const SoapRequest& request, Database& db, RequestRecord& record);

}  // namespace tarvine::serve
