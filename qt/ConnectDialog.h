#pragma once
// The Connect dialog of the host window: which route service, facility and person the window
// works with, each box with a line saying what it means, saved as a named profile. "Test
// connection" asks the service for its description and says what it found.

#include <QDialog>
#include <vector>

#include "ConnectionProfiles.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace tarvine::qt {

// Object name of the dialog, for tests and accessibility tools.
inline constexpr const char* kConnectDialogName = "connectDialog";

class ConnectDialog : public QDialog {
 public:
  // Offers the saved profiles, the one used last first; `current`, when given, fills the boxes
  // instead (the connection the window has now).
  explicit ConnectDialog(QWidget* parent = nullptr,
                         const std::optional<ConnectionProfile>& current = std::nullopt);

  // What the boxes hold; the name is the server text when no name was typed.
  ConnectionProfile profile() const;
  // Asks the route service for its description, as the button does, and shows the verdict.
  void testConnection();
  // The verdict of the last test, or why Connect was refused; empty before.
  QString result() const;

  // Closes the dialog with the profile saved (and used last) once every box holds a usable
  // value; otherwise says what is wrong and keeps it open.
  void accept() override;

 private:
  QLineEdit* addBox(const char* name, const QString& label, const QString& help);
  void showSaved(int index);
  void removeShown();
  void fill(const ConnectionProfile& profile);
  // The first box that holds no usable value, after saying why; null when all are usable.
  QLineEdit* unusableBox();
  void tell(const QString& text, bool good);

  QFormLayout* form_ = nullptr;
  QComboBox* profileBox_ = nullptr;
  QLineEdit* serverBox_ = nullptr;
  QLineEdit* facilityBox_ = nullptr;
  QLineEdit* personIdBox_ = nullptr;
  QLineEdit* personTypeBox_ = nullptr;
  QLabel* result_ = nullptr;
  std::vector<ConnectionProfile> saved_;
};

}  // namespace tarvine::qt
