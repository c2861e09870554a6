// The script host, fed arbitrary scripts: its line splitter and command parser, and every
// command a script can give the control and the astray form. Lines that name a server or a file
// (server, soap) are left out, so no run reaches beyond the process: with no server named, the
// control's service calls fail at once and are reported like any failed exchange.

#include <optional>
#include <vector>

#include "FuzzCheck.h"
#include "script/ScriptHost.h"
#include "script/ScriptLine.h"

namespace {

using namespace tarvine;

constexpr std::size_t kMostLines = 200;

bool reachesOut(const script::ParsedLine& parsed) {
  return !parsed.words.empty() && (parsed.words[0] == "server" || parsed.words[0] == "soap");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::inputText(data, size);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size() && lines.size() < kMostLines) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string line(text.substr(start, end - start));
    const script::ParsedLine parsed = script::splitLine(line);
    fuzz::check(parsed.error.empty() || parsed.words.empty(), "a line either splits or fails");
    if (!reachesOut(parsed)) lines.push_back(line);
    start = end + 1;
  }

  std::size_t next = 0;
  script::ScriptHost host([](const std::string& line) {
    fuzz::check(line.find('\n') == std::string::npos, "one output line per call");
  });
  const int status = host.run([&]() -> std::optional<std::string> {
    if (next == lines.size()) return std::nullopt;
    return lines[next++];
  });
  fuzz::check(status == 0 || status == 2, "a script ends with 0 or 2");
  return 0;
}
