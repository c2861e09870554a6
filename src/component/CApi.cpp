// The C interface of a control: creation, callbacks, late-bound calls, scripts and state.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

#include "component/CApiObjects.h"
#include "component/TypeDescription.h"
#include "platform/Text.h"
#include "script/StateJson.h"

using namespace tarvine::component;
using namespace tarvine::component::capi;

namespace {

// Copies text into a fixed buffer, cut at a character boundary so that it stays UTF-8.
template <std::size_t N>
void copyInto(char (&buffer)[N], std::string_view text) {
  const std::string_view kept = tarvine::text::cutAtCharacter(text, N - 1);
  const std::size_t size = kept.size();
  if (size > 0) std::memcpy(buffer, kept.data(), size);
  buffer[size] = '\0';
}

void fillError(tarvine_error* error, std::int32_t code, std::string_view description,
               std::int32_t number = 0, int argIndex = -1, std::string_view source = {}) {
  if (!error) return;
  error->code = code;
  error->number = number;
  error->arg_index = argIndex;
  copyInto(error->source, source);
  copyInto(error->description, description);
}

// Puts the first report into error (may be null); false when there was none.
bool fillFirstReport(tarvine_error* error, const ErrorReports& reports) {
  if (reports.count == 0 || !reports.first) return false;
  const tarvine::RuntimeError& first = *reports.first;
  fillError(error, TARVINE_S_ERRORS_REPORTED, first.description(), first.number(), -1,
            first.source());
  return true;
}

Variant toVariant(const tarvine_variant& value, int index) {
  switch (value.type) {
    case TARVINE_VT_EMPTY:
      return {};
    case TARVINE_VT_MISSING:
      return Missing{};
    case TARVINE_VT_BOOL:
      return value.integer != 0;
    case TARVINE_VT_I4:
      return std::int32_t{value.integer};
    case TARVINE_VT_R8:
      return value.number;
    case TARVINE_VT_TEXT:
      return std::string(value.text ? value.text : "");
    case TARVINE_VT_I2:
      if (value.integer >= std::numeric_limits<std::int16_t>::min() &&
          value.integer <= std::numeric_limits<std::int16_t>::max()) {
        return static_cast<std::int16_t>(value.integer);
      }
      throw DispatchError(DispatchCode::BadVarType,
                          "Bad variable type: argument " + std::to_string(index + 1) +
                              " is an I2 holding " + std::to_string(value.integer),
                          index);
    default:
      break;
  }
  throw DispatchError(DispatchCode::BadVarType,
                      "Bad variable type: argument " + std::to_string(index + 1) +
                          " has the unknown type code " + std::to_string(value.type),
                      index);
}

// Converts the arguments, runs the call and hands back its result or failure.
template <typename Call>
std::int32_t dispatchCall(tarvine_control* control, const tarvine_variant* args, int32_t count,
                          tarvine_variant* result, tarvine_error* error, Call&& call) {
  if (result) *result = tarvine_variant{TARVINE_VT_EMPTY, 0, 0.0, nullptr};
  fillError(error, TARVINE_S_OK, "");
  const std::int32_t code = guarded([&]() -> std::int32_t {
    const auto [host, missing] = findControl(control);
    if (!host) return missing;
    if (count > 0 && !args) {
      fillError(error, TARVINE_E_POINTER, "Invalid pointer: no arguments");
      return TARVINE_E_POINTER;
    }
    try {
      if (count < 0) {
        throw DispatchError(DispatchCode::BadParamCount,
                            "Invalid number of parameters: " + std::to_string(count));
      }
      std::vector<Variant> converted;
      converted.reserve(static_cast<std::size_t>(count));
      for (int i = 0; i < count; ++i) converted.push_back(toVariant(args[i], i));
      const Variant value = call(*host, converted);
      if (const auto* text = std::get_if<std::string>(&value); text && result) {
        char* copy = copyText(*text);
        if (!copy) throw std::bad_alloc();
        *result = tarvine_variant{TARVINE_VT_TEXT, 0, 0.0, copy};
      }
      return fillFirstReport(error, host->reports()) ? TARVINE_S_ERRORS_REPORTED : TARVINE_S_OK;
    } catch (const DispatchError& failure) {
      const auto code = static_cast<std::int32_t>(failure.code());
      fillError(error, code, failure.description(), failure.number(), failure.argIndex(),
                failure.source());
      return code;
    }
  });
  if (error && error->code == TARVINE_S_OK && code != TARVINE_S_OK) {
    fillError(error, code, tarvine_last_error());
  }
  return code;
}

}  // namespace

