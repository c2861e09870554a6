#include "platform/Dialogs.h"

#include "platform/Screen.h"

namespace tarvine {

void Dialogs::errorBox(const std::string& prompt, const RuntimeError&, std::string_view) {
  messageBox(prompt, kMsgInformationOk, std::nullopt);
}

int Dialogs::saveDiscardCancel(const std::string& prompt, const std::string& title) {
  return messageBox(prompt, kMsgSaveDiscardCancel, title);
}

int RecordingDialogs::messageBox(const std::string& prompt, int buttons,
                                 const std::optional<std::string>& title) {
  // The low three bits of the buttons value choose the buttons: OK, OK Cancel, Abort Retry
  // Ignore, Yes No Cancel, Yes No, Retry Cancel. Unanswered, a box takes its safe button.
  static constexpr int kSafeButton[] = {kMsgResultOk,     kMsgResultCancel, 3,
                                        kMsgResultCancel, kMsgResultNo,     kMsgResultCancel,
                                        kMsgResultOk,     kMsgResultOk};
  const int choice = buttons & 7;
  int answer = kSafeButton[choice];
  if (choice != 0 && !replies_.empty()) {
    answer = replies_.front();
    replies_.pop_front();
  }
  record(MessageBoxShown{prompt, buttons, title, answer});
  return answer;
}

std::optional<std::string> RecordingDialogs::inputBox(const std::string& prompt,
                                                      const std::string& title,
                                                      const std::string& defaultText) {
  std::optional<std::string> answer;
  if (!answers_.empty()) {
    answer = std::move(answers_.front());
    answers_.pop_front();
  }
  record(InputBoxShown{prompt, title, defaultText, answer});
  return answer;
}

void RecordingDialogs::showModal(Screen& form) {
  record(FormShown{form.caption()});
  if (formHandler_) formHandler_(form);
}

std::vector<MessageBoxShown> RecordingDialogs::messages() const {
  std::vector<MessageBoxShown> result;
  for (const auto& shown : shown_) {
    if (const auto* message = std::get_if<MessageBoxShown>(&shown)) result.push_back(*message);
  }
  return result;
}

std::vector<InputBoxShown> RecordingDialogs::inputs() const {
  std::vector<InputBoxShown> result;
  for (const auto& shown : shown_) {
    if (const auto* input = std::get_if<InputBoxShown>(&shown)) result.push_back(*input);
  }
  return result;
}

void RecordingDialogs::record(DialogShown shown) {
  shown_.push_back(shown);
  // The observer gets its own copy: it may show further dialogs, which grows shown_.
  if (observer_) observer_(shown);
}

}  // namespace tarvine
