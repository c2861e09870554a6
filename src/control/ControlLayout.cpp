#include "control/ControlLayout.h"

#include <initializer_list>

namespace tarvine {
namespace {

template <typename W>
W& place(Screen& screen, const char* name, const char* container, Rect rect,
         const char* caption = "") {
  W& widget = screen.add<W>(name, container, rect);
  widget.setCaption(caption);
  return widget;
}

}  // namespace

ControlWidgets buildControlScreen(Screen& screen) {
  const Font labelFont{"MS Sans Serif", 9.75};
  // Frames first, so that viewers can place their contents inside them.
  auto& fraAll = place<Frame>(screen, "fraAll", "", {120, 0, 8625, 7350});
  auto& fraTotals =
      place<Frame>(screen, "fraTotals", "fraAll", {240, 5640, 4890, 1020}, "TOTALS per Load");
  auto& cmdCancel =
      place<CommandButton>(screen, "cmdCancel", "", {3720, 6830, 1530, 375}, "Cancel");
  auto& cmdSave = place<CommandButton>(screen, "cmdSave", "", {2040, 6830, 1530, 375}, "Save");
  auto& Label2 =
      place<Label>(screen, "Label2", "fraAll", {180, 195, 1200, 210}, "Manifest Number :");
  auto& lblTarvineID = place<Label>(screen, "lblTarvineID", "fraAll", {180, 405, 1320, 270});
  lblTarvineID.setFont(labelFont);
  auto& Label7 = place<Label>(screen, "Label7", "fraAll", {1710, 210, 555, 210}, "Route :");
  auto& lblRoute = place<Label>(screen, "lblRoute", "fraAll", {1710, 420, 3390, 255});
  lblRoute.setFont(labelFont);
  auto& Label1 = place<Label>(screen, "Label1", "fraAll", {5205, 180, 600, 255}, "Center :");
  auto& cboCenter = place<ComboBox>(screen, "cboCenter", "fraAll", {5280, 360, 3240, 315});
  auto& lvwOrderIDs = place<ListView>(screen, "lvwOrderIDs", "fraAll", {120, 840, 8415, 4335});
  auto& chkSellectAll =
      place<CheckBox>(screen, "chkSellectAll", "fraAll", {240, 5280, 1020, 315}, "Select All");
  auto& Label3 = place<Label>(screen, "Label3", "fraTotals", {135, 315, 1095, 255}, "Cartons :");
  auto& Label4 =
      place<Label>(screen, "Label4", "fraTotals", {1260, 330, 1095, 255}, "Weight (lbs) :");
  auto& Label6 =
      place<Label>(screen, "Label6", "fraTotals", {2385, 330, 870, 255}, "Freight ($) :");
  auto& lblTotal4 = place<Label>(screen, "lblTotal4", "fraTotals", {135, 540, 975, 255});
  auto& lblTotal5 = place<Label>(screen, "lblTotal5", "fraTotals", {1260, 555, 975, 255});
  auto& lblTotal6 = place<Label>(screen, "lblTotal6", "fraTotals", {2385, 555, 975, 255});
  auto& cmdAddAstrayItem = place<CommandButton>(screen, "cmdAddAstrayItem", "fraAll",
                                                {240, 6830, 1530, 375}, "Add Astray Item");
  // The keys follow the screen: the center box, the list, Select All, then the buttons.
  int tab = 0;
  for (Widget* widget : std::initializer_list<Widget*>{&cboCenter, &lvwOrderIDs, &chkSellectAll,
                                                       &cmdSave, &cmdCancel, &cmdAddAstrayItem}) {
    widget->setTabIndex(tab++);
  }
  return ControlWidgets{cmdCancel,     cmdSave,   fraAll,    Label2,          lblTarvineID,
                        Label7,        lblRoute,  Label1,    cboCenter,       lvwOrderIDs,
                        chkSellectAll, fraTotals, Label3,    Label4,          Label6,
                        lblTotal4,     lblTotal5, lblTotal6, cmdAddAstrayItem};
}

}  // namespace tarvine
