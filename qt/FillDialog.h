#pragma once
// "Fill trailer…" in a window: looks for the best fill of the control's load while the window
// keeps drawing, then shows it before anything changes: the proposed P.O.s highlighted in the
// list, the trailer's figures now and after, how many P.O.s and hot P.O.s it adds, and "best
// fill" or the gap. Apply checks them as the user's clicks do (tools::LoadFill); Cancel, or
// closing the box, changes nothing.

#include <QString>

#include "ReportListModel.h"
#include "UserAction.h"
#include "tools/LoadFill.h"

namespace tarvine::qt {

// Runs the whole road under the given limits; list (may be null) is the model of the control's
// list, whose proposed rows are highlighted while the box is shown. Returns what the status bar
// says afterwards ("2 P.O.s put on the load, 1 hot.", "Fill trailer cancelled; nothing changed.").
QString fillTrailer(QWidget& parent, OrderPick& control, tools::LoadFill& fill,
                    const tools::TrailerLimits& limits, const UserActionRunner& runner,
                    ReportListModel* list);

}  // namespace tarvine::qt
