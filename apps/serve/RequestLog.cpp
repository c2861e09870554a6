#include "RequestLog.h"

#include <cstdio>
#include <ctime>
#include <mutex>
#include <nlohmann/json.hpp>

namespace tarvine::serve {
namespace {

// Request texts longer than this are cut in the log.
constexpr std::size_t kLoggedTextBytes = 200;

std::string_view cut(std::string_view text) {
  return text.substr(0, kLoggedTextBytes);
}

std::string cutMark(std::string_view text) {
  return text.size() > kLoggedTextBytes ? "..." : "";
}

// The length of the UTF-8 sequence at text[at], or 0 when it is not a whole, valid one.
std::size_t utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
  }
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80) return 0;
  }
  return length;
}

// True for the sequences that some readers take as line breaks or terminal controls: the C1
// controls (U+0080 to U+009F) and the line and paragraph separators (U+2028, U+2029).
bool breaksLines(std::string_view sequence) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
  if (sequence.size() == 2) return byte(0) == 0xc2 && byte(1) < 0xa0;
  return sequence.size() == 3 && byte(0) == 0xe2 && byte(1) == 0x80 &&
         (byte(2) == 0xa8 || byte(2) == 0xa9);
}

void appendHexEscape(std::string& out, unsigned char byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0f];
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
  // JSON escapes every control character; bytes that are not UTF-8 become U+FFFD.
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::string escapeForLog(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7f) {
      appendHexEscape(out, c);
    } else if (c >= 0x80) {
      const std::size_t length = utf8Length(text, i);
      if (length == 0 || breaksLines(text.substr(i, length))) {
        const std::size_t escaped = length == 0 ? 1 : length;
        for (std::size_t k = 0; k < escaped; ++k) {
          appendHexEscape(out, static_cast<unsigned char>(text[i + k]));
        }
        i += escaped;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out;
}

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
