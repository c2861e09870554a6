#include "component/HostCallbacks.h"

#include "platform/Screen.h"

namespace tarvine::component {

// Every callback is copied before it is called: the host may replace its callbacks from
// inside one of them.

int HostDialogs::messageBox(const std::string& prompt, int buttons,
                            const std::optional<std::string>& title) {
  if (auto host = callbacks_.messageBox) return host(prompt, buttons, title);
  return script_.messageBox(prompt, buttons, title);
}

std::optional<std::string> HostDialogs::inputBox(const std::string& prompt,
                                                 const std::string& title,
                                                 const std::string& defaultText) {
  if (auto host = callbacks_.inputBox) return host(prompt, title, defaultText);
  return script_.inputBox(prompt, title, defaultText);
}

void HostDialogs::showModal(Screen& form) {
  Screen* const outerForm = shownForm_;
  const bool outerFromHost = formFromHost_;
  shownForm_ = &form;
  formFromHost_ = static_cast<bool>(callbacks_.formLine);
  struct Restore {
    HostDialogs& self;
    Screen* form;
    bool fromHost;
    ~Restore() {
      self.shownForm_ = form;
      self.formFromHost_ = fromHost;
    }
  } restore{*this, outerForm, outerFromHost};
  script_.showModal(form);
}

void HostDialogs::errorBox(const std::string& prompt, const RuntimeError& error, std::string_view) {
  if (reports_.count++ == 0) reports_.first = error;
  messageBox(prompt, kMsgInformationOk, std::nullopt);
}

void HostEventLog::write(const std::string& entry) {
  try {
    if (scriptRunning_) script_.write(entry);
    if (auto host = callbacks_.eventLog) return host(entry);
    if (!defaultLog_) defaultLog_ = makeDefaultEventLog();
    defaultLog_->write(entry);
  } catch (...) {
    // An entry that cannot be written is dropped.
  }
}

}  // namespace tarvine::component
