#include "WindowWaiting.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <functional>
#include <system_error>
#include <thread>

#include "Layout.h"
#include "WaitOverlay.h"

namespace tarvine::qt {
namespace {

constexpr int kProgressMilliseconds = 100;

int waitingLoops = 0;

bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

// Refuses user input and window closing to every widget while it lives, but for the Cancel
// button; Escape stands for Cancel. Input reaches a widget through its window, which is let
// through; shortcuts are refused wherever they go.
class InputGate : public QObject {
 public:
  InputGate(QPushButton* cancel, std::function<void()> onEscape)
      : cancel_(cancel), onEscape_(std::move(onEscape)) {
    qApp->installEventFilter(this);
  }
  ~InputGate() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Shortcut:
        return true;
      case QEvent::ShortcutOverride:
        event->accept();  // no shortcut fires; the key goes on as a key press, refused below
        return true;
      case QEvent::Close:
        if (!watched->isWidgetType()) return false;
        event->ignore();
        return true;
      default:
        break;
    }
    if (!isUserInput(event->type()) || !watched->isWidgetType()) return false;
    if (cancel_ && watched == cancel_) return false;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && onEscape_) {
      onEscape_();
    }
    return true;
  }

 private:
  QPointer<QPushButton> cancel_;
  std::function<void()> onEscape_;
};

}  // namespace

void WindowWaiting::wait(const Activity& activity, RunningExchange& exchange) {
  if (cancelled_ && activity.cancellable) {
    exchange.cancel();
    return exchange.run();  // ends at once
  }
  if (!surface_ || QThread::currentThread() != qApp->thread()) return exchange.run();

  QEventLoop loop;
  WaitOverlay overlay(*surface_, toQString(activity.text), activity.cancellable);
  auto cancel = [this, &exchange] {
    cancelled_ = true;
    exchange.cancel();
  };
  QObject::connect(&overlay, &WaitOverlay::cancelRequested, &overlay, cancel);
  std::function<void()> onEscape;
  if (activity.cancellable) onEscape = cancel;
  const InputGate gate(overlay.cancelButton(), onEscape);
  QTimer::singleShot(kOverlayDelay, &overlay, [&overlay] { overlay.show(); });
  QTimer progress;
  QObject::connect(&progress, &QTimer::timeout, &overlay,
                   [&overlay, &exchange] { overlay.setReceived(exchange.bytesReceived()); });
  progress.start(kProgressMilliseconds);

  std::thread worker;
  try {
    worker = std::thread([&exchange, &loop] {
      exchange.run();
      QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
  } catch (const std::system_error&) {
    return exchange.run();  // no thread to spare: wait as the headless control does
  }
  ++waitingLoops;
  loop.exec();
  --waitingLoops;
  worker.join();
}

bool WindowWaiting::anyWaiting() {
  return waitingLoops > 0;
}

}  // namespace tarvine::qt
