#include "control/TarvineOrderPick.h"

#include "control/frmAstray.h"
#include "platform/Convert.h"
#include "platform/Text.h"
#include "service/Activity.h"
#include "service/RouteOperations.h"

namespace tarvine {

TarvineOrderPick::TarvineOrderPick(Dialogs& dialogs, EventLog& log)
    : dialogs_(dialogs),
      log_(log),
      screen_("TarvineOrderPick", kControlWidth, kControlHeight),
      w_(buildControlScreen(screen_)),
      transport_([this](const RuntimeError& error, std::string_view procedure) {
        ReportError(error, procedure);
      }) {
  w_.cmdCancel.click.connect([this] { trap("cmdCancel_Click()", [this] { cmdCancel_Click(); }); });
  w_.cmdSave.click.connect([this] { saveClicked(); });
  w_.cboCenter.click.connect([this] { centerBoxClicked(); });
  w_.chkSellectAll.click.connect([this] { chkSellectAll_Click(); });
  w_.lvwOrderIDs.itemCheck.connect([this](RowId item) { lvwOrderIDs_ItemCheck(item); });
  w_.lvwOrderIDs.itemClick.connect([this](RowId item) { lvwOrderIDs_ItemClick(item); });
  w_.lvwOrderIDs.columnClick.connect([this](int column) { lvwOrderIDs_ColumnClick(column); });
  w_.lvwOrderIDs.dblClick.connect(
      [this] { trap("lvwOrderIDs_DblClick()", [this] { lvwOrderIDs_DblClick(); }); });
  w_.cmdAddAstrayItem.click.connect(
      [this] { trap("cmdAddAstrayItem_Click()", [this] { cmdAddAstrayItem_Click(); }); });
  UserControl_Initialize();
}

TarvineOrderPick::~TarvineOrderPick() {
  UserControl_Terminate();
}

void TarvineOrderPick::UserControl_Initialize() {
  trap("UserControl_Initialize", [this] {
    OutgoingLoadID = -1;
    SelectedCenterID = -1;
    ListView& list = w_.lvwOrderIDs;
    // The first column's width is computed in single precision, the others in double.
    list.addColumn("Order ID", static_cast<float>(list.width()) / 6.0f);
    list.addColumn("X", 300);
    list.addColumn("Segment", list.width() / 9.5, Alignment::Center);
    list.addColumn("Received", list.width() / 7.3, Alignment::Center);
    list.addColumn("Cartons #", list.width() / 9.5, Alignment::Center);
    list.addColumn("Weight (lbs)", list.width() / 7.3, Alignment::Right);
    list.addColumn("Freight ($)", list.width() / 8.5, Alignment::Right);
    list.addColumn("  ", 0);
    list.addColumn("Hot", 500);
    list.addColumn("Astray", 700);
    list.addColumn("", 0);
    // The headless list is always in report view: there is nothing to switch.
  });
}

void TarvineOrderPick::UserControl_Terminate() {
  astrayForm_.reset();
}

void TarvineOrderPick::PutServerName(const std::string& ptServerName) {
  ServerName = ptServerName;
  SOAPActionStart = std::string(service::kRouteNamespace) + "/";
  WebServiceURL = ServerName + std::string(service::kServicePath);
}

void TarvineOrderPick::SetFacilityID(const std::string& FacilityIDPassed) {
  FacilityID = FacilityIDPassed;
}

void TarvineOrderPick::SetPersonInformation(const std::string& PersonIDPassed,
                                            const std::string& PersonTypeIDPassed) {
  PersonID = convert::toInt16(PersonIDPassed);
  PersonTypeID = convert::toInt16(PersonTypeIDPassed);
}

std::string TarvineOrderPick::ReturnWebserviceXML(const std::string& AsmxUrl,
                                                  const std::string& Host,
                                                  const std::string& SOAPAction,
                                                  const std::string& SOAPEnvelope,
                                                  bool UpdateAddDeleteOnly) {
  return transport_.ReturnWebserviceXML(AsmxUrl, Host, SOAPAction, SOAPEnvelope,
                                        UpdateAddDeleteOnly);
}

std::string TarvineOrderPick::activityOf(std::string_view operation, bool saveCheck) {
  service::ActivityContext context;
  context.load = OutgoingLoadID;
  context.saveCheck = saveCheck;
  if (operation == service::kUpdateOutgoingLoadOrder.name) context.changes = unsavedChanges().rows;
  return service::activityText(operation, context);
}

service::Exchange TarvineOrderPick::callRouteService(std::string_view operation,
                                                     const std::string& envelope, bool updateOnly,
                                                     service::EnvelopeForm form) {
  return transport_.callOperation(WebServiceURL, ServerName,
                                  SOAPActionStart + std::string(operation), operation, envelope,
                                  updateOnly, activityOf(operation), form);
}

service::Exchange TarvineOrderPick::queryRouteService(std::string_view operation,
                                                      const std::string& envelope, bool cancellable,
                                                      bool saveCheck) {
  return transport_.callQuery(WebServiceURL, ServerName, SOAPActionStart + std::string(operation),
                              operation, envelope, activityOf(operation, saveCheck), cancellable);
}

void TarvineOrderPick::setTimeouts(HttpTimeouts timeouts) {
  transport_.setTimeouts(timeouts);
  if (astrayForm_) astrayForm_->setTimeouts(timeouts);
}

void TarvineOrderPick::setMaxReplyBytes(std::size_t bytes) {
  transport_.setMaxReplyBytes(bytes);
  if (astrayForm_) astrayForm_->setMaxReplyBytes(bytes);
}

void TarvineOrderPick::ClearAll() {
  trap("ClearAll", [this] {
    SelectedCenterID = -1;
    setCenterIndex(-1, CenterSwitch::Code);
    w_.lvwOrderIDs.clear();
    w_.chkSellectAll.setValue(0);
    w_.chkSellectAll.setEnabled(false);
    Label* totals[] = {&w_.lblTotal4, &w_.lblTotal5, &w_.lblTotal6};
    for (LoopIndex = 4; LoopIndex <= 6; ++LoopIndex) totals[LoopIndex - 4]->setCaption("");
  });
}

void TarvineOrderPick::ReportError(const RuntimeError& error, std::string_view procedure,
                                   std::string_view additional) {
  reportError(dialogs_, log_, error, procedure, additional, kControlProjectLine);
}

void TarvineOrderPick::invokeByName(const std::string& name) {
  if (text::equalsIgnoringCase(name, "RefreshData")) return RefreshData();
  throw RuntimeError(438, "Object doesn't support this property or method");
}

AstrayForm* TarvineOrderPick::astrayForm() const {
  return astrayForm_.get();
}

std::unique_ptr<OrderPick> makeOrderPick(Dialogs& dialogs, EventLog& log) {
  return std::make_unique<TarvineOrderPick>(dialogs, log);
}

}  // namespace tarvine
