#include "HostCommand.h"

#include "PersonOption.h"

namespace tarvine::app {

HostCommand::HostCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "host",
          "Open the picking window against a route service (without one: the Connect dialog)")) {
  auto* profile = command_
                      ->add_option("--profile", options_.profile,
                                   "Connect as the saved profile NAME (File > Connect... saves "
                                   "profiles)")
                      ->type_name("NAME");
  auto* server = command_->add_option("--server", options_.server,
                                      "Route service, e.g. http://host:port; needs --facility "
                                      "and --person");
  auto* facility = command_->add_option("--facility", options_.facility, "Facility id");
  auto* person = addPersonOption(*command_, person_);
  server->excludes(profile)->needs(facility)->needs(person);
  facility->needs(server);
  person->needs(server);
  command_->add_option("--load", load_, "Load to show at once (default: none)")
      ->check(CLI::Range(1, kLargestLoad));
  command_
      ->add_option("--screenshot", options_.screenshot,
                   "Write a PNG of the window once the load is shown (of the Connect dialog "
                   "when it would open), then exit")
      ->type_name("FILE");
  addLimitOptions(*command_, limits_);
  command_->footer(
      "Exit status:\n"
      "  0  the window was closed or the Connect dialog cancelled; with --screenshot, the "
      "picture was written and the load shown\n"
      "  1  no display, a picture that cannot be written, or with --screenshot a load that "
      "could not be read whole from the route service\n"
      "  2  a usage error, or --profile names no saved profile\n\n" +
      std::string(kControlEnvironmentHelp) +
      "  XDG_CONFIG_HOME    where the profiles are kept (TarvineOrderPick/host.conf)\n\n"
      "Files:\n"
      "  ~/.config/TarvineOrderPick/host.conf  the connection profiles (the one used last is "
      "offered first) and the window's size and place\n\n"
      "Examples:\n"
      "  tarvine host\n"
      "  tarvine host --profile Night --load 5001\n"
      "  tarvine host --server https://backoffice:443 --facility DEMO --person 7 2");
}

int HostCommand::run() {
  if (person_.size() == 2) {
    options_.personId = person_[0];
    options_.personType = person_[1];
  }
  if (command_->count("--load") != 0) options_.load = load_;
  options_.limits = givenLimits(limits_);
  return runHostWindow("host", options_);
}

}  // namespace tarvine::app
