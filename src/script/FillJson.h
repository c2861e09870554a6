#pragma once
// The fill proposal and its applying as JSON lines, for scripts and the C interface.

#include <nlohmann/json.hpp>

#include "tools/LoadFill.h"

namespace tarvine::script {

// {"type":"suggestion","orders":[ids in list order],"hot":N,"weight","cube","cartons" (the
// trailer's figures after the proposal),"optimal","gap" (a fraction, null while the hot count
// is not proven),"quality"}; {"type":"suggestion","error":why} when nothing can be proposed.
nlohmann::json suggestionJson(const tools::FillRequest& request,
                              const tools::FillProposal& proposal);

// {"type":"applied","orders":[ids put on the load],"status":message}, with "error" instead of
// "status" when the proposal was not applied (or only in part).
nlohmann::json appliedJson(const tools::FillApplyResult& result);

}  // namespace tarvine::script
