// The Save button: changed rows become update and history statements sent in one request.

#include "control/TarvineOrderPick.h"
#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "service/Requests.h"

#include <future>
#include <system_error>

namespace tarvine {
namespace {

UpdateRequest makeUpdateRequest(const std::vector<std::string>& statements) {
  UpdateRequest request;
  request.envelope = service::UpdateOutgoingLoadOrderEnvelope(statements);
  request.body = service::prepareRequest(request.envelope);
  return request;
}

// Makes the update request on another thread, which touches nothing but the statements; where no
// thread can be started, here once it is asked for.
std::future<UpdateRequest> makeUpdateRequestAside(const std::vector<std::string>& statements) {
  try {
    return std::async(std::launch::async, makeUpdateRequest, std::cref(statements));
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, makeUpdateRequest, std::cref(statements));
  }
}

}  // namespace

void TarvineOrderPick::cmdSave_Click() {
  trap("cmdSave_Click()", [&] {
    ListView& list = w_.lvwOrderIDs;
    // The row-count overflow check: a list of more than 32,767 rows stops the save here (error
    // 6) before anything is read or sent. The converted count itself is not needed.
    convert::roundToInt16(static_cast<double>(list.rowCount()));
    const SaveStatements save = saveStatements(
        changedRows(list), {OutgoingLoadID, SelectedCenterID, PersonID, PersonTypeID});

    if (!save.statements.front().empty()) {
      // The update request (megabytes for a large save) is made while the check read runs.
      std::future<UpdateRequest> request = makeUpdateRequestAside(save.statements);
      // Nothing is sent when the check read failed or the user keeps the changes unsaved:
      // every check, change mark and override stays on screen.
      if (!saveOverChangesAllowed(save.written)) return;
      service::Exchange outcome;
      UpdateOutgoingLoadOrder(request.get(), save.statements.size(), &outcome);
      // A save the back office did not take is never reported as done (the transport told the
      // user why), and the picks stay on screen so that the user can save again.
      if (!outcome.answered()) return;
      dialogs_.messageBox("Outgoing load information has been updated successfully!!!",
                          kMsgInformationOk, std::string("Outgoing Load Save"));
      PopulateAllOrders(Orders);
    }
    FillingList = true;
    cboCenter_Click();
    FillingList = false;
  });
}

bool TarvineOrderPick::saveOverChangesAllowed(const std::vector<WrittenSegment>& written) {
  service::Exchange exchange = readAllOrders();
  // The transport has told the user why the read did not answer.
  if (!exchange.answered()) return false;
  OrderArray now;
  if (!readOrderRecords(std::move(exchange.result), now)) {
    throw RuntimeError(static_cast<std::int32_t>(exchange.httpStatus),
                       "The GetOutgoingLoadAllOrders reply read before saving holds no data set; "
                       "nothing was saved");
  }
  const std::vector<std::string> changes = changesSinceLoaded(Orders, loadedState_, now, written);
  if (changes.empty()) return true;
  return dialogs_.messageBox(saveOverQuestion(changes), kMsgSaveQuestion,
                             std::string("TarvineOrderPick")) == kMsgResultYes;
}

void TarvineOrderPick::UpdateOutgoingLoadOrder(UpdateRequest request, std::size_t statements,
                                               service::Exchange* outcome) {
  if (statements <= 1) return;
  EnvelopeText = std::move(request.envelope);
  service::Exchange exchange = callRouteService("UpdateOutgoingLoadOrder", request.body, true);
  EnvelopeText.clear();
  RequestBodyXML.clear();
  if (outcome) *outcome = std::move(exchange);
}

UnsavedChanges TarvineOrderPick::unsavedChanges() const {
  return unsavedChangesOf(changedRows(w_.lvwOrderIDs));
}

}  // namespace tarvine
