#pragma once
// How the calling thread waits for a running HTTP exchange. Headless it simply blocks; a window
// installs its own way of waiting (ScopedWaiting) that keeps painting and offers a Cancel.

#include <cstddef>
#include <string>

namespace tarvine {

// What an exchange does, in the dispatcher's words ("Loading the orders of load 5001…"), and
// whether the user may stop it: reads may, an update that was sent may not.
struct Activity {
  std::string text;
  bool cancellable = true;
};

// An exchange ready to run. bytesReceived() and cancel() may be called from any thread while
// run() runs on another.
class RunningExchange {
 public:
  // Performs the exchange to its end; called once.
  virtual void run() noexcept = 0;
  // Reply bytes received so far.
  virtual std::size_t bytesReceived() const noexcept = 0;
  // Ends the exchange as soon as it can (before it starts: at once); it then fails as cancelled.
  virtual void cancel() noexcept = 0;

 protected:
  ~RunningExchange() = default;
};

class Waiting {
 public:
  virtual ~Waiting() = default;
  // Returns once exchange.run() has returned. The plain wait runs it on the calling thread.
  virtual void wait(const Activity& activity, RunningExchange& exchange);
};

// The way the calling thread waits: the innermost ScopedWaiting, else the plain blocking wait.
Waiting& currentWaiting();

// Makes the calling thread wait through `waiting` for its lifetime; scopes nest.
class ScopedWaiting {
 public:
  explicit ScopedWaiting(Waiting& waiting);
  ~ScopedWaiting();
  ScopedWaiting(const ScopedWaiting&) = delete;
  ScopedWaiting& operator=(const ScopedWaiting&) = delete;

 private:
  Waiting* outer_;
};

}  // namespace tarvine
