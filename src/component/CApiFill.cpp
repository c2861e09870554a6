// The C interface of "Fill trailer": the best fill as JSON, and applying it.

#include "component/CApiObjects.h"
#include "script/FillJson.h"
#include "script/StateJson.h"

using namespace tarvine;
using namespace tarvine::component::capi;

extern "C" {

int32_t tarvine_suggest_fill(tarvine_control* control, char** proposal) {
  if (proposal) *proposal = nullptr;
  const auto [host, code] = findControl(control);
  if (!host) return code;
  if (!proposal) return TARVINE_E_POINTER;
  return guarded([&]() -> std::int32_t {
    nlohmann::json line;
    host->asCall([&] { line = host->tools().suggest(); });
    *proposal = copyText(script::jsonLine(line));
    if (!*proposal) throw std::bad_alloc();
    if (!line.contains("error")) return TARVINE_S_OK;
    setLastError(line["error"].get<std::string>());
    return TARVINE_S_FALSE;
  });
}

int32_t tarvine_apply_fill(tarvine_control* control, int32_t* added) {
  if (added) *added = 0;
  const auto [host, code] = findControl(control);
  if (!host) return code;
  return guarded([&]() -> std::int32_t {
    nlohmann::json line;
    host->asCall([&] { line = host->tools().applyFill(); });
    if (added) *added = static_cast<int32_t>(line["orders"].size());
    if (!line.contains("error")) return TARVINE_S_OK;
    setLastError(line["error"].get<std::string>());
    return TARVINE_E_UNEXPECTED;
  });
}

}  // extern "C"
