#include "platform/Waiting.h"

namespace tarvine {
namespace {

thread_local Waiting* installed = nullptr;

}  // namespace

void Waiting::wait(const Activity&, RunningExchange& exchange) {
  exchange.run();
}

Waiting& currentWaiting() {
  static Waiting plain;
  return installed ? *installed : plain;
}

ScopedWaiting::ScopedWaiting(Waiting& waiting) : outer_(installed) {
  installed = &waiting;
}

ScopedWaiting::~ScopedWaiting() {
  installed = outer_;
}

}  // namespace tarvine
