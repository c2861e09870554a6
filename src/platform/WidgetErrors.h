#pragma once
// The run-time errors that the headless widgets raise for bad property values and indexes.

#include <cstdint>

#include "platform/RuntimeError.h"

namespace tarvine {

inline constexpr std::int32_t kErrInvalidPropertyValue = 380;
inline constexpr std::int32_t kErrInvalidPropertyArrayIndex = 381;
inline constexpr std::int32_t kErrIndexOutOfBounds = 35600;

// Error 380 "Invalid property value": a property set to a value it cannot take.
inline RuntimeError invalidPropertyValueError() {
  return RuntimeError(kErrInvalidPropertyValue, "Invalid property value");
}
// Error 381 "Invalid property array index": an entry index of a combo box out of range.
inline RuntimeError invalidPropertyArrayIndexError() {
  return RuntimeError(kErrInvalidPropertyArrayIndex, "Invalid property array index");
}
// Error 35600 "Index out of bounds": a list row, position, column or sub-item out of range.
inline RuntimeError indexOutOfBoundsError() {
  return RuntimeError(kErrIndexOutOfBounds, "Index out of bounds");
}

}  // namespace tarvine
