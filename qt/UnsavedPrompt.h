#pragma once
// Keeps the dispatcher's work in the host's own actions: before unsaved picks or freight
// overrides would be lost (another load, a refresh, closing the window) the control asks Save,
// Discard or Cancel (OrderPick::askBeforeDroppingUnsavedWork), as one user action.

#include <QString>

namespace tarvine::qt {

class OrderPickWidget;

// Asks as a user action of the widget; `action` says what would lose the work ("opening load
// 5002"). True when the caller may go on (nothing unsaved, Discard, or a save that left nothing
// unsaved); false for Cancel or a save that failed.
bool keepUnsavedWork(OrderPickWidget& widget, const QString& action);

}  // namespace tarvine::qt
