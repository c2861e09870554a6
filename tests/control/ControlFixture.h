#pragma once
// A control wired to a fake route service, recording dialogs and an in-memory log, with a small
// example load: route 12 (North), 15 (South); P.O. 12-100 with three segments, 12-200 hot,
// 15-300 checked, 15-400 without a rate.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRouteService.h"
#include "control/TarvineOrderPick.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"

namespace tarvine::test {

using service::test::ReplyRow;

// One row of the order data set with every column the control reads; `extra` overrides or adds.
ReplyRow orderRow(const std::string& orderID, int segment, const std::string& outgoingLoad,
                  const std::string& freight, int cartons, int totalWeight,
                  std::vector<std::pair<std::string, std::string>> extra = {});

class ControlTest : public ::testing::Test {
 protected:
  ControlTest();
  // The example load's replies on the fake service.
  void serveExampleLoad();
  // PutTarvineID(5001) on the example load; forgets the requests and dialogs it caused.
  void openExampleLoad();
  // List row texts in list order, and one cell of the row at a 1-based position.
  std::vector<std::string> rowTexts() const;
  const std::string& cell(std::size_t position, int subItem) const;
  bool checkedAt(std::size_t position) const;
  std::vector<std::string> totals() const;
  // The prompts of the message boxes shown so far.
  std::vector<std::string> messagePrompts() const;
  ListView& list() { return control.widgets().lvwOrderIDs; }
  const ListView& list() const { return control.widgets().lvwOrderIDs; }

  FakeRouteService service;
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
};

}  // namespace tarvine::test
