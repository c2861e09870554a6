#include "PersonOption.h"

#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine::app {

CLI::Option* addPersonOption(CLI::App& command, std::vector<std::string>& person) {
  const CLI::Validator sixteenBit(
      [](std::string& text) -> std::string {
        try {
          convert::toInt16(text);
          return {};
        } catch (const RuntimeError& error) {
          return "'" + text + "' is not a 16-bit number (" + error.description() + ")";
        }
      },
      "");
  return command.add_option("--person", person, "Person id and person type (16-bit numbers)")
      ->expected(2)
      ->check(sixteenBit)
      ->type_name("NUMBER");
}

}  // namespace tarvine::app
