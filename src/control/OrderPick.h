#pragma once
// The order-picking control as its users see it: hosts, the dispatcher's tools, the script host,
// the C interface and the Qt front end include this header only. It holds the public methods,
// the screen with its widgets by name, read-only views of the state, the astray form while it is
// shown, and the factory. The implementation (TarvineOrderPick) stays inside control/.
//
// Rules the users share with the control come with it: the order record (AllOrdersUDT), the
// totals arithmetic of the "TOTALS per Load" (PickTotals, for tools that add up rows as the
// captions do), the unsaved changes (UnsavedChanges) and the error report's prompts and
// conversion (gatheredErrorPrompt, currentError).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "astray/AstrayLayout.h"
#include "control/ControlLayout.h"
#include "control/ErrorReport.h"
#include "control/LateBound.h"
#include "load/AllOrdersUDT.h"
#include "picking/PickTotals.h"
#include "platform/Dialogs.h"
#include "platform/EventLog.h"
#include "platform/HttpRequest.h"
#include "save/ChangedRows.h"

namespace tarvine {

// The form "Astray P.O's" as a host drives it while it is shown.
class AstrayForm {
 public:
  virtual ~AstrayForm() = default;

  // The form's screen, to draw it and move its focus.
  virtual Screen& screen() = 0;
  // The form's screen, read only.
  virtual const Screen& screen() const = 0;
  // The form's widgets by name, for user actions on them.
  virtual const AstrayWidgets& widgets() const = 0;
  // One SOAP exchange through the form's own transport, as the control's public method; errors
  // are reported under the form's project line and give the empty text.
  virtual std::string ReturnWebserviceXML(const std::string& AsmxUrl, const std::string& Host,
                                          const std::string& SOAPAction,
                                          const std::string& SOAPEnvelope,
                                          bool UpdateAddDeleteOnly = false) = 0;
};

// The control. A host names the server, facility and person, then sets a load; the dispatcher
// then picks order segments onto the load and saves through the widgets' user actions.
class OrderPick : public LateBound {
 public:
  // Public methods of the control's dispatch interface.

  // Stores the server text; the service URL and SOAP action start derive from it. Sends nothing.
  virtual void PutServerName(const std::string& ptServerName) = 0;
  // Stores the facility text, unchecked.
  virtual void SetFacilityID(const std::string& FacilityIDPassed) = 0;
  // Stores person and person type as 16-bit integers. Throws RuntimeError (13 or 6) for a text
  // that is not a 16-bit number; the person is already stored when only the type is bad.
  virtual void SetPersonInformation(const std::string& PersonIDPassed,
                                    const std::string& PersonTypeIDPassed) = 0;
  // Shows a load: header, centers, route and order segments. Errors are reported, not thrown.
  virtual void PutTarvineID(std::int32_t plTarvineID) = 0;
  // Reloads the current load's segments and refills the list; unsaved picks are lost.
  virtual void RefreshData() = 0;
  // One SOAP exchange; errors are reported and give the empty text.
  virtual std::string ReturnWebserviceXML(const std::string& AsmxUrl, const std::string& Host,
                                          const std::string& SOAPAction,
                                          const std::string& SOAPEnvelope,
                                          bool UpdateAddDeleteOnly = false) = 0;
  // LateBound: calls RefreshData, the one public method without arguments, by its name in any
  // letter case; any other name throws RuntimeError 438.
  void invokeByName(const std::string& name) override = 0;

  // The object the astray form calls RefreshData on, late bound: a component face that stands
  // in for the control, or null for the control itself. Must outlive its use by the form.
  virtual void setFormObject(LateBound* formObject) = 0;
  // Time limits of every service call, the astray form's included.
  virtual void setTimeouts(HttpTimeouts timeouts) = 0;
  // Largest reply of every service call; a larger one fails the exchange.
  virtual void setMaxReplyBytes(std::size_t bytes) = 0;
  // A check the Save button runs first, asking through the control's dialogs (a dispatcher's
  // tool installs it, with confirmSave()): a RuntimeError it throws stops the click before
  // anything is read or sent, is reported under "cmdSave_Click()", and the picks stay. An empty
  // function removes it. RefreshData's own save does not run it.
  virtual void setSaveCheck(std::function<void(Dialogs&)> check) = 0;

  // Before an action that would drop unsaved picks and freight overrides (`action` names it,
  // "opening load 5002"): when there are any, asks through the dialogs whether to save them
  // first (Dialogs::saveDiscardCancel, prompt unsavedWorkQuestion(), title kUnsavedWorkTitle).
  // Yes saves as the Save button does; No discards them (a discarded freight override leaves
  // the records too); any other answer (Cancel, an unanswered box, OK) keeps everything. True
  // when the action may go on: nothing was unsaved, No, or a save that left nothing unsaved.
  virtual bool askBeforeDroppingUnsavedWork(const std::string& action) = 0;

  // The screen the dispatcher sees.
  virtual Screen& screen() = 0;
  // The widgets of the screen by name, for user actions on them and for reading what they show.
  virtual const ControlWidgets& widgets() const = 0;
  // The astray form once it has been shown (null before).
  virtual AstrayForm* astrayForm() const = 0;

  // The load shown (-1 before the first).
  virtual std::int32_t outgoingLoadID() const = 0;
  // The person the save's history entries name.
  virtual std::int16_t personID() const = 0;
  // The person's type.
  virtual std::int16_t personTypeID() const = 0;
  // The load's order records, ending with the spare element (see AllOrdersUDT.h).
  virtual const OrderArray& orders() const = 0;
  // The route's center ids, ending with one spare empty text.
  virtual const std::vector<std::string>& centerList() const = 0;
  // What a save would send now; nothing after a save, a refill or Cancel. Never fails.
  virtual UnsavedChanges unsavedChanges() const = 0;
  // The record a row of the list was filled from, or null when its Tag names none. Valid until
  // the orders are read again.
  virtual const AllOrdersUDT* recordOfRow(RowId row) const = 0;
  // What the last read of the load's orders said of each filled record beyond its fields (the
  // load its segment rode on, the freight it was read with), index for index with orders();
  // shorter only when that read failed part-way.
  virtual const std::vector<RecordAsRead>& ordersAsRead() const = 0;
  // The "Add Astray Item" button's click, with the form's P.O. boxes filled in from the id (the
  // text before its first "-", and the rest), for a P.O. the load's list lacks.
  virtual void addAstrayFor(const std::string& orderID) = 0;
};

// Creates a control (its start-up runs). Dialogs and log must outlive it.
std::unique_ptr<OrderPick> makeOrderPick(Dialogs& dialogs, EventLog& log);

}  // namespace tarvine
