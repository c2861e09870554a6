#pragma once
// Real dialogs for the control and its forms: Qt message boxes, a text input dialog and modal
// forms drawn from their headless screens.

#include <QDialog>
#include <QMessageBox>
#include <QPointer>

#include "platform/Dialogs.h"

namespace tarvine::qt {

class ScreenView;

// What a message box's buttons value (the platform's numbering) asks for, and what a pressed
// button returns. Unknown button sets give OK alone; unknown icon values give no icon.
QMessageBox::Icon messageIcon(int buttons);
QMessageBox::StandardButtons messageButtons(int buttons);
// The default button of the value (256: the second, 512: the third, else the first).
QMessageBox::StandardButton messageDefaultButton(int buttons);
int messageResult(QMessageBox::StandardButton pressed);

// A headless form shown as a modal dialog: its screen drawn at its layout with its tab order,
// the focus following the form's focus, titled with the form's caption.
class FormDialog : public QDialog {
  Q_OBJECT

 public:
  // The form must outlive the dialog.
  explicit FormDialog(Screen& form, QWidget* parent = nullptr);
  ScreenView& view() const { return *view_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ScreenView* view_;
};

// Object names of the dialogs, for tests and accessibility tools.
inline constexpr const char* kMessageBoxName = "messageBox";
inline constexpr const char* kInputBoxName = "inputBox";
inline constexpr const char* kFormDialogName = "modalForm";
inline constexpr const char* kUnsavedBoxName = "unsavedBox";

class QtDialogs : public Dialogs {
 public:
  // Dialogs are centred over parent (none: over the screen).
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  // A QMessageBox with the icon and buttons of the value, titled with the title or, when there
  // is none, the application's name. Returns the platform's number of the pressed button.
  int messageBox(const std::string& prompt, int buttons,
                 const std::optional<std::string>& title) override;
  // A message box with the buttons Save (Alt+S), Discard (Alt+D) and Cancel, Cancel the
  // default and the Escape key; returns Yes, No or Cancel as the base class says.
  int saveDiscardCancel(const std::string& prompt, const std::string& title) override;
  // A text input dialog with prompt, title and default answer; nothing when cancelled.
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  // A FormDialog of the form, until the user closes it.
  void showModal(Screen& form) override;
  // Gathered while a user action runs (see ReportGathering), else shown at once.
  void errorBox(const std::string& prompt, const RuntimeError& error,
                std::string_view procedure) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace tarvine::qt
