#include "Layout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>

namespace tarvine::qt {
namespace {

// Installed stand-ins for the old desktop's sans-serif faces, the closest in width first.
const QStringList& sansFallbacks() {
  static const QStringList families{"Microsoft Sans Serif",
                                    "Liberation Sans Narrow",
                                    "Arial Narrow",
                                    "DejaVu Sans Condensed",
                                    "Liberation Sans",
                                    "Arimo",
                                    "Arial",
                                    "Nimbus Sans",
                                    "FreeSans",
                                    "DejaVu Sans"};
  return families;
}

// The layout's sizes were made for "MS Sans Serif", whose letters average 5.5 pixels at
// 8 points on a 96 DPI screen, about 0.52 of its size. A wider stand-in is made smaller until
// its letters are no wider, so that captions fit their boxes; never below three quarters.
constexpr double kReferenceWidthPerEm = 5.5 / (8.0 * kReferenceDpi / 72.0);
constexpr double kPointStep = 0.25;
constexpr double kSmallestScale = 0.75;

double widthPerEm(const QFont& font) {
  static const QString alphabet =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const QFontMetricsF metrics(font);
  const double em = font.pointSizeF() * metrics.fontDpi() / 72.0;
  return em > 0 ? metrics.horizontalAdvance(alphabet) / alphabet.size() / em : 0;
}

// A face and size; kept instead of a QFont, which must not outlive the application.
struct FaceSize {
  QString family;  // empty: whatever sans-serif face the system has
  double points = 0;
};

QFont fontOf(const FaceSize& face) {
  QFont font;
  if (!face.family.isEmpty()) font.setFamilies({face.family});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(face.points);
  return font;
}

FaceSize standIn(const QString& family, double points) {
  // Hinting makes widths move in steps, so the size is lowered in small steps.
  FaceSize face{family, points};
  for (; face.points >= points * kSmallestScale; face.points -= kPointStep) {
    if (widthPerEm(fontOf(face)) * face.points <= kReferenceWidthPerEm * points) break;
  }
  face.points = std::max(face.points, points * kSmallestScale);
  return face;
}

QString installedFallback() {
  for (const QString& candidate : sansFallbacks()) {
    if (QFontDatabase::hasFamily(candidate)) return candidate;
  }
  return {};
}

}  // namespace

int twipsToPixels(double twips, double logicalDpi) {
  return static_cast<int>(std::lround(twips / kTwipsPerPixel * logicalDpi / kReferenceDpi));
}

QRect toPixels(const Rect& rect, double logicalDpi) {
  const int left = twipsToPixels(rect.left, logicalDpi);
  const int top = twipsToPixels(rect.top, logicalDpi);
  // Right and bottom edges are rounded too, so that neighbours stay flush.
  const int right = twipsToPixels(rect.left + rect.width, logicalDpi);
  const int bottom = twipsToPixels(rect.top + rect.height, logicalDpi);
  return QRect(left, top, right - left, bottom - top);
}

QFont layoutFont(const Font& font) {
  const double points = font.points > 0 ? font.points : 8.0;
  const QString family = toQString(font.name);
  if (QFontDatabase::hasFamily(family)) {
    QFont result(family);
    result.setPointSizeF(points);
    return result;
  }
  // Measuring takes a while, so each size is worked out once.
  static std::map<double, FaceSize> standIns;
  auto known = standIns.find(points);
  if (known == standIns.end()) {
    known = standIns.emplace(points, standIn(installedFallback(), points)).first;
  }
  return fontOf(known->second);
}

QFont defaultLayoutFont() {
  return layoutFont(Font{"MS Sans Serif", 8.0});
}

}  // namespace tarvine::qt
