#pragma once
// A small synchronous signal: slots run in connection order inside emit().

#include <functional>
#include <vector>

namespace tarvine {

template <typename... Args>
class Signal {
 public:
  using Slot = std::function<void(Args...)>;
  void connect(Slot slot) { slots_.push_back(std::move(slot)); }
  // Slots connected while emitting run in the same emit; none may be removed.
  void emit(Args... args) const {
    for (std::size_t i = 0; i < slots_.size(); ++i) slots_[i](args...);
  }

 private:
  std::vector<Slot> slots_;
};

}  // namespace tarvine
