#include "control/ErrorReport.h"

#include <exception>
#include <new>

#include "platform/Convert.h"
#include "platform/Text.h"

namespace tarvine {

std::string errorLogEntry(const RuntimeError& error, std::string_view procedure,
                          std::string_view additional, std::string_view projectLine) {
  std::string entry = "\r\n\r\nError Number - ";
  entry += convert::integerText(error.number());
  entry += "\r\nError Description - ";
  entry += text::escapeControls(error.description());
  entry += "\r\nError Source - ";
  entry += text::escapeControls(error.source());
  entry += ' ';
  entry += procedure;
  if (!additional.empty()) {
    entry += "\r\nAdditional Error Info - ";
    entry += text::escapeControls(additional);
  }
  entry += "\r\n";
  entry += projectLine;
  return entry;
}

void reportError(Dialogs& dialogs, EventLog& log, const RuntimeError& error,
                 std::string_view procedure, std::string_view additional,
                 std::string_view projectLine) {
  dialogs.messageBox(std::string(kErrorPrompt), kMsgInformationOk, std::nullopt);
  log.write(errorLogEntry(error, procedure, additional, projectLine));
}

RuntimeError currentError() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return RuntimeError(7, "Out of memory");
  } catch (const std::exception& other) {
    return RuntimeError(51, std::string("Internal error: ") + other.what());
  } catch (...) {
    return RuntimeError(51, "Internal error");
  }
}

}  // namespace tarvine
