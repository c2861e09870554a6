// The two updates of the route service; each answers with an empty response element.
#pragma once

#include "Operations.h"

namespace tarvine::serve {

// Runs the statement texts of the request's array in one transaction; refuses the whole batch
// when any text is not an accepted statement or does not apply.
OperationResult updateOutgoingLoadOrder(const SoapRequest& request, Database& db,
                                        RequestRecord& record);
// Adds an astray part of a received order to a load as the segment after the one given.
OperationResult addAstrayPO(const SoapRequest& request, Database& db, RequestRecord& record);

}  // namespace tarvine::serve
