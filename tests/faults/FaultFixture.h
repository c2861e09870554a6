#pragma once
// A control talking to the reference route service through a fault server, on a temporary copy
// of the demo database, with short time limits and a small reply limit.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DemoData.h"
#include "DemoHost.h"
#include "DemoRouteService.h"
#include "FaultServer.h"
#include "TemporaryFolder.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"

namespace tarvine::test {

inline constexpr std::int32_t kDemoLoad = 5001;
inline constexpr const char* kSaved = "Outgoing load information has been updated successfully!!!";
inline constexpr const char* kAstrayAdded =
    "Astray item has been added to the list successfully!!!";

class FaultTest : public ::testing::Test {
 protected:
  // Time limits of 500 ms to connect and 1 s in all; replies up to 4 MiB.
  FaultTest() {
    constexpr std::chrono::milliseconds kTotalLimit{1000};
    server->setSlowDelay(kTotalLimit * 3);
    control.setTimeouts({std::chrono::milliseconds(500), kTotalLimit});
    control.setMaxReplyBytes(std::size_t{4} << 20);
    pointAtDemo(control, server->server());
  }

  // True when a message box with this prompt was shown.
  bool shown(const std::string& prompt) const {
    const std::vector<MessageBoxShown> shown = dialogs.messages();
    return std::any_of(shown.begin(), shown.end(),
                       [&](const MessageBoxShown& message) { return message.prompt == prompt; });
  }
  // What the user was told, the procedures of the error reports logged and what the service
  // was asked since the last forget(), and the rows of the list, one line each.
  std::string state() const {
    std::string text = "told:";
    for (const MessageBoxShown& message : dialogs.messages()) text += " [" + message.prompt + "]";
    // Each error report names its procedure at the end of its "Error Source - " line.
    text += "\nlogged:";
    for (std::size_t i = logSeen_; i < log.entries().size(); ++i) {
      const std::string& entry = log.entries()[i];
      const std::size_t line = entry.find("Error Source - ");
      if (line == std::string::npos) continue;
      const std::size_t end = entry.find("\r\n", line);
      const std::size_t name = entry.rfind(' ', end);
      text += entry.substr(name, end - name);
    }
    text += "\nasked:";
    for (const std::string& operation : server->operations()) text += " " + operation;
    return text + "\nlist: " + std::to_string(list().rowCount()) + " rows\n";
  }
  // Error reports logged since the last forget().
  std::size_t logged() const { return log.entries().size() - logSeen_; }
  // Forgets the dialogs, the log and the server's request list.
  void forget() {
    dialogs.clearShown();
    logSeen_ = log.entries().size();
    server->clearOperations();
  }
  // The loads of the order's segments in the database, in segment order ("none": off any).
  std::string loadsOf(const std::string& orderId) const {
    return queryText(dbPath,
                     "SELECT group_concat(' ' || COALESCE(OutgoingLoad, 'none'), '') FROM (SELECT"
                     " * FROM VOZA_OrderHeader WHERE OrderID = '" +
                         orderId + "' ORDER BY VOZA_OrderSegment)");
  }
  // 1-based list position of the first checked row, or 0.
  std::size_t firstCheckedPosition() const {
    for (std::size_t position = 1; position <= list().rowCount(); ++position) {
      if (list().row(list().rowAt(position)).checked) return position;
    }
    return 0;
  }
  const ListView& list() const { return control.widgets().lvwOrderIDs; }
  ListView& list() { return control.widgets().lvwOrderIDs; }

  TemporaryFolder folder;
  std::string dbPath = (folder.path() / "demo.db").string();
  std::unique_ptr<FaultServer> server =
      (serve::openDemoDatabase(dbPath), std::make_unique<FaultServer>(dbPath));
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};

 private:
  std::size_t logSeen_ = 0;
};

}  // namespace tarvine::test
