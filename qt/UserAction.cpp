#include "UserAction.h"

#include <QApplication>
#include <QCursor>
#include <QtGlobal>
#include <exception>

#include "ReportGathering.h"
#include "WindowWaiting.h"

namespace tarvine::qt {

BusyCursor::BusyCursor() {
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}
BusyCursor::~BusyCursor() {
  QApplication::restoreOverrideCursor();
}

ArrowCursor::ArrowCursor() {
  QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}
ArrowCursor::~ArrowCursor() {
  QApplication::restoreOverrideCursor();
}

int UserActionRunner::run(const std::function<void()>& action) const {
  if (refresh_) refresh_();
  ReportGathering reports;
  bool cancelled = false;
  {
    WindowWaiting waiting(surface_);
    const ScopedWaiting scope(waiting);
    try {
      BusyCursor busy;
      action();
    } catch (const std::exception& error) {
      qWarning("A user action ended with an error: %s", error.what());
    } catch (...) {
      qWarning("A user action ended with an unknown error");
    }
    cancelled = waiting.cancelled();
  }
  if (refresh_) refresh_();
  const int count = reports.finish();
  if (ended_) ended_(cancelled);
  return count;
}

}  // namespace tarvine::qt
