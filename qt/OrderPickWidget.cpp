#include "OrderPickWidget.h"

#include "control/TarvineOrderPick.h"

namespace tarvine::qt {

OrderPickWidget::OrderPickWidget(TarvineOrderPick& control, QWidget* parent)
    : ScreenView(control.screen(), parent), control_(control) {
  setObjectName(QStringLiteral("TarvineOrderPick"));
}

}  // namespace tarvine::qt
