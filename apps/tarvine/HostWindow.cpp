#include "HostWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <iostream>
#include <stdexcept>
#include <variant>

#include "ConnectDialog.h"
#include "Layout.h"
#include "UnsavedPrompt.h"
#include "control/OrderPick.h"
#include "platform/RuntimeError.h"

namespace tarvine::app {

namespace {

// Tells on stderr what an unattended window was shown.
void tellShown(const DialogShown& shown) {
  if (const auto* message = std::get_if<MessageBoxShown>(&shown)) {
    std::cerr << "message box: " << message->prompt << '\n';
  } else if (const auto* input = std::get_if<InputBoxShown>(&shown)) {
    std::cerr << "input box, cancelled: " << input->prompt << '\n';
  } else if (const auto* form = std::get_if<FormShown>(&shown)) {
    std::cerr << "form, closed at once: " << form->caption << '\n';
  }
}

}  // namespace

HostWindow::HostWindow(const HostOptions& options, bool unattended)
    : log_(makeDefaultEventLog()),
      realDialogs_(this),
      limits_(options.limits),
      unattended_(unattended) {
  // Unattended, reports are not gathered into one box: every message box is one.
  unattendedDialogs_.setObserver([this](const DialogShown& shown) {
    unattendedMessages_ += std::holds_alternative<MessageBoxShown>(shown);
    tellShown(shown);
  });
  setObjectName(QStringLiteral("hostWindow"));
  auto* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("fileMenu"));
  auto* connectAction = file->addAction(QStringLiteral("&Connect..."));
  connectAction->setObjectName(QStringLiteral("connectAction"));
  connect(connectAction, &QAction::triggered, this, [this] { chooseConnection(); });
  buildLoadBar();
  connectionLabel_ = new QLabel(this);
  statusBar()->addPermanentWidget(connectionLabel_);
  // A message gets the whole bar; the connection comes back when it is cleared.
  connect(statusBar(), &QStatusBar::messageChanged, connectionLabel_,
          [this](const QString& message) { connectionLabel_->setVisible(message.isEmpty()); });
  connectTo(
      {options.profile, options.server, options.facility, options.personId, options.personType});
  if (!unattended) restorePlacement();
}

void HostWindow::connectTo(const qt::ConnectionProfile& connection) {
  tearDown();
  control_ =
      makeOrderPick(unattended_ ? static_cast<Dialogs&>(unattendedDialogs_) : realDialogs_, *log_);
  control_->PutServerName(connection.server);
  control_->SetFacilityID(connection.facility);
  try {
    control_->SetPersonInformation(connection.personId, connection.personType);
  } catch (const RuntimeError& error) {
    throw std::invalid_argument("the person id and type must be 16-bit numbers (" +
                                error.description() + ")");
  }
  connection_ = connection;
  widget_ = new qt::OrderPickWidget(*control_, this);
  setCentralWidget(widget_);
  connect(widget_, &qt::ScreenView::actionEnded, this, [this] { showTitle(); });
  connect(widget_, &qt::OrderPickWidget::refreshed, this, [this](int reports, bool cancelled) {
    if (cancelled) {
      statusBar()->showMessage(QStringLiteral("Refreshing load %1 was cancelled.").arg(shownLoad_));
    } else {
      tellOpenedLoad(shownLoad_, reports);
    }
  });
  tools_ = std::make_unique<HostTools>(*this, *control_, *widget_, limits_);
  connectionLabel_->setText(
      QStringLiteral("Server %1   Facility %2   Person %3 %4")
          .arg(qt::toQString(connection.server), qt::toQString(connection.facility),
               qt::toQString(connection.personId), qt::toQString(connection.personType)));
  shownLoad_ = 0;
  showTitle();
  loadBox_->clear();
}

void HostWindow::chooseConnection() {
  if (widget_ && !qt::keepUnsavedWork(*widget_, QStringLiteral("connecting elsewhere"))) return;
  qt::ConnectDialog dialog(this, connection_);
  if (dialog.exec() != QDialog::Accepted) return;
  connectTo(dialog.profile());
  statusBar()->showMessage(QStringLiteral("Connected as profile \"%1\"; open a load by its number.")
                               .arg(qt::toQString(connection_.name)));
}

HostWindow::~HostWindow() {
  tearDown();
}

void HostWindow::buildLoadBar() {
  auto* bar = addToolBar(QStringLiteral("Load"));
  bar->setObjectName(QStringLiteral("loadBar"));
  bar->setMovable(false);
  bar->addWidget(new QLabel(QStringLiteral("Load: "), bar));
  loadBox_ = new QLineEdit(bar);
  loadBox_->setObjectName(QStringLiteral("loadBox"));
  loadBox_->setMaxLength(12);
  loadBox_->setMaximumWidth(100);
  bar->addWidget(loadBox_);
  auto* open = new QPushButton(QStringLiteral("Open"), bar);
  open->setObjectName(QStringLiteral("openLoad"));
  bar->addWidget(open);
  connect(loadBox_, &QLineEdit::returnPressed, this, [this] { openTypedLoad(); });
  connect(open, &QPushButton::clicked, this, [this] { openTypedLoad(); });
}

void HostWindow::openTypedLoad() {
  if (const auto load = typedLoad()) openLoad(*load);
}

bool HostWindow::openLoad(std::int32_t load) {
  if (!control_ || !widget_) return false;
  if (!qt::keepUnsavedWork(*widget_, QStringLiteral("opening load %1").arg(load))) return false;
  const int messagesBefore = unattendedMessages_;
  const int reports = widget_->perform([this, load] { control_->PutTarvineID(load); }) +
                      unattendedMessages_ - messagesBefore;
  // A cancelled open leaves the load shown before, title and load box included.
  if (widget_->lastActionCancelled()) {
    loadBox_->setText(shownLoad_ > 0 ? QString::number(shownLoad_) : QString());
    statusBar()->showMessage(QStringLiteral("Opening load %1 was cancelled.").arg(load));
    return false;
  }
  shownLoad_ = load;
  showTitle();
  loadBox_->setText(QString::number(load));
  tellOpenedLoad(load, reports);
  return reports == 0;
}

void HostWindow::showTitle() {
  // "[*]" shows the mark of unsaved work where the platform puts it.
  const QString product = QString::fromLatin1(kProductName);
  setWindowTitle(shownLoad_ > 0 ? QStringLiteral("%1 - Load %2[*]").arg(product).arg(shownLoad_)
                                : product + QStringLiteral("[*]"));
  setWindowModified(control_ && control_->unsavedChanges().rows > 0);
}

bool HostWindow::saveScreenshot(const QString& path) {
  // Lists draw their rows on the next turn of the event loop; draw them now.
  if (widget_) widget_->refresh();
  QCoreApplication::processEvents();
  return grab().save(path, "PNG");
}

void HostWindow::closeEvent(QCloseEvent* event) {
  if (widget_ && !qt::keepUnsavedWork(*widget_, QStringLiteral("closing the window"))) {
    event->ignore();
    return;
  }
  if (!unattended_) savePlacement();
  tearDown();
  event->accept();
}

void HostWindow::tearDown() {
  // The tools and the widget go first: they follow the control's widgets.
  tools_.reset();
  if (widget_) delete takeCentralWidget();
  control_.reset();
}

}  // namespace tarvine::app
