#pragma once
// TarvineOrderPick: the order-picking control. A host creates it, names the server, facility
// and person, and sets a load; the dispatcher then picks order segments onto the load and
// saves. Everything the control reads or writes goes through the route service.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "control/ErrorReport.h"
#include "control/LateBound.h"
#include "load/AllOrdersUDT.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "platform/ListView.h"
#include "platform/Screen.h"
#include "platform/Widget.h"
#include "save/SaveCheck.h"
#include "service/RouteOperations.h"
#include "service/Transport.h"

namespace tarvine {

class frmAstray;

// Path of the route service below the server text given to PutServerName.
inline constexpr std::string_view kServicePath = "/WebServices/VOZAWebservice/VOZAWebservice.asmx";

// Row colours of the list (0x00BBGGRR).
inline constexpr std::uint32_t kColorBlue = 16711680;
inline constexpr std::uint32_t kColorRed = 255;

// The widgets of the control's screen, by their names.
struct ControlWidgets {
  CommandButton& cmdCancel;
  CommandButton& cmdSave;
  Frame& fraAll;
  Label& Label2;
  Label& lblTarvineID;
  Label& Label7;
  Label& lblRoute;
  Label& Label1;
  ComboBox& cboCenter;
  ListView& lvwOrderIDs;
  CheckBox& chkSellectAll;
  Frame& fraTotals;
  Label& Label3;
  Label& Label4;
  Label& Label6;
  Label& lblTotal4;
  Label& lblTotal5;
  Label& lblTotal6;
  CommandButton& cmdAddAstrayItem;
};

// Picks and freight overrides not saved yet: the rows carrying the change mark and the distinct
// P.O.s among them, in list order.
struct UnsavedChanges {
  std::size_t rows = 0;
  std::vector<std::string> orders;
};

class TarvineOrderPick : public LateBound {
 public:
  // Creates the control (UserControl_Initialize). Dialogs and log must outlive it.
  TarvineOrderPick(Dialogs& dialogs, EventLog& log);
  // Tears it down (UserControl_Terminate): releases what it holds; sends nothing.
  ~TarvineOrderPick() override;
  TarvineOrderPick(const TarvineOrderPick&) = delete;
  TarvineOrderPick& operator=(const TarvineOrderPick&) = delete;

  // Public methods of the control's dispatch interface.
  // Stores the server text; the service URL and SOAP action start derive from it. Sends nothing.
  void PutServerName(const std::string& ptServerName);
  // Shows a load: header, centers, route and order segments. Errors are reported, not thrown.
  void PutTarvineID(std::int32_t plTarvineID);
  // Reloads the current load's segments and refills the list; unsaved picks are lost.
  void RefreshData();
  // One SOAP exchange; errors are reported and give the empty text.
  std::string ReturnWebserviceXML(const std::string& AsmxUrl, const std::string& Host,
                                  const std::string& SOAPAction, const std::string& SOAPEnvelope,
                                  bool UpdateAddDeleteOnly = false);
  // Stores the facility text, unchecked.
  void SetFacilityID(const std::string& FacilityIDPassed);
  // Stores person and person type as 16-bit integers. Throws RuntimeError (13 or 6) for a text
  // that is not a 16-bit number; PersonID is already set when only the second one is bad.
  void SetPersonInformation(const std::string& PersonIDPassed,
                            const std::string& PersonTypeIDPassed);

  // LateBound: RefreshData, PutServerName... by name; unknown names throw RuntimeError 438.
  void invokeByName(const std::string& name) override;

  // The object the astray form calls RefreshData on, late bound: a component face that stands
  // in for the control, or null for the control itself. Must outlive its use by the form.
  void setFormObject(LateBound* formObject) { formObject_ = formObject; }

