#pragma once
// The astray form's screen as laid out at design time.

#include "platform/Screen.h"
#include "platform/Widget.h"

namespace tarvine {

// The widgets of the astray form, by their names.
struct AstrayWidgets {
  Frame& fraAddPO;
  Label& Label5;
  TextBox& txtPO1;
  Label& Label3;
  TextBox& txtPO2;
  Label& Label8;
  TextBox& txtCartons;
  Label& Label1;
  TextBox& txtFreight;
  Label& Label2;
  TextBox& txtComments;
  CommandButton& cmdAddAstrayItem;
};

// Client area of the form, in twips.
inline constexpr int kAstrayWidth = 4485;
inline constexpr int kAstrayHeight = 3420;

// Creates the form's widgets with captions, positions, sizes, tab order and input limits.
AstrayWidgets buildAstrayScreen(Screen& screen);

}  // namespace tarvine
