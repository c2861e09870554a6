#include "OrderPickWidget.h"

#include <QKeySequence>
#include <QResizeEvent>
#include <QShortcut>
#include <algorithm>

#include "Layout.h"
#include "UnsavedPrompt.h"
#include "control/OrderPick.h"

namespace tarvine::qt {
namespace {

// How a widget follows the room the control gets beyond its design size.
struct Growth {
  const char* name;
  bool wider;   // takes the extra width
  bool taller;  // takes the extra height
  bool down;    // moves down by the extra height
};

// The list and its frame grow; Select All, the totals and the buttons stay under the list.
constexpr Growth kGrowth[] = {
    {"fraAll", true, true, false},
    {"lvwOrderIDs", true, true, false},
    {"chkSellectAll", false, false, true},
    {"fraTotals", false, false, true},
    {"cmdAddAstrayItem", false, false, true},
    {"cmdSave", false, false, true},
    {"cmdCancel", false, false, true},
};

}  // namespace

OrderPickWidget::OrderPickWidget(OrderPick& control, QWidget* parent)
    : ScreenView(control.screen(), parent), control_(control) {
  setObjectName(QStringLiteral("TarvineOrderPick"));
  setMinimumSize(designSize());
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  addShortcuts();
}

void OrderPickWidget::resizeEvent(QResizeEvent* event) {
  ScreenView::resizeEvent(event);
  const int extraWidth = std::max(0, width() - designSize().width());
  const int extraHeight = std::max(0, height() - designSize().height());
  const double dpi = logicalDpiX();
  for (const Growth& growth : kGrowth) {
    const Widget* headless = screen().find(growth.name);
    QWidget* drawn = widgetFor(growth.name);
    if (!headless || !drawn) continue;
    QRect place = toPixels(headless->rect(), dpi);
    if (growth.wider) place.setWidth(place.width() + extraWidth);
    if (growth.taller) place.setHeight(place.height() + extraHeight);
    if (growth.down) place.translate(0, extraHeight);
    drawn->setGeometry(place);
  }
}

void OrderPickWidget::addShortcuts() {
  auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
  connect(save, &QShortcut::activated, this, [this] {
    CommandButton& button = control_.widgets().cmdSave;
    if (button.enabled()) perform([&button] { button.userClick(); });
  });
  auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(refresh, &QShortcut::activated, this, [this] {
    if (keepUnsavedWork(*this, tr("refreshing the load"))) {
      const int reports = perform([this] { control_.RefreshData(); });
      Q_EMIT refreshed(reports, lastActionCancelled());
    }
  });
}

}  // namespace tarvine::qt
