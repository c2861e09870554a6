#pragma once
// How mouse and keyboard reach the headless widgets: every user action runs through one runner
// that brings the window up to date first, shows a busy cursor while the action (and any
// synchronous service call in it) runs, and brings the window up to date again afterwards.

#include <QPointer>
#include <QWidget>
#include <functional>

namespace tarvine::qt {

// Shows the wait cursor for its lifetime. Nests.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// Shows the ordinary arrow for its lifetime, above any busy cursor: for modal dialogs that a
// user action opens.
class ArrowCursor {
 public:
  ArrowCursor();
  ~ArrowCursor();
  ArrowCursor(const ArrowCursor&) = delete;
  ArrowCursor& operator=(const ArrowCursor&) = delete;
};

class UserActionRunner {
 public:
  // refresh brings the Qt widgets up to date with the headless ones; the overlay of a service
  // call that takes a while covers surface (none: calls block the window); ended hears after
  // each action whether the user cancelled one of its reads (not an error: the control left what
  // the read would have replaced).
  explicit UserActionRunner(std::function<void()> refresh, QWidget* surface = nullptr,
                            std::function<void(bool cancelled)> ended = {})
      : refresh_(std::move(refresh)), surface_(surface), ended_(std::move(ended)) {}
  // Runs the action as described above; its service calls wait through a WindowWaiting and its
  // error reports are gathered into one box per cause, shown when it ends. Returns the number
  // of error reports. An exception that escapes the action is written as a warning and goes no
  // further, so that it never unwinds through Qt's event handling.
  int run(const std::function<void()>& action) const;

 private:
  std::function<void()> refresh_;
  QPointer<QWidget> surface_;
  std::function<void(bool cancelled)> ended_;
};

}  // namespace tarvine::qt
