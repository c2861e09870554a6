#include "HostCommand.h"

#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine::app {
namespace {

// The person id and type as the control takes them: 16-bit numbers.
const CLI::Validator kSixteenBit(
    [](std::string& text) -> std::string {
      try {
        convert::toInt16(text);
        return {};
      } catch (const RuntimeError& error) {
        return "'" + text + "' is not a 16-bit number (" + error.description() + ")";
      }
    },
    "");

}  // namespace

HostCommand::HostCommand(CLI::App& app)
    : command_(app.add_subcommand("host", "Open the picking window against a route service")) {
  command_->add_option("--server", options_.server, "Route service, e.g. http://host:port")
      ->required();
  command_->add_option("--facility", options_.facility, "Facility id")->required();
  command_->add_option("--person", person_, "Person id and person type (16-bit numbers)")
      ->expected(2)
      ->required()
      ->check(kSixteenBit)
      ->type_name("NUMBER");
  command_->add_option("--load", load_, "Load to show at once (default: none)");
  command_
      ->add_option("--screenshot", options_.screenshot,
                   "Write a PNG of the window once the load is shown, then exit")
      ->type_name("FILE");
}

int HostCommand::run() {
  options_.personId = person_.at(0);
  options_.personType = person_.at(1);
  if (command_->count("--load") != 0) options_.load = load_;
  return runHostWindow("host", options_);
}

}  // namespace tarvine::app
