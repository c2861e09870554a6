#include "QtDialogs.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QPushButton>

#include "Layout.h"
#include "ReportGathering.h"
#include "ScreenView.h"
#include "UserAction.h"
#include "WidgetBindings.h"

namespace tarvine::qt {
namespace {

QString titleOr(const std::string& title) {
  return title.empty() ? QCoreApplication::applicationName() : toQString(title);
}

}  // namespace

QMessageBox::Icon messageIcon(int buttons) {
  switch (buttons & 0x70) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons messageButtons(int buttons) {
  switch (buttons & 0x7) {
    case 1:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case 2:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4:
      return QMessageBox::Yes | QMessageBox::No;
    case 5:
      return QMessageBox::Retry | QMessageBox::Cancel;
    default:
      return QMessageBox::Ok;
  }
}

QMessageBox::StandardButton messageDefaultButton(int buttons) {
  QList<QMessageBox::StandardButton> order;
  const QMessageBox::StandardButtons set = messageButtons(buttons);
  // Every button set of the platform, its buttons from left to right.
  for (const QMessageBox::StandardButton button :
       {QMessageBox::Ok, QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore,
        QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
    if (set.testFlag(button)) order << button;
  }
  const qsizetype position = (buttons & kMsgDefaultButton3)   ? 2
                             : (buttons & kMsgDefaultButton2) ? 1
                                                              : 0;
  return position < order.size() ? order[position] : order.front();
}

int messageResult(QMessageBox::StandardButton pressed) {
  switch (pressed) {
    case QMessageBox::Cancel:
      return 2;
    case QMessageBox::Abort:
      return 3;
    case QMessageBox::Retry:
      return 4;
    case QMessageBox::Ignore:
      return 5;
    case QMessageBox::Yes:
      return 6;
    case QMessageBox::No:
      return 7;
    default:
      return kMsgResultOk;
  }
}

FormDialog::FormDialog(Screen& form, QWidget* parent)
    : QDialog(parent), view_(new ScreenView(form, this)) {
  setObjectName(QString::fromLatin1(kFormDialogName));
  setWindowTitle(toQString(form.caption()));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  view_->move(0, 0);
  setFixedSize(view_->size());
}

void FormDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  view_->applyFocus();
}

int QtDialogs::messageBox(const std::string& prompt, int buttons,
                          const std::optional<std::string>& title) {
  QMessageBox box(messageIcon(buttons), title ? titleOr(*title) : titleOr({}), fromCrLf(prompt),
                  messageButtons(buttons), parent_);
  box.setObjectName(QString::fromLatin1(kMessageBoxName));
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(messageDefaultButton(buttons));
  const ArrowCursor arrow;
  box.exec();
  return messageResult(box.standardButton(box.clickedButton()));
}

int QtDialogs::saveDiscardCancel(const std::string& prompt, const std::string& title) {
  QMessageBox box(QMessageBox::Warning, titleOr(title), fromCrLf(prompt),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
  box.setObjectName(QString::fromLatin1(kUnsavedBoxName));
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Save)->setText(QObject::tr("&Save"));
  box.button(QMessageBox::Discard)->setText(QObject::tr("&Discard"));
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  const ArrowCursor arrow;
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Save:
      return kMsgResultYes;
    case QMessageBox::Discard:
      return kMsgResultNo;
    default:
      return kMsgResultCancel;
  }
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
  QInputDialog dialog(parent_);
  dialog.setObjectName(QString::fromLatin1(kInputBoxName));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(titleOr(title));
  dialog.setLabelText(fromCrLf(prompt));
  dialog.setTextValue(toQString(defaultText));
  const ArrowCursor arrow;
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return fromQString(dialog.textValue());
}

void QtDialogs::showModal(Screen& form) {
  FormDialog dialog(form, parent_);
  const ArrowCursor arrow;
  dialog.exec();
}

void QtDialogs::errorBox(const std::string& prompt, const RuntimeError& error,
                         std::string_view procedure) {
  if (ReportGathering* gathering = ReportGathering::current()) {
    return gathering->add(*this, prompt, error, procedure);
  }
  messageBox(prompt, kMsgInformationOk, std::nullopt);
}

}  // namespace tarvine::qt
