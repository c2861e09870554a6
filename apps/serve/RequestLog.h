// The request log of the route service: one line per request, as text or as a JSON object.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvine::serve {

// How a request ended.
enum class Outcome {
  Ok,       // answered as asked
  Fault,    // answered with a SOAP fault
  Refused,  // turned away before any work: address, Host header, limits, deadlines
  Http,     // answered with a plain HTTP status (unknown path, health check)
};

// What the log says about one request. Texts taken from the request are kept as they came;
// the formatters escape them.
struct RequestRecord {
  std::chrono::system_clock::time_point time;  // when the request (or connection) began
  std::string client;                          // the peer's address
  std::string operation;                       // SOAP operation, or method and path
  std::string load;                            // the OutgoingLoadID, or the load saved to
  std::optional<std::int64_t> person;          // updates: the person of the history entries
  std::optional<std::int64_t> personType;
  std::optional<std::size_t> statements;  // updates: the strings of the array
  std::optional<std::size_t> rows;        // queries: the rows returned
  Outcome outcome = Outcome::Ok;
  int status = 200;    // the HTTP status answered
  std::string detail;  // fault code and text, reason of a refusal
  std::chrono::milliseconds duration{0};
};

// The format of the log lines.
enum class LogFormat { Text, Json };

// Receives each request's record; called from the service's threads, one call at a time.
using RequestLog = std::function<void(const RequestRecord& record)>;

// The record as one line without a line break, e.g.
//   2025-03-04T05:06:07.089Z 127.0.0.1 GetOutgoingLoadAllOrders load 5001: ok, 12 rows, 3 ms
// Json: the same fields as one JSON object. Texts from the request are escaped as the control's
// event log escapes them (text::escapeForLog: \n, \r, \x1b, \u2028, the backslash doubled),
// or as JSON escapes them, so a request cannot forge a line. Never throws for texts that are not
// UTF-8 (they are escaped too).
std::string formatRecord(const RequestRecord& record, LogFormat format);

// A time as ISO 8601 in UTC with milliseconds, e.g. "2025-03-04T05:06:07.089Z".
std::string isoTime(std::chrono::system_clock::time_point time);

// A log that writes each record as one line to standard error, in the given format.
RequestLog standardErrorLog(LogFormat format);

// How much a line of the service's own (start, stop, a failure) matters.
enum class Severity { Info, Warning, Error };

// A line of the service's own, written to standard error in the given format: text is
// "tarvine serve: " and the message ("warning: " before a warning's); json is one object with
// the time, the severity ("info", "warning", "error") and the message.
void logNotice(LogFormat format, Severity severity, const std::string& message);

}  // namespace tarvine::serve
