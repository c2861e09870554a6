#include "OrderFindBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "Layout.h"
#include "tools/FindOrder.h"

namespace tarvine::qt {
namespace {

constexpr const char* kMissingStyle = "QLineEdit { background: #ffcdd2; color: #b71c1c; }";

}  // namespace

OrderFindBox::OrderFindBox(OrderPick& control, UserActionRunner runner, QWidget* parent)
    : QWidget(parent),
      control_(control),
      runner_(std::move(runner)),
      idBox_(new QLineEdit(this)),
      pickOnScan_(new QCheckBox(QStringLiteral("Pick on scan"), this)) {
  setObjectName(QStringLiteral("orderFindBox"));
  setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(QStringLiteral("P.O.: "), this);
  label->setBuddy(idBox_);
  idBox_->setObjectName(QStringLiteral("orderIdBox"));
  idBox_->setPlaceholderText(QStringLiteral("type or scan"));
  idBox_->setClearButtonEnabled(true);
  idBox_->setMaximumWidth(140);
  pickOnScan_->setObjectName(QStringLiteral("pickOnScan"));
  layout->addWidget(label);
  layout->addWidget(idBox_);
  layout->addWidget(pickOnScan_);
  connect(idBox_, &QLineEdit::returnPressed, this, [this] { submit(); });
  connect(idBox_, &QLineEdit::textEdited, this, [this] { showMissing(false); });
}

void OrderFindBox::focusBox() {
  idBox_->setFocus(Qt::ShortcutFocusReason);
  idBox_->selectAll();
}

void OrderFindBox::submit() {
  const std::string id = fromQString(idBox_->text());
  if (tools::trimOrderId(id).empty()) return;
  QString message;
  bool found = false;
  if (pickOnScan_->isChecked()) {
    tools::ScanResult result;
    runner_.run([&] { result = tools::scanOrder(control_, id); });
    found = result.row.has_value();
    message = toQString(tools::scanMessage(id, result.outcome));
  } else {
    std::optional<std::size_t> row;
    runner_.run([&] { row = tools::selectOrder(control_, id); });
    found = row.has_value();
    message = toQString(tools::findMessage(id, found));
  }
  showMissing(!found);
  if (!found) QApplication::beep();
  // The box keeps its text, selected, so that the next scan replaces it.
  idBox_->selectAll();
  Q_EMIT statusMessage(message);
}

void OrderFindBox::showMissing(bool missing) {
  idBox_->setStyleSheet(missing ? QString::fromLatin1(kMissingStyle) : QString());
  idBox_->setProperty("missing", missing);
}

}  // namespace tarvine::qt
