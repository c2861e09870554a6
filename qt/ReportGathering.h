#pragma once
// One user action, one box per cause: the error reports of an action are gathered while it
// runs and shown when it ends, one box for the reports alike ("4 requests to the route service
// failed: Couldn't connect to server"). Their event log entries are written as they come.

#include <string>
#include <string_view>
#include <vector>

#include "platform/RuntimeError.h"

namespace tarvine::qt {

class QtDialogs;

class ReportGathering {
 public:
  // Gathers the reports of this thread from now on, until finish(); gatherings nest.
  ReportGathering();
  ~ReportGathering();
  ReportGathering(const ReportGathering&) = delete;
  ReportGathering& operator=(const ReportGathering&) = delete;

  // The innermost gathering of this thread that has not finished, or null.
  static ReportGathering* current();
  // Keeps a report and the prompt of its box, shown by the dialogs at finish(). The dialogs
  // must outlive the gathering.
  void add(QtDialogs& dialogs, const std::string& prompt, const RuntimeError& error,
           std::string_view procedure);
  // Stops gathering and shows one box per kind of report (number, source and procedure), in the
  // order they first came. Returns the number of reports gathered.
  int finish();

 private:
  struct Kind {
    QtDialogs* dialogs;
    std::string prompt;
    RuntimeError first;
    std::string procedure;
    int count;
  };
  void stop();

  ReportGathering* outer_;
  bool active_ = true;
  std::vector<Kind> kinds_;
};

}  // namespace tarvine::qt
