#include "HostWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <iostream>
#include <stdexcept>
#include <variant>

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
    : log_(makeDefaultEventLog()), realDialogs_(this), unattended_(unattended) {
  unattendedDialogs_.setObserver(tellShown);
  control_ =
      makeOrderPick(unattended ? static_cast<Dialogs&>(unattendedDialogs_) : realDialogs_, *log_);
  setObjectName(QStringLiteral("hostWindow"));
  control_->PutServerName(options.server);
  control_->SetFacilityID(options.facility);
  try {
    control_->SetPersonInformation(options.personId, options.personType);
  } catch (const RuntimeError& error) {
    throw std::invalid_argument("the person id and type must be 16-bit numbers (" +
                                error.description() + ")");
  }
  widget_ = new qt::OrderPickWidget(*control_, this);
  setCentralWidget(widget_);
  buildLoadBar();
  showTitle();
  connect(widget_, &qt::ScreenView::actionEnded, this, [this] { showTitle(); });
  connect(widget_, &qt::OrderPickWidget::refreshed, this, [this](int reports, bool cancelled) {
    if (cancelled) {
      statusBar()->showMessage(QStringLiteral("Refreshing load %1 was cancelled.").arg(shownLoad_));
    } else {
      tellOpenedLoad(shownLoad_, reports);
    }
  });
  tools_ = std::make_unique<HostTools>(*this, *control_, *widget_, options.limits);
  auto* where =
      new QLabel(QStringLiteral("Server %1   Facility %2   Person %3 %4")
                     .arg(qt::toQString(options.server), qt::toQString(options.facility),
                          qt::toQString(options.personId), qt::toQString(options.personType)));
  statusBar()->addPermanentWidget(where);
  // A message gets the whole bar; the server and person come back when it is cleared.
  connect(statusBar(), &QStatusBar::messageChanged, where,
          [where](const QString& message) { where->setVisible(message.isEmpty()); });
  if (!unattended) restorePlacement();
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

void HostWindow::openLoad(std::int32_t load) {
  if (!control_ || !widget_) return;
  if (!qt::keepUnsavedWork(*widget_, QStringLiteral("opening load %1").arg(load))) return;
  const int reports = widget_->perform([this, load] { control_->PutTarvineID(load); });
  // A cancelled open leaves the load shown before, title and load box included.
  if (widget_->lastActionCancelled()) {
    loadBox_->setText(shownLoad_ > 0 ? QString::number(shownLoad_) : QString());
    statusBar()->showMessage(QStringLiteral("Opening load %1 was cancelled.").arg(load));
    return;
  }
  shownLoad_ = load;
  showTitle();
  loadBox_->setText(QString::number(load));
  tellOpenedLoad(load, reports);
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
