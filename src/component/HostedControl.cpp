#include "component/HostedControl.h"

#include <stdexcept>

#include "platform/Screen.h"
#include "script/ScriptLine.h"
#include "script/StateJson.h"

namespace tarvine::component {

class HostedControl::CallScope {
 public:
  explicit CallScope(HostedControl& host) : host_(host) {
    if (host_.depth_++ == 0) host_.dialogs_->clearReports();
  }
  ~CallScope() {
    if (--host_.depth_ == 0) host_.script_.dialogs().clearShown();
  }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  HostedControl& host_;
};

HostedControl::HostedControl()
    : script_(
          [this](const std::string& line) {
            if (sink_) sink_(line);
          },
          [this](RecordingDialogs& dialogs, MemoryEventLog& log) {
            dialogs_ = std::make_unique<HostDialogs>(dialogs, callbacks_);
            log_ = std::make_unique<HostEventLog>(log, callbacks_, scriptRunning_);
            auto control = makeOrderPick(*dialogs_, *log_);
            formFace_ = std::make_unique<DispatchFace>(*control);
            control->setFormObject(formFace_.get());
            return control;
          }) {}

HostedControl::~HostedControl() = default;

Variant HostedControl::invoke(std::int32_t dispatchId, std::span<const Variant> args) {
  CallScope scope(*this);
  return component::invoke(control(), dispatchId, args);
}

Variant HostedControl::invokeByName(std::string_view name, std::span<const Variant> args) {
  CallScope scope(*this);
  return component::invokeByName(control(), name, args);
}

int HostedControl::runScript(std::string_view text, const LineSink& sink) {
  if (scriptRunning_) throw std::logic_error("a script is already running on this control");
  CallScope scope(*this);
  struct Running {
    HostedControl& host;
    explicit Running(HostedControl& h, const LineSink& sink) : host(h) {
      host.scriptRunning_ = true;
      host.sink_ = sink;
    }
    ~Running() {
      host.scriptRunning_ = false;
      host.sink_ = nullptr;
    }
  } running(*this, sink);

  std::size_t next = 0;
  auto input = [&]() -> std::optional<std::string> {
    if (dialogs_->formLinesFromHost()) {
      if (auto formLine = callbacks_.formLine) return formLine(dialogs_->shownForm()->caption());
      return std::nullopt;
    }
    if (next >= text.size()) return std::nullopt;
    std::size_t end = text.find('\n', next);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(next, end - next);
    next = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    // The script host refuses a longer line; copying more of it would only cost memory.
    return std::string(line.substr(0, script::kMaxLineBytes + 1));
  };
  return script_.run(input);
}

std::string HostedControl::stateJson() {
  const AstrayForm* form = dialogs_->shownForm() ? control().astrayForm() : nullptr;
  return script::jsonLine(script_.state(form));
}

void HostedControl::asCall(const std::function<void()>& body) {
  CallScope scope(*this);
  body();
}

}  // namespace tarvine::component
