// How much reply text the request being answered on this thread may build. The HTTP server sets
// an allowance around each request; the data set writer asks it for room as a reply grows, so
// that a reply the service could not hold ends early instead of costing a worker its whole time.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>

namespace tarvine::serve {

// The reply may not grow: the service holds as much reply text as it may. what() says so.
class ReplyRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ReplyAllowance {
 public:
  // Takes room for bytes more of reply, or throws ReplyRefused.
  using Take = std::function<void(std::size_t bytes)>;

  // Makes take this thread's allowance until the end of the scope.
  explicit ReplyAllowance(Take take);
  ~ReplyAllowance();
  ReplyAllowance(const ReplyAllowance&) = delete;
  ReplyAllowance& operator=(const ReplyAllowance&) = delete;

  // Asks this thread's allowance for bytes more (any size goes without one); throws
  // ReplyRefused.
  static void charge(std::size_t bytes);

 private:
  Take take_;
  ReplyAllowance* previous_;
};

}  // namespace tarvine::serve
