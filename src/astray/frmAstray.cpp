#include "astray/frmAstray.h"

#include <algorithm>

#include "astray/AstrayLayout.h"
#include "control/ErrorReport.h"
#include "platform/Convert.h"
#include "service/Activity.h"
#include "service/DataSet.h"
#include "service/Requests.h"

namespace tarvine {
namespace {

using namespace std::string_view_literals;

constexpr const char* kPOBlank = "PO text box has been left blank.";
constexpr const char* kAlreadyListed =
    "Purchase Order ID is already added in the list for this route.";
constexpr const char* kNotReceived = "This Purchase Order ID has not been received.";
constexpr const char* kCenterNotOnRoute =
    "This P.O's Center is not apart of this route.\r\n"
    "Please add this center to this route and recreate a new load.";
constexpr const char* kCartonsBlank = "Please enter number of cartons that were astray";
constexpr const char* kCartonsNotNumeric =
    "Number of cartons must be a numeric value. Please enter in a number.";
constexpr const char* kCartonsOutOfRange =
    "Number of cartons is out of range. Please enter a number from -32768 to 32767.";
constexpr const char* kFreightNotNumeric =
    "Freight must be a numeric value. Please enter in a number.";

}  // namespace

bool ListContains(const std::vector<std::string>& list, const std::string& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool ListContains(const OrderArray& orders, const std::string& orderID) {
  return std::any_of(orders.begin(), orders.end(),
                     [&](const AllOrdersUDT& order) { return order.OrderID == orderID; });
}

frmAstray::frmAstray(Dialogs& dialogs, EventLog& log)
    : dialogs_(dialogs),
      log_(log),
      screen_("Astray P.O's", kAstrayWidth, kAstrayHeight),
      w_(buildAstrayScreen(screen_)),
      transport_([this](const RuntimeError& error, std::string_view procedure) {
        ReportError(error, procedure);
      }) {
  w_.cmdAddAstrayItem.click.connect([this] {
    // The add action has no trap of its own; an error that escapes it is reported, not thrown
    // into the user's click.
    trapped(
        "cmdAddAstrayItem_Click()", [this] { cmdAddAstrayItem_Click(); },
        [this](const RuntimeError& error, std::string_view procedure) {
          ReportError(error, procedure);
        });
  });
  loadForm();
}

void frmAstray::setOutgoingLoadID(const std::string& loadID) {
  OutgoingLoadID = convert::toInt16(loadID);
}

void frmAstray::loadForm() {
  // A newly loaded form shows the layout's texts: every box empty but the freight.
  ClearEntry();
  w_.txtFreight.setText("0.00");
}

void frmAstray::ReportError(const RuntimeError& error, std::string_view procedure) {
  reportError(dialogs_, log_, error, procedure, "", kFormProjectLine);
}

void frmAstray::cmdAddAstrayItem_Click() {
  AstrayOrderID = std::string(convert::trimBlanks(w_.txtPO1.text())) + "-" +
                  std::string(convert::trimBlanks(w_.txtPO2.text()));
  if (!ValidateAstrayEntry()) return;
  // An entry the back office did not take stays in the boxes for correction.
  if (!AddPO()) return;
  dialogs_.messageBox("Astray item has been added to the list successfully!!!", kMsgInformationOk,
                      std::string("Astray Process"));
  ClearEntry();
  if (FormObject) FormObject->invokeByName("RefreshData");
}

bool frmAstray::refuse(const char* message, TextBox& focus) {
  dialogs_.messageBox(message, kMsgInformationOk, std::nullopt);
  screen_.setFocus(focus);
  return false;
}

bool frmAstray::ValidateAstrayEntry() {
  if (w_.txtPO1.text().empty()) return refuse(kPOBlank, w_.txtPO1);
  if (w_.txtPO2.text().empty()) return refuse(kPOBlank, w_.txtPO2);
  if (ListContains(CurrentOrders, AstrayOrderID)) return refuse(kAlreadyListed, w_.txtPO1);
  if (!IsPOFound(AstrayOrderID)) return refuse(kNotReceived, w_.txtPO1);
  if (!ListContains(CentersList, convert::integerText(FoundCenterID))) {
    return refuse(kCenterNotOnRoute, w_.txtPO1);
  }
  if (w_.txtCartons.text().empty()) return refuse(kCartonsBlank, w_.txtCartons);
  if (!convert::isNumeric(w_.txtCartons.text())) return refuse(kCartonsNotNumeric, w_.txtCartons);
  // Nothing is sent for a freight or a cartons number that cannot be converted.
  if (!convert::isNumeric(w_.txtFreight.text())) return refuse(kFreightNotNumeric, w_.txtFreight);
  std::int16_t cartons = 0;
  try {
    cartons = convert::toInt16(w_.txtCartons.text());
  } catch (const RuntimeError&) {
    return refuse(kCartonsOutOfRange, w_.txtCartons);
  }
  Comment = w_.txtComments.text();
  Freight = convert::toDouble(w_.txtFreight.text());
  Cartons = cartons;
  return true;
}

bool frmAstray::IsPOFound(const std::string& orderID) {
  std::string found;
  const bool finished = trapped(
      "IsPOFound",
      [&] {
        std::string reply = transport_
                                .callQuery(WebServiceURL, HostURL, SOAPActionStart + "IsPOFound",
                                           "IsPOFound", service::IsPOFoundRequest(orderID),
                                           service::activityText("IsPOFound", {.order = orderID}))
                                .result;
        service::ReadDataSetRows(std::move(reply), [&](const service::DataSetRow& row) {
          for (const auto& column : row) {
            if (column.name == "CenterID"sv)
              FoundCenterID = convert::toInt16(column.text);
            else if (column.name == "HighestSegmentNumber"sv)
              HighestSegmentNumber = column.text;
            else if (column.name == "IsPOFound"sv)
              found = column.text;
          }
        });
      },
      [this](const RuntimeError& error, std::string_view procedure) {
        ReportError(error, procedure);
      });
  // After an error the P.O. counts as not received, whatever was read before it.
  return finished && found == "1";
}

bool frmAstray::AddPO() {
  bool answered = false;
  trapped(
      "AddPO",
      [&] {
        const std::string envelope =
            service::AddAstrayPORequest(AstrayOrderID, convert::toInt16(HighestSegmentNumber),
                                        Freight, Cartons, Comment, OutgoingLoadID);
        // A reply that does not answer the add was reported by the transport.
        answered =
            transport_
                .callOperation(WebServiceURL, HostURL, SOAPActionStart + "AddAstrayPO",
                               "AddAstrayPO", envelope, true,
                               service::activityText(
                                   "AddAstrayPO", {.load = OutgoingLoadID, .order = AstrayOrderID}))
                .answered();
      },
      [this](const RuntimeError& error, std::string_view procedure) {
        ReportError(error, procedure);
      });
  return answered;
}

std::string frmAstray::ReturnWebserviceXML(const std::string& AsmxUrl, const std::string& Host,
                                           const std::string& SOAPAction,
                                           const std::string& SOAPEnvelope,
                                           bool UpdateAddDeleteOnly) {
  return transport_.ReturnWebserviceXML(AsmxUrl, Host, SOAPAction, SOAPEnvelope,
                                        UpdateAddDeleteOnly);
}

void frmAstray::ClearEntry() {
  w_.txtPO1.setText("");
  w_.txtPO2.setText("");
  w_.txtCartons.setText("");
  w_.txtFreight.setText("");
  w_.txtComments.setText("");
  screen_.setFocus(w_.txtPO1);
}

}  // namespace tarvine
