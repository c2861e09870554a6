#pragma once
// The control's screen as laid out at design time.

#include "control/TarvineOrderPick.h"

namespace tarvine {

// Design size of the control, in twips.
inline constexpr int kControlWidth = 8820;
inline constexpr int kControlHeight = 7455;

// Creates every widget of the control's screen with its caption, container, position, size and
// font, and returns them by name. The list gets no columns here.
ControlWidgets buildControlScreen(Screen& screen);

}  // namespace tarvine
