#include "control/frmAstray.h"

#include "platform/Convert.h"
#include "service/Activity.h"
#include "service/DataSet.h"
#include "service/Requests.h"

namespace tarvine {
using namespace std::string_view_literals;

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

void frmAstray::fillOrderID(const std::string& orderID) {
  const std::size_t dash = orderID.find('-');
  w_.txtPO1.setText(orderID.substr(0, dash));
  w_.txtPO2.setText(dash == std::string::npos ? std::string() : orderID.substr(dash + 1));
  screen_.setFocus(w_.txtCartons);
}

void frmAstray::ReportError(const RuntimeError& error, std::string_view procedure) {
  reportError(dialogs_, log_, error, procedure, "", kFormProjectLine);
}

void frmAstray::cmdAddAstrayItem_Click() {
  AstrayOrderID = astrayOrderID(entry());
  if (!ValidateAstrayEntry()) return;
  if (!splitAllowed()) return;
  // An entry the back office did not take stays in the boxes for correction.
  if (!AddPO()) return;
  dialogs_.messageBox("Astray item has been added to the list successfully!!!", kMsgInformationOk,
                      std::string("Astray Process"));
  ClearEntry();
  if (FormObject) FormObject->invokeByName("RefreshData");
}

bool frmAstray::refuse(const AstrayRefusal& refusal) {
  dialogs_.messageBox(std::string(refusal.message), kMsgInformationOk, std::nullopt);
  TextBox* const boxes[] = {&w_.txtPO1, &w_.txtPO2, &w_.txtCartons, &w_.txtFreight};
  screen_.setFocus(*boxes[static_cast<int>(refusal.box)]);
  return false;
}

AstrayEntry frmAstray::entry() const {
  return {w_.txtPO1.text(), w_.txtPO2.text(), w_.txtCartons.text(), w_.txtFreight.text()};
}

bool frmAstray::ValidateAstrayEntry() {
  const AstrayEntry texts = entry();
  const auto lookup = [this](const std::string& orderID) -> std::optional<std::int16_t> {
    if (!IsPOFound(orderID)) return std::nullopt;
    return FoundCenterID;
  };
  checkCancelled_ = false;
  if (const auto refusal = astrayRefusal(texts, CurrentOrders, CentersList, lookup)) {
    // A check the user cancelled refuses nothing: the entry stays as typed, unjudged.
    return checkCancelled_ ? false : refuse(*refusal);
  }
  Comment = w_.txtComments.text();
  Freight = convert::toDouble(texts.freight);
  Cartons = convert::toInt16(texts.cartons);
  return true;
}

bool frmAstray::IsPOFound(const std::string& orderID) {
  std::string found;
  FoundLoad.clear();  // a reply that names no load keeps no earlier one
  const bool finished = trapped(
      "IsPOFound",
      [&] {
        service::Exchange reply =
            transport_.callQuery(WebServiceURL, HostURL, SOAPActionStart + "IsPOFound", "IsPOFound",
                                 service::IsPOFoundRequest(orderID),
                                 service::activityText("IsPOFound", {.order = orderID}));
        checkCancelled_ = reply.cancelled;
        service::ReadDataSetRows(std::move(reply.result), [&](const service::DataSetRow& row) {
          for (const auto& column : row) {
            if (column.name == "CenterID"sv)
              FoundCenterID = convert::toInt16(column.text);
            else if (column.name == "HighestSegmentNumber"sv)
              HighestSegmentNumber = column.text;
            else if (column.name == "IsPOFound"sv)
              found = column.text;
            else if (column.name == "OutgoingLoad"sv)
              FoundLoad = column.text;
          }
        });
      },
      [this](const RuntimeError& error, std::string_view procedure) {
        ReportError(error, procedure);
      });
  // After an error the P.O. counts as not received, whatever was read before it.
  return finished && found == "1";
}

bool frmAstray::splitAllowed() {
  const std::string question =
      astraySplitQuestion(AstrayOrderID, HighestSegmentNumber, FoundLoad, OutgoingLoadID);
  return question.empty() || dialogs_.messageBox(question, kMsgAstraySplitQuestion,
                                                 std::string("Astray Process")) == kMsgResultYes;
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
