#pragma once
// Keeps the dispatcher's work: before unsaved picks or freight overrides would be lost (another
// load, a refresh, closing the window) the user chooses Save, Discard or Cancel.

#include <QString>
#include <string>
#include <vector>

namespace tarvine::qt {

class OrderPickWidget;

// Object name of the question box, for tests and accessibility tools.
inline constexpr const char* kUnsavedBoxName = "unsavedBox";

// "12-34567, 12-34568, ... and N more": the P.O.s, at most five by name.
QString unsavedOrdersText(const std::vector<std::string>& orders);

// Asks when the control has unsaved changes, naming the P.O.s changed; `before` says what
// would lose them ("opening load 5002"). Save saves first (as the Save button does). Returns
// true when the caller may go on: nothing was unsaved, Discard, or a save after which nothing
// is left unsaved; false for Cancel or a save that failed.
bool keepUnsavedWork(OrderPickWidget& widget, const QString& before);

}  // namespace tarvine::qt
