#include "script/ScriptHost.h"

#include <charconv>

#include <nlohmann/json.hpp>

#include "platform/RegularFile.h"
#include "script/ScriptLine.h"
#include "script/StateJson.h"

namespace tarvine::script {
namespace {

using nlohmann::json;

// A whole decimal integer in the given range, or nothing.
std::optional<long long> wholeNumber(const std::string& text, long long min, long long max) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

// The buttons a message box returns, by the names the message line uses; `reply` takes the
// first four.
constexpr std::pair<int, std::string_view> kButtons[] = {
    {kMsgResultYes, "yes"}, {kMsgResultNo, "no"},
    {kMsgResultOk, "ok"},   {kMsgResultCancel, "cancel"},
    {3, "abort"},           {4, "retry"},
    {5, "ignore"}};
constexpr std::size_t kReplyButtons = 4;

json buttonName(int button) {
  for (const auto& [value, name] : kButtons) {
    if (value == button) return name;
  }
  return button;
}

std::optional<int> replyButton(const std::string& word) {
  for (std::size_t i = 0; i < kReplyButtons; ++i) {
    if (kButtons[i].second == word) return kButtons[i].first;
  }
  return std::nullopt;
}

// The largest envelope file a soap line reads: the route service takes no larger request.
constexpr std::size_t kMaxEnvelopeBytes = std::size_t{16} << 20;

}  // namespace

ScriptHost::ScriptHost(Output output) : ScriptHost(std::move(output), nullptr) {}

ScriptHost::ScriptHost(Output output, const ControlFactory& makeControl)
    : output_(std::move(output)) {
  dialogs_.setObserver([this](const DialogShown& shown) {
    if (const auto* message = std::get_if<MessageBoxShown>(&shown)) {
      emit({{"type", "message"},
            {"prompt", message->prompt},
            {"title", message->title ? json(*message->title) : json(nullptr)},
            {"buttons", message->buttons},
            {"answer", buttonName(message->answer)}});
    } else if (const auto* input = std::get_if<InputBoxShown>(&shown)) {
      emit({{"type", "input"},
            {"prompt", input->prompt},
            {"title", input->title},
            {"default", input->defaultText},
            {"answer", input->answer ? json(*input->answer) : json(nullptr)}});
    }
  });
  dialogs_.setFormHandler([this](Screen& screen) { runForm(screen); });
  log_.setObserver([this](const std::string& entry) { emit({{"type", "log"}, {"text", entry}}); });
  control_ = makeControl ? makeControl(dialogs_, log_) : makeOrderPick(dialogs_, log_);
  tools_ = std::make_unique<ToolCommands>(*control_, [this](const json& value) { emit(value); });
}

json ScriptHost::state(const AstrayForm* shownForm) const {
  json value = stateJson(*control_, shownForm);
  value["capacity"] = tools_->capacityJson();
  return value;
}

ScriptHost::~ScriptHost() = default;

void ScriptHost::emit(const json& value) {
  output_(jsonLine(value));
}

ScriptHost::Outcome ScriptHost::fail(const std::string& text) {
  emit({{"type", "error"}, {"line", lineNumber_}, {"text", text}});
  failed_ = true;
  failure_ = "line " + std::to_string(lineNumber_) + ": " + text;
  return Outcome::Failed;
}

int ScriptHost::run(const Input& input) {
  // Every run starts afresh: a host may run several scripts on the same control.
  failed_ = false;
  failure_.clear();
  lineNumber_ = 0;
  input_ = &input;
  const int runFailuresBefore = tools_->runFailures();
  while (!failed_) {
    std::optional<std::string> line = nextLine();
    if (!line) break;
    runLine(*line, nullptr);
  }
  input_ = nullptr;
  if (failed_) return 2;
  return tools_->runFailures() > runFailuresBefore ? 1 : 0;
}

std::optional<std::string> ScriptHost::nextLine() {
  std::optional<std::string> line = (*input_)();
  if (!line) return line;
  ++lineNumber_;
  if (line->size() <= kMaxLineBytes) return line;
  fail(overlongLineError(*line));
  return std::nullopt;
}

void ScriptHost::runForm(Screen&) {
  AstrayForm* form = control_->astrayForm();
  while (!failed_ && input_ && form) {
    std::optional<std::string> line = nextLine();
    if (!line) return;  // the end of the script closes the form
    if (runLine(*line, form) == Outcome::CloseForm) return;
  }
}

ScriptHost::Outcome ScriptHost::runLine(const std::string& line, AstrayForm* form) {
  const ParsedLine parsed = splitLine(line);
  if (!parsed.error.empty()) return fail(parsed.error);
  const std::vector<std::string>& words = parsed.words;
  if (words.empty()) return Outcome::Done;
  // Answers for the next input box can be queued whether or not the form is shown.
  if (words[0] == "answer" && words.size() == 2) {
    dialogs_.queueAnswer(words[1]);
    return Outcome::Done;
  }
  if (words[0] == "answer-cancel" && words.size() == 1) {
    dialogs_.queueCancel();
    return Outcome::Done;
  }
  // The button the next message box with more than OK returns.
  if (words[0] == "reply" && words.size() == 2) {
    const std::optional<int> button = replyButton(words[1]);
    if (!button) return fail("reply takes yes, no, ok or cancel");
    dialogs_.queueReply(*button);
    return Outcome::Done;
  }
  return form ? runFormCommand(words, *form) : runControlCommand(words);
}

ScriptHost::Outcome ScriptHost::runFormCommand(const std::vector<std::string>& words,
                                               AstrayForm& form) {
  const std::string& command = words[0];
  const std::size_t args = words.size() - 1;
  if (command == "type" && args == 2) {
    Widget* widget = form.screen().find(words[1]);
    auto* box =
        widget && widget->kind() == WidgetKind::TextBox ? static_cast<TextBox*>(widget) : nullptr;
    if (!box) return fail("the astray form has no text box named " + words[1]);
    form.screen().setFocus(*box);
    const int limit = box->maxLength();
    box->setText(limit > 0 && words[2].size() > static_cast<std::size_t>(limit)
                     ? words[2].substr(0, static_cast<std::size_t>(limit))
                     : words[2]);
    return Outcome::Done;
  }
  if (command == "add" && args == 0) {
    form.widgets().cmdAddAstrayItem.userClick();
    return Outcome::Done;
  }
  if (command == "state" && args == 0) {
    emit(state(&form));
    return Outcome::Done;
  }
  if (command == "close" && args == 0) return Outcome::CloseForm;
  if (command == "soap") {
    return runSoap(words, [&](const std::string& envelope) {
      return form.ReturnWebserviceXML(words[1], words[2], words[3], envelope, args == 5);
    });
  }
  return fail("'" + command + "' with " + std::to_string(args) +
              " argument(s) cannot be used while the astray form is shown "
              "(type NAME TEXT, add, state, close, soap, answer TEXT, answer-cancel)");
}

ScriptHost::Outcome ScriptHost::runSoap(
    const std::vector<std::string>& words,
    const std::function<std::string(const std::string&)>& call) {
  const std::size_t args = words.size() - 1;
  if (args != 4 && !(args == 5 && words[5] == "update")) {
    return fail("soap takes URL HOST ACTION ENVELOPE [update]");
  }
  std::string envelope = words[4];
  if (envelope.starts_with('@')) {
    const std::string path = envelope.substr(1);
    try {
      auto content = readRegularFile(path, kMaxEnvelopeBytes);
      if (!content) return fail("the envelope file " + path + " does not exist");
      envelope = std::move(*content);
    } catch (const FileReadError& error) {
      return fail("the envelope file " + path + " " + error.what());
    }
  }
  emit({{"type", "result"}, {"text", call(envelope)}});
  return Outcome::Done;
}

ScriptHost::Outcome ScriptHost::runControlCommand(const std::vector<std::string>& words) {
  OrderPick& control = *control_;
  const ControlWidgets& w = control.widgets();
  const std::string& command = words[0];
  const std::size_t args = words.size() - 1;
  // Runs a public method as a host would; a failure reaches the host as a hosterror line.
  auto hostCall = [this](const char* method, auto&& call) {
    try {
      call();
    } catch (...) {
      const RuntimeError error = currentError();
      emit({{"type", "hosterror"},
            {"method", method},
            {"number", error.number()},
            {"description", error.description()}});
    }
    return Outcome::Done;
  };
  auto position = [&](const std::string& text, std::size_t count) {
    return wholeNumber(text, 1, static_cast<long long>(count));
  };

  if (auto tool = tools_->run(words)) return tool->empty() ? Outcome::Done : fail(*tool);
  if (command == "server" && args == 1) {
    return hostCall("PutServerName", [&] { control.PutServerName(words[1]); });
  }
  if (command == "facility" && args == 1) {
    return hostCall("SetFacilityID", [&] { control.SetFacilityID(words[1]); });
  }
  if (command == "person" && args == 2) {
    return hostCall("SetPersonInformation",
                    [&] { control.SetPersonInformation(words[1], words[2]); });
  }
  if (command == "load" && args == 1) {
    const auto id = wholeNumber(words[1], INT32_MIN, INT32_MAX);
    if (!id) return fail("load takes a whole number from -2147483648 to 2147483647");
    return hostCall("PutTarvineID", [&] { control.PutTarvineID(static_cast<std::int32_t>(*id)); });
  }
  if (command == "refresh" && args == 0) {
    return hostCall("RefreshData", [&] { control.RefreshData(); });
  }
  if (command == "soap") {
    return runSoap(words, [&](const std::string& envelope) {
      return control.ReturnWebserviceXML(words[1], words[2], words[3], envelope, args == 5);
    });
  }
  if (command == "state" && args == 0) {
    emit(state(nullptr));
    return Outcome::Done;
  }
  if (command == "cancel" && args == 0) {
    w.cmdCancel.userClick();
    return Outcome::Done;
  }
  if (command == "save" && args == 0) {
    w.cmdSave.userClick();
    return Outcome::Done;
  }
  if (command == "astray" && args == 0) {
    w.cmdAddAstrayItem.userClick();
    return failed_ ? Outcome::Failed : Outcome::Done;
  }
  if (command == "selectall" && args == 0) {
    w.chkSellectAll.userClick();
    return Outcome::Done;
  }
  if (command == "center" && args == 1) {
    const auto index = wholeNumber(words[1], 0, w.cboCenter.count() - 1);
    if (!index) return fail("the center box has no entry " + words[1]);
    w.cboCenter.userSelect(static_cast<int>(*index));
    return Outcome::Done;
  }
  if ((command == "toggle" || command == "click" || command == "dblclick") && args == 1) {
    const auto row = position(words[1], w.lvwOrderIDs.rowCount());
    if (!row) return fail("the list has no row " + words[1]);
    const auto at = static_cast<std::size_t>(*row);
    if (command == "toggle") w.lvwOrderIDs.userToggleCheck(at);
    if (command == "click") w.lvwOrderIDs.userClick(at);
    if (command == "dblclick") w.lvwOrderIDs.userDoubleClick(at);
    return Outcome::Done;
  }
  if (command == "sort" && args == 1) {
    const auto column = position(words[1], w.lvwOrderIDs.columns().size());
    if (!column) return fail("the list has no column " + words[1]);
    w.lvwOrderIDs.userColumnClick(static_cast<int>(*column));
    return Outcome::Done;
  }
  return fail("unknown command or wrong arguments: " + command + " with " + std::to_string(args) +
              " argument(s)");
}

}  // namespace tarvine::script
