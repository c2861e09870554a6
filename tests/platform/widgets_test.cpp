// The headless widgets: what each step of code or of the user raises, in
// tests/golden/platform/widgets.txt.

#include <gtest/gtest.h>

#include "Golden.h"
#include "WidgetTestHelpers.h"
#include "platform/Screen.h"
#include "platform/Widget.h"

namespace tarvine {
namespace {

TEST(WidgetsTest, EveryStepAndWhatItRaised) {
  Transcript t;
  Label label("lblRoute", "fraAll", Rect{1710, 420, 3390, 255});
  TextBox box("txtPO", "", Rect{});
  CommandButton button("cmdSave", "", Rect{});
  CheckBox check("chkSellectAll", "fraAll", Rect{});
  ComboBox combo("cboCenter", "fraAll", Rect{5280, 360, 3240, 315});
  Screen screen("Astray P.O's", 4800, 3600);
  t.watch("label changed", label.changed);
  t.watch("box changed", box.changed);
  t.watch("button click", button.click);
  t.watch("check changed", check.changed);
  check.click.connect([&] { t.out << "  check click, value " << check.value() << '\n'; });
  t.watch("combo changed", combo.changed);
  combo.click.connect([&] { t.out << "  combo click, index " << combo.listIndex() << '\n'; });
  t.watch("focus changed", screen.focusChanged);

  // Code raises changed only on a change.
  for (const char* caption : {"R12", "R12"}) {
    t.step(std::string("label caption ") + caption, [&] { label.setCaption(caption); });
  }
  for (bool enabled : {true, false, false}) {
    t.step("label enabled " + std::to_string(enabled), [&] { label.setEnabled(enabled); });
  }
  for (const char* text : {"123", "123", ""}) {
    t.step(std::string("box text '") + text + "'", [&] { box.setText(text); });
  }
  t.step("button clicked", [&] { button.userClick(); });
  t.step("button disabled and clicked", [&] {
    button.setEnabled(false);
    button.userClick();
  });
  // A user's click toggles, 2 (grey) becomes 1; code raises changed then click.
  for (int value : {0, 1, 2}) {
    t.step("check " + std::to_string(value) + " clicked", [&] {
      check.setValue(value);
      check.userClick();
    });
  }
  t.step("check disabled and clicked", [&] {
    check.setEnabled(false);
    check.userClick();
  });
  for (int value : {0, 0, -1, 3}) {
    t.step("check set to " + std::to_string(value), [&] { check.setValue(value); });
  }
  t.step("combo items", [&] {
    for (const char* item : {"For ALL centers on the route", "Center 7", "Center 9"}) {
      const int at = combo.addItem(item);
      t.out << "  added at " << at << '\n';
    }
    combo.setItemData(1, 7);
    t.out << "  data " << combo.itemData(0) << ' ' << combo.itemData(1) << ", index "
          << combo.listIndex() << '\n';
  });
  for (int index : {-2, 3}) {
    const std::string at = std::to_string(index);
    t.step("combo data set at " + at, [&] { combo.setItemData(index, 5); });
    t.step("combo data read at " + at, [&] { combo.itemData(index); });
    t.step("combo index set to " + at, [&] { combo.setListIndex(index); });
  }
  // Code raises click only on a change; the user on every valid choice while enabled.
  for (int index : {1, 1, -1}) {
    t.step("combo index set to " + std::to_string(index), [&] { combo.setListIndex(index); });
  }
  for (int index : {1, 1, 2, -1}) {
    t.step("combo chosen " + std::to_string(index), [&] { combo.userSelect(index); });
  }
  t.step("combo disabled and chosen 0", [&] {
    combo.setEnabled(false);
    combo.userSelect(0);
  });
  t.step("combo cleared", [&] { combo.clear(); });
  t.out << "  " << combo.count() << " items, index " << combo.listIndex() << '\n';

  auto& text = screen.add<TextBox>("txtPO", "", Rect{});
  screen.add<CommandButton>("cmdOK", "", Rect{});
  t.out << "screen finds txtPO " << (screen.find("txtPO") == &text) << ", cmdNone "
        << (screen.find("cmdNone") != nullptr) << '\n';
  t.step("focus on txtPO", [&] { screen.setFocus(text); });
  t.step("focus on txtPO by name", [&] { screen.setFocusName("txtPO"); });
  t.step("focus on cmdOK by name", [&] { screen.setFocusName("cmdOK"); });
  t.out << "label '" << label.caption() << "' enabled " << label.enabled() << ", focus "
        << screen.focus() << '\n';
  test::expectGolden(t.out.str(), "platform/widgets.txt");
}

}  // namespace
}  // namespace tarvine
