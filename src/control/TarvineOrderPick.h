#pragma once
// TarvineOrderPick: the order-picking control behind the face OrderPick. Its state, its event
// handlers and its procedures live here and in the other files of control/; they call the rules
// of load/, picking/, save/ and astray/. Users of the control include control/OrderPick.h; tests,
// benchmarks and fuzz targets may use this class for the views the face leaves out.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "control/OrderPick.h"
#include "save/SaveCheck.h"
#include "service/Transport.h"

namespace tarvine {

class frmAstray;

class TarvineOrderPick final : public OrderPick {
 public:
  // Creates the control (UserControl_Initialize). Dialogs and log must outlive it.
  TarvineOrderPick(Dialogs& dialogs, EventLog& log);
  // Tears it down (UserControl_Terminate): releases what it holds; sends nothing.
  ~TarvineOrderPick() override;
  TarvineOrderPick(const TarvineOrderPick&) = delete;
  TarvineOrderPick& operator=(const TarvineOrderPick&) = delete;

  // OrderPick: the public methods.
  void PutServerName(const std::string& ptServerName) override;
  void SetFacilityID(const std::string& FacilityIDPassed) override;
  void SetPersonInformation(const std::string& PersonIDPassed,
                            const std::string& PersonTypeIDPassed) override;
  void PutTarvineID(std::int32_t plTarvineID) override;
  void RefreshData() override;
  std::string ReturnWebserviceXML(const std::string& AsmxUrl, const std::string& Host,
                                  const std::string& SOAPAction, const std::string& SOAPEnvelope,
                                  bool UpdateAddDeleteOnly = false) override;
  void invokeByName(const std::string& name) override;

  // OrderPick: hosting, the screen and the views.
  void setFormObject(LateBound* formObject) override { formObject_ = formObject; }
  void setTimeouts(HttpTimeouts timeouts) override;
  void setMaxReplyBytes(std::size_t bytes) override;
  void setSaveCheck(std::function<void(Dialogs&)> check) override { saveCheck_ = std::move(check); }
  Screen& screen() override { return screen_; }
  const ControlWidgets& widgets() const override { return w_; }
  AstrayForm* astrayForm() const override;
  std::int32_t outgoingLoadID() const override { return OutgoingLoadID; }
  std::int16_t personID() const override { return PersonID; }
  std::int16_t personTypeID() const override { return PersonTypeID; }
  const OrderArray& orders() const override { return Orders; }
  const std::vector<std::string>& centerList() const override { return CenterList; }
  UnsavedChanges unsavedChanges() const override;
  bool askBeforeDroppingUnsavedWork(const std::string& action) override;
  const AllOrdersUDT* recordOfRow(RowId row) const override;
  const std::vector<RecordAsRead>& ordersAsRead() const override { return ordersAsRead_; }
  void addAstrayFor(const std::string& orderID) override;

  // The server text given to PutServerName.
  const std::string& serverName() const { return ServerName; }
  // The service URL derived from it.
  const std::string& webServiceURL() const { return WebServiceURL; }
  // The facility given to SetFacilityID.
  const std::string& facilityID() const { return FacilityID; }
  // The item data of the selected center entry (0 for all centers), -1 when none is selected.
  std::int32_t selectedCenterID() const { return SelectedCenterID; }

 private:
  friend class TarvineOrderPickTestAccess;

  // Start-up, screen reset, error report.
  void UserControl_Initialize();
  void UserControl_Terminate();
  void ClearAll();
  void cmdCancel_Click();
  void ReportError(const RuntimeError& error, std::string_view procedure,
                   std::string_view additional = {});
  // Runs body under an error trap: a run-time error ends it and is reported under the
  // procedure's name. Also wraps the event handlers that have no trap of their own, so that an
  // error never leaves a user action. Returns true when body finished.
  template <typename F>
  bool trap(std::string_view procedure, F&& body) {
    return trapped(
        procedure, std::forward<F>(body),
        [this](const RuntimeError& error, std::string_view name) { ReportError(error, name); });
  }
  // One route service call with the control's URL, host and SOAP action start.
  service::Exchange callRouteService(std::string_view operation, const std::string& envelope,
                                     bool updateOnly,
                                     service::EnvelopeForm form = service::EnvelopeForm::Built);
  // One query of the route service: as callRouteService(), but the result is the data set text
  // of the reply, as the operation's unwrapper leaves it (empty after a reported failure, and
  // after a cancel, which is not reported). Reads the user may not cancel are those that come
  // after the screen changed (the totals of a fill, the reload after a save).
  service::Exchange queryRouteService(std::string_view operation, const std::string& envelope,
                                      bool cancellable = true, bool saveCheck = false);
  // What the dispatcher reads while the operation runs (for the orders, whether they are read
  // again before a save).
  std::string activityOf(std::string_view operation, bool saveCheck = false);

