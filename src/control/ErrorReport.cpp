#include "control/ErrorReport.h"

#include <exception>
#include <new>

#include "platform/Convert.h"
#include "platform/Text.h"

namespace tarvine {
namespace {

// The procedure the transport reports failed exchanges under.
constexpr std::string_view kExchangeProcedure = "ReturnWebserviceXML";

}  // namespace

std::string errorLogEntry(const RuntimeError& error, std::string_view procedure,
                          std::string_view additional, std::string_view projectLine) {
  std::string entry = "\r\n\r\nError Number - ";
  entry += convert::integerText(error.number());
  entry += "\r\nError Description - ";
  entry += text::escapeForLog(error.description());
  entry += "\r\nError Source - ";
  entry += text::escapeForLog(error.source());
  entry += ' ';
  entry += procedure;
  if (!additional.empty()) {
    entry += "\r\nAdditional Error Info - ";
    entry += text::escapeForLog(additional);
  }
  entry += "\r\n";
  entry += projectLine;
  return entry;
}

void reportError(Dialogs& dialogs, EventLog& log, const RuntimeError& error,
                 std::string_view procedure, std::string_view additional,
                 std::string_view projectLine) {
  dialogs.errorBox(std::string(kErrorPrompt), error, procedure);
  log.write(errorLogEntry(error, procedure, additional, projectLine));
}

std::string gatheredErrorPrompt(const RuntimeError& first, std::string_view procedure, int count) {
  if (count <= 1) return std::string(kErrorPrompt);
  const std::string times = convert::integerText(count);
  if (procedure == kExchangeProcedure) {
    return times + " requests to the route service failed: " + first.description();
  }
  return "The same error was reported " + times + " times: " + first.description();
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
