#pragma once
// The widgets of one screen (the control's or a form's) in layout order, with its caption,
// design size and the focused widget.

#include <memory>
#include <string>
#include <vector>

#include "platform/Widget.h"

namespace tarvine {

class Screen {
 public:
  Screen(std::string caption, int width, int height)
      : caption_(std::move(caption)), width_(width), height_(height) {}

  const std::string& caption() const { return caption_; }
  int width() const { return width_; }    // twips
  int height() const { return height_; }  // twips

  // Creates a widget owned by the screen; returns a reference that lives as long as the screen.
  template <typename W, typename... Args>
  W& add(Args&&... args) {
    auto widget = std::make_unique<W>(std::forward<Args>(args)...);
    W& ref = *widget;
    widgets_.push_back(std::move(widget));
    return ref;
  }
  // Widgets in the order they were added.
  const std::vector<std::unique_ptr<Widget>>& widgets() const { return widgets_; }
  // The widget of that name, or null.
  Widget* find(const std::string& name) const;

  // Name of the focused widget, empty for none.
  const std::string& focus() const { return focus_; }
  void setFocus(const Widget& widget);
  void setFocusName(std::string name);
  Signal<> focusChanged;

 private:
  std::string caption_;
  int width_;
  int height_;
  std::vector<std::unique_ptr<Widget>> widgets_;
  std::string focus_;
};

}  // namespace tarvine