  // The screen the dispatcher sees, and its widgets by name.
  Screen& screen() { return screen_; }
  const ControlWidgets& widgets() const { return w_; }
  // The astray form once it has been shown (null before).
  frmAstray* astrayForm() const { return astrayForm_.get(); }
  // Time limits of every service call.
  void setTimeouts(HttpTimeouts timeouts);
  // Largest reply of every service call; a larger one fails the exchange. For tests.
  void setMaxReplyBytes(std::size_t bytes);
  // A check the Save button runs first, asking through the control's dialogs (a dispatcher's
  // tool installs it): false stops the click before anything is read or sent, and the picks
  // stay. An empty function removes it. RefreshData's own save does not run it.
  void setSaveCheck(std::function<bool(Dialogs&)> check) { saveCheck_ = std::move(check); }

  // Read-only views of the control's state, for hosts and tests.
  const std::string& serverName() const { return ServerName; }
  const std::string& webServiceURL() const { return WebServiceURL; }
  const std::string& soapActionStart() const { return SOAPActionStart; }
  std::int32_t outgoingLoadID() const { return OutgoingLoadID; }
  const std::string& facilityID() const { return FacilityID; }
  std::int16_t personID() const { return PersonID; }
  std::int16_t personTypeID() const { return PersonTypeID; }
  std::int32_t selectedCenterID() const { return SelectedCenterID; }
  const std::string& basicTotalXML() const { return BasicTotalXML; }
  bool fillingList() const { return FillingList; }
  const std::string& saveSQL() const { return SaveSQL; }
  const OrderArray& orders() const { return Orders; }
  const std::vector<std::string>& centerList() const { return CenterList; }
  // What a save would send now; nothing after a save, a refill or Cancel. Never fails.
  UnsavedChanges unsavedChanges() const;

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
                                     bool updateOnly);
  // One query of the route service: as callRouteService(), but the result is the data set text
  // of the reply, as the operation's unwrapper leaves it (empty after a reported failure).
  service::Exchange queryRouteService(std::string_view operation, const std::string& envelope);
  // What the dispatcher reads while the operation runs.
  std::string activityOf(std::string_view operation);

  // Load header and orders.
  void LoadCenterComboBox(const std::string& xml);
  void LoadDescriptionRouteLabels(const std::string& xml);
  void LoadBasicTotal(const std::string& xml);
  void PopulateAllOrders(OrderArray& orders);
  // The load's order data set as the route service holds it now, unwrapped.
  service::Exchange readAllOrders();

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
  void ClearTotals();
  void chkSellectAll_Click();
  void lvwOrderIDs_ItemCheck(RowId item);
  void lvwOrderIDs_DblClick();
  void lvwOrderIDs_ColumnClick(int column);
  void lvwOrderIDs_ItemClick(RowId item);

  // Saving and astray P.O.s.
  void cmdSave_Click();
  // The save; with checkFirst, the orders are read again before anything is sent.
  void saveChangedRows(bool checkFirst);
  // Reads the load's orders again and compares the P.O.s of the written segments with what was
  // loaded; when they differ, asks whether to save over them. True when the save may go on. A
  // read that failed was reported by the transport and gives false; a reply that holds no data
  // set throws RuntimeError with the HTTP status as its number.
  bool saveOverChangesAllowed(const std::vector<WrittenSegment>& written);
  void UpdateOutgoingLoadOrder(const std::vector<std::string>& statements,
                               service::Exchange* outcome);
  void cmdAddAstrayItem_Click();

  Dialogs& dialogs_;
  EventLog& log_;
  Screen screen_;
  ControlWidgets w_;
  service::Transport transport_;
  std::unique_ptr<frmAstray> astrayForm_;
  LateBound* formObject_ = nullptr;
  std::function<bool(Dialogs&)> saveCheck_;

  // Control state.
  std::string ServerName;
  std::string WebServiceURL;
  std::string SOAPActionStart;
  std::int32_t OutgoingLoadID = -1;
  std::string FacilityID;
  std::int16_t PersonID = 0;
  std::int16_t PersonTypeID = 0;
  std::int32_t SelectedCenterID = -1;
  OrderArray Orders;
  std::vector<LoadedSegment> loadedState_;  // Orders as loaded, record for record
  std::vector<std::string> CenterList;
  std::string BasicTotalXML;
  bool FillingList = false;
  std::string SaveSQL;
  std::int16_t LoopIndex = 0;
  std::string EnvelopeText;
  std::string RequestBodyXML;
};

}  // namespace tarvine
