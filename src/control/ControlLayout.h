#pragma once
// The control's screen as laid out at design time.

#include "platform/ListView.h"
#include "platform/Screen.h"
#include "platform/Widget.h"

namespace tarvine {

// The widgets of the control's screen, by their names.
struct ControlWidgets {
  CommandButton& cmdCancel;
  CommandButton& cmdSave;
  Frame& fraAll;
  Label& Label2;
  Label& lblTarvineID;
  Label& Label7;
  Label& lblRoute;
  Label& Label1;
  ComboBox& cboCenter;
  ListView& lvwOrderIDs;
  CheckBox& chkSellectAll;
  Frame& fraTotals;
  Label& Label3;
  Label& Label4;
  Label& Label6;
  Label& lblTotal4;
  Label& lblTotal5;
  Label& lblTotal6;
  CommandButton& cmdAddAstrayItem;
};

// Design size of the control, in twips.
inline constexpr int kControlWidth = 8820;
inline constexpr int kControlHeight = 7455;

// Creates every widget of the control's screen with its caption, container, position, size and
// font, and returns them by name. The list gets no columns here.
ControlWidgets buildControlScreen(Screen& screen);

}  // namespace tarvine
