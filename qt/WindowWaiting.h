#pragma once
// How a window waits for the service calls of one user action without freezing: the exchange
// runs on a worker thread while a local event loop keeps the window painting and resizing.
// User input stays refused meanwhile (so no second action starts inside the first), but for
// the overlay's Cancel and Escape. After kOverlayDelay an overlay over the view says what is
// happening. Once the user cancelled a read, the action's further reads end at once as well.

#include <QPointer>
#include <QWidget>
#include <chrono>

#include "platform/Waiting.h"

namespace tarvine::qt {

// How long a call runs before the overlay shows.
inline constexpr std::chrono::milliseconds kOverlayDelay{300};

class WindowWaiting : public Waiting {
 public:
  // The overlay covers `surface`; without one (or off the GUI thread) the wait simply blocks.
  explicit WindowWaiting(QWidget* surface) : surface_(surface) {}

  // Runs the exchange on a worker thread and waits as described above; blocks plainly when no
  // thread can be started.
  void wait(const Activity& activity, RunningExchange& exchange) override;
  // True once the user cancelled a read of this action.
  bool cancelled() const { return cancelled_; }
  // True while the GUI thread waits for a call in its local event loop: whatever runs then
  // (timers, repaints) runs inside a user action.
  static bool anyWaiting();

 private:
  QPointer<QWidget> surface_;
  bool cancelled_ = false;
};

}  // namespace tarvine::qt
