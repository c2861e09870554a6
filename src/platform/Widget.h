#pragma once
// Headless widgets: labels, text boxes, buttons, a combo box, a check box and frames, kept as
// plain state with events. User actions are calls on a widget that change it and raise its event
// synchronously; the control's code changes widgets through setters that raise the events a
// desktop widget raises for code changes (see each widget).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Signal.h"

namespace tarvine {

// Position and size in twips, relative to the container.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Font {
  std::string name;
  double points = 0;
};

enum class WidgetKind { Label, TextBox, CommandButton, CheckBox, ComboBox, ListView, Frame };

class Widget {
 public:
  Widget(WidgetKind kind, std::string name, std::string container, Rect rect)
      : kind_(kind), name_(std::move(name)), container_(std::move(container)), rect_(rect) {}
  virtual ~Widget() = default;
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  WidgetKind kind() const { return kind_; }
  // The control's name ("cboCenter", "lblTotal4").
  const std::string& name() const { return name_; }
  // Name of the containing frame; empty for the screen itself.
  const std::string& container() const { return container_; }
  const Rect& rect() const { return rect_; }
  // Caption of labels, buttons, check boxes and frames.
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  const std::optional<Font>& font() const { return font_; }
  void setFont(Font font) { font_ = std::move(font); }
  std::optional<int> tabIndex() const { return tabIndex_; }
  void setTabIndex(int index) { tabIndex_ = index; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Raised after any change a viewer should redraw (caption, value, entries, rows...).
  Signal<> changed;

 private:
  WidgetKind kind_;
  std::string name_;
  std::string container_;
  Rect rect_;
  std::string caption_;
  std::optional<Font> font_;
  std::optional<int> tabIndex_;
  bool enabled_ = true;
};

class Label : public Widget {
 public:
  Label(std::string name, std::string container, Rect rect)
      : Widget(WidgetKind::Label, std::move(name), std::move(container), rect) {}
};

class Frame : public Widget {
 public:
  Frame(std::string name, std::string container, Rect rect)
      : Widget(WidgetKind::Frame, std::move(name), std::move(container), rect) {}
};

class TextBox : public Widget {
 public:
  TextBox(std::string name, std::string container, Rect rect)
      : Widget(WidgetKind::TextBox, std::move(name), std::move(container), rect) {}
  const std::string& text() const { return text_; }
  // Sets the text (from code or as the user typed it).
  void setText(std::string text);
  bool multiLine() const { return multiLine_; }
  void setMultiLine(bool on) { multiLine_ = on; }
  // Longest text the user may type, 0 for no limit; code may set longer texts.
  int maxLength() const { return maxLength_; }
  void setMaxLength(int length) { maxLength_ = length; }

 private:
  std::string text_;
  bool multiLine_ = false;
  int maxLength_ = 0;
};

class CommandButton : public Widget {
 public:
  CommandButton(std::string name, std::string container, Rect rect)
      : Widget(WidgetKind::CommandButton, std::move(name), std::move(container), rect) {}
  // User action: raises click unless the button is disabled.
  void userClick();
  Signal<> click;
};

class CheckBox : public Widget {
 public:
  CheckBox(std::string name, std::string container, Rect rect)
      : Widget(WidgetKind::CheckBox, std::move(name), std::move(container), rect) {}
  // 0 unchecked, 1 checked, 2 grey.
  int value() const { return value_; }
  // Sets the value; raises click when it changes (also from code), as the platform did.
  // Throws RuntimeError 380 "Invalid property value" for a value other than 0, 1 or 2.
  void setValue(int value);
  // User action: ignored when disabled; checked becomes unchecked, anything else checked.
  void userClick();
  Signal<> click;

 private:
  int value_ = 0;
};

class ComboBox : public Widget {
 public:
  struct Entry {
    std::string text;
    std::int32_t itemData = 0;
  };
  ComboBox(std::string name, std::string container, Rect rect)
      : Widget(WidgetKind::ComboBox, std::move(name), std::move(container), rect) {}

  const std::vector<Entry>& entries() const { return entries_; }
  int count() const { return static_cast<int>(entries_.size()); }
  // Removes every entry; the selection becomes -1 without raising click.
  void clear();
  // Appends an entry with item data 0; returns its index (the platform's NewIndex).
  int addItem(std::string text);
  // Throws RuntimeError 381 "Invalid property array index" for an index out of range.
  void setItemData(int index, std::int32_t data);
  std::int32_t itemData(int index) const;
  // Selected index, -1 for none.
  int listIndex() const { return listIndex_; }
  // Code sets the selection: raises click when the index changes. Throws RuntimeError 380
  // "Invalid property value" for an index outside -1..count-1.
  void setListIndex(int index);
  // User action: selects the entry and raises click (also when it was already selected).
  // Ignored for an index out of range and when the box is disabled.
  void userSelect(int index);
  Signal<> click;

 private:
  std::vector<Entry> entries_;
  int listIndex_ = -1;
};

}  // namespace tarvine
