#pragma once
// The order-picking control as a Qt widget, for Qt hosts that embed it. It owns the control,
// draws its screen, shows its message boxes, input boxes and astray form as real Qt dialogs and
// writes error details to the event log (syslog, or the file named by TARVINE_EVENT_LOG). Only
// Qt and the standard library appear here, so the library's inner classes may change without
// breaking a host built against this header.

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace tarvine::qt {

class __attribute__((visibility("default"))) OrderPickControl : public QWidget {
 public:
  // An empty control; it shows a load once the host has called the setters and PutTarvineID.
  explicit OrderPickControl(QWidget* parent = nullptr);
  ~OrderPickControl() override;
  OrderPickControl(const OrderPickControl&) = delete;
  OrderPickControl& operator=(const OrderPickControl&) = delete;

  // The route service's scheme and host, e.g. "http://backoffice:8080". Sends nothing.
  void PutServerName(const QString& server);
  // The facility the dispatcher works for. Sends nothing.
  void SetFacilityID(const QString& facility);
  // The person and person type recorded with every pick. Throws std::invalid_argument when one
  // is not a 16-bit number.
  void SetPersonInformation(const QString& personId, const QString& personTypeId);
  // Shows a load: route, centers and order segments. Failures are shown to the user and logged,
  // not thrown.
  void PutTarvineID(std::int32_t load);
  // Reloads the load shown; unsaved picks are lost. Failures are shown and logged.
  void RefreshData();
  // The load shown, or -1 before the first PutTarvineID.
  std::int32_t outgoingLoadID() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace tarvine::qt
