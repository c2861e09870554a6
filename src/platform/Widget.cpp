#include "platform/Widget.h"

#include "platform/WidgetErrors.h"

namespace tarvine {

void Widget::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed.emit();
}

void Widget::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  changed.emit();
}

void TextBox::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  changed.emit();
}

void CommandButton::userClick() {
  if (enabled()) click.emit();
}

void CheckBox::setValue(int value) {
  if (value < 0 || value > 2) throw invalidPropertyValueError();
  if (value == value_) return;
  value_ = value;
  changed.emit();
  click.emit();
}

void CheckBox::userClick() {
  if (!enabled()) return;
  setValue(value_ == 1 ? 0 : 1);
}

void ComboBox::clear() {
  entries_.clear();
  listIndex_ = -1;
  changed.emit();
}

int ComboBox::addItem(std::string text) {
  entries_.push_back(Entry{std::move(text), 0});
  changed.emit();
  return count() - 1;
}

void ComboBox::setItemData(int index, std::int32_t data) {
  if (index < 0 || index >= count()) throw invalidPropertyArrayIndexError();
  entries_[static_cast<std::size_t>(index)].itemData = data;
}

std::int32_t ComboBox::itemData(int index) const {
  if (index < 0 || index >= count()) throw invalidPropertyArrayIndexError();
  return entries_[static_cast<std::size_t>(index)].itemData;
}

void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= count()) throw invalidPropertyValueError();
  if (index == listIndex_) return;
  listIndex_ = index;
  changed.emit();
  click.emit();
}

void ComboBox::userSelect(int index) {
  if (!enabled() || index < 0 || index >= count()) return;
  if (index != listIndex_) {
    listIndex_ = index;
    changed.emit();
  }
  click.emit();
}

}  // namespace tarvine
