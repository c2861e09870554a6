#include "RequestLog.h"

#include <cstdio>
#include <ctime>
#include <mutex>
#include <nlohmann/json.hpp>

#include "platform/Text.h"

namespace tarvine::serve {
namespace {

using text::escapeForLog;

// Request texts longer than this are cut in the log.
constexpr std::size_t kLoggedTextBytes = 200;

std::string_view cut(std::string_view text) {
  return text.substr(0, kLoggedTextBytes);
}

std::string cutMark(std::string_view text) {
  return text.size() > kLoggedTextBytes ? "..." : "";
}

std::string textLine(const RequestRecord& r) {
  std::string line = isoTime(r.time) + " " + escapeForLog(r.client) + " " +
                     escapeForLog(cut(r.operation)) + cutMark(r.operation);
  if (!r.load.empty()) line += " load " + escapeForLog(cut(r.load)) + cutMark(r.load);
  if (r.person) line += " person " + std::to_string(*r.person);
  if (r.personType) line += " type " + std::to_string(*r.personType);
  if (r.statements) line += ", " + std::to_string(*r.statements) + " statements";
  line += ": ";
  switch (r.outcome) {
    case Outcome::Ok:
      line += "ok";
      if (r.rows) line += ", " + std::to_string(*r.rows) + " rows";
      break;
    case Outcome::Fault:
      line += "fault " + escapeForLog(r.detail);
      break;
    case Outcome::Refused:
      line += "refused (" + escapeForLog(r.detail) + ")";
      break;
    case Outcome::Http:
      line += "HTTP " + std::to_string(r.status);
      if (!r.detail.empty()) line += " (" + escapeForLog(r.detail) + ")";
      break;
  }
  return line + ", " + std::to_string(r.duration.count()) + " ms";
}

const char* outcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::Ok:
      return "ok";
    case Outcome::Fault:
      return "fault";
    case Outcome::Refused:
      return "refused";
    case Outcome::Http:
      return "http";
  }
  return "";
}

std::string jsonLine(const RequestRecord& r) {
  nlohmann::ordered_json line;
  line["time"] = isoTime(r.time);
  line["client"] = r.client;
  line["operation"] = std::string(cut(r.operation));
  if (!r.load.empty()) line["load"] = std::string(cut(r.load));
  if (r.person) line["person"] = *r.person;
  if (r.personType) line["person_type"] = *r.personType;
  if (r.statements) line["statements"] = *r.statements;
  if (r.rows) line["rows"] = *r.rows;
  line["outcome"] = outcomeName(r.outcome);
  line["status"] = r.status;
  if (!r.detail.empty()) line["detail"] = r.detail;
  line["duration_ms"] = r.duration.count();
  // JSON escapes every ASCII control character; bytes that are not UTF-8 become U+FFFD; the
  // separators beyond ASCII that it keeps raw are escaped here.
  return text::escapeUnicodeBreaks(
      line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

}  // namespace

std::string isoTime(std::chrono::system_clock::time_point time) {
  const auto sinceEpoch = time.time_since_epoch();
  const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds);
  const std::time_t whole = static_cast<std::time_t>(seconds.count());
  std::tm utc{};
  gmtime_r(&whole, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(millis.count()));
  return text;
}

std::string formatRecord(const RequestRecord& record, LogFormat format) {
  return format == LogFormat::Json ? jsonLine(record) : textLine(record);
}

namespace {

void writeLine(const std::string& text) {
  const std::string line = text + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

RequestLog standardErrorLog(LogFormat format) {
  return [format](const RequestRecord& record) { writeLine(formatRecord(record, format)); };
}

void logNotice(LogFormat format, Severity severity, const std::string& message) {
  static constexpr const char* kSeverities[] = {"info", "warning", "error"};
  const char* severityName = kSeverities[static_cast<int>(severity)];
  if (format == LogFormat::Text) {
    writeLine("tarvine serve: " + std::string(severity == Severity::Warning ? "warning: " : "") +
              message);
    return;
  }
  nlohmann::ordered_json line;
  line["time"] = isoTime(std::chrono::system_clock::now());
  line["severity"] = severityName;
  line["message"] = message;
  writeLine(line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

}  // namespace tarvine::serve
