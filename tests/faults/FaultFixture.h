#pragma once
// A control talking to the reference route service through a fault server, on a temporary copy
// of the demo database, with short time limits and a small reply limit.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FaultServer.h"
#include "TemporaryFolder.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"

namespace tarvine::test {

using TempFolder = TemporaryFolder;

// The demo load and an astray P.O. of the demo data: received at a route center, on another
// load, so not in the demo load's list.
inline constexpr std::int32_t kDemoLoad = 5001;
inline constexpr const char* kAstrayCenter = "12";
inline constexpr const char* kAstrayNumber = "34650";

// The time limits every test gives the control, and the reply size limit.
inline constexpr std::chrono::milliseconds kConnectLimit{500};
inline constexpr std::chrono::milliseconds kTotalLimit{1000};
inline constexpr std::size_t kReplyLimit = std::size_t{4} << 20;

class FaultTest : public ::testing::Test {
 protected:
  FaultTest();

  // The procedure names of the error reports logged since the last forget(), in order.
  std::vector<std::string> reportedProcedures() const;
  // The log entries since the last forget(), joined.
  std::string logText() const;
  // The prompts of the message boxes shown so far.
  std::vector<std::string> messagePrompts() const;
  // True when a message box with this prompt was shown.
  bool shown(const std::string& prompt) const;
  // Forgets the dialogs, the log and the server's request list.
  void forget();
  // One integer the database gives for the query.
  std::int64_t queryNumber(const std::string& sql) const;
  // The segment count of an order on the load, and off any load.
  std::int64_t segmentsOnLoad(const std::string& orderId) const;
  std::int64_t segmentsOffLoad(const std::string& orderId) const;
  // Rows of the list whose record belongs to the center.
  std::size_t recordsOfCenter(std::int16_t centerID) const;
  // 1-based list position of the first checked row, or 0.
  std::size_t firstCheckedPosition() const;
  ListView& list() { return control.widgets().lvwOrderIDs; }

  TempFolder folder;
  std::string dbPath;
  std::unique_ptr<FaultServer> server;
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};

 private:
  std::size_t logSeen_ = 0;
};

}  // namespace tarvine::test
