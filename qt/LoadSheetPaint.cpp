#include "LoadSheetPaint.h"

#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <array>
#include <vector>

#include "Layout.h"
#include "platform/Convert.h"
#include "tools/SheetText.h"

namespace tarvine::qt {
namespace {

using tools::LoadSheet;
using tools::SheetCenter;
using tools::SheetFigures;
using tools::SheetLine;

// Columns: caption, share of the page width, right-aligned.
struct Column {
  const char* caption;
  double share;
  bool right;
};
constexpr std::array<Column, 9> kColumns{{{"Center", 0.08, false},
                                          {"P.O.", 0.17, false},
                                          {"Segment", 0.09, true},
                                          {"Received", 0.13, true},
                                          {"Cartons", 0.10, true},
                                          {"Weight (lb)", 0.13, true},
                                          {"Cube (cu ft)", 0.12, true},
                                          {"Freight ($)", 0.12, true},
                                          {"Hot", 0.06, true}}};
constexpr double kBodyPoints = 8.5;
constexpr double kTitlePoints = 13;

// One printed line of the body. Headings of continued centers are added while paginating.
enum class Kind { Heading, Continued, Segment, Subtotal, Gap, Total, Counts, Limit };
struct Item {
  Kind kind;
  std::uint32_t center = 0;
  std::uint32_t line = 0;  // segment line, or which limit
};
struct Page {
  std::vector<Item> items;
};

std::vector<Item> bodyItems(const LoadSheet& sheet) {
  std::vector<Item> items;
  items.reserve(sheet.totals.segments + sheet.centers.size() * 3 + 6);
  for (std::uint32_t c = 0; c < sheet.centers.size(); ++c) {
    items.push_back({Kind::Heading, c});
    for (std::uint32_t l = 0; l < sheet.centers[c].lines.size(); ++l) {
      items.push_back({Kind::Segment, c, l});
    }
    items.push_back({Kind::Subtotal, c});
    items.push_back({Kind::Gap, c});
  }
  items.push_back({Kind::Total});
  for (std::uint32_t l = 0; l < tools::kSheetTotalsCount.size(); ++l) {
    items.push_back({Kind::Counts, 0, l});
  }
  if (sheet.limits) {
    const std::uint32_t limits = sheet.limits->cartons ? 3 : 2;
    for (std::uint32_t l = 0; l < limits; ++l) items.push_back({Kind::Limit, 0, l});
  }
  return items;
}

// Splits the lines into pages of `perPage` lines. A page that starts inside a center begins
// with its heading again; a heading never ends a page.
std::vector<Page> paginate(const std::vector<Item>& items, std::size_t perPage) {
  perPage = std::max<std::size_t>(perPage, 3);
  std::vector<Page> pages(1);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    const bool headingAtEnd =
        item.kind == Kind::Heading && pages.back().items.size() + 1 >= perPage;
    if (pages.back().items.size() >= perPage || headingAtEnd) {
      pages.emplace_back();
      if (item.kind == Kind::Segment || item.kind == Kind::Subtotal) {
        pages.back().items.push_back({Kind::Continued, item.center});
      }
    }
    if (item.kind == Kind::Gap && pages.back().items.empty()) continue;
    pages.back().items.push_back(item);
  }
  return pages;
}

QString text(const std::string& value) {
  return toQString(value);
}

// A figure in its column's format.
QString figure(double value, int decimals) {
  return text(tools::groupedFixed(value, decimals));
}

QString money(double value) {
  return text(value == -1 ? std::string("-1") : convert::formatStandard(value));
}

// The cells of a line, one per column.
using Cells = std::array<QString, kColumns.size()>;

Cells lineCells(const SheetCenter& center, const SheetLine& line) {
  return {text(center.id),
          text(line.order),
          text(line.segment),
          text(line.received),
          figure(line.cartons, tools::kCartonDecimals),
          figure(line.weight, tools::kWeightDecimals),
          figure(line.cube, tools::kCubeDecimals),
          money(line.freight),
          line.hot ? QStringLiteral("X") : QString()};
}

Cells sumCells(const QString& label, const SheetFigures& sums) {
  return {label,
          {},
          {},
          {},
          figure(sums.cartons, tools::kCartonDecimals),
          figure(sums.weight, tools::kWeightDecimals),
          figure(sums.cube, tools::kCubeDecimals),
          money(sums.freight),
          {}};
}

QString segmentsText(std::size_t count) {
  return QStringLiteral("%1 segment%2").arg(count).arg(count == 1 ? "" : "s");
}

QString limitText(const LoadSheet& sheet, std::uint32_t which, bool& over) {
  const tools::TrailerLimits& limits = *sheet.limits;
  const SheetFigures& t = sheet.totals;
  const char* name = which == 0 ? "Weight" : which == 1 ? "Cube" : "Cartons";
  const char* unit = which == 0 ? "lb" : which == 1 ? "cu ft" : "cartons";
  const int decimals = which == 0   ? tools::kWeightDecimals
                       : which == 1 ? tools::kCubeDecimals
                                    : tools::kCartonDecimals;
  const double picked = which == 0 ? t.weight : which == 1 ? t.cube : t.cartons;
  const double limit = which == 0   ? limits.weight
                       : which == 1 ? limits.cube
                                    : static_cast<double>(limits.cartons.value_or(0));
  over = tools::overLimit(picked, limit);
  return QStringLiteral("Trailer %1: %2 of %3 %4 (%5)%6")
      .arg(name, figure(picked, decimals), figure(limit, decimals), unit,
           text(tools::percentText(picked, limit)), over ? QStringLiteral(", over") : QString());
}

class SheetPainter {
 public:
  SheetPainter(const LoadSheet& sheet, QPagedPaintDevice& device, QPainter& painter)
      : sheet_(sheet), painter_(painter) {
    const double dpi = device.logicalDpiY();
    area_ = device.pageLayout().paintRectPixels(device.logicalDpiX());
    area_.moveTo(0, 0);
    body_ = QFont(defaultLayoutFont().family());
    body_.setPointSizeF(kBodyPoints);
    bold_ = body_;
    bold_.setBold(true);
    title_ = bold_;
    title_.setPointSizeF(kTitlePoints);
    lineHeight_ = QFontMetricsF(body_, &device).height() * 1.35;
    titleHeight_ = QFontMetricsF(title_, &device).height() * 1.3;
    pad_ = 3.0 * dpi / 72.0;
    unsaved_ = text(tools::unsavedNote(sheet));
  }

