#pragma once
// Draws a headless screen (the control's or a form's): one Qt widget per headless widget at its
// layout position, inside its frame, with its caption and font, in step with every change. The
// keyboard focus follows the screen's focused widget and the screen follows the user's focus.

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "UserAction.h"
#include "platform/Screen.h"

namespace tarvine::qt {

class ReportListModel;

class ScreenView : public QWidget {
  Q_OBJECT

 public:
  // The screen must outlive the view, or stop changing once the view is gone.
  explicit ScreenView(Screen& screen, QWidget* parent = nullptr);

  Screen& screen() const { return screen_; }
  // The screen's design size in pixels; the view has that size unless a subclass lets it grow.
  QSize designSize() const { return designSize_; }
  QSize sizeHint() const override { return designSize_; }
  // The Qt widget drawn for the headless widget of that name, or null.
  QWidget* widgetFor(const std::string& name) const;
  // Draws the changes not yet drawn: lists gather theirs until the event loop turns.
  void refresh();
  // Runs a host call or user action as a user action (UserActionRunner::run), then draws what
  // it changed. Returns the number of error reports it showed.
  int perform(const std::function<void()>& action) const { return runner_.run(action); }
  // True when the user cancelled a read of the latest user action of the view.
  bool lastActionCancelled() const { return lastActionCancelled_; }
  // The runner that user actions of this view go through.
  const UserActionRunner& runner() const { return runner_; }
  // Puts the keyboard focus where the screen has it.
  void applyFocus();

 Q_SIGNALS:
  // After each user action of the view (its widgets' and perform()'s), with how it ended.
  void actionEnded(bool cancelled);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  void orderTabs();

  Screen& screen_;
  QSize designSize_;
  UserActionRunner runner_;
  std::map<std::string, QWidget*> byName_;
  std::vector<ReportListModel*> lists_;
  bool lastActionCancelled_ = false;
};

}  // namespace tarvine::qt