extern "C" {

int32_t tarvine_create(tarvine_control** control) {
  if (!control) return TARVINE_E_POINTER;
  *control = nullptr;
  return guarded([&]() -> std::int32_t {
    *control = addControl();
    return TARVINE_S_OK;
  });
}

int32_t tarvine_destroy(tarvine_control* control) {
  if (!control) return TARVINE_S_OK;
  const auto [host, code] = findControl(control);
  if (!host) return code;
  if (host->busy()) {
    setLastError("a control cannot be destroyed from inside one of its own calls");
    return TARVINE_E_UNEXPECTED;
  }
  removeControl(control);
  return TARVINE_S_OK;
}

void tarvine_text_out_set(tarvine_text_out* out, const char* text) {
  if (!out) return;
  try {
    out->text = text ? text : "";
  } catch (...) {
    out->text.reset();
  }
}

int32_t tarvine_set_callbacks(tarvine_control* control, const tarvine_callbacks* callbacks) {
  const auto [found, code] = findControl(control);
  if (!found) return code;
  return guarded([&]() -> std::int32_t {
    HostCallbacks host;
    const tarvine_callbacks c = callbacks ? *callbacks : tarvine_callbacks{};
    if (auto fn = c.message_box) {
      host.messageBox = [fn, user = c.user](const std::string& prompt, int buttons,
                                            const std::optional<std::string>& title) {
        return static_cast<int>(
            fn(user, prompt.c_str(), buttons, title ? title->c_str() : nullptr));
      };
    }
    if (auto fn = c.input_box) {
      host.inputBox = [fn, user = c.user](const std::string& prompt, const std::string& title,
                                          const std::string& defaultText) {
        tarvine_text_out answer;
        if (!fn(user, prompt.c_str(), title.c_str(), defaultText.c_str(), &answer)) {
          return std::optional<std::string>();
        }
        return std::optional<std::string>(answer.text.value_or(""));
      };
    }
    if (auto fn = c.form) {
      host.formLine = [fn, user = c.user](const std::string& caption) {
        tarvine_text_out line;
        if (!fn(user, caption.c_str(), &line)) return std::optional<std::string>();
        return std::optional<std::string>(line.text.value_or(""));
      };
    }
    if (auto fn = c.event_log) {
      host.eventLog = [fn, user = c.user](const std::string& entry) { fn(user, entry.c_str()); };
    }
    found->setCallbacks(std::move(host));
    return TARVINE_S_OK;
  });
}

int32_t tarvine_get_dispid(const char* name, int32_t* dispid) {
  if (!name || !dispid) return TARVINE_E_POINTER;
  const auto id = dispatchIdOfName(name);
  if (!id) return TARVINE_DISP_E_UNKNOWNNAME;
  *dispid = *id;
  return TARVINE_S_OK;
}

int32_t tarvine_invoke(tarvine_control* control, int32_t dispid, const tarvine_variant* args,
                       int32_t count, tarvine_variant* result, tarvine_error* error) {
  return dispatchCall(control, args, count, result, error,
                      [dispid](HostedControl& host, const std::vector<Variant>& converted) {
                        return host.invoke(dispid, converted);
                      });
}

int32_t tarvine_invoke_by_name(tarvine_control* control, const char* name,
                               const tarvine_variant* args, int32_t count, tarvine_variant* result,
                               tarvine_error* error) {
  if (!name) {
    if (result) *result = tarvine_variant{TARVINE_VT_EMPTY, 0, 0.0, nullptr};
    fillError(error, TARVINE_E_POINTER, "Invalid pointer: no name");
    return TARVINE_E_POINTER;
  }
  return dispatchCall(control, args, count, result, error,
                      [name](HostedControl& host, const std::vector<Variant>& converted) {
                        return host.invokeByName(name, converted);
                      });
}

void tarvine_variant_clear(tarvine_variant* value) {
  if (!value) return;
  if (value->type == TARVINE_VT_TEXT) std::free(const_cast<char*>(value->text));
  *value = tarvine_variant{TARVINE_VT_EMPTY, 0, 0.0, nullptr};
}

int32_t tarvine_error_reports(tarvine_control* control, int32_t* count, tarvine_error* first) {
  const auto [host, code] = findControl(control);
  if (!host) return code;
  const ErrorReports& reports = host->reports();
  if (count) *count = reports.count;
  fillError(first, 0, "", 0, -1);
  return fillFirstReport(first, reports) ? TARVINE_S_OK : TARVINE_S_FALSE;
}

int32_t tarvine_unsaved_changes(tarvine_control* control, int32_t* rows, char** orders) {
  if (orders) *orders = nullptr;
  const auto [host, code] = findControl(control);
  if (!host) return code;
  return guarded([&]() -> std::int32_t {
    const tarvine::UnsavedChanges changes = host->control().unsavedChanges();
    if (rows) *rows = static_cast<std::int32_t>(changes.rows);
    if (orders) {
      *orders = copyText(tarvine::script::jsonLine(nlohmann::json(changes.orders)));
      if (!*orders) throw std::bad_alloc();
    }
    return changes.rows > 0 ? TARVINE_S_OK : TARVINE_S_FALSE;
  });
}

int32_t tarvine_run_script(tarvine_control* control, const char* text, tarvine_line_fn on_line,
                           void* user) {
  const auto [host, code] = findControl(control);
  if (!host) return code;
  if (!text) return TARVINE_E_POINTER;
  return guarded([&]() -> std::int32_t {
    try {
      return host->runScript(text, [on_line, user](const std::string& line) {
        if (on_line) on_line(user, line.c_str());
      });
    } catch (const std::logic_error& refused) {
      setLastError(refused.what());
      return TARVINE_E_UNEXPECTED;
    }
  });
}

char* tarvine_state_json(tarvine_control* control) {
  const FoundControl found = findControl(control);
  if (!found.host) return nullptr;
  try {
    return copyText(found.host->stateJson());
  } catch (...) {
    return nullptr;
  }
}

char* tarvine_type_description_json(void) {
  try {
    return copyText(typeDescriptionJson());
  } catch (...) {
    return nullptr;
  }
}

void tarvine_free_string(char* text) {
  std::free(text);
}

}  // extern "C"
