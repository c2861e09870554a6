#pragma once
// The screen as a user sees it, as a JSON object.

#include <nlohmann/json.hpp>

#include "control/OrderPick.h"

namespace tarvine::script {

// {"type":"state","manifest",...,"rows":[...],"unsaved":rows with unsaved changes,
//  "astray":null or the form's boxes and focus}.
nlohmann::json stateJson(const OrderPick& control, const AstrayForm* shownForm);

// Writes a JSON value as one line; texts that are not valid UTF-8 are repaired, never thrown.
std::string jsonLine(const nlohmann::json& value);

}  // namespace tarvine::script
