#include "UnsavedPrompt.h"

#include "Layout.h"
#include "OrderPickWidget.h"
#include "control/OrderPick.h"

namespace tarvine::qt {

bool keepUnsavedWork(OrderPickWidget& widget, const QString& action) {
  bool goOn = false;
  widget.perform(
      [&] { goOn = widget.control().askBeforeDroppingUnsavedWork(fromQString(action)); });
  return goOn;
}

}  // namespace tarvine::qt
