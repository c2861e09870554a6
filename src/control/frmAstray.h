#pragma once
// The modal form "Astray P.O's": checks an astray P.O. against the load and the route service
// (the checks of astray/AstrayChecks.h), adds it to the load and has the control reload.

#include <cstdint>
#include <string>
#include <vector>

#include "astray/AstrayChecks.h"
#include "control/OrderPick.h"
#include "service/Transport.h"

namespace tarvine {

class frmAstray final : public AstrayForm {
 public:
  // Creates the form with its widgets; dialogs and log must outlive it.
  frmAstray(Dialogs& dialogs, EventLog& log);

  // Write-only properties, set by the control before every showing.
  void setCentersList(std::vector<std::string> centerList) { CentersList = std::move(centerList); }
  void setCurrentOrders(OrderArray orders) { CurrentOrders = std::move(orders); }
  void setFormObject(LateBound* control) { FormObject = control; }
  void setHostURL(std::string host) { HostURL = std::move(host); }
  // Throws RuntimeError (13 or 6) when the text is not a 16-bit number.
  void setOutgoingLoadID(const std::string& loadID);
  void setSOAPActionStart(std::string start) { SOAPActionStart = std::move(start); }
  void setWebServiceURL(std::string url) { WebServiceURL = std::move(url); }

  // AstrayForm.
  std::string ReturnWebserviceXML(const std::string& AsmxUrl, const std::string& Host,
                                  const std::string& SOAPAction, const std::string& SOAPEnvelope,
                                  bool UpdateAddDeleteOnly = false) override;
  Screen& screen() override { return screen_; }
  const Screen& screen() const override { return screen_; }
  const AstrayWidgets& widgets() const override { return w_; }

  // Puts the boxes back to their layout texts and the focus on the first box, as a newly loaded
  // form has them.
  void loadForm();
  // Puts the id into the two P.O. boxes (before its first "-", and the rest) and the focus on
  // the cartons, the next thing to type.
  void fillOrderID(const std::string& orderID);
  // Time limits of the form's service calls.
  void setTimeouts(HttpTimeouts timeouts) { transport_.setTimeouts(timeouts); }
  // Largest reply of the form's service calls.
  void setMaxReplyBytes(std::size_t bytes) { transport_.setMaxReplyBytes(bytes); }

 private:
  void cmdAddAstrayItem_Click();
  // The texts of the boxes the checks read.
  AstrayEntry entry() const;
  bool ValidateAstrayEntry();
  bool IsPOFound(const std::string& orderID);
  // Asks before adding a segment to a P.O. whose segments ride elsewhere; true when it may go.
  bool splitAllowed();
  bool AddPO();
  void ClearEntry();
  // Shows a refusal with an OK button and the information icon, and focuses its box.
  bool refuse(const AstrayRefusal& refusal);
  void ReportError(const RuntimeError& error, std::string_view procedure);

  Dialogs& dialogs_;
  EventLog& log_;
  Screen screen_;
  AstrayWidgets w_;
  service::Transport transport_;

  std::vector<std::string> CentersList;
  OrderArray CurrentOrders;
  LateBound* FormObject = nullptr;
  std::string HostURL;
  std::int16_t OutgoingLoadID = 0;
  std::string SOAPActionStart;
  std::string WebServiceURL;
  std::string AstrayOrderID;
  std::int16_t FoundCenterID = 0;
  std::string HighestSegmentNumber;
  std::string FoundLoad;         // the load the latest IsPOFound reply names, when it names one
  bool checkCancelled_ = false;  // the user cancelled the receipt check of the entry
  std::int16_t Cartons = 0;
  double Freight = 0;
  std::string Comment;
};

}  // namespace tarvine
