// The host window's guards: load numbers checked before they reach the control, an unknown load
// told apart from an empty one, and the window's size and place kept between runs.

#include <QLineEdit>
#include <QStatusBar>
#include <charconv>

#include "HostWindow.h"
#include "control/OrderPick.h"

namespace tarvine::app {

std::optional<std::int32_t> HostWindow::typedLoad() {
  const std::string text = loadBox_->text().trimmed().toStdString();
  std::int32_t load = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), load);
  if (error == std::errc() && end == text.data() + text.size() && load >= 1 &&
      load <= kLargestLoad) {
    return load;
  }
  statusBar()->showMessage(
      QStringLiteral("\"%1\" is not a load number: load numbers are whole numbers from 1 to %2.")
          .arg(loadBox_->text())
          .arg(kLargestLoad));
  loadBox_->selectAll();
  loadBox_->setFocus();
  return std::nullopt;
}

void HostWindow::tellOpenedLoad(std::int32_t load, int errorReports) {
  const OrderPick& control = *control_;
  // Both lists end with one empty entry. (The route label keeps the last load's route when
  // the service has none for this one, so it cannot tell.)
  const bool noOrders = control.orders().size() <= 1;
  const bool nothing = control.centerList().size() <= 1 && noOrders;
  if (errorReports > 0 && noOrders) {
    statusBar()->showMessage(
        QStringLiteral("The orders of load %1 could not be read from the route service.")
            .arg(load));
  } else if (errorReports > 0) {
    statusBar()->showMessage(
        QStringLiteral("Load %1 could not be read whole from the route service.").arg(load));
  } else if (nothing) {
    statusBar()->showMessage(
        QStringLiteral("Load %1 has no segments on the route service.").arg(load));
  } else {
    statusBar()->clearMessage();
  }
}

void HostWindow::restorePlacement() {
  const QByteArray geometry = qt::hostSettings().value(QStringLiteral("geometry")).toByteArray();
  if (!geometry.isEmpty()) restoreGeometry(geometry);
}

void HostWindow::savePlacement() const {
  QSettings settings = qt::hostSettings();
  settings.setValue(QStringLiteral("geometry"), saveGeometry());
}

}  // namespace tarvine::app
