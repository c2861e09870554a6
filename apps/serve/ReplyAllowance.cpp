#include "ReplyAllowance.h"

namespace tarvine::serve {
namespace {

thread_local ReplyAllowance* current = nullptr;

}  // namespace

ReplyAllowance::ReplyAllowance(Take take) : take_(std::move(take)), previous_(current) {
  current = this;
}

ReplyAllowance::~ReplyAllowance() {
  current = previous_;
}

void ReplyAllowance::charge(std::size_t bytes) {
  if (current) current->take_(bytes);
}

}  // namespace tarvine::serve
