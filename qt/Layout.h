#pragma once
// Conversions between the headless layout and Qt: twips to pixels, layout fonts, texts.

#include <QFont>
#include <QRect>
#include <QString>
#include <string>

#include "platform/Widget.h"

namespace tarvine::qt {

// Twips per pixel at the reference resolution of 96 logical dots per inch.
inline constexpr double kTwipsPerPixel = 15.0;
inline constexpr double kReferenceDpi = 96.0;

// Pixels for a length in twips at the given logical DPI, rounded to the nearest pixel.
int twipsToPixels(double twips, double logicalDpi);
// A layout rectangle (twips) in pixels at the given logical DPI.
QRect toPixels(const Rect& rect, double logicalDpi);

// The layout's font: the named family at its size, or the nearest installed sans-serif (metric
// look-alikes first) when that family is not installed.
QFont layoutFont(const Font& font);
// The font of widgets that name none: the platform's default, "MS Sans Serif" at 8 points.
QFont defaultLayoutFont();

// Texts of the headless widgets are UTF-8.
inline QString toQString(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string fromQString(const QString& text) {
  return text.toStdString();
}

}  // namespace tarvine::qt
