#pragma once
// A control talking to the reference route service through a fault server, on a temporary copy
// of the demo database, with short time limits and a small reply limit.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  FaultTest();

  // True when a message box with this prompt was shown.
  bool shown(const std::string& prompt) const;
  // What the user was told, the procedures of the error reports logged and what the service
  // was asked since the last forget(), and the rows of the list, one line each.
  std::string state() const;
  // Forgets the dialogs, the log and the server's request list.
  void forget();
  // The loads of the order's segments in the database, in segment order ("none": off any).
  std::string loadsOf(const std::string& orderId) const;
  // 1-based list position of the first checked row, or 0.
  std::size_t firstCheckedPosition() const;
  ListView& list() { return control.widgets().lvwOrderIDs; }

  TemporaryFolder folder;
  std::string dbPath;
  std::unique_ptr<FaultServer> server;
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};

 private:
  std::size_t logSeen_ = 0;
};

}  // namespace tarvine::test
