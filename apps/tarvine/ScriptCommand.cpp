#include "ScriptCommand.h"

#include <fstream>
#include <iostream>

#include "script/ScriptHost.h"
#include "script/ScriptLine.h"

namespace tarvine::app {

int runScriptCommand(const std::string& path) {
  std::ifstream file;
  std::istream* in = &std::cin;
  if (!path.empty() && path != "-") {
    file.open(path);
    if (!file) {
      std::cerr << "tarvine script: cannot read " << path << "\n";
      return 1;
    }
    in = &file;
  }
  script::ScriptHost host([](const std::string& line) { std::cout << line << '\n' << std::flush; });
  return host.run([in] { return script::readLine(*in); });
}

}  // namespace tarvine::app
