#include "UnsavedPrompt.h"

#include <QMessageBox>
#include <QPushButton>

#include "Layout.h"
#include "OrderPickWidget.h"
#include "UserAction.h"
#include "control/OrderPick.h"

namespace tarvine::qt {
namespace {

constexpr std::size_t kNamedOrders = 5;

}  // namespace

QString unsavedOrdersText(const std::vector<std::string>& orders) {
  QStringList named;
  for (std::size_t i = 0; i < orders.size() && i < kNamedOrders; ++i) {
    named << toQString(orders[i]);
  }
  QString text = named.join(QStringLiteral(", "));
  if (orders.size() > kNamedOrders) {
    text += QObject::tr(" and %1 more").arg(orders.size() - kNamedOrders);
  }
  return text;
}

bool keepUnsavedWork(OrderPickWidget& widget, const QString& before) {
  OrderPick& control = widget.control();
  const UnsavedChanges changes = control.unsavedChanges();
  if (changes.rows == 0) return true;

  QMessageBox box(
      QMessageBox::Warning, QObject::tr("Unsaved changes"),
      QObject::tr("The changes to P.O. %1 are not saved.").arg(unsavedOrdersText(changes.orders)),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &widget);
  box.setObjectName(QString::fromLatin1(kUnsavedBoxName));
  box.setInformativeText(QObject::tr("Save them before %1?").arg(before));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  {
    const ArrowCursor arrow;
    box.exec();
  }
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Discard:
      return true;
    case QMessageBox::Save:
      widget.perform([&control] { control.widgets().cmdSave.userClick(); });
      return control.unsavedChanges().rows == 0;
    default:
      return false;
  }
}

}  // namespace tarvine::qt
