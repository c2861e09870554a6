#pragma once
// Drawn over a view while a service call runs: what is happening in the dispatcher's words, the
// bytes received so far and, for reads, a Cancel button.

#include <QWidget>
#include <cstddef>

class QLabel;
class QPushButton;

namespace tarvine::qt {

// Object names of the overlay and its parts, for tests and accessibility tools.
inline constexpr const char* kWaitOverlayName = "waitOverlay";
inline constexpr const char* kWaitTextName = "waitText";
inline constexpr const char* kWaitReceivedName = "waitReceived";
inline constexpr const char* kWaitCancelName = "waitCancel";

class WaitOverlay : public QWidget {
  Q_OBJECT

 public:
  // Covers `covered` (its child, hidden until shown) and follows its size. An empty text reads
  // "Waiting for the server…"; without cancellable there is no Cancel button.
  WaitOverlay(QWidget& covered, const QString& text, bool cancellable);
  ~WaitOverlay() override;

  // Shows the number of reply bytes received so far.
  void setReceived(std::size_t bytes);
  // The Cancel button, or null for an update.
  QPushButton* cancelButton() const { return cancel_; }

 Q_SIGNALS:
  // The user asked to cancel (the button, or Escape while the call runs).
  void cancelRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* received_;
  QPushButton* cancel_ = nullptr;
  bool cursorSet_ = false;
};

}  // namespace tarvine::qt
