// The control's readers of reply text, fed arbitrary unwrapped replies: the order loading's row
// walk and conversions, the three header readers (centers, route, basic totals), then the list
// fill and the user's actions on whatever rows came out. No route service is named, so the
// service calls on the way fail at once and are reported like any failed exchange.

#include "ControlAccess.h"
#include "FuzzCheck.h"
#include "load/OrderReader.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "platform/XmlDocument.h"
#include "service/DataSet.h"

namespace {

// Keeps nothing: the entries are not looked at.
class DiscardingLog : public tarvine::EventLog {
 public:
  void write(const std::string&) override {}
};

// The order loading's reading of the reply, as PopulateAllOrders does it: a conversion error
// ends the reading and keeps the records filled so far; false then, and the list is not filled.
bool readOrders(const std::string& reply, tarvine::OrderArray& orders) {
  using namespace tarvine;
  XmlDocument document;
  orders.assign(1, AllOrdersUDT{});
  try {
    service::loadDataSet(document, reply);
    OrderReader reader;
    service::ReadDataSetRows(document, [&](const service::DataSetRow& row) {
      reader.readRow(row);
      reader.fillRecord(orders.back(), orders.size() - 1);
      orders.emplace_back();
    });
  } catch (const RuntimeError&) {
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvine;
  RecordingDialogs dialogs;
  DiscardingLog log;
  TarvineOrderPick control(dialogs, log);
  using Access = TarvineOrderPickTestAccess;
  const std::string reply(fuzz::inputText(data, size));

  Access::LoadCenterComboBox(control, reply);
  Access::LoadDescriptionRouteLabels(control, reply);
  OrderArray orders;
  const bool loaded = readOrders(reply, orders);
  fuzz::check(!orders.empty(), "the order array keeps at least one element");
  if (loaded) Access::fillAllCenters(control, std::move(orders));
  Access::LoadBasicTotal(control, reply);

  // The dispatcher at work on the rows: check the first P.O., override its freight, Select All
  // off and on, sort, save (which fails: no service), another center.
  const ControlWidgets& w = control.widgets();
  const std::size_t rows = w.lvwOrderIDs.rowCount();
  fuzz::check(rows <= filledCount(control.orders()), "no more rows than records");
  if (rows > 0) {
    w.lvwOrderIDs.userToggleCheck(1);
    dialogs.queueAnswer(size % 2 == 0 ? "1500" : "abc");
    w.lvwOrderIDs.userDoubleClick(rows);
    w.chkSellectAll.userClick();
    w.chkSellectAll.userClick();
    w.lvwOrderIDs.userColumnClick(static_cast<int>(size % 11) + 1);
    w.cmdSave.userClick();
  }
  if (w.cboCenter.count() > 1) w.cboCenter.userSelect(w.cboCenter.count() - 1);
  return 0;
}
