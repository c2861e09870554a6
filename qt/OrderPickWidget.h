#pragma once
// The embeddable widget: draws a TarvineOrderPick from its headless screen and turns the user's
// mouse and keyboard into the control's user actions.

#include "ScreenView.h"

namespace tarvine {
class TarvineOrderPick;
}

namespace tarvine::qt {

class OrderPickWidget : public ScreenView {
  Q_OBJECT

 public:
  // Draws the control's screen. The control must outlive the widget, or at least stop changing
  // once the widget is gone.
  explicit OrderPickWidget(TarvineOrderPick& control, QWidget* parent = nullptr);

  TarvineOrderPick& control() const { return control_; }

 private:
  TarvineOrderPick& control_;
};

}  // namespace tarvine::qt
