#pragma once
// The astray form's screen as laid out at design time.

#include "astray/frmAstray.h"

namespace tarvine {

// Client area of the form, in twips.
inline constexpr int kAstrayWidth = 4485;
inline constexpr int kAstrayHeight = 3420;

// Creates the form's widgets with captions, positions, sizes, tab order and input limits.
AstrayWidgets buildAstrayScreen(Screen& screen);

}  // namespace tarvine
