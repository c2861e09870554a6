#include "astray/AstrayLayout.h"

namespace tarvine {
namespace {

template <typename W>
W& place(Screen& screen, const char* name, Rect rect, int tabIndex, const char* caption = "") {
  W& widget = screen.add<W>(name, name == std::string_view("fraAddPO") ? "" : "fraAddPO", rect);
  widget.setCaption(caption);
  widget.setTabIndex(tabIndex);
  return widget;
}

}  // namespace

AstrayWidgets buildAstrayScreen(Screen& screen) {
  auto& fraAddPO = place<Frame>(screen, "fraAddPO", {0, 0, 4450, 3420}, 3, "Free Astray P.O's");
  auto& Label5 = place<Label>(screen, "Label5", {480, 240, 375, 255}, 8, "P.O");
  auto& txtPO1 = place<TextBox>(screen, "txtPO1", {960, 240, 495, 285}, 0);
  txtPO1.setMaxLength(4);
  auto& Label3 = place<Label>(screen, "Label3", {1520, 240, 135, 255}, 11, "-");
  Label3.setFont({"MS Sans Serif", 12});
  auto& txtPO2 = place<TextBox>(screen, "txtPO2", {1680, 240, 735, 285}, 1);
  txtPO2.setMaxLength(6);
  auto& Label8 = place<Label>(screen, "Label8", {2520, 240, 615, 255}, 7, "Cartons");
  auto& txtCartons = place<TextBox>(screen, "txtCartons", {3240, 240, 735, 285}, 2);
  auto& Label1 = place<Label>(screen, "Label1", {240, 720, 615, 255}, 9, "Freight");
  auto& txtFreight = place<TextBox>(screen, "txtFreight", {960, 720, 735, 285}, 4);
  auto& Label2 = place<Label>(screen, "Label2", {120, 1200, 735, 255}, 10, "Comments");
  auto& txtComments = place<TextBox>(screen, "txtComments", {120, 1440, 4095, 1455}, 5);
  txtComments.setMultiLine(true);
  auto& cmdAddAstrayItem = place<CommandButton>(screen, "cmdAddAstrayItem", {120, 3000, 1290, 285},
                                                6, "Add Astray Item");
  return AstrayWidgets{fraAddPO,   Label5, txtPO1,     Label3, txtPO2,      Label8,
                       txtCartons, Label1, txtFreight, Label2, txtComments, cmdAddAstrayItem};
}

}  // namespace tarvine
