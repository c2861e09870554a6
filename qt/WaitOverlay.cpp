#include "WaitOverlay.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvine::qt {

WaitOverlay::WaitOverlay(QWidget& covered, const QString& text, bool cancellable)
    : QWidget(&covered), received_(new QLabel(this)) {
  setObjectName(QString::fromLatin1(kWaitOverlayName));
  setAttribute(Qt::WA_NoSystemBackground);
  hide();

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setAutoFillBackground(true);
  auto* title = new QLabel(text.isEmpty() ? tr("Waiting for the server\u2026") : text, panel);
  title->setObjectName(QString::fromLatin1(kWaitTextName));
  title->setWordWrap(true);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  // On one line where the view is wide enough.
  const int widest = std::max(covered.width() * 3 / 4, 160);
  title->setMinimumWidth(std::min(QFontMetrics(bold).horizontalAdvance(title->text()), widest));
  panel->setMaximumWidth(widest + 40);
  received_->setObjectName(QString::fromLatin1(kWaitReceivedName));
  received_->setParent(panel);
  setReceived(0);

  auto* inner = new QVBoxLayout(panel);
  inner->addWidget(title);
  inner->addWidget(received_);
  if (cancellable) {
    cancel_ = new QPushButton(tr("Cancel"), panel);
    cancel_->setObjectName(QString::fromLatin1(kWaitCancelName));
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &WaitOverlay::cancelRequested);
    inner->addWidget(cancel_, 0, Qt::AlignRight);
  }
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(panel);
  row->addStretch();
  auto* outer = new QVBoxLayout(this);
  outer->addStretch();
  outer->addLayout(row);
  outer->addStretch();

  setGeometry(covered.rect());
  covered.installEventFilter(this);
}

WaitOverlay::~WaitOverlay() {
  if (cursorSet_) QApplication::restoreOverrideCursor();
}

void WaitOverlay::setReceived(std::size_t bytes) {
  const QString size = QLocale().formattedDataSize(static_cast<qint64>(bytes), 1,
                                                   QLocale::DataSizeTraditionalFormat);
  received_->setText(tr("%1 received").arg(size));
}

void WaitOverlay::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  raise();
  // The busy arrow instead of the wait cursor: the Cancel button may be clicked.
  if (!cursorSet_) QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  cursorSet_ = true;
}

void WaitOverlay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QColor veil = palette().color(QPalette::Window);
  veil.setAlpha(170);
  painter.fillRect(rect(), veil);
}

bool WaitOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) {
    setGeometry(static_cast<QWidget*>(watched)->rect());
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tarvine::qt
