#include "HostCommand.h"

#include "PersonOption.h"

namespace tarvine::app {

HostCommand::HostCommand(CLI::App& app)
    : command_(app.add_subcommand("host", "Open the picking window against a route service")) {
  command_->add_option("--server", options_.server, "Route service, e.g. http://host:port")
      ->required();
  command_->add_option("--facility", options_.facility, "Facility id")->required();
  addPersonOption(*command_, person_);
  command_->add_option("--load", load_, "Load to show at once (default: none)");
  command_
      ->add_option("--screenshot", options_.screenshot,
                   "Write a PNG of the window once the load is shown, then exit")
      ->type_name("FILE");
  addLimitOptions(*command_, limits_);
}

int HostCommand::run() {
  options_.personId = person_.at(0);
  options_.personType = person_.at(1);
  if (command_->count("--load") != 0) options_.load = load_;
  options_.limits = givenLimits(limits_);
  return runHostWindow("host", options_);
}

}  // namespace tarvine::app
