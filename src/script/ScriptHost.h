#pragma once
// The headless script host: drives one control from text commands, one per line, and reports
// what happens as JSON lines. The command line host, tests and the C interface all use it, so
// every user action has one definition.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "control/OrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "script/ToolCommands.h"

namespace tarvine::script {

class ScriptHost {
 public:
  // Where JSON lines go, one call per line (without the line break).
  using Output = std::function<void(const std::string& line)>;
  // Gives the next script line, or nothing at the end of the script.
  using Input = std::function<std::optional<std::string>()>;

  // Makes the control the script drives, given the script's own dialogs and log (a component
  // host wraps them to put its own callbacks in front).
  using ControlFactory =
      std::function<std::unique_ptr<OrderPick>(RecordingDialogs&, MemoryEventLog&)>;

  explicit ScriptHost(Output output);
  // As above, with a control made by makeControl (null: the plain control).
  ScriptHost(Output output, const ControlFactory& makeControl);
  ~ScriptHost();

  // Runs lines from input until it ends or a line cannot be run. Returns 0; 1 when a line ran
  // but failed at run time (a load sheet not written, no fill proposed or applied: its line
  // says why), the lines after it running still; or 2 after a line that could not be run
  // (reported as an "error" line); a line longer than kMaxLineBytes is not run.
  int run(const Input& input);
  // Why the latest run stopped early ("line 3: unknown command frobnicate"); empty otherwise.
  const std::string& failure() const { return failure_; }

  OrderPick& control() { return *control_; }
  RecordingDialogs& dialogs() { return dialogs_; }
  // The dispatcher's tools on the control (find, scan, the trailer's limits, the load sheet).
  ToolCommands& tools() { return *tools_; }
  // The state object a "state" line reports: the screen, the shown form or null, the capacity.
  nlohmann::json state(const AstrayForm* shownForm) const;

 private:
  enum class Outcome { Done, Failed, CloseForm };
  // The next line of input, counted; nothing at its end or after a line too long to run.
  std::optional<std::string> nextLine();
  // Runs one line; `form` is the astray form while it is shown.
  Outcome runLine(const std::string& line, AstrayForm* form);
  Outcome runControlCommand(const std::vector<std::string>& words);
  Outcome runFormCommand(const std::vector<std::string>& words, AstrayForm& form);
  // Runs "soap URL HOST ACTION ENVELOPE [update]" (ENVELOPE or @FILE) through call, which gets
  // the envelope text and returns the result; prints a result line.
  Outcome runSoap(const std::vector<std::string>& words,
                  const std::function<std::string(const std::string&)>& call);
  // Reports a line that cannot be run; always returns Outcome::Failed.
  Outcome fail(const std::string& text);
  void emit(const nlohmann::json& value);
  // Runs the lines that act on the shown form until "close" or the end of the script.
  void runForm(Screen& screen);

  Output output_;
  RecordingDialogs dialogs_;
  MemoryEventLog log_;
  std::unique_ptr<OrderPick> control_;
  std::unique_ptr<ToolCommands> tools_;  // after the control: it goes first
  const Input* input_ = nullptr;
  int lineNumber_ = 0;
  bool failed_ = false;
  std::string failure_;
};

}  // namespace tarvine::script
