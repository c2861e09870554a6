#include "tarvine/qt/OrderPickControl.h"

#include <QVBoxLayout>
#include <stdexcept>

#include "OrderPickWidget.h"
#include "QtDialogs.h"
#include "control/OrderPick.h"
#include "platform/EventLog.h"
#include "platform/RuntimeError.h"

namespace tarvine::qt {

struct OrderPickControl::Parts {
  explicit Parts(QWidget* owner)
      : log(makeDefaultEventLog()), dialogs(owner), control(makeOrderPick(dialogs, *log)) {}
  std::unique_ptr<EventLog> log;
  QtDialogs dialogs;
  std::unique_ptr<OrderPick> control;
  OrderPickWidget* widget = nullptr;  // a child of the owner
};

OrderPickControl::OrderPickControl(QWidget* parent)
    : QWidget(parent), parts_(std::make_unique<Parts>(this)) {
  parts_->widget = new OrderPickWidget(*parts_->control, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(parts_->widget);
}

OrderPickControl::~OrderPickControl() {
  // The drawing goes before the control it draws.
  delete parts_->widget;
}

void OrderPickControl::PutServerName(const QString& server) {
  parts_->control->PutServerName(server.toStdString());
}

void OrderPickControl::SetFacilityID(const QString& facility) {
  parts_->control->SetFacilityID(facility.toStdString());
}

void OrderPickControl::SetPersonInformation(const QString& personId, const QString& personTypeId) {
  try {
    parts_->control->SetPersonInformation(personId.toStdString(), personTypeId.toStdString());
  } catch (const RuntimeError& error) {
    throw std::invalid_argument("the person id and type must be 16-bit numbers (" +
                                error.description() + ")");
  }
}

void OrderPickControl::PutTarvineID(std::int32_t load) {
  parts_->widget->perform([this, load] { parts_->control->PutTarvineID(load); });
}

void OrderPickControl::RefreshData() {
  parts_->widget->perform([this] { parts_->control->RefreshData(); });
}

std::int32_t OrderPickControl::outgoingLoadID() const {
  return parts_->control->outgoingLoadID();
}

}  // namespace tarvine::qt
