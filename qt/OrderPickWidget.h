#pragma once
// The embeddable widget: draws a TarvineOrderPick from its headless screen and turns the user's
// mouse and keyboard into the control's user actions. The designed layout is its smallest size;
// made larger, the list takes the extra room and what lies under it moves down with it. Ctrl+S
// saves; F5 refreshes the load, once unsaved changes are saved or given up (UnsavedPrompt.h).

#include "ScreenView.h"

namespace tarvine {
class OrderPick;
}

namespace tarvine::qt {

class OrderPickWidget : public ScreenView {
  Q_OBJECT

 public:
  // Draws the control's screen. The control must outlive the widget, or at least stop changing
  // once the widget is gone.
  explicit OrderPickWidget(OrderPick& control, QWidget* parent = nullptr);

  OrderPick& control() const { return control_; }

 Q_SIGNALS:
  // After F5 reloaded the load (it asked about unsaved work first), with how it ended.
  void refreshed(int errorReports, bool cancelled);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void addShortcuts();

  OrderPick& control_;
};

}  // namespace tarvine::qt
