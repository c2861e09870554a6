#pragma once
// The "P.O." box: type or scan an order id and press Enter to select the P.O.'s first row, or,
// with "Pick on scan" on, to check the whole P.O. onto the load the way a click on its check box
// does (a P.O. of this load under another center first brings all centers, tools::scanOrder).
// The list then scrolls to show the P.O.'s rows whole, first to last. An id not in the list
// turns the box red and beeps; one the load does not have offers "Add as astray..." with the
// P.O. filled in. Every outcome is told through statusMessage().

#include <QPointer>
#include <QWidget>
#include <string>

#include "UserAction.h"

class QAbstractItemView;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarvine {
class OrderPick;
}

namespace tarvine::qt {

class OrderFindBox : public QWidget {
  Q_OBJECT

 public:
  // User actions run through runner (the control's view), so the window is redrawn after them;
  // list (may be null) is the view of the control's list that scrolls to a found P.O. The
  // control must outlive the box.
  OrderFindBox(OrderPick& control, UserActionRunner runner, QAbstractItemView* list = nullptr,
               QWidget* parent = nullptr);

  QLineEdit* idBox() const { return idBox_; }
  QCheckBox* pickOnScan() const { return pickOnScan_; }
  // Shown after an id the load does not have: opens the astray form with it.
  QPushButton* addAstray() const { return addAstray_; }
  // Puts the keyboard focus into the box with its text selected, ready for the next id.
  void focusBox();
  // What Enter does with the box's text; public for hosts that feed ids from elsewhere.
  void submit();

 Q_SIGNALS:
  // A text for the window's status bar.
  void statusMessage(const QString& text);

 private:
  void showMissing(bool missing);
  // Scrolls the list so that the rows at these 1-based positions show, the first when they do
  // not all fit.
  void showRows(std::size_t first, std::size_t last);

  OrderPick& control_;
  UserActionRunner runner_;
  QLineEdit* idBox_;
  QCheckBox* pickOnScan_;
  QPushButton* addAstray_;
  QPointer<QAbstractItemView> list_;
  std::string unknownId_;  // the id Add as astray offers
};

}  // namespace tarvine::qt
