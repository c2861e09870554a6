#pragma once
// Modal things: message box, input box and modal forms. The Qt front end shows real ones; tests
// and the script host answer from a queue and record what was shown.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/RuntimeError.h"

namespace tarvine {

class Screen;

// A buttons value adds a button set (the low three bits), an icon and the default button (the
// one Enter presses): the first, or the second with 256 added, or the third with 512.
inline constexpr int kMsgYesNoCancel = 3;
inline constexpr int kMsgIconWarning = 48;
inline constexpr int kMsgDefaultButton2 = 256;
inline constexpr int kMsgDefaultButton3 = 512;
// Buttons value of a message box with an OK button and the information icon.
inline constexpr int kMsgInformationOk = 64;
// What a message box returns when OK is pressed.
inline constexpr int kMsgResultOk = 1;
// Buttons value of a message box with Yes and No buttons and the warning icon, and what it
// returns for each.
inline constexpr int kMsgWarningYesNo = 52;
inline constexpr int kMsgResultYes = 6;
inline constexpr int kMsgResultNo = 7;
// A question that guards a save: Yes and No, the warning icon, No the default (308).
inline constexpr int kMsgSaveQuestion = kMsgWarningYesNo | kMsgDefaultButton2;
// The question before unsaved work would be lost: Yes saves it, No discards it, Cancel keeps
// it; the warning icon, Cancel the default (563).
inline constexpr int kMsgSaveDiscardCancel = kMsgYesNoCancel | kMsgIconWarning | kMsgDefaultButton3;
// What a message box returns when Cancel is pressed.
inline constexpr int kMsgResultCancel = 2;

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a modal message box; returns the button pressed (kMsgResultOk for OK). No title means
  // the application's name.
  virtual int messageBox(const std::string& prompt, int buttons,
                         const std::optional<std::string>& title) = 0;
  // Shows a modal input box; returns the answer, or nothing when cancelled.
  virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  // Asks whether to save unsaved work before it is lost: returns kMsgResultYes to save it,
  // kMsgResultNo to discard it; anything else keeps it. By default a messageBox() with
  // kMsgSaveDiscardCancel; a window may name the buttons Save, Discard and Cancel.
  virtual int saveDiscardCancel(const std::string& prompt, const std::string& title);
  // Shows a form modally; returns when the user has closed it.
  virtual void showModal(Screen& form) = 0;
  // Shows the box of an error report (the prompt, OK, the information icon) for the error
  // reported under the procedure's name. By default a plain messageBox(); a host may gather the
  // reports of one user action into one box, or count them.
  virtual void errorBox(const std::string& prompt, const RuntimeError& error,
                        std::string_view procedure);
};

struct MessageBoxShown {
  std::string prompt;
  int buttons = 0;
  std::optional<std::string> title;
  int answer = kMsgResultOk;  // the button it returned
};
struct InputBoxShown {
  std::string prompt;
  std::string title;
  std::string defaultText;
  std::optional<std::string> answer;  // nothing = cancelled
};
struct FormShown {
  std::string caption;
};
using DialogShown = std::variant<MessageBoxShown, InputBoxShown, FormShown>;

// Answers from queues and records everything shown. A message box with OK alone is answered with
// OK; one with other buttons takes the next queued reply, or when none is queued its safe button
// (Cancel where it has one, else No or Abort). An input box takes the next queued answer; a
// queued cancel or an empty queue cancels. A modal form is handed to the form handler (when none
// is set it is closed at once).
class RecordingDialogs : public Dialogs {
 public:
  int messageBox(const std::string& prompt, int buttons,
                 const std::optional<std::string>& title) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  void showModal(Screen& form) override;

  void queueAnswer(std::string answer) { answers_.emplace_back(std::move(answer)); }
  void queueCancel() { answers_.emplace_back(std::nullopt); }
  // Queues the button (kMsgResultYes...) the next message box with more than OK returns.
  void queueReply(int button) { replies_.push_back(button); }
  // Runs while a form is shown; the form counts as closed when it returns.
  void setFormHandler(std::function<void(Screen&)> handler) { formHandler_ = std::move(handler); }
  // Sees each dialog as it is shown (message and form before they run, input with its answer).
  void setObserver(std::function<void(const DialogShown&)> observer) {
    observer_ = std::move(observer);
  }

  const std::vector<DialogShown>& shown() const { return shown_; }
  // The message boxes shown so far, in order.
  std::vector<MessageBoxShown> messages() const;
  std::vector<InputBoxShown> inputs() const;
  void clearShown() { shown_.clear(); }

 private:
  void record(DialogShown shown);

  std::deque<std::optional<std::string>> answers_;
  std::deque<int> replies_;
  std::function<void(Screen&)> formHandler_;
  std::function<void(const DialogShown&)> observer_;
  std::vector<DialogShown> shown_;
};

}  // namespace tarvine