  // Load header and orders.
  void LoadCenterComboBox(const std::string& xml);
  void LoadDescriptionRouteLabels(const std::string& xml);
  void LoadBasicTotal(const std::string& xml);
  // Shows a load (PutTarvineID); false when the user cancelled one of its reads, which leaves
  // the load shown before as it was.
  bool showLoad(std::int32_t loadID);
  // Why the orders are read: to show them (the user may cancel), right after a save (part of
  // the save: not cancellable), or before a save, to compare.
  enum class OrdersRead { Show, AfterSave, SaveCheck };
  // Reads and shows the orders; false when the user cancelled the read (Orders stay).
  bool PopulateAllOrders(OrderArray& orders, OrdersRead read = OrdersRead::Show);
  // Turns the reply into the records and selects the all-centers entry; an answer that holds no
  // data set is reported under "PopulateAllOrders" and refills nothing.
  void showOrders(service::Exchange exchange, OrderArray& orders);
  // The load's order data set as the route service holds it now, unwrapped.
  service::Exchange readAllOrders(OrdersRead read);

  // List fills and picking.
  void LoadAllOrders();
  void LoadOrdersByCenterID(std::int16_t centerID);
  // The fill shared by both: clears the list, adds a row per listed record, sets Select All
  // and the totals; errors are reported under the given procedure name.
  void fillList(std::string_view procedure, bool oneCenter,
                const std::function<bool(const AllOrdersUDT&)>& listed);
  // True when the route's center list holds the value; an error reports and gives false.
  bool CenterExist(const std::unordered_set<std::string>& list, const std::string& value);
  void cboCenter_Click();
  // The center box's click. From code (the fill after loading, a screen reset) it refills at
  // once; the user's choice first asks about unsaved work, and while it asks and after Cancel
  // the box shows the entry it showed before, without a refill.
  void centerBoxClicked();
  // Who changes the center box's selection: the user, code that refills, or code that only
  // puts the box back (its click does nothing).
  enum class CenterSwitch { User, Code, Quiet };
  // Sets the center box's selection from code, as `how` says.
  void setCenterIndex(int index, CenterSwitch how);
  void ClearTotals();
  // Shows the totals in the three total captions.
  void showTotals(const PickTotals& totals);
  void chkSellectAll_Click();
  void lvwOrderIDs_ItemCheck(RowId item);
  void lvwOrderIDs_DblClick();
  void lvwOrderIDs_ColumnClick(int column);
  void lvwOrderIDs_ItemClick(RowId item);

  // Saving and astray P.O.s.
  void cmdSave_Click();
  // The Save button's click: the save check a tool installed, then cmdSave_Click.
  void saveClicked();
  // Reads the load's orders again and compares the P.O.s of the written segments with what was
  // loaded; when they differ, asks whether to save over them (confirmSave, which throws when
  // not confirmed). The records read, or nothing when the read failed (the transport reported
  // it) or was cancelled; a reply that holds no data set throws RuntimeError with the HTTP
  // status as its number.
  std::optional<OrderArray> ordersBeforeSaving(const std::vector<WrittenSegment>& written);
  void UpdateOutgoingLoadOrder(const std::vector<std::string>& statements,
                               service::Exchange* outcome);
  // Shows the astray form; with an order id, its P.O. boxes hold that id.
  void cmdAddAstrayItem_Click(const std::string* orderID = nullptr);

  Dialogs& dialogs_;
  EventLog& log_;
  Screen screen_;
  ControlWidgets w_;
  service::Transport transport_;
  std::unique_ptr<frmAstray> astrayForm_;
  LateBound* formObject_ = nullptr;
  std::function<void(Dialogs&)> saveCheck_;

  // Control state.
  std::string ServerName;
  std::string WebServiceURL;
  std::string SOAPActionStart;
  std::int32_t OutgoingLoadID = -1;
  std::string FacilityID;
  std::int16_t PersonID = 0;
  std::int16_t PersonTypeID = 0;
  std::int32_t SelectedCenterID = -1;
  CenterSwitch centerSwitch_ = CenterSwitch::User;
  int centerIndexShown_ = -1;  // the center box's entry the list was last filled for
  OrderArray Orders;
  std::vector<LoadedSegment> loadedState_;  // Orders as loaded, record for record
  std::vector<RecordAsRead> ordersAsRead_;  // what the read said beyond the records
  std::vector<std::string> CenterList;
  std::string BasicTotalXML;
  bool FillingList = false;
  bool headerRead_ = true;  // the centers and route of the load shown were read
  std::int16_t LoopIndex = 0;
  std::string EnvelopeText;
  std::string RequestBodyXML;
};

}  // namespace tarvine
