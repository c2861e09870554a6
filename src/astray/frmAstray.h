#pragma once
// The modal form "Astray P.O's": checks an astray P.O. against the load and the route service,
// adds it to the load and has the control reload.

#include <cstdint>
#include <string>
#include <vector>

#include "control/LateBound.h"
#include "load/AllOrdersUDT.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "platform/Screen.h"
#include "platform/Widget.h"
#include "service/Transport.h"

namespace tarvine {

struct AstrayWidgets {
  Frame& fraAddPO;
  Label& Label5;
  TextBox& txtPO1;
  Label& Label3;
  TextBox& txtPO2;
  Label& Label8;
  TextBox& txtCartons;
  Label& Label1;
  TextBox& txtFreight;
  Label& Label2;
  TextBox& txtComments;
  CommandButton& cmdAddAstrayItem;
};

class frmAstray {
 public:
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

  // One SOAP exchange, as the control's own public method; errors are reported under the form's
  // project line and give the empty text.
  std::string ReturnWebserviceXML(const std::string& AsmxUrl, const std::string& Host,
                                  const std::string& SOAPAction, const std::string& SOAPEnvelope,
                                  bool UpdateAddDeleteOnly = false);

  // Puts the boxes back to their layout texts and the focus on the first box, as a newly loaded
  // form has them.
  void loadForm();
  void setTimeouts(HttpTimeouts timeouts) { transport_.setTimeouts(timeouts); }
  void setMaxReplyBytes(std::size_t bytes) { transport_.setMaxReplyBytes(bytes); }

  Screen& screen() { return screen_; }
  const Screen& screen() const { return screen_; }
  const AstrayWidgets& widgets() const { return w_; }
  std::int16_t foundCenterID() const { return FoundCenterID; }
  const std::string& highestSegmentNumber() const { return HighestSegmentNumber; }

 private:
  void cmdAddAstrayItem_Click();
  bool ValidateAstrayEntry();
  bool IsPOFound(const std::string& orderID);
  bool AddPO();
  void ClearEntry();
  // Shows a refusal with an OK button and the information icon, and focuses the box.
  bool refuse(const char* message, TextBox& focus);
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
  std::int16_t Cartons = 0;
  double Freight = 0;
  std::string Comment;
};

// True when some element equals the value: the element itself for plain lists, an order's
// OrderID otherwise. The spare last element takes part.
bool ListContains(const std::vector<std::string>& list, const std::string& value);
bool ListContains(const OrderArray& orders, const std::string& orderID);

}  // namespace tarvine
