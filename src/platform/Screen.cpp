#include "platform/Screen.h"

namespace tarvine {

Widget* Screen::find(const std::string& name) const {
  for (const auto& widget : widgets_) {
    if (widget->name() == name) return widget.get();
  }
  return nullptr;
}

void Screen::setFocus(const Widget& widget) {
  setFocusName(widget.name());
}

void Screen::setFocusName(std::string name) {
  if (name == focus_) return;
  focus_ = std::move(name);
  focusChanged.emit();
}

}  // namespace tarvine
