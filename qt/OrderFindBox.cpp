#include "OrderFindBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Layout.h"
#include "tools/FindOrder.h"

namespace tarvine::qt {
namespace {

constexpr const char* kMissingStyle = "QLineEdit { background: #ffcdd2; color: #b71c1c; }";

}  // namespace

OrderFindBox::OrderFindBox(OrderPick& control, UserActionRunner runner, QAbstractItemView* list,
                           QWidget* parent)
    : QWidget(parent),
      control_(control),
      runner_(std::move(runner)),
      idBox_(new QLineEdit(this)),
      pickOnScan_(new QCheckBox(QStringLiteral("Pick on scan"), this)),
      addAstray_(new QPushButton(QStringLiteral("Add as astray\u2026"), this)),
      list_(list) {
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
  addAstray_->setObjectName(QStringLiteral("addAstrayFromScan"));
  addAstray_->setVisible(false);
  layout->addWidget(addAstray_);
  connect(addAstray_, &QPushButton::clicked, this, [this] {
    const std::string id = unknownId_;
    runner_.run([&] { control_.addAstrayFor(id); });
  });
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
  tools::ScanResult result;
  const bool scan = pickOnScan_->isChecked();
  runner_.run(
      [&] { result = scan ? tools::scanOrder(control_, id) : tools::selectOrder(control_, id); });
  const bool found = result.row.has_value();
  if (found) showRows(*result.row, result.lastRow);
  showMissing(!found);
  if (!found) QApplication::beep();
  const bool unknown = result.outcome == tools::ScanOutcome::NotFound;
  unknownId_ = unknown ? std::string(tools::trimOrderId(id)) : std::string();
  addAstray_->setVisible(unknown);
  // The box keeps its text, selected, so that the next scan replaces it.
  idBox_->selectAll();
  Q_EMIT statusMessage(toQString(tools::scanMessage(id, result.outcome)));
}

void OrderFindBox::showRows(std::size_t first, std::size_t last) {
  if (!list_ || !list_->model()) return;
  const QAbstractItemModel& model = *list_->model();
  const auto index = [&](std::size_t position) {
    return model.index(static_cast<int>(position) - 1, 0);
  };
  list_->scrollTo(index(last), QAbstractItemView::EnsureVisible);
  list_->scrollTo(index(first), QAbstractItemView::EnsureVisible);
}

void OrderFindBox::showMissing(bool missing) {
  idBox_->setStyleSheet(missing ? QString::fromLatin1(kMissingStyle) : QString());
  idBox_->setProperty("missing", missing);
  if (!missing) addAstray_->setVisible(false);
}

}  // namespace tarvine::qt
