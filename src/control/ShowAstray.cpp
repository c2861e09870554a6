// The control's "Add Astray Item" button: hands the form what it needs and shows it.

#include "control/TarvineOrderPick.h"
#include "control/frmAstray.h"

namespace tarvine {

void TarvineOrderPick::addAstrayFor(const std::string& orderID) {
  trap("cmdAddAstrayItem_Click()", [&] { cmdAddAstrayItem_Click(&orderID); });
}

void TarvineOrderPick::cmdAddAstrayItem_Click(const std::string* orderID) {
  if (w_.lblTarvineID.caption().empty()) {
    dialogs_.messageBox("Please select an outgoing load before adding astray P.O's.",
                        kMsgInformationOk, std::nullopt);
    return;
  }
  if (!astrayForm_) {
    astrayForm_ = std::make_unique<frmAstray>(dialogs_, log_);
    astrayForm_->setTimeouts(transport_.timeouts());
    astrayForm_->setMaxReplyBytes(transport_.maxReplyBytes());
  }
  frmAstray& form = *astrayForm_;
  form.setCentersList(CenterList);
  form.setCurrentOrders(Orders);
  form.setFormObject(formObject_ ? formObject_ : this);
  form.setHostURL(ServerName);
  // Throws for a load id that does not fit 16 bits; the form is then not shown.
  form.setOutgoingLoadID(w_.lblTarvineID.caption());
  form.setSOAPActionStart(SOAPActionStart);
  form.setWebServiceURL(WebServiceURL);
  form.loadForm();
  if (orderID) form.fillOrderID(*orderID);
  dialogs_.showModal(form.screen());
}

}  // namespace tarvine
