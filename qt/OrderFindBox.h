#pragma once
// The "P.O." box: type or scan an order id and press Enter to select the P.O.'s first row (the
// list scrolls to it), or, with "Pick on scan" on, to check the whole P.O. onto the load the way
// a click on its check box does. An id not in the list turns the box red and beeps. Every
// outcome is told through statusMessage().

#include <QWidget>

#include "UserAction.h"

class QCheckBox;
class QLineEdit;

namespace tarvine {
class OrderPick;
}

namespace tarvine::qt {

class OrderFindBox : public QWidget {
  Q_OBJECT

 public:
  // User actions run through runner (the control's view), so the window is redrawn after them.
  // The control must outlive the box.
  OrderFindBox(OrderPick& control, UserActionRunner runner, QWidget* parent = nullptr);

  QLineEdit* idBox() const { return idBox_; }
  QCheckBox* pickOnScan() const { return pickOnScan_; }
  // Puts the keyboard focus into the box with its text selected, ready for the next id.
  void focusBox();
  // What Enter does with the box's text; public for hosts that feed ids from elsewhere.
  void submit();

 Q_SIGNALS:
  // A text for the window's status bar.
  void statusMessage(const QString& text);

 private:
  void showMissing(bool missing);

  OrderPick& control_;
  UserActionRunner runner_;
  QLineEdit* idBox_;
  QCheckBox* pickOnScan_;
};

}  // namespace tarvine::qt