  // Lines of the body that fit under the header of a page.
  std::size_t linesPerPage() const {
    const double header =
        titleHeight_ + (unsaved_.isEmpty() ? 2 : 3) * lineHeight_ + lineHeight_ * 1.6;
    return static_cast<std::size_t>(std::max(0.0, (area_.height() - header) / lineHeight_));
  }

  void paintPage(const Page& page, int number, int count) {
    double y = paintHeader(number, count);
    for (const Item& item : page.items) {
      paintItem(item, y);
      y += lineHeight_;
    }
  }

 private:
  double paintHeader(int number, int count) {
    const double width = area_.width();
    painter_.setFont(title_);
    painter_.setPen(Qt::black);
    painter_.drawText(QRectF(0, 0, width, titleHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                      QStringLiteral("Load sheet - Manifest %1").arg(text(sheet_.manifest)));
    painter_.setFont(body_);
    painter_.drawText(QRectF(0, 0, width, titleHeight_), Qt::AlignRight | Qt::AlignVCenter,
                      QStringLiteral("Page %1 of %2").arg(number).arg(count));
    double y = titleHeight_;
    paintRow(y, {QStringLiteral("Route: %1").arg(text(sheet_.route))}, false);
    y += lineHeight_;
    paintRow(
        y,
        {QStringLiteral("Printed %1    Person %2").arg(text(sheet_.printed), text(sheet_.person))},
        false);
    if (!unsaved_.isEmpty()) {
      y += lineHeight_;
      painter_.setPen(QColor(0xC0, 0, 0));
      paintRow(y, unsaved_, true);
      painter_.setPen(Qt::black);
    }
    y += lineHeight_ * 1.4;
    Cells captions;
    for (std::size_t i = 0; i < kColumns.size(); ++i) captions[i] = kColumns[i].caption;
    painter_.setFont(bold_);
    paintCells(y, captions);
    y += lineHeight_;
    painter_.drawLine(QPointF(0, y), QPointF(width, y));
    return y + lineHeight_ * 0.2;
  }

  void paintItem(const Item& item, double y) {
    painter_.setPen(Qt::black);
    const SheetCenter* center =
        item.center < sheet_.centers.size() ? &sheet_.centers[item.center] : nullptr;
    switch (item.kind) {
      case Kind::Heading:
      case Kind::Continued:
        paintRow(y,
                 QString(text(tools::centerHeading(*center))) +
                     (item.kind == Kind::Continued ? QStringLiteral(" (continued)") : QString()),
                 true);
        return;
      case Kind::Segment:
        painter_.setFont(body_);
        paintCells(y, lineCells(*center, center->lines[item.line]));
        return;
      case Kind::Subtotal:
        painter_.setFont(bold_);
        painter_.drawLine(QPointF(area_.width() * 0.5, y), QPointF(area_.width(), y));
        paintCells(
            y,
            sumCells(
                QStringLiteral("Center subtotal, %1").arg(segmentsText(center->subtotal.segments)),
                center->subtotal));
        return;
      case Kind::Total:
        painter_.setFont(bold_);
        painter_.drawLine(QPointF(0, y), QPointF(area_.width(), y));
        paintCells(y,
                   sumCells(QStringLiteral("Load total, %1 on load %2")
                                .arg(segmentsText(sheet_.totals.segments), text(sheet_.manifest)),
                            sheet_.totals));
        return;
      case Kind::Counts:
        paintRow(y, QString::fromLatin1(tools::kSheetTotalsCount[item.line]), false);
        return;
      case Kind::Limit: {
        bool over = false;
        const QString line = limitText(sheet_, item.line, over);
        painter_.setPen(over ? QColor(0xC0, 0, 0) : QColor(Qt::black));
        paintRow(y, line, over);
        return;
      }
      case Kind::Gap:
        return;
    }
  }

  // One text across the row.
  void paintRow(double y, const QString& line, bool strong) {
    painter_.setFont(strong ? bold_ : body_);
    painter_.drawText(QRectF(0, y, area_.width(), lineHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                      line);
  }

  void paintCells(double y, const Cells& cells) {
    double x = 0;
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
      const double width = area_.width() * kColumns[i].share;
      // A label in the first cell of a sum line runs across the empty cells beside it.
      const double span = (i == 0 && cells[1].isEmpty()) ? area_.width() * 0.5 : width;
      const QRectF box(x + pad_, y, span - 2 * pad_, lineHeight_);
      const Qt::Alignment align = (kColumns[i].right ? Qt::AlignRight : Qt::AlignLeft);
      painter_.drawText(box, align | Qt::AlignVCenter, cells[i]);
      x += width;
    }
  }

  const LoadSheet& sheet_;
  QPainter& painter_;
  QRectF area_;
  QFont body_, bold_, title_;
  QString unsaved_;  // the note on every page when unsaved changes are left out
  double lineHeight_ = 0, titleHeight_ = 0, pad_ = 0;
};

}  // namespace

int paintLoadSheet(const LoadSheet& sheet, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  painter.setRenderHint(QPainter::TextAntialiasing);
  SheetPainter pages(sheet, device, painter);
  const std::vector<Page> layout = paginate(bodyItems(sheet), pages.linesPerPage());
  const int count = static_cast<int>(layout.size());
  for (int i = 0; i < count; ++i) {
    if (i > 0) device.newPage();
    pages.paintPage(layout[static_cast<std::size_t>(i)], i + 1, count);
  }
  painter.end();
  return count;
}

std::string writeLoadSheetPdf(const LoadSheet& sheet, const QString& path,
                              QPageSize::PageSizeId paper) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    return "cannot write " + fromQString(path) + ": " + fromQString(file.errorString());
  }
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("TarvineOrderPick"));
    writer.setTitle(QStringLiteral("Load sheet %1").arg(text(sheet.manifest)));
    writer.setPageSize(QPageSize(paper));
    writer.setPageMargins(QMarginsF(36, 36, 36, 36), QPageLayout::Point);
    if (paintLoadSheet(sheet, writer) == 0) return "cannot draw the PDF " + fromQString(path);
  }
  file.close();
  if (file.error() != QFileDevice::NoError) {
    return "cannot write " + fromQString(path) + ": " + fromQString(file.errorString());
  }
  return {};
}

QPageSize::PageSizeId defaultPaper() {
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                            : QPageSize::A4;
}

std::optional<QPageSize::PageSizeId> paperNamed(const std::string& name) {
  const QString lower = toQString(name).toLower();
  if (lower == QStringLiteral("a4")) return QPageSize::A4;
  if (lower == QStringLiteral("letter")) return QPageSize::Letter;
  return std::nullopt;
}

}  // namespace tarvine::qt
