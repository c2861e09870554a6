#include "FaultFixture.h"

#include <algorithm>

#include "Database.h"
#include "DemoData.h"
#include "DemoHost.h"

namespace tarvine::test {
namespace {

// The time limits every test gives the control, and the reply size limit.
constexpr std::chrono::milliseconds kConnectLimit{500};
constexpr std::chrono::milliseconds kTotalLimit{1000};
constexpr std::size_t kReplyLimit = std::size_t{4} << 20;

}  // namespace

FaultTest::FaultTest() : dbPath((folder.path() / "demo.db").string()) {
  serve::openDemoDatabase(dbPath);
  server = std::make_unique<FaultServer>(dbPath);
  server->setSlowDelay(kTotalLimit * 3);
  server->setOversizeLimit(kReplyLimit);
  control.setTimeouts({kConnectLimit, kTotalLimit});
  control.setMaxReplyBytes(kReplyLimit);
  pointAtDemo(control, server->server());
}

bool FaultTest::shown(const std::string& prompt) const {
  const std::vector<MessageBoxShown>& shown = dialogs.messages();
  return std::any_of(shown.begin(), shown.end(),
                     [&](const MessageBoxShown& message) { return message.prompt == prompt; });
}

std::string FaultTest::state() const {
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
  return text + "\nlist: " + std::to_string(control.widgets().lvwOrderIDs.rowCount()) + " rows\n";
}

void FaultTest::forget() {
  dialogs.clearShown();
  logSeen_ = log.entries().size();
  server->clearOperations();
}

std::string FaultTest::loadsOf(const std::string& orderId) const {
  serve::Database db(dbPath, serve::OpenMode::ReadOnly);
  serve::Statement& query = db.prepare(
      "SELECT COALESCE(OutgoingLoad, 'none') FROM VOZA_OrderHeader WHERE OrderID = ?1"
      " ORDER BY VOZA_OrderSegment");
  query.bind(1, orderId);
  std::string loads;
  while (query.step()) loads += " " + std::string(query.text(0));
  return loads;
}

std::size_t FaultTest::firstCheckedPosition() const {
  const ListView& rows = control.widgets().lvwOrderIDs;
  for (std::size_t position = 1; position <= rows.rowCount(); ++position) {
    if (rows.row(rows.rowAt(position)).checked) return position;
  }
  return 0;
}

}  // namespace tarvine::test
