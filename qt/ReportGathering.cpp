#include "ReportGathering.h"

#include <algorithm>

#include "QtDialogs.h"
#include "control/OrderPick.h"

namespace tarvine::qt {
namespace {

thread_local ReportGathering* innermost = nullptr;

}  // namespace

ReportGathering::ReportGathering() : outer_(innermost) {
  innermost = this;
}

ReportGathering::~ReportGathering() {
  stop();
}

ReportGathering* ReportGathering::current() {
  return innermost;
}

void ReportGathering::stop() {
  if (!active_) return;
  active_ = false;
  innermost = outer_;
}

void ReportGathering::add(QtDialogs& dialogs, const std::string& prompt, const RuntimeError& error,
                          std::string_view procedure) {
  const auto alike = std::find_if(kinds_.begin(), kinds_.end(), [&](const Kind& kind) {
    return kind.first.number() == error.number() && kind.first.source() == error.source() &&
           kind.procedure == procedure;
  });
  if (alike != kinds_.end()) {
    ++alike->count;
  } else {
    kinds_.push_back(Kind{&dialogs, prompt, error, std::string(procedure), 1});
  }
}

int ReportGathering::finish() {
  stop();
  int total = 0;
  for (const Kind& kind : kinds_) {
    total += kind.count;
    const std::string prompt =
        kind.count == 1 ? kind.prompt : gatheredErrorPrompt(kind.first, kind.procedure, kind.count);
    kind.dialogs->messageBox(prompt, kMsgInformationOk, std::nullopt);
  }
  kinds_.clear();
  return total;
}

}  // namespace tarvine::qt
