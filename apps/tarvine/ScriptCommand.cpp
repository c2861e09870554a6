#include "ScriptCommand.h"

#include <fstream>
#include <iostream>

#include "PersonOption.h"
#include "UsageError.h"
#include "script/ScriptHost.h"
#include "script/ScriptLine.h"

namespace tarvine::app {

ScriptCommand::ScriptCommand(CLI::App& app)
    : command_(app.add_subcommand("script", "Drive one control with text commands, no window")) {
  command_->add_option("FILE", path_, "Script file (default: standard input; - is standard input)")
      ->type_name("");
  command_->footer(
      "One command per line; blank lines and lines starting with # are skipped; an argument in "
      "double quotes may hold blanks and the escapes \\\" \\\\ \\n \\r \\t. Results are JSON lines "
      "on "
      "standard output.\n\n"
      "Commands:\n"
      "  server TEXT                 the server text (PutServerName)\n"
      "  facility TEXT               the facility (SetFacilityID)\n"
      "  person ID TYPE              the person and person type (SetPersonInformation)\n"
      "  load ID                     show a load (PutTarvineID)\n"
      "  refresh                     reload the load; unsaved picks are lost (RefreshData)\n"
      "  soap URL HOST ACTION ENVELOPE [update]\n"
      "                              one exchange (ReturnWebserviceXML); @PATH reads the "
      "envelope from a file\n"
      "  center INDEX                select entry INDEX of the center box (0: all centers)\n"
      "  toggle ROW                  click the check box of list row ROW (from 1)\n"
      "  selectall                   click Select All\n"
      "  click ROW, dblclick ROW     click or double-click a row (double-click overrides freight)\n"
      "  answer TEXT, answer-cancel  queue the answer of the next input box\n"
      "  sort COLUMN                 click the header of column COLUMN (from 1)\n"
      "  save, cancel                click Save or Cancel\n"
      "  astray                      click Add Astray Item; until close, lines act on the form: "
      "type NAME TEXT, add, state, soap ..., close\n"
      "  state                       print the screen as a user sees it\n"
      "  find ID, scan ID            select P.O. ID's first row; scan also checks the P.O.\n"
      "  limits WEIGHT CUBE [CARTONS], limits off\n"
      "                              the trailer's limits (pounds, cubic feet, cartons)\n"
      "  reply yes, reply no         queue the button of the next Yes/No message box\n"
      "  sheet csv FILE              write the load sheet as CSV\n"
      "  suggest, suggest apply      propose the best fill of the trailer within its limits (a "
      "suggestion line); apply the last proposal as the user's clicks\n\n"
      "Exit status:\n"
      "  0  every line ran, also when the control reported errors (they are the message, log "
      "and hosterror lines)\n"
      "  1  the script file cannot be read, or a line failed at run time (a load sheet not "
      "written, no fill proposed or applied: its line has an \"error\"; the lines after it still "
      "run)\n"
      "  2  a line that cannot be run: an \"error\" line, and the line named on standard "
      "error\n\n" +
      std::string(kControlEnvironmentHelp) +
      "\nExamples:\n"
      "  tarvine script examples/demo.tvs\n"
      "  printf 'server http://127.0.0.1:8080\\nfacility DEMO\\nperson 7 2\\nload 5001\\n' | "
      "tarvine script");
}

int ScriptCommand::run() {
  std::ifstream file;
  std::istream* in = &std::cin;
  if (!path_.empty() && path_ != "-") {
    file.open(path_);
    if (!file) {
      std::cerr << "tarvine script: cannot read " << path_ << "\n";
      return 1;
    }
    in = &file;
  }
  script::ScriptHost host([](const std::string& line) { std::cout << line << '\n' << std::flush; });
  const int status = host.run([in] { return script::readLine(*in); });
  if (status == kUsageError) {
    return reportUsageError("tarvine script", host.failure(), "tarvine script --help");
  }
  return status;
}

}  // namespace tarvine::app
