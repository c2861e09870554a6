// Unsaved work is never dropped without asking: a user's center switch, the Cancel button and
// the host's own actions ask Save, Discard or Cancel first.

#include <utility>

#include "control/TarvineOrderPick.h"

namespace tarvine {
namespace {

constexpr const char* kChoosingACenter = "choosing another center";
constexpr const char* kClearingTheList = "clearing the list";

}  // namespace

bool TarvineOrderPick::askBeforeDroppingUnsavedWork(const std::string& action) {
  const UnsavedChanges changes = unsavedChanges();
  if (changes.rows == 0) return true;
  const int answer = dialogs_.saveDiscardCancel(unsavedWorkQuestion(changes, action),
                                                std::string(kUnsavedWorkTitle));
  if (answer == kMsgResultNo) {
    restoreLoadedFreight(Orders, loadedState_);
    return true;
  }
  if (answer != kMsgResultYes) return false;
  saveClicked();
  return unsavedChanges().rows == 0;
}

void TarvineOrderPick::setCenterIndex(int index, CenterSwitch how) {
  const CenterSwitch outer = std::exchange(centerSwitch_, how);
  try {
    w_.cboCenter.setListIndex(index);
  } catch (...) {
    centerSwitch_ = outer;
    throw;
  }
  centerSwitch_ = outer;
}

void TarvineOrderPick::centerBoxClicked() {
  if (centerSwitch_ == CenterSwitch::Quiet) return;
  const int chosen = w_.cboCenter.listIndex();
  if (centerSwitch_ == CenterSwitch::User) {
    bool goOn = false;
    trap("cboCenter_Click()", [&] {
      setCenterIndex(centerIndexShown_, CenterSwitch::Quiet);
      goOn = askBeforeDroppingUnsavedWork(kChoosingACenter);
      if (goOn) setCenterIndex(chosen, CenterSwitch::Quiet);
    });
    if (!goOn) return;
  }
  cboCenter_Click();
}

void TarvineOrderPick::cmdCancel_Click() {
  if (askBeforeDroppingUnsavedWork(kClearingTheList)) ClearAll();
}

void TarvineOrderPick::saveClicked() {
  // A save check that stops the save reports why, as the save's own errors are reported.
  if (saveCheck_ && !trap("cmdSave_Click()", [this] { saveCheck_(dialogs_); })) return;
  cmdSave_Click();
}

}  // namespace tarvine
